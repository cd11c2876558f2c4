#!/usr/bin/env bash
# The pack builder's command line: it makes the six files of the sample pack,
# refuses a broken source with the file and line, and answers a wrong call
# with its usage.
set -eu
builder=$1
samples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$builder" --format 3 "$samples/german-pack" "$work/German" >"$work/out"
grep -q "^German (format 3, version 1.0.3): 10 dialog entries" "$work/out"
for file in configuration.dat scripts.dat scripts.idx dialogs.dat dialogs.idx translations.dat; do
    [ -s "$work/German/$file" ] || { echo "missing $file"; exit 1; }
done
[ $(( $(stat -c %s "$work/German/dialogs.idx") % 72 )) -eq 0 ]

mkdir "$work/broken"
printf 'name = Broken\nextension = German\n' >"$work/broken/pack.txt"
printf '>a.dfm.L.A\n=B\n>a.dfm.L.A\n=C\n' >"$work/broken/dialogs.txt"
if "$builder" "$work/broken" "$work/Broken" 2>"$work/err"; then
    echo "a broken source was accepted"; exit 1
fi
grep -q "dialogs.txt:3: the same lookup text is given twice" "$work/err"
[ ! -e "$work/Broken" ]

set +e
"$builder" only-one-argument 2>"$work/err"
status=$?
set -e
[ "$status" -eq 2 ] && grep -q "^usage: packbuilder" "$work/err"
echo "packbuilder command line behaves"
