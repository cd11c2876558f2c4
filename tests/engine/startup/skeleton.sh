#!/usr/bin/env bash
# Pellion starts under Wine, notes its command line in the trace file and ends
# with exit code 0, read in full through the launcher.
set -eu
. "$PELLION_SOURCE/tests/wine/env.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
trace_unix="$work/trace.log"
trace_windows=$("$PELLION_WINE" winepath -w "$trace_unix" 2>/dev/null | tr -d '\r')
result=$("$PELLION_WINE" "$PELLION_BIN/launch.exe" "$PELLION_BIN/Pellion.exe" /s "/l=$trace_windows" | tr -d '\r')
[ "$result" = "exit 0" ] || { echo "launcher said: $result"; exit 1; }
line=$(iconv -f UTF-16LE -t UTF-8 "$trace_unix" | tr -d '\r')
echo "$line"
case "$line" in
    "Pellion started with the command line: /s /l=$trace_windows") ;;
    *) echo "unexpected trace line"; exit 1 ;;
esac
