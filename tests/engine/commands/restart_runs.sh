#!/usr/bin/env bash
# Setups built by the authoring tool restart the computer and close windows
# under Wine. A restart request under Wine ends the other programs of the
# prefix and runs the Run and RunOnce entries as after a logon, so this test
# works in a Wine session of its own (its own prefix, wineserver and display),
# started here and stopped on every way out.
#
# Refused restarts (wineboot.exe switched off for the setup's process, so
# ExitWindowsEx cannot start it) leave the entry to look at: under HKCU or
# HKLM by ALLUSERS, under RunOnce or Run by command, named by characters 2 to 9
# of the product code, holding the setup's path without quotes (blanks and
# all) and the command-line tail, or the "/m=" self-extractor path; the setup
# still ends with 0 and the statements after the command never run; the next
# run deletes exactly that name under both keys of both hives.
# Real restarts: another program's window is asked to end the session and
# ends, the setup ends by its own exit steps (its trace is complete), and Wine
# runs the entry, so the setup starts again with the same command line. A
# marker value in the registry arms each restarting run once, so a resumed
# run never restarts again.
# "Terminate Program" closes the first window of a class, posts ten times to
# a window that does not close, and leaves windows alone when both texts are
# empty or the letter case differs.
set -eu
own_state="$PELLION_WINE_STATE/../wine-restart"
session="$PELLION_SOURCE/tests/wine/session"
work=$(mktemp -d)
cleanup() {
    if [ -n "${WINEPREFIX:-}" ]; then
        forget_entries || true
        "$PELLION_WINE" reg delete 'HKCU\Software\PellionRestartTest' /f >/dev/null 2>&1 || true
    fi
    bash "$session" stop "$own_state" >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
bash "$session" start "$own_state" >"$work/session.log" 2>&1 || {
    cat "$work/session.log"
    echo "FAIL: no Wine session of its own"
    exit 1
}
PELLION_WINE_STATE=$(cd "$own_state" && pwd)
export PELLION_WINE_STATE
. "$PELLION_SOURCE/tests/wine/env.sh"
. "$PELLION_SOURCE/tests/engine/startup/startup_kit.sh"

name=4C1D2E3F
product="{$name-1A2B-4C3D-8E4F-A1B2C3D4E5F6}"
user_once='HKCU\Software\Microsoft\Windows\CurrentVersion\RunOnce'
user_run='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
machine_once='HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce'
machine_run='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
places="$user_once $user_run $machine_once $machine_run"

reg() {
    "$PELLION_WINE" reg "$@" </dev/null 2>/dev/null | tr -d '\r'
}
forget_entries() {
    local place
    for place in $places; do
        reg delete "$place" /v "$name" /f >/dev/null || true
        reg delete "$place" /v PellionOther /f >/dev/null || true
    done
}
# entry_in KEY: the data of the restart entry there, "none" when missing.
entry_in() {
    local line
    line=$(reg query "$1" /v "$name" | grep -F "    $name    REG_SZ    " || true)
    [ -n "$line" ] && echo "${line#*REG_SZ    }" || echo none
}
# expect_entries ONCE-USER RUN-USER ONCE-MACHINE RUN-MACHINE: the four places.
expect_entries() {
    local place want got
    for place in $places; do
        want=$1
        shift
        got=$(entry_in "$place")
        [ "$got" = "$want" ] || fail "$place\\$name holds '$got', expected '$want'"
    done
}
arm() {
    reg add 'HKCU\Software\PellionRestartTest' /v Armed /d yes /f >/dev/null || fail "cannot arm"
}
# Waits up to 30 seconds for a file to appear.
wait_for() {
    local tries
    for tries in $(seq 1 60); do
        [ -e "$1" ] && return 0
        sleep 0.5
    done
    return 1
}

logs_folder="$work/logs"
mkdir -p "$logs_folder"
logs=$(windows_path "$logs_folder")

# restart_setup NAME STATEMENT...: a setup in "$work/Setup Folder/NAME" that,
# when armed, disarms itself, starts its trace in armed-$MARK$.log and runs the
# statements (a restarting command), then would move its trace to
# after-$MARK$.log; every run that gets past the armed part moves its trace to
# ran-$MARK$.log.
restart_setup() {
    local setup=$1 source="$work/$1-source"
    shift
    mkdir -p "$source/support"
    echo "payload" >"$source/support/payload.txt"
    {
        printf '@title |Restart Test\n@product-code |%s\n' "$product"
        printf '@revision-code |{6D2E3F40-2B3C-4D4E-9F50-B2C3D4E5F607}\n'
        printf 'Read Registry\n  |ARMED\n  |1\n  |Software\\PellionRestartTest\n  |Armed\n'
        printf 'If\n  |ARMED\n  |0\n  |yes\n  |FALSE\n'
        printf 'Delete Registry\n  |1\n  |Software\\PellionRestartTest\n  |Armed\n  |FALSE\n'
        printf 'Set Variable\n  |LOGGED\n  |%s\\armed-$MARK$.log\n' "$logs"
        printf '%s\n' "$@"
        printf 'Set Variable\n  |LOGGED\n  |%s\\after-$MARK$.log\n' "$logs"
        printf 'End\n'
        printf 'Set Variable\n  |LOGGED\n  |%s\\ran-$MARK$.log\n' "$logs"
    } >"$source/setup.pls"
    build_setup "$source" "$work/Setup Folder/$setup"
}
restart_setup resume 'Reboot and Resume'
restart_setup login 'Reboot and Login'
restart_setup reboot 'Reboot Computer'
resume=$(windows_path "$work/Setup Folder/resume/setup.exe")
login=$(windows_path "$work/Setup Folder/login/setup.exe")
reboot=$(windows_path "$work/Setup Folder/reboot/setup.exe")
case "$resume" in *' '*) ;; *) fail "the setup's path should hold a blank: $resume" ;; esac

# run_refused SETUP ARGS...: runs the setup, armed, with no wineboot to start.
run_refused() {
    arm
    local got
    got=$(WINEDLLOVERRIDES="$WINEDLLOVERRIDES;wineboot.exe=d" "$PELLION_WINE" "$PELLION_BIN/launch.exe" --timeout 60000 "$@" </dev/null | tr -d '\r')
    [ "$got" = "exit 0" ] || fail "$* ended with '$got', expected exit 0"
}

forget_entries
reg delete 'HKCU\Software\PellionRestartTest' /f >/dev/null || true

# --- refused restarts: the entries as written
run_refused "$resume" /s ALLUSERS=FALSE MARK=user
expect_entries "$resume /s ALLUSERS=FALSE MARK=user" none none none
run_refused "$resume" /s ALLUSERS=TRUE MARK=machine
expect_entries none none "$resume /s ALLUSERS=TRUE MARK=machine" none
run_refused "$login" /s ALLUSERS=FALSE MARK=login
expect_entries none "$login /s ALLUSERS=FALSE MARK=login" none none
run_refused "$login" /s ALLUSERS=-1 MARK=loginmachine
expect_entries none none none "$login /s ALLUSERS=-1 MARK=loginmachine"
# The self-extractor's path, as the command line reading lower-cases it.
run_refused "$resume" /s ALLUSERS=FALSE MARK=sfx '/m=C:\Down Loads\Sfx.EXE'
expect_entries 'c:\down loads\sfx.exe /s ALLUSERS=FALSE MARK=sfx "/m=C:\Down Loads\Sfx.EXE"' none none none
# Without a tail the entry is the bare path. Not silent: no window waits,
# the script shows none.
arm
got=$(WINEDLLOVERRIDES="$WINEDLLOVERRIDES;wineboot.exe=d" "$PELLION_WINE" "$PELLION_BIN/launch.exe" --timeout 60000 "$resume" </dev/null | tr -d '\r')
[ "$got" = "exit 0" ] || fail "the run without a tail ended with '$got'"
# (ALLUSERS defaults to TRUE for Wine's administrator user.)
expect_entries none none "$resume" none
[ -z "$(ls "$logs_folder" | grep -v '^armed-')" ] || fail "statements after a restarting command ran: $(ls "$logs_folder")"

# --- the next run deletes the pending entries of its name, and only those
for place in $places; do
    reg add "$place" /v "$name" /d pending /f >/dev/null || fail "reg add $place"
    reg add "$place" /v PellionOther /d other /f >/dev/null || fail "reg add $place PellionOther"
done
expect_exit 0 "$work/Setup Folder/resume/setup.exe" /s MARK=next
[ -e "$logs_folder/ran-next.log" ] || fail "the unarmed run did not reach its end"
expect_entries none none none none
for place in $places; do
    reg query "$place" /v PellionOther | grep -q other || fail "the run deleted $place\\PellionOther"
done
forget_entries
rm -f "$logs_folder"/*

# --- real restarts: Wine ends the session and runs the entries
probe_log="$work/probe.log"
# probe: a window of another program, which the restart asks to end the session.
start_probe() {
    : >"$probe_log"
    "$PELLION_WINE" "$PELLION_BIN/testwindow.exe" --class PellionRestartProbe --title "Restart probe" \
        --log "$(windows_path "$probe_log")" --lifetime 60000 </dev/null >/dev/null 2>&1 &
    "$PELLION_WINE" "$PELLION_BIN/windriver.exe" find --class PellionRestartProbe --timeout 10000 </dev/null >/dev/null \
        || fail "the probe window did not appear"
}
expect_session_ended() {
    "$PELLION_WINE" "$PELLION_BIN/windriver.exe" gone --class PellionRestartProbe --timeout 10000 </dev/null >/dev/null \
        || fail "the probe window outlived the restart"
    [ "$(tr '\n' ' ' <"$probe_log")" = "queryendsession endsession " ] \
        || fail "the probe window saw '$(tr '\n' ' ' <"$probe_log")'"
}
trace_end() {
    iconv -f UTF-16LE -t UTF-8 "$1" | sed 's/\r$//' | tail -1
}

start_probe
arm
expect_exit 0 "$work/Setup Folder/resume/setup.exe" /s ALLUSERS=TRUE MARK=resumed
expect_session_ended
[ "$(trace_end "$logs_folder/armed-resumed.log")" = "</Vantrel>" ] || fail "the restarting setup did not run its exit steps"
wait_for "$logs_folder/ran-resumed.log" || fail "Wine did not run the RunOnce entry under HKLM: $(ls "$logs_folder")"
[ ! -e "$logs_folder/after-resumed.log" ] || fail "statements after Reboot and Resume ran"
expect_entries none none none none

start_probe
arm
expect_exit 0 "$work/Setup Folder/login/setup.exe" /s ALLUSERS=FALSE MARK=login
expect_session_ended
wait_for "$logs_folder/ran-login.log" || fail "Wine did not run the Run entry under HKCU: $(ls "$logs_folder")"
sleep 1
expect_entries none none none none

start_probe
arm
expect_exit 0 "$work/Setup Folder/reboot/setup.exe" /s MARK=reboot
expect_session_ended
[ ! -e "$logs_folder/after-reboot.log" ] || fail "statements after Reboot Computer ran"
[ "$(trace_end "$logs_folder/armed-reboot.log")" = "</Vantrel>" ] || fail "Reboot Computer did not run the exit steps"
expect_entries none none none none

# --- Terminate Program
target_log="$work/target.log"
# start_target CLASS TITLE [--stubborn]
start_target() {
    : >"$target_log"
    "$PELLION_WINE" "$PELLION_BIN/testwindow.exe" --class "$1" --title "$2" --log "$(windows_path "$target_log")" \
        --lifetime 60000 ${3:-} </dev/null >/dev/null 2>&1 &
    "$PELLION_WINE" "$PELLION_BIN/windriver.exe" find --class "$1" --timeout 10000 </dev/null >/dev/null \
        || fail "the target window $1 did not appear"
}
# terminate_setup NAME TITLE CLASS [TITLE CLASS]...: a setup of Terminate Program statements.
terminate_setup() {
    local setup=$1 source="$work/$1-source"
    shift
    mkdir -p "$source/support"
    echo "payload" >"$source/support/payload.txt"
    printf '@title |Terminate Test\n@product-code |{7E1D2E3F-1A2B-4C3D-8E4F-A1B2C3D4E5F6}\n' >"$source/setup.pls"
    printf '@revision-code |{8F2E3F40-2B3C-4D4E-9F50-B2C3D4E5F607}\n' >>"$source/setup.pls"
    while [ $# -gt 0 ]; do
        printf 'Terminate Program\n  |%s\n  |%s\n' "$1" "$2" >>"$source/setup.pls"
        shift 2
    done
    printf 'Set Variable\n  |LOGGED\n  |%s\\%s.log\n' "$logs" "$setup" >>"$source/setup.pls"
    build_setup "$source" "$work/$setup"
}
terminate_setup byclass '' PellionTarget
terminate_setup stubborn 'Stubborn' ''
terminate_setup untouched '' '' '' pelliontarget 'target WINDOW' '' 'Target Window' PellionTargetX

start_target PellionTarget "Target Window"
expect_exit 0 "$work/untouched/setup.exe" /s
sleep 1
"$PELLION_WINE" "$PELLION_BIN/windriver.exe" find --class PellionTarget --timeout 1000 </dev/null >/dev/null \
    || fail "a Terminate Program that names no window closed the target"
[ ! -s "$target_log" ] || fail "the untouched target saw '$(tr '\n' ' ' <"$target_log")'"
expect_exit 0 "$work/byclass/setup.exe" /s
"$PELLION_WINE" "$PELLION_BIN/windriver.exe" gone --class PellionTarget --timeout 10000 </dev/null >/dev/null \
    || fail "Terminate Program by class left the target open"
[ "$(head -2 "$target_log" | tr '\n' ' ')" = "cancelmode close " ] \
    || fail "the target saw '$(tr '\n' ' ' <"$target_log")', expected WM_CANCELMODE before WM_CLOSE"
[ -e "$logs_folder/byclass.log" ] || fail "the statements after Terminate Program did not run"

start_target PellionStubborn "Stubborn window" --stubborn
expect_exit 0 "$work/stubborn/setup.exe" /s
for tries in $(seq 1 40); do
    [ "$(wc -l <"$target_log")" -ge 20 ] && break
    sleep 0.25
done
sleep 0.5
expected=$(for pass in $(seq 1 10); do printf 'cancelmode close '; done)
[ "$(tr '\n' ' ' <"$target_log")" = "$expected" ] \
    || fail "the stubborn window saw '$(tr '\n' ' ' <"$target_log")', expected ten passes"
"$PELLION_WINE" "$PELLION_BIN/windriver.exe" kill --class PellionStubborn --timeout 1000 </dev/null >/dev/null || true
echo "PASS"
