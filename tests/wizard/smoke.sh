#!/usr/bin/env bash
# GUI smoke test: Lexwiz opens its window on the virtual display, the window
# driver finds it, a screenshot is taken and is not blank, the driver closes
# the window and the program ends with exit code 0.
set -eu
. "$PELLION_SOURCE/tests/wine/env.sh"
. "$PELLION_SOURCE/tests/wine/gui.sh"
shots=$PELLION_WINE_STATE/../screenshots
mkdir -p "$shots"

out=$(mktemp)
trap 'rm -f "$out"' EXIT
"$PELLION_WINE" "$PELLION_BIN/launch.exe" --timeout 60000 "$PELLION_BIN/Lexwiz.exe" >"$out" 2>&1 &
launcher=$!

"$PELLION_WINE" "$PELLION_BIN/windriver.exe" find --class LexwizWizard --timeout 30000
"$PELLION_WINE" "$PELLION_BIN/windriver.exe" texts --class LexwizWizard | grep -q "Close"
screenshot "$shots/lexwiz_smoke.png"
assert_not_blank "$shots/lexwiz_smoke.png"
"$PELLION_WINE" "$PELLION_BIN/windriver.exe" click --class LexwizWizard "&Close"
wait "$launcher"
tr -d '\r' <"$out" | grep -qx "exit 0" || { echo "unexpected launcher output:"; cat "$out"; exit 1; }
echo "Lexwiz window found, screenshot $shots/lexwiz_smoke.png, closed, exit 0"
