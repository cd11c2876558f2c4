#!/usr/bin/env bash
# The bare engine carries no script package: silently it ends with code 13,
# traces the phases up to "StubSize", never creates "oxa.tmp" and leaves no
# support folder; with a display it shows "For internal use only" in a message
# box owned by the preparing window, which the window driver answers.
set -eu
. "$PELLION_SOURCE/tests/wine/env.sh"
. "$PELLION_SOURCE/tests/wine/gui.sh"
. "$PELLION_SOURCE/tests/engine/startup/startup_kit.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$PELLION_BIN/Pellion.exe" "$work/setup.exe"
cp "$PELLION_BIN/oxa.lib" "$work/"   # bound at load time
trace=$work/trace.log
win_trace=$(windows_path "$trace")

before=$(support_folders)
expect_exit 13 "$work/setup.exe" /s "/l=$win_trace"
expect_trace "$trace" \
    "<Vantrel>" "    <SupportDir>" "    </SupportDir>" "  <SetupSplash>" "    <StubSize>" \
    "  <CachedSupportDir>" "  </CachedSupportDir>" "</Vantrel>"
[ "$(support_folders)" = "$before" ] || fail "a support folder was left behind: $(support_folders)"

# Not silent: the message box must be answered, or the run would wait forever.
"$PELLION_WINE" "$PELLION_BIN/launch.exe" "$work/setup.exe" >"$work/result" &
launcher=$!
"$PELLION_WINE" "$PELLION_BIN/windriver.exe" find --title "Vantrel Wizard" --class "#32770" --timeout 30000 >/dev/null \
    || fail "no message box appeared"
"$PELLION_WINE" "$PELLION_BIN/windriver.exe" texts --title "Vantrel Wizard" --class "#32770" >"$work/texts"
grep -q "For internal use only" "$work/texts" || { cat "$work/texts"; fail "message text missing"; }
sleep 3  # let the box paint before the picture is taken
screenshot "$SHOTS/startup_no_package.png"
"$PELLION_WINE" "$PELLION_BIN/windriver.exe" click --title "Vantrel Wizard" --class "#32770" "OK" >/dev/null
wait "$launcher"
[ "$(tr -d '\r' <"$work/result")" = "exit 13" ] || fail "interactive run ended with $(cat "$work/result")"
echo "no package: exit 13 silently and interactively, trace as expected, message answered"
