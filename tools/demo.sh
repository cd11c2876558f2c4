#!/usr/bin/env bash
# Builds the sample setup with the authoring tool, runs it under Wine in a
# prefix of its own inside the build folder, and says what it did.
set -eu
build=$(cd "$1" && pwd)
state=$build/demo-wine
bin=$build/wine/bin
setup=$build/demo/setup
tests/wine/session start "$state" >/dev/null
trap 'tests/wine/session stop "$state" >/dev/null' EXIT
export PELLION_WINE_STATE=$state
. tests/wine/env.sh

echo "Building the sample setup from samples/setup:"
"$build/host/bin/setupbuilder" build samples/setup "$setup" --engine "$bin/Pellion.exe" --oxa "$bin/oxa.lib"
ls -l "$setup"

trace=$build/demo/trace.log
trace_windows=$("$PELLION_WINE" winepath -w "$trace" 2>/dev/null | tr -d '\r')
echo
echo "Running setup.exe /s /l=$trace_windows under Wine:"
"$PELLION_WINE" "$bin/launch.exe" "$setup/setup.exe" /s "/l=$trace_windows" | tr -d '\r'
echo "Its trace file says:"
iconv -f UTF-16LE -t UTF-8 "$trace" | tr -d '\r'
echo
echo "The shipped 32-bit programs are in $build/win32/bin:"
ls -l "$build/win32/bin" | grep -E 'Pellion.exe|Lexwiz.exe|Lexchk.dll|oxa.lib'
