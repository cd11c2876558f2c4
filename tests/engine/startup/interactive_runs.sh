#!/usr/bin/env bash
# Setups run with a display: the splash picture and the "preparing" window
# appear (screenshot), a start-up error is shown in a message box that the
# window driver reads and answers; two setups started together take different
# support folders, skipping a leftover file "oxa1"; and the extraction helper
# mode answers through its parameter file with exit codes 0, 1 and 2.
set -eu
. "$PELLION_SOURCE/tests/wine/env.sh"
. "$PELLION_SOURCE/tests/wine/gui.sh"
. "$PELLION_SOURCE/tests/engine/startup/startup_kit.sh"

work=$(mktemp -d)
temp=$(temp_folder)
trap 'rm -rf "$work" "$temp/oxa1"' EXIT
mkdir -p "$work/source/support"
printf '@title |Interactive Test\n@product-code |{1B8125B1-8560-4919-BC49-5544BF0EFA68}\n@revision-code |{1EDCCA79-A858-4303-9BCF-1D96429E97D7}\nComment\n  |x\n' >"$work/source/setup.pls"
echo "payload" >"$work/source/support/payload.txt"
build_setup "$work/source" "$work/setup"
/usr/bin/convert -size 320x180 gradient:navy-skyblue -fill white -draw "rectangle 40,70 280,110" \
    BMP3:"$work/setup/setup.bmp"
rm "$work/setup/setup.res"   # every run stops at "Setup resource not found"

[ -e "$temp/oxa1" ] && fail "a support folder oxa1 is already there"
echo "leftover" >"$temp/oxa1"

box=(--title "Vantrel Wizard" --class "#32770" --timeout 30000)
"$PELLION_WINE" "$PELLION_BIN/launch.exe" "$work/setup/setup.exe" >"$work/first" &
first=$!
"$PELLION_WINE" "$PELLION_BIN/windriver.exe" find "${box[@]}" >/dev/null || fail "no message box from the first setup"
"$PELLION_WINE" "$PELLION_BIN/launch.exe" "$work/setup/setup.exe" >"$work/second" &
second=$!
for _ in $(seq 100); do
    [ -d "$temp/oxa2" ] && [ -d "$temp/oxa3" ] && break
    sleep 0.2
done
[ -d "$temp/oxa2" ] && [ -d "$temp/oxa3" ] || fail "expected support folders oxa2 and oxa3: $(support_folders)"
sleep 3   # let both message boxes paint before the picture
screenshot "$SHOTS/startup_splash_and_message.png"
assert_not_blank "$SHOTS/startup_splash_and_message.png"
"$PELLION_WINE" "$PELLION_BIN/windriver.exe" texts "${box[@]}" | grep -q "Setup resource not found" \
    || fail "the message box does not say 'Setup resource not found'"
for _ in 1 2; do
    "$PELLION_WINE" "$PELLION_BIN/windriver.exe" click "${box[@]}" OK >/dev/null || fail "no message box to answer"
    sleep 1
done
wait "$first" "$second"
[ "$(tr -d '\r' <"$work/first")" = "exit 14" ] || fail "first setup: $(cat "$work/first")"
[ "$(tr -d '\r' <"$work/second")" = "exit 14" ] || fail "second setup: $(cat "$work/second")"
[ -f "$temp/oxa1" ] || fail "the leftover file oxa1 was touched"
[ -d "$temp/oxa2" ] || [ -d "$temp/oxa3" ] && fail "support folders left behind: $(support_folders)"

# Engine messages translated by the archive library's appendix: the block of
# the user's language (English under Wine) wins over those before and after it.
cp -r "$work/setup" "$work/localized"
python3 - "$work/lang.loc" <<'PY'
import sys
def block(second):
    lines = ["line %d" % n for n in range(1, 127)]
    lines[1] = second
    return "\r\n".join(lines) + "\r\n"
text = "\ufeff" + block("base text") + "French\r\n" + block("texte fran\u00e7ais") + "English\r\n" \
       + block("Setup resource is missing (from lang.loc)") + "German\r\n" + block("Setup-Ressource fehlt")
open(sys.argv[1], "w", encoding="utf-8", newline="").write(text)
PY
cat "$work/lang.loc" >>"$work/localized/oxa.lib"
"$PELLION_WINE" "$PELLION_BIN/launch.exe" "$work/localized/setup.exe" >"$work/localized.result" &
localized=$!
"$PELLION_WINE" "$PELLION_BIN/windriver.exe" find "${box[@]}" >/dev/null || fail "no message box from the localized setup"
"$PELLION_WINE" "$PELLION_BIN/windriver.exe" texts "${box[@]}" | grep -q "Setup resource is missing (from lang.loc)" \
    || fail "the message is not the translated one: $("$PELLION_WINE" "$PELLION_BIN/windriver.exe" texts "${box[@]}")"
"$PELLION_WINE" "$PELLION_BIN/windriver.exe" click "${box[@]}" OK >/dev/null
wait "$localized"
[ "$(tr -d '\r' <"$work/localized.result")" = "exit 14" ] || fail "localized setup: $(cat "$work/localized.result")"

# Extraction helper mode.
build_setup "$work/source" "$work/helper"
expect_exit 1 "$work/helper/setup.exe" OutOfProcessExtract "$(windows_path "$work")\\missing.par"
printf '%s\r\n' "$(windows_path "$work")\\nothing.res" "" "$(windows_path "$work")\\out\\" "True" "False" >"$work/no-archive.par"
expect_exit 2 "$work/helper/setup.exe" OutOfProcessExtract "$(windows_path "$work/no-archive.par")"
mkdir -p "$work/out"
printf '%s\r\n' "$(windows_path "$work/helper/setup.res")" "" "$(windows_path "$work/out")\\" "True" "False" >"$work/job.par"
expect_exit 0 "$work/helper/setup.exe" OutOfProcessExtract "$(windows_path "$work/job.par")"
[ "$(cat "$work/out/payload.txt")" = "payload" ] || fail "the helper did not extract payload.txt"
[ "$(cat "$work/job.par")" = $'\r' ] || [ "$(cat "$work/job.par")" = "" ] || fail "the helper's answer is not empty: $(cat "$work/job.par")"
echo "interactive runs: splash, message answered, folders oxa2/oxa3 beside a leftover oxa1; helper mode 1, 2, 0"
