#!/usr/bin/env bash
# A setup built by the authoring tool runs the string and path commands under
# Wine: "Get Temporary File" leaves an empty "oxa*.tmp" file in the user's
# temporary folder, "Convert Path" finds the stored letter case of a folder
# reached through an environment reference in x64 mode, and "Parse String"
# and "Extract Path" cut the results. The values come back through LOGGED,
# which moves the trace file to a name built from them.
set -eu
. "$PELLION_SOURCE/tests/wine/env.sh"
. "$PELLION_SOURCE/tests/engine/startup/startup_kit.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/source/support" "$work/logs"
echo "payload" >"$work/source/support/payload.txt"
logs=$(windows_path "$work/logs")
printf '@title |Commands Test\n@product-code |{5D3E1F8B-2A46-4C9D-8B72-1E6F8A4D3B20}\n@revision-code |{0F2C7D45-8B3E-4A61-9C04-7D2B1E0A3C58}\n' \
    >"$work/source/setup.pls"
cat >>"$work/source/setup.pls" <<SCRIPT
Set 64 Bit Mode
  |FALSE
  |FALSE
  |TRUE
Get Temporary File
  |TEMPORARY
Set Variable
  |TEMPORARYPATH
  |\$TEMPORARY\$
Extract Path
  |TEMPORARY
  |1
Set Variable
  |SYSTEMFOLDER
  |%WINDIR%\\SYSTEM32\\
Convert Path
  |SYSTEMFOLDER
  |FALSE
Extract Path
  |SYSTEMFOLDER
  |0
Parse String
  |one--Two--three
  |two
  |
  |AFTER
  |0
  |FALSE
  |TRUE
Set Variable
  |LOGGED
  |$logs\\\$TEMPORARY\$-\$SYSTEMFOLDER\$\$AFTER\$.log
SCRIPT
build_setup "$work/source" "$work/setup"
expect_exit 0 "$work/setup/setup.exe" /s
found=$(cd "$work/logs" && ls)
case "$found" in
    oxa*-system32--three.log) ;;
    *) fail "trace file named '$found'" ;;
esac
temporary=${found%%-*}
file="$(temp_folder)/$temporary.tmp"
[ -f "$file" ] && [ ! -s "$file" ] || fail "no empty temporary file $file"
rm -f "$file"
echo "PASS"
