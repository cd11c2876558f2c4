#!/usr/bin/env bash
# Runs the engine under Wine in its own prefix inside the build folder and
# says what it did.
set -eu
build=$(cd "$1" && pwd)
state=$build/demo-wine
tests/wine/session start "$state" >/dev/null
trap 'tests/wine/session stop "$state" >/dev/null' EXIT
export PELLION_WINE_STATE=$state
. tests/wine/env.sh
bin=$build/wine/bin
trace=$state/trace.log
trace_windows=$("$PELLION_WINE" winepath -w "$trace" 2>/dev/null | tr -d '\r')
echo "Running Pellion.exe /s /l=$trace_windows under Wine"
"$PELLION_WINE" "$bin/launch.exe" "$bin/Pellion.exe" /s "/l=$trace_windows" | tr -d '\r'
echo "Its trace file says:"
iconv -f UTF-16LE -t UTF-8 "$trace" | tr -d '\r'
echo "The shipped 32-bit programs are in $build/win32/bin:"
ls -l "$build/win32/bin" | grep -E 'Pellion.exe|Lexwiz.exe|Lexchk.dll'
