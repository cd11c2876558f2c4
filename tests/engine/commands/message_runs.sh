#!/usr/bin/env bash
# Setups built by the authoring tool talk to the user under Wine (which says
# it is Windows 6.1, so messages are task dialogs): a MessageBox of every
# button code is answered by the window driver and stores its word (Cancel
# under button code 0 is "ABORT", Close is "IGNORE"), one with an empty result
# parameter stores nothing, and the silent ones leave the previous value; a
# balloon is shown at the tray icon and "System Tray" removes the icon again
# without the run hanging, and a run that ends with the icon still shown ends
# too. The stored words come back through LOGGED, which moves the trace file
# to a name built from them.
set -eu
. "$PELLION_SOURCE/tests/wine/env.sh"
. "$PELLION_SOURCE/tests/wine/gui.sh"
. "$PELLION_SOURCE/tests/engine/startup/startup_kit.sh"

work=$(mktemp -d)
launched=
cleanup() {
    # A failed test must not leave a message waiting on the display.
    if [ -n "$launched" ]; then
        for part in "Vantrel Wizard" "Question"; do
            "$PELLION_WINE" "$PELLION_BIN/windriver.exe" kill --title-part "$part" --timeout 100 >/dev/null 2>&1 || true
        done
    fi
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/logs"
logs=$(windows_path "$work/logs")
driver() {
    "$PELLION_WINE" "$PELLION_BIN/windriver.exe" "$@"
}

# message_setup NAME: a built setup in $work/NAME whose script is standard input.
message_setup() {
    mkdir -p "$work/$1-source/support"
    echo "payload" >"$work/$1-source/support/payload.txt"
    {
        printf '@title |Message Test\n@product-code |{9C3E1F8B-2A46-4C9D-8B72-1E6F8A4D3B23}\n'
        printf '@revision-code |{3F2C7D45-8B3E-4A61-9C04-7D2B1E0A3C5B}\n'
        cat
    } >"$work/$1-source/setup.pls"
    "$PELLION_HOST_BIN/setupbuilder" build "$work/$1-source" "$work/$1" --engine "$PELLION_BIN/Pellion.exe" \
        --oxa "$PELLION_BIN/oxa.lib" --name "$1" >/dev/null || fail "setupbuilder could not build $1"
}

# ask NAME ICON BUTTONS RESULT: a MessageBox whose window caption (the engine's
# message caption) is "NAME - Vantrel Wizard".
ask() {
    printf 'Set Variable\n  |TITLE\n  |%s\nMessageBox\n  |Question %s\n  |Which button, %s?\n  |%s\n  |%s\n  |%s\n' \
        "$1" "$1" "$1" "$2" "$3" "$4"
}

{
    printf 'Set Variable\n  |KEPT\n  |kept\nSet Variable\n  |EMPTYRESULT\n  |untouched\n'
    ask Box0a 0 0 R0A
    ask Box0b 0 0 R0B
    ask Box0c 0 0 R0C
    ask Box1 0 1 R1
    ask Box2 1 2 R2
    ask Box3 3 3 R3
    ask Box4 0 4 R4
    ask Box5 2 5 R5
    ask Box6 3 1 ''
    printf 'Set Variable\n  |SILENT\n  |TRUE\n'
    ask Silent 0 1 KEPT
    printf 'MessageBalloon\n  |Silent balloon\n  |never shown\n  |0\n  |10\nSystem Tray\n  |TRUE\n  |TRUE\n  |\n  |\n'
    printf 'Set Variable\n  |SILENT\n  |FALSE\n'
    printf 'Set Variable\n  |LOGGED\n  |%s\n' \
        "$logs\\\$R0A\$-\$R0B\$-\$R0C\$-\$R1\$-\$R2\$-\$R3\$-\$R4\$-\$R5\$-\$KEPT\$-\$EMPTYRESULT\$.log"
} | message_setup boxes

"$PELLION_WINE" "$PELLION_BIN/launch.exe" --timeout 120000 "$work/boxes/boxes.exe" >"$work/boxes.result" &
run=$!
launched=1
# answer_window CAPTION BUTTON: presses the button and waits until that window is gone.
answer_window() {
    driver click --title "$1" --timeout 30000 "$2" >/dev/null || fail "no message '$1' with a button '$2'"
    driver gone --title "$1" --timeout 10000 || fail "message '$1' still shown after '$2'"
}
# answer NAME BUTTON: the same for the task dialog of an "ask NAME".
answer() {
    answer_window "$1 - Vantrel Wizard" "$2"
}
answer Box0a Cancel
answer Box0b Close
answer Box0c Retry
answer Box1 OK
answer Box2 Cancel
answer Box3 Retry
answer Box4 No
driver find --title "Box5 - Vantrel Wizard" --timeout 30000 >/dev/null || fail "no message Box5"
sleep 3   # let the task dialog paint before the picture
screenshot "$SHOTS/message_task_dialog.png"
assert_not_blank "$SHOTS/message_task_dialog.png"
texts=$(driver texts --title "Box5 - Vantrel Wizard" | tr -d '\r&')
for text in "Question Box5" "Which button, Box5?" "Yes" "No" "Cancel"; do
    grep -q "	$text\$" <<<"$texts" || fail "the task dialog does not show '$text': $texts"
done
answer Box5 Yes
answer Box6 OK
wait "$run"
launched=
[ "$(tr -d '\r' <"$work/boxes.result")" = "exit 0" ] || fail "the message setup ended with $(cat "$work/boxes.result")"
found=$(cd "$work/logs" && ls)
expected='ABORT-IGNORE-RETRY-OK-CANCEL-RETRY-NO-YES-kept-untouched.log'
[ "$found" = "$expected" ] || fail "trace file named '$found', expected '$expected'"
rm -f "$work/logs"/*

# A balloon at the tray icon (Wine's "Wine System Tray" window holds it), left
# to the exit steps after a message that keeps the balloon on screen for a
# picture; then a run whose "System Tray" removes the icon: the tray window
# goes while the setup still asks its last question. Neither may hang.
tray=(--title "Wine System Tray" --timeout 10000)
balloon_run() {
    "$PELLION_WINE" "$PELLION_BIN/launch.exe" --timeout 60000 "$work/$1/$1.exe" >"$work/$1.result" &
    run=$!
    launched=1
    driver find --title "$2 - Vantrel Wizard" --timeout 30000 >/dev/null || fail "no message after the balloon of $1"
}
balloon_end() {
    answer "$2" OK
    wait "$run"
    launched=
    [ "$(tr -d '\r' <"$work/$1.result")" = "exit 0" ] || fail "$1 ended with $(cat "$work/$1.result")"
}
{
    printf 'MessageBalloon\n  |Balloon title\n  |Balloon text\n  |1\n  |5\n'
    ask Balloon 0 1 ''
    printf 'Set Variable\n  |LOGGED\n  |%s\n' "$logs\\balloon-left-[\$PROGRESSMODE\$].log"
} | message_setup balloon-left
balloon_run balloon-left Balloon
driver find "${tray[@]}" >/dev/null || fail "no tray icon for the balloon"
sleep 3
screenshot "$SHOTS/message_balloon.png"
balloon_end balloon-left Balloon
driver gone "${tray[@]}" || fail "the tray icon stayed after the setup ended"

{
    printf 'MessageBalloon\n  |Balloon title\n  |Balloon text\n  |2\n  |60\n'
    printf 'Set Variable\n  |LOGGED\n  |%s\n' "$logs\\balloon-removed-[\$PROGRESSMODE\$].log"
    printf 'System Tray\n  |\n  |\n  |\n  |TRUE\n'
    ask Removed 0 1 ''
} | message_setup balloon-removed
balloon_run balloon-removed Removed
driver gone "${tray[@]}" || fail "System Tray did not remove the icon"
balloon_end balloon-removed Removed

# PROGRESSMODE is "PAUSE" while the balloon is up (the taskbar state of
# Windows 6.1); a message shown meanwhile puts back the value from before both.
found=$(cd "$work/logs" && ls | tr '\n' ' ')
[ "$found" = 'balloon-left-[].log balloon-removed-[PAUSE].log ' ] || fail "balloon runs left '$found'"
rm -f "$work/logs"/*

# The classic message box of Windows before 6.0: Wine says Windows 5.2 to this
# one program. Its caption is the message's title, its buttons Abort, Retry
# and Ignore; there is no taskbar state to keep, and the balloon takes the
# older notification structure.
classic_key='HKCU\Software\Wine\AppDefaults\classic.exe'
"$PELLION_WINE" reg add "$classic_key" /v Version /d winxp64 /f >/dev/null 2>&1 || fail "reg add $classic_key"
trap '"$PELLION_WINE" reg delete "$classic_key" /f >/dev/null 2>&1; cleanup' EXIT
{
    printf 'MessageBalloon\n  |Balloon title\n  |Balloon text\n  |0\n  |10\n'
    ask ClassicA 0 0 C1
    ask ClassicB 3 0 C2
    ask ClassicC 1 5 C3
    printf 'System Tray\n  |\n  |\n  |\n  |TRUE\n'
    printf 'Set Variable\n  |LOGGED\n  |%s\n' "$logs\\classic-\$C1\$-\$C2\$-\$C3\$-[\$PROGRESSMODE\$].log"
} | message_setup classic
"$PELLION_WINE" "$PELLION_BIN/launch.exe" --timeout 60000 "$work/classic/classic.exe" >"$work/classic.result" &
run=$!
launched=1
driver find "${tray[@]}" >/dev/null || fail "no tray icon for the classic balloon"
answer_window "Question ClassicA" Abort
answer_window "Question ClassicB" Ignore
answer_window "Question ClassicC" Cancel
wait "$run"
launched=
[ "$(tr -d '\r' <"$work/classic.result")" = "exit 0" ] || fail "the classic setup ended with $(cat "$work/classic.result")"
found=$(cd "$work/logs" && ls)
[ "$found" = 'classic-ABORT-IGNORE-CANCEL-[].log' ] || fail "classic run left '$found'"
echo "PASS"
