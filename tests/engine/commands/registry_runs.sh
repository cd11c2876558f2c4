#!/usr/bin/env bash
# A setup built by the authoring tool reads the registry under Wine: the same
# key below HKEY_LOCAL_MACHINE\Software reads from the 32-bit view in "Win32"
# mode and from the 64-bit view in "x64" mode; "Check Registry" names a
# missing key, a missing value and a 64-bit number; DWORD and binary values
# read as their texts; "Find All Registry" names the default value; "Delete
# Registry" removes a key with its subkeys. The values come back through
# LOGGED, which moves the trace file to a name built from them.
set -eu
. "$PELLION_SOURCE/tests/wine/env.sh"
. "$PELLION_SOURCE/tests/engine/startup/startup_kit.sh"

machine='HKLM\Software\PellionRegistryTest'
user='HKCU\Software\PellionRegistryTest'
reg() {
    "$PELLION_WINE" reg "$@" >/dev/null 2>&1
}
work=$(mktemp -d)
cleanup() {
    reg delete "$machine" /f /reg:32 || true
    reg delete "$machine" /f /reg:64 || true
    reg delete "$user" /f || true
    rm -rf "$work"
}
trap cleanup EXIT
reg add "$machine" /v View /d thirty-two /f /reg:32 || fail "reg add /reg:32"
reg add "$machine" /v View /d sixty-four /f /reg:64 || fail "reg add /reg:64"
reg add "$user" /v Number /t REG_DWORD /d 4294967295 /f || fail "reg add DWORD"
reg add "$user" /v Bytes /t REG_BINARY /d 01AB00 /f || fail "reg add binary"
reg add "$user" /v Big /t REG_QWORD /d 1 /f || fail "reg add QWORD"
reg add "$user\\Inner" /ve /d inside /f || fail "reg add default value"
reg add "$user\\Gone\\Child" /v Leaf /d x /f || fail "reg add Gone"

mkdir -p "$work/source/support" "$work/logs"
echo "payload" >"$work/source/support/payload.txt"
logs=$(windows_path "$work/logs")
printf '@title |Registry Test\n@product-code |{7A3E1F8B-2A46-4C9D-8B72-1E6F8A4D3B21}\n@revision-code |{1F2C7D45-8B3E-4A61-9C04-7D2B1E0A3C59}\n' \
    >"$work/source/setup.pls"
cat >>"$work/source/setup.pls" <<SCRIPT
Read Registry
  |THIRTYTWO
  |2
  |Software\\PellionRegistryTest
  |View
Check Registry
  |MISSING
  |2
  |Software\\PellionRegistryTest\\Missing
  |
Read Registry
  |HIDDEN
  |2
  |Software\\PellionRegistryTest\\Missing
  |
Check Registry
  |NOVALUE|
  |2
  |Software\\PellionRegistryTest
  |Nothing
Set 64 Bit Mode
  |FALSE
  |FALSE
  |TRUE
Read Registry
  |SIXTYFOUR
  |2
  |Software\\PellionRegistryTest
  |View
Read Registry
  |NUMBER|somewhere
  |1
  |Software\\PellionRegistryTest
  |Number
Read Registry
  |BYTES
  |1
  |Software\\PellionRegistryTest
  |Bytes
Check Registry
  |BIG
  |1
  |Software\\PellionRegistryTest
  |Big
Find All Registry
  |DEFAULTS
  |1
  |Software\\PellionRegistryTest\\Inner
  |FALSE
Delete Registry
  |1
  |Software\\PellionRegistryTest\\Gone
  |
  |TRUE
Set Variable
  |LOGGED
  |$logs\\\$THIRTYTWO\$-\$SIXTYFOUR\$-\$MISSING\$-\$NOVALUE\$-[\$HIDDEN\$]-\$NUMBER\$-\$BYTES\$-\$BIG\$-\$DEFAULTS\$.log
SCRIPT
build_setup "$work/source" "$work/setup"
expect_exit 0 "$work/setup/setup.exe" /s
found=$(cd "$work/logs" && ls)
expected='thirty-two-sixty-four-NO$KEY-NO$VALUE-[]--1-01AB00-UNKNOWN$TYPE-(Default).log'
[ "$found" = "$expected" ] || fail "trace file named '$found', expected '$expected'"
reg query "$user\\Gone" && fail "Delete Registry left $user\\Gone"
reg query "$user\\Inner" || fail "Delete Registry took more than its key"
echo "PASS"
