#!/usr/bin/env bash
# Lexwiz's progress page with several packs:
# - three packs whose second cannot translate (the project has no list of its
#   language): the first row shows done, the second failed, the third stays
#   empty, the "Error" box names the missing list, the title reads
#   "Translation aborted", and the third pack's list is untouched;
# - thirteen packs: every row done, and the area has scrolled so that the last
#   row is in sight and the first has left it.
set -eu
. "$PELLION_SOURCE/tests/wizard/lexwiz_kit.sh"

# run_to_options APP PROJECT: from the welcome page to the options page.
run_to_options() {
    start_wizard "$1"
    click "&Next >"
    expect_page "Select Translation Project"
    select_folder "$2"
    click "&Next >"
    expect_page "Select Language Packs"
    click "&Next >"
    expect_page "Translation Options"
}

clear_settings

# --- three packs, the second fails -------------------------------------------
three=$LEXWIZ_WORK/three
project=$LEXWIZ_WORK/three-project
install_wizard "$three"
make_pack "$three/Alpha" Alpha German
make_pack "$three/Beta" Beta French
make_pack "$three/Gamma" Gamma Italian
copy_project "$project"
rm "$project/translations.German"
run_to_options "$three" "$project"
click "< &Back"
expect_page "Select Language Packs"
# The scan takes the folders in the order the file system lists them; the
# project gets the lists of the first and third pack's languages only.
mapfile -t names < <(wd list-items "${WIZARD[@]}" | cut -f4 | sed 's/ (Version 1.0.3)$//')
[ "${#names[@]}" = 3 ] || fail "pack list: ${names[*]}"
declare -A language=([Alpha]=German [Beta]=French [Gamma]=Italian)
first=${language[${names[0]}]}
second=${language[${names[1]}]}
third=${language[${names[2]}]}
cp "$PELLION_SOURCE/samples/translation-project/translations.German" "$project/translations.$first"
cp "$PELLION_SOURCE/samples/translation-project/translations.German" "$project/translations.$third"
click "&Next >"
expect_page "Translation Options"
click "Translate"
wd find --class "#32770" --title Error --timeout 30000 >/dev/null || fail "no error box"
shot page5_error
answer_box Error "During translation this error occured: File 'translations.$second' not found" \
    "Translation process aborted"
wait_for_title "Translation aborted"
[ "$(row_statuses | tr '\n' '|')" = "Done|Failed||" ] || fail "row statuses: $(row_statuses | tr '\n' '|')"
for name in "${names[@]}"; do
    expect_page "$name Language Pack"
done
expect_control "Translate" "0 -"
expect_control "< &Back" "1 -"
expect_control "Quit" "1 -"
shot page5_aborted
[ -f "$project/backup of translations.$first" ] || fail "the first pack did not translate"
[ -f "$project/backup of translations.$third" ] && fail "the third pack ran"
cmp -s "$project/translations.$third" "$PELLION_SOURCE/samples/translation-project/translations.German" \
    || fail "the third pack's list changed"
click Quit
expect_wizard_ended

# --- thirteen packs scroll ---------------------------------------------------
many=$LEXWIZ_WORK/many
project=$LEXWIZ_WORK/many-project
install_wizard "$many"
for n in $(seq -w 1 13); do
    make_pack "$many/Pack$n" "Pack$n" German
done
copy_project "$project"
run_to_options "$many" "$project"
click "Translate"
wait_for_title "Translation complete"
[ "$(row_statuses | sort | uniq -c | awk '{print $1, $2}')" = "13 Done" ] \
    || fail "row statuses: $(row_statuses | tr '\n' '|')"
# Places are in the window's client area; the area starts at 54 and is 245 high.
area=$(visible_controls | awk -F'\t' '$2 == "LexwizProgressArea" { print $6 }')
IFS=, read -r _ area_top _ area_height <<<"$area"
mapfile -t tops < <(visible_controls | awk -F'\t' '$2 == "Static" && $6 ~ /^174,[0-9-]+,16,16$/ { split($6, p, ","); print p[2] }')
[ "${#tops[@]}" = 13 ] || fail "expected 13 status images, found ${#tops[@]}"
[ "${tops[0]}" -lt "$area_top" ] || fail "the area did not scroll: first row at ${tops[0]}, area at $area_top"
[ "${tops[12]}" -ge "$area_top" ] && [ $((tops[12] + 16)) -le $((area_top + area_height)) ] \
    || fail "the last row at ${tops[12]} is outside the area ($area)"
shot page5_scrolled
click Quit
expect_wizard_ended
echo "Lexwiz stopped at the failing pack, and scrolled through thirteen"
