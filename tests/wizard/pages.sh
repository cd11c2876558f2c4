#!/usr/bin/env bash
# A whole run of Lexwiz over the sample project with the sample German pack,
# page by page with a screenshot of each: the project chosen in the folder
# tree, the pack listed and checked, the options at their defaults, the
# translation complete. Then the project's files: translations.German holds
# the German texts (byte order mark, CR LF, one line per row), the backup
# holds the untranslated list, and the settings hold the folder and options.
set -eu
. "$PELLION_SOURCE/tests/wizard/lexwiz_kit.sh"

app="$LEXWIZ_WORK/Language Packs"
project="$LEXWIZ_WORK/Sample Project"
install_wizard "$app"
make_pack "$app/German" German German
copy_project "$project"
clear_settings

start_wizard "$app"
expect_page "Welcome to the Lexwiz"
expect_page "Version 2.0.1.11"
expect_control "< &Back" "0 -"
shot page1_welcome

click "&Next >"
expect_page "Select Translation Project"
[ -z "$(wd tree-selected "${WIZARD[@]}")" ] || fail "the tree selects a folder although none was saved"
select_folder "$project"
wd tree-selected "${WIZARD[@]}" | grep -q '\\Sample Project$' || fail "the tree does not select the project"
shot page2_project

click "&Next >"
expect_page "Select Language Packs"
expect_setting "Translation Project" "REG_SZ $(windows_path "$project")\\"
[ "$(wd list-items "${WIZARD[@]}")" = $'0\t1\t0\tGerman (Version 1.0.3)' ] \
    || fail "pack list: $(wd list-items "${WIZARD[@]}")"
shot page3_packs

click "&Next >"
expect_page "Translation Options"
expect_control "Overwrite existing translations" "1 0"
expect_control "Use well known translations" "1 1"
expect_control "Translate" "1 -"
shot page4_options

click "Translate"
wait_for_title "Translation complete"
expect_page "German Language Pack"
[ "$(row_statuses)" = "Done" ] || fail "row statuses: $(row_statuses)"
expect_control "Translate" "0 -"
expect_control "< &Back" "1 -"
expect_control "Quit" "1 -"
shot page5_complete
expect_setting "Overwrite Translations" "REG_DWORD 0x0"
expect_setting "Use Well Known Translations" "REG_DWORD 0x1"

# The files.
original=$PELLION_SOURCE/samples/translation-project
cmp -s "$project/backup of translations.German" "$original/translations.German" \
    || fail "the backup does not hold the list as it was"
german=$project/translations.German
[ "$(head -c 3 "$german" | od -An -tx1 | tr -d ' ')" = "efbbbf" ] || fail "no byte order mark"
[ "$(tail -c 2 "$german" | od -An -tx1 | tr -d ' ')" = "0d0a" ] || fail "the last line does not end with CR LF"
[ "$(grep -c $'\r$' "$german")" = "$(wc -l <"$german")" ] || fail "a line does not end with CR LF"
[ "$(wc -l <"$german")" = "$(grep -c '' "$original/translations.original")" ] || fail "the row count changed"
lines=$(sed 's/\r$//; 1s/^\xEF\xBB\xBF//' "$german")
for expected in 'Willkommen beim Setup-Assistenten für $TITLE$' '&Fertig stellen' 'Informationen' '< &Zurück' \
    'Das Setup ist abgeschlossen. Bitte starten Sie Ihren Computer neu.'; do
    grep -qxF -- "$expected" <<<"$lines" || fail "translations.German lacks '$expected'"
done
# The readme dialog changed since the pack was made: lines the pack does not
# know stay English.
grep -qxF "Please read the following important information before continuing." <<<"$lines" \
    || fail "an unknown readme line was changed"

# Back shows the options again, read from the settings; Quit ends.
click "< &Back"
expect_page "Translation Options"
expect_control "Translate" "1 -"
click Quit
expect_wizard_ended
echo "Lexwiz pre-translated the sample project; screenshots in $SHOTS/lexwiz_page*.png"
