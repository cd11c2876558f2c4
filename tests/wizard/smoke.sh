#!/usr/bin/env bash
# GUI smoke test: Lexwiz beside one language pack opens its window on the
# virtual display with the welcome page, a screenshot is not blank, Quit ends
# it with exit code 0. Without any pack beside it, the wizard says so in an
# "Error" box over its window and ends with exit code 0 once it is answered.
set -eu
. "$PELLION_SOURCE/tests/wizard/lexwiz_kit.sh"

app=$LEXWIZ_WORK/app
install_wizard "$app"
make_pack "$app/German" German German
start_wizard "$app"
[ "$(wd find "${WIZARD[@]}" | cut -d' ' -f2-)" = "LexwizWizard Lexwiz" ] || fail "the window is not captioned Lexwiz"
expect_page "Welcome to the Lexwiz"
shot smoke
click Quit
wd gone "${WIZARD[@]}" --timeout 10000 || fail "Quit did not end the wizard"
expect_wizard_ended

lonely=$LEXWIZ_WORK/lonely
install_wizard "$lonely"
start_wizard "$lonely"
answer_box Error "During initialization this error occured: No Language Packs found" "The wizard quits now."
expect_wizard_ended
echo "Lexwiz opened, quit with exit 0, and without packs reported them missing"
