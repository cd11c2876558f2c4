#!/usr/bin/env bash
# The sample setup (the demo) built from samples/setup by the authoring tool
# and run silently under Wine: without Vantrel it keeps the engine's default
# target folder, with Vantrel's plug-in key it installs beside Vantrel; it
# offers the pack, Lexwiz and its help with the pack fixed, and the space it
# asks for is the sum of the selected components' sizes. A copy of the script
# ends by saving the feature selections, which the test reads back.
set -eu
. "$PELLION_SOURCE/tests/wine/env.sh"
. "$PELLION_SOURCE/tests/engine/startup/startup_kit.sh"

key='HKLM\SOFTWARE\Dorvane\Vantrel\2.0\Plug-Ins\Language Packs'
reg() {
    "$PELLION_WINE" reg "$@" >/dev/null 2>&1
}
work=$(mktemp -d)
cleanup() {
    reg delete "$key" /f /reg:32 || true
    rm -rf "$work"
}
trap cleanup EXIT
win_work=$(windows_path "$work")

# run_sample NAME: builds the sample with a report appended and runs it.
run_sample() {
    local name=$1
    cp -r "$PELLION_SOURCE/samples/setup" "$work/source-$name"
    cat >>"$work/source-$name/setup.pls" <<SCRIPT
Set Variable
  |REPORT\$QUAV\$QUAV\$TRUE
  |T=\$TARGETDIR\$;S=\$SPACEREQUIRED\$
Save Feature Selections
  |$win_work\\$name.dat
SCRIPT
    build_setup "$work/source-$name" "$work/setup-$name"
    expect_exit 0 "$work/setup-$name/setup.exe" /s
    [ -f "$work/$name.dat" ] || fail "$name: the sample saved no feature selections"
    sed 's/\r$//' "$work/$name.dat" >"$work/$name.txt"
}

# list N FILE: the lines of the N-th list (ended by "$") of an instance data file.
list() {
    awk -v want="$1" '$0 == "$" { n++; next } n + 1 == want' "$2" | paste -sd '|'
}

report() {
    awk 'previous == "REPORT" { print; exit } { previous = $0 }' "$1"
}

run_sample plain
[ "$(list 1 "$work/plain.txt")" = 'QUAV-PREDEF-COMPONENT|German Language Pack|Lexwiz|Lexwiz\Help' ] \
    || fail "components: $(list 1 "$work/plain.txt")"
[ "$(list 2 "$work/plain.txt")" = 'TRUE|TRUE|TRUE|TRUE' ] || fail "states: $(list 2 "$work/plain.txt")"
[ "$(list 5 "$work/plain.txt")" = 'German Language Pack' ] || fail "fixed: $(list 5 "$work/plain.txt")"
# 3980640 + 1261568 + 402944 + 61440
case "$(report "$work/plain.txt")" in
*'\Pellion\;S=5706592') ;;
*) fail "without Vantrel: $(report "$work/plain.txt")" ;;
esac

reg add "$key" /v Path /d 'D:\Vantrel 2.0' /f /reg:32 || fail "reg add"
run_sample beside
[ "$(report "$work/beside.txt")" = 'T=D:\Vantrel 2.0;S=5706592' ] || fail "with Vantrel: $(report "$work/beside.txt")"

echo "sample setup: components, their space and the target folder with and without Vantrel"
