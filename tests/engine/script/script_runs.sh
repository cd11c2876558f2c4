#!/usr/bin/env bash
# Setups built by the authoring tool whose scripts exercise the interpreter,
# run under Wine: a script that fails validation ends with exit code 314 and
# shows nothing, silently or not; a run-time error inside an included script is
# shown in a message box naming that script and the line, which the window
# driver reads and answers; and a command-line NAME=VALUE keeps its value
# against the script in a silent run only (seen through LOGGED, which moves the
# trace file).
set -eu
. "$PELLION_SOURCE/tests/wine/env.sh"
. "$PELLION_SOURCE/tests/wine/gui.sh"
. "$PELLION_SOURCE/tests/engine/startup/startup_kit.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# new_script NAME TITLE: a setup source folder with a main script header.
new_script() {
    mkdir -p "$work/$1/support"
    printf '@title |%s\n@product-code |{4C2F0D7A-1E35-4B8C-9A61-0D5E7B3C2A19}\n@revision-code |{9E1B6C34-7A2D-4F50-B8E3-6C1A0F9D2B47}\n' \
        "$2" >"$work/$1/setup.pls"
    echo "payload" >"$work/$1/support/payload.txt"
}

interpreter_lines() {
    iconv -f UTF-16LE -t UTF-8 "$1" | sed 's/\r$//' | sed -n '/^  <RunScript>$/,$p'
}

# 1. Validation: an If without its End.
new_script invalid "Invalid Test"
cat >>"$work/invalid/setup.pls" <<'SCRIPT'
If
  |TARGETDIR
  |0
  |
  |FALSE
Comment
  |the End is missing
SCRIPT
build_setup "$work/invalid" "$work/invalid-setup"
before=$(support_folders)
mkdir -p "$work/logs"
logs=$(windows_path "$work/logs")
expect_exit 314 "$work/invalid-setup/setup.exe" /s "/l=$logs\\invalid.log"
actual=$(interpreter_lines "$work/logs/invalid.log")
expected=$(printf '%s\n' "  <RunScript>" "    <Variables>" "    </Variables>" "    <CompileScript>")
[ "$actual" = "$expected" ] || { diff <(echo "$expected") <(echo "$actual"); fail "validation trace"; }
# With a display nothing is shown either: a message box would block the run
# until the launcher's time-out.
got=$("$PELLION_WINE" "$PELLION_BIN/launch.exe" --timeout 60000 "$work/invalid-setup/setup.exe" | tr -d '\r')
[ "$got" = "exit 314" ] || fail "interactive invalid script ended with '$got'"
# The process ends without clean-up: its support folders stay; remove them here.
for folder in $(support_folders); do
    case " $before " in *" $folder "*) ;; *) rm -rf "$folder" ;; esac
done

# 2. A run-time error in an included script.
new_script failing "Error Test"
cat >>"$work/failing/setup.pls" <<'SCRIPT'
Comment
  |before the include
@include |checks.pls
Comment
  |after the include
SCRIPT
cat >"$work/failing/checks.pls" <<'SCRIPT'
Evaluate Expression
  |"1" = "1"
  |SAME
Mathematics
  |not a number
  |1
  |0
  |RESULT
SCRIPT
build_setup "$work/failing" "$work/failing-setup"
box=(--title "Error Test - Vantrel Wizard" --class "#32770" --timeout 60000)
"$PELLION_WINE" "$PELLION_BIN/launch.exe" "$work/failing-setup/setup.exe" "/l=$logs\\failing.log" >"$work/failing-result" &
launcher=$!
"$PELLION_WINE" "$PELLION_BIN/windriver.exe" find "${box[@]}" >/dev/null || fail "no run-time error message"
"$PELLION_WINE" "$PELLION_BIN/windriver.exe" texts "${box[@]}" | tr -d '\r' >"$work/texts"
for line in "Runtime error in setup script:" "Source File: checks" "Line Number: 2" \
            "'not a number' is not a valid integer value"; do
    grep -qF "$line" "$work/texts" || { cat "$work/texts"; fail "the message lacks '$line'"; }
done
sleep 2
screenshot "$SHOTS/script_runtime_error.png"
"$PELLION_WINE" "$PELLION_BIN/windriver.exe" click "${box[@]}" OK >/dev/null || fail "could not answer the message"
wait "$launcher"
[ "$(tr -d '\r' <"$work/failing-result")" = "exit 0" ] || fail "failing script ended with $(cat "$work/failing-result")"
actual=$(interpreter_lines "$work/logs/failing.log")
expected=$(printf '%s\n' "  <RunScript>" "    <Variables>" "    </Variables>" "    <CompileScript>" "    </CompileScript>" \
    "    <BootStrap>" "    </BootStrap>" "    <quav>" "    </quav>" "    <ExitScript>" "    </ExitScript>" \
    "  </RunScript>" "  <Free>" "  </Free>" "  <CachedSupportDir>" "  </CachedSupportDir>" "</Vantrel>")
[ "$actual" = "$expected" ] || { diff <(echo "$expected") <(echo "$actual"); fail "run-time error trace"; }

# 3. LOGGED given on the command line; the script assigns it 1 + 2.
new_script cmdline "Command Line Test"
cat >>"$work/cmdline/setup.pls" <<'SCRIPT'
Mathematics
  |1
  |2
  |0
  |LOGGED
SCRIPT
build_setup "$work/cmdline" "$work/cmdline-setup"
tail_lines=("    </quav>" "    <ExitScript>" "    </ExitScript>" "  </RunScript>" "  <Free>" "  </Free>"
            "  <CachedSupportDir>" "  </CachedSupportDir>" "</Vantrel>")
mkdir -p "$work/silent-cwd" "$work/loud-cwd"
# Silent: the command-line value stays, so the rest of the trace goes there.
expect_exit 0 --cwd "$(windows_path "$work/silent-cwd")" "$work/cmdline-setup/setup.exe" /s \
    "/l=$logs\\first.log" "LOGGED=$logs\\second.log"
[ "$(iconv -f UTF-16LE -t UTF-8 "$work/logs/first.log" | sed 's/\r$//' | tail -1)" = "    <quav>" ] \
    || fail "the trace did not move to the command-line file before the first statement"
expect_trace "$work/logs/second.log" "${tail_lines[@]}"
[ -z "$(ls "$work/silent-cwd")" ] || fail "the script's value was used in a silent run: $(ls "$work/silent-cwd")"
# Not silent: the script's value wins, and the trace moves to the file "3".
expect_exit 0 --cwd "$(windows_path "$work/loud-cwd")" "$work/cmdline-setup/setup.exe" \
    "/l=$logs\\first2.log" "LOGGED=$logs\\second2.log"
[ -f "$work/loud-cwd/3" ] || fail "the script's value did not reach LOGGED: $(ls "$work/loud-cwd")"
expect_trace "$work/loud-cwd/3" "${tail_lines[@]}"
[ ! -e "$work/logs/second2.log" ] || fail "the command-line value was kept without the silent switch"

echo "script runs: 314 without message, run-time error message answered, command-line value kept when silent"
