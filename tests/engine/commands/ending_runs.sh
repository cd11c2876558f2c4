#!/usr/bin/env bash
# Setups built by the authoring tool end early under Wine: "Terminate with
# Exit Code" ends the process with the full expanded code (above 255, so a
# truncated code shows), a text that is not a number ends it with 0, and
# "Terminate Install" ends it with 0; the statements after them never run
# (the one that moves the trace file into the logs folder, as it does in a
# setup without an ending).
set -eu
. "$PELLION_SOURCE/tests/wine/env.sh"
. "$PELLION_SOURCE/tests/engine/startup/startup_kit.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
logs_folder="$work/logs"
mkdir -p "$logs_folder"
logs=$(windows_path "$logs_folder")

# ending_setup NAME STATEMENT...: a built setup in $work/NAME whose script runs the statements.
ending_setup() {
    local name=$1
    shift
    mkdir -p "$work/$name-source/support"
    echo "payload" >"$work/$name-source/support/payload.txt"
    printf '@title |Ending Test\n@product-code |{8B3E1F8B-2A46-4C9D-8B72-1E6F8A4D3B22}\n@revision-code |{2F2C7D45-8B3E-4A61-9C04-7D2B1E0A3C5A}\n' \
        >"$work/$name-source/setup.pls"
    printf '%s\n' "$@" >>"$work/$name-source/setup.pls"
    printf 'Set Variable\n  |LOGGED\n  |%s\\%s.log\n' "$logs" "$name" >>"$work/$name-source/setup.pls"
    build_setup "$work/$name-source" "$work/$name"
}

ending_setup code 'Set Variable' '  |CODE' '  |300' 'Terminate with Exit Code' '  |$CODE$'
ending_setup word 'Terminate with Exit Code' '  |seven'
ending_setup plain 'Terminate Install'
ending_setup control 'Set Variable' '  |CODE' '  |300'
expect_exit 300 "$work/code/setup.exe" /s
expect_exit 0 "$work/word/setup.exe" /s
expect_exit 0 "$work/plain/setup.exe" /s
expect_exit 0 "$work/control/setup.exe" /s
[ "$(ls "$logs_folder")" = "control.log" ] || fail "statements after the ending ran, or LOGGED moved nothing: $(ls "$logs_folder")"
echo "PASS"
