#!/usr/bin/env bash
# A setup built by the authoring tool with the language selection and two
# translations (German, French) runs under Wine: the "Select Setup Language"
# window lists both with the package's default preselected (screenshot); the
# driver picks German and presses Return, and the script's "Set Variable"
# comes out German, the engine's run-time error text too (its message box is
# read and answered). Escape in the window ends the setup before any
# statement; a silent run shows no window and takes the preselection. The
# values come back through LOGGED, which names the trace file after them.
set -eu
. "$PELLION_SOURCE/tests/wine/env.sh"
. "$PELLION_SOURCE/tests/wine/gui.sh"
. "$PELLION_SOURCE/tests/engine/startup/startup_kit.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/source/support" "$work/logs"
logs=$(windows_path "$work/logs")
greeting_id="{3C1A7E52-9D04-4B8F-A6E1-52B07C9D1E44}"

cat >"$work/source/setup.pls" <<SCRIPT
@title |Language Test
@product-code |{7A2E4C19-3B58-4D6F-9E01-8C4B2D7F6A31}
@revision-code |{5E9B1D73-0C42-4A8E-B6F5-2D7A9C3E1B08}
@language-selection |TRUE
@default-language |French
Set Variable
  @id |$greeting_id
  |GREETING
  |Hello
Set Variable
  |LOGGED
  |$logs\\\$LANGUAGE\$-\$GREETING\$.log
Parse String
  |a=b
  |=
  |A
  |B
  |not a mode
  |FALSE
  |FALSE
SCRIPT
support="$work/source/support"
printf '%s\r\n' "$greeting_id" >"$support/Language Test.mtx"
printf '%s\r\n' "Hello" >"$support/translations.original"
printf '%s\r\n' "script" >"$support/translations.map"
printf '\xEF\xBB\xBF%s\r\n' "Hallo" >"$support/translations.German"
printf '%s\r\n' "Bonjour" >"$support/translations.French"
python3 - "$support/shared.translations.German" <<'PY'
import sys
lines = ["Meldung %d" % n for n in range(1, 127)]
lines[19] = "Laufzeitfehler im Setup-Skript:"
open(sys.argv[1], "w", encoding="utf-8", newline="").write("\ufeff" + "\r\n".join(lines) + "\r\n")
PY
build_setup "$work/source" "$work/setup"

window=(--title "Select Setup Language" --class "#32770" --timeout 30000)
driver() {
    "$PELLION_WINE" "$PELLION_BIN/windriver.exe" "$@"
}

# Interactive: the window, German chosen, Return.
"$PELLION_WINE" "$PELLION_BIN/launch.exe" "$work/setup/setup.exe" >"$work/chosen" &
chosen=$!
driver find "${window[@]}" >/dev/null || fail "no language window"
texts=$(driver texts "${window[@]}" | tr -d '\r')
echo "$texts" | grep -q "Please select the language to use during the installation:" || fail "window text: $texts"
echo "$texts" | grep -q "OK" && echo "$texts" | grep -q "Cancel" || fail "window buttons: $texts"
items=$(driver combo-items "${window[@]}" | tr -d '\r')
[ "$items" = $'0\t0\tFrench\n1\t0\tGerman' ] && fail "nothing preselected: $items"
[ "$items" = $'0\t1\tFrench\n1\t0\tGerman' ] || fail "language list: $items"
sleep 3   # let the window paint before the picture
screenshot "$SHOTS/language_window.png"
assert_not_blank "$SHOTS/language_window.png"
driver combo-select "${window[@]}" German || fail "could not pick German"
driver key "${window[@]}" Return || fail "could not press Return"
box=(--title "Language Test - Vantrel Wizard" --class "#32770" --timeout 30000)
driver texts "${box[@]}" | grep -q "Laufzeitfehler im Setup-Skript:" \
    || fail "the run-time error is not German: $(driver texts "${box[@]}")"
driver click "${box[@]}" OK >/dev/null || fail "no run-time error box to answer"
wait "$chosen"
[ "$(tr -d '\r' <"$work/chosen")" = "exit 0" ] || fail "chosen run: $(cat "$work/chosen")"
[ -f "$work/logs/German-Hallo.log" ] || fail "chosen run left $(ls "$work/logs")"
rm -f "$work/logs"/*

# Escape: the setup ends before its first statement.
"$PELLION_WINE" "$PELLION_BIN/launch.exe" "$work/setup/setup.exe" >"$work/cancelled" &
cancelled=$!
driver find "${window[@]}" >/dev/null || fail "no language window to cancel"
driver key "${window[@]}" Escape || fail "could not press Escape"
wait "$cancelled"
[ "$(tr -d '\r' <"$work/cancelled")" = "exit 0" ] || fail "cancelled run: $(cat "$work/cancelled")"
[ -z "$(ls "$work/logs")" ] || fail "a statement ran after Cancel: $(ls "$work/logs")"

# Silent: no window, the preselection, no message box.
expect_exit 0 "$work/setup/setup.exe" /s
[ -f "$work/logs/French-Bonjour.log" ] || fail "silent run left $(ls "$work/logs")"
echo "language runs: window with French preselected, German chosen with Return, Escape cancels, silent takes French"
