#!/usr/bin/env bash
# Lexwiz's page flow at its edges, on the virtual display:
# - a pack folder with a bad header gets its message over the welcome page
#   and the wizard goes on with the other pack;
# - F1 without a help file beside the program says so, and with one opens it;
# - a saved project folder that no longer exists leaves the tree without a
#   selection, and Next then finds no project;
# - leaving the packs page either way with no pack checked is refused;
# - a pack row checked and highlighted takes part;
# - back on the project page the saved folder is selected, and going forward
#   checks it again for a key list;
# - without settings the options are: overwrite off, well-known on; Return on
#   the options page translates; Escape ends the wizard;
# - options stored as a text number and as a binary value.
set -eu
. "$PELLION_SOURCE/tests/wizard/lexwiz_kit.sh"

app=$LEXWIZ_WORK/app
project="$LEXWIZ_WORK/Edge Project"
install_wizard "$app"
make_pack "$app/German" German German
mkdir -p "$app/Broken"
head -c 40 /dev/zero | tr '\0' 'x' >"$app/Broken/configuration.dat"
copy_project "$project"
clear_settings
set_setting "Translation Project" REG_SZ "$(windows_path "$LEXWIZ_WORK")\\Gone\\"

start_wizard "$app"
wd find --class "#32770" --title "Invalid Language Pack Header" --timeout 30000 >/dev/null \
    || fail "no message about the broken pack"
shot scan_message
answer_box "Invalid Language Pack Header" \
    "The Language Pack located in '$(windows_path "$app")\\Broken\\' contains an invalid header. This Language Pack will be skipped!"
expect_page "Welcome to the Lexwiz"

press F1
answer_box "Lexwiz Help" "The help file '$(windows_path "$app")\\Lexwiz.chm' was not found."
# With the help file beside the program, F1 opens it in the system's viewer.
if help_file=$(lexwiz_help_file); then
    cp "$help_file" "$app/Lexwiz.chm"
    press F1
    wd find --class "HH Parent" --title "Lexwiz Help" --timeout 30000 >/dev/null || fail "F1 did not open Lexwiz.chm"
    wd close --class "HH Parent" --title "Lexwiz Help" >/dev/null
    wd gone --class "HH Parent" --title "Lexwiz Help" --timeout 10000 || fail "the help viewer stayed"
    rm "$app/Lexwiz.chm"
else
    echo "no Lexwiz.chm in the build and no chmcmd to make one: F1 with the help file not tried"
fi

# A saved folder that is gone: no selection, and no project to go on with.
click "&Next >"
expect_page "Select Translation Project"
[ -z "$(wd tree-selected "${WIZARD[@]}")" ] || fail "the tree selects $(wd tree-selected "${WIZARD[@]}")"
click "&Next >"
answer_box "No Translation Project found" "The selected directory '' contains no translation project!" \
    "Please select the same folder you have used by the Vantrel Localization Wizard."
expect_page "Select Translation Project"

select_folder "$project"
click "&Next >"
expect_page "Select Language Packs"
[ "$(wd list-items "${WIZARD[@]}" | wc -l)" = 1 ] || fail "the broken pack is listed"

# No pack checked: neither Back nor Next leaves the page.
wd list-check "${WIZARD[@]}" 0 0 >/dev/null || fail "cannot uncheck the pack"
for button in "< &Back" "&Next >"; do
    click "$button"
    answer_box Attention "Please select at least one Language Pack."
    expect_page "Select Language Packs"
done
wd list-check "${WIZARD[@]}" 0 1 >/dev/null || fail "cannot check the pack"
wd list-select "${WIZARD[@]}" 0 >/dev/null || fail "cannot highlight the pack"
[ "$(wd list-items "${WIZARD[@]}" | cut -f2,3)" = $'1\t1' ] || fail "the row is not checked and highlighted"

# Back: the saved folder is selected; forward again checks it again.
click "< &Back"
expect_page "Select Translation Project"
wd tree-selected "${WIZARD[@]}" | grep -q '\\Edge Project$' || fail "the saved folder is not selected"
mv "$project/Sample Setup.mtx" "$project/Sample Setup.kept"
click "&Next >"
answer_box "No Translation Project found" \
    "The selected directory '$(windows_path "$project")\\' contains no translation project!"
expect_page "Select Translation Project"
mv "$project/Sample Setup.kept" "$project/Sample Setup.mtx"
click "&Next >"
expect_page "Select Language Packs"

# The options without settings; Return translates with them.
click "&Next >"
expect_page "Translation Options"
expect_control "Overwrite existing translations" "1 0"
expect_control "Use well known translations" "1 1"
press Return
wait_for_title "Translation complete"
[ "$(row_statuses)" = "Done" ] || fail "row statuses: $(row_statuses)"
grep -q "Willkommen" "$project/translations.German" || fail "Return did not translate"

# Return beyond the last page does nothing; Escape ends the wizard.
press Return
sleep 1
expect_page "Translation complete"
press Escape
wd gone "${WIZARD[@]}" --timeout 10000 || fail "Escape did not end the wizard"
expect_wizard_ended

# Options stored as a text number and as a binary value.
"$PELLION_WINE" reg add "$SETTINGS_KEY" /v "Overwrite Translations" /t REG_SZ /d 1 /f >/dev/null 2>&1
"$PELLION_WINE" reg add "$SETTINGS_KEY" /v "Use Well Known Translations" /t REG_BINARY /d 01 /f >/dev/null 2>&1
start_wizard "$app"
answer_box "Invalid Language Pack Header" "contains an invalid header"
click "&Next >"
expect_page "Select Translation Project"
wd tree-selected "${WIZARD[@]}" | grep -q '\\Edge Project$' || fail "the saved folder is not selected at start"
click "&Next >"
click "&Next >"
expect_page "Translation Options"
expect_control "Overwrite existing translations" "1 1"
expect_control "Use well known translations" "1 0"
press Escape
expect_wizard_ended
echo "Lexwiz's page flow edges hold"
