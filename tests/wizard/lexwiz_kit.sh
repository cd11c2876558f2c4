# Sourced by Lexwiz's GUI tests: a wizard folder with language packs made by
# the pack builder, copies of the sample project, the wizard run through the
# launcher, and its pages, settings and message boxes read and answered with
# the window driver. A failed test ends the wizard it started.
. "$PELLION_SOURCE/tests/wine/env.sh"
. "$PELLION_SOURCE/tests/wine/gui.sh"

SHOTS=$PELLION_WINE_STATE/../screenshots
mkdir -p "$SHOTS"
# Inside the build folder, which Wine sees on drive Z:.
LEXWIZ_WORK=$(mktemp -d "$PELLION_WINE_STATE/../lexwiz-gui.XXXXXX")
LAUNCHER=
WIZARD=(--class LexwizWizard)
SETTINGS_KEY='HKCU\Software\Brennic\Vantrel\Lexwiz'

lexwiz_cleanup() {
    wd close --class "HH Parent" --title "Lexwiz Help" --timeout 200 >/dev/null 2>&1 || true
    if [ -n "$LAUNCHER" ] && kill -0 "$LAUNCHER" 2>/dev/null; then
        wd kill "${WIZARD[@]}" --timeout 1000 >/dev/null 2>&1 || true
        wait "$LAUNCHER" 2>/dev/null || true
    fi
    rm -rf "$LEXWIZ_WORK"
}
trap lexwiz_cleanup EXIT

fail() {
    echo "FAIL: $*"
    exit 1
}

wd() {
    "$PELLION_WINE" "$PELLION_BIN/windriver.exe" "$@" | tr -d '\r'
    return "${PIPESTATUS[0]}"
}

# The Windows form of a path inside the build folder, without a trailing "\".
windows_path() {
    printf 'Z:%s' "$(realpath "$1" | tr / '\\')"
}

# --- folders -----------------------------------------------------------------

install_wizard() {
    mkdir -p "$1"
    cp "$PELLION_BIN/Lexwiz.exe" "$1/"
}

# make_pack PACK_FOLDER NAME EXTENSION [FORMAT]: the sample pack's texts under
# another name and language.
make_pack() {
    local source
    source=$(mktemp -d "$LEXWIZ_WORK/pack-source.XXXXXX")
    cp "$PELLION_SOURCE"/samples/german-pack/*.txt "$source/"
    printf 'name = %s\nextension = %s\nformat = %s\nversion = 1.0.3\n' "$2" "$3" "${4:-4}" >"$source/pack.txt"
    "$PELLION_HOST_BIN/packbuilder" "$source" "$1" >/dev/null || fail "packbuilder could not make $1"
}

# lexwiz_help_file: prints the path of a compiled Lexwiz.chm: the build's, or
# one made here from the help source when the CHM compiler is at hand.
lexwiz_help_file() {
    if [ -f "$PELLION_BIN/Lexwiz.chm" ]; then
        echo "$PELLION_BIN/Lexwiz.chm"
        return 0
    fi
    command -v chmcmd >/dev/null || return 1
    local folder=$LEXWIZ_WORK/help
    mkdir -p "$folder"
    cp "$PELLION_SOURCE"/wizard/help/* "$folder/"
    (cd "$folder" && chmcmd Lexwiz.hhp >/dev/null 2>&1) && [ -f "$folder/Lexwiz.chm" ] || return 1
    echo "$folder/Lexwiz.chm"
}

copy_project() {
    mkdir -p "$1"
    cp "$PELLION_SOURCE"/samples/translation-project/* "$1/"
}

# --- settings ----------------------------------------------------------------

clear_settings() {
    "$PELLION_WINE" reg delete "$SETTINGS_KEY" /f >/dev/null 2>&1 || true
}

# set_setting NAME TYPE DATA
set_setting() {
    "$PELLION_WINE" reg add "$SETTINGS_KEY" /v "$1" /t "$2" /d "$3" /f >/dev/null 2>&1 || fail "reg add $1"
}

# setting NAME: prints "TYPE DATA" of the value, nothing when it is missing.
setting() {
    "$PELLION_WINE" reg query "$SETTINGS_KEY" /v "$1" 2>/dev/null | tr -d '\r' \
        | awk -v name="$1" 'index($0, "    " name "    ") == 1 { sub("^    " name "    ", ""); sub("    ", " "); print }'
}

expect_setting() {
    local got
    got=$(setting "$1")
    [ "$got" = "$2" ] || fail "setting '$1' is '$got', expected '$2'"
}

# --- the wizard --------------------------------------------------------------

# start_wizard FOLDER: runs FOLDER/Lexwiz.exe and waits for its window.
start_wizard() {
    "$PELLION_WINE" "$PELLION_BIN/launch.exe" --timeout 240000 "$(windows_path "$1")\\Lexwiz.exe" \
        >"$LEXWIZ_WORK/launch.out" 2>&1 &
    LAUNCHER=$!
    wd find "${WIZARD[@]}" --timeout 30000 >/dev/null || fail "the wizard window did not appear"
}

# The wizard has ended with exit code 0.
expect_wizard_ended() {
    wait "$LAUNCHER" || true
    LAUNCHER=
    tr -d '\r' <"$LEXWIZ_WORK/launch.out" | grep -qx "exit 0" \
        || fail "the wizard did not end with exit 0: $(cat "$LEXWIZ_WORK/launch.out")"
}

# The visible controls: id, class, visible, enabled, checked, place, text.
visible_controls() {
    wd controls "${WIZARD[@]}" | awk -F'\t' '$3 == 1'
}

expect_page() {
    local controls
    for _ in $(seq 50); do
        controls=$(visible_controls)
        cut -f7 <<<"$controls" | grep -qxF -- "$1" && return 0
        sleep 0.2
    done
    fail "page '$1' is not shown; visible texts: $(cut -f7 <<<"$controls" | head -4 | tr '\n' '|')"
}

# control TEXT: the visible control's "enabled checked" (checked "-" for buttons).
control() {
    visible_controls | awk -F'\t' -v text="$1" '$7 == text { print $4 " " $5; exit }'
}

expect_control() {
    local got
    got=$(control "$1")
    [ "$got" = "$2" ] || fail "control '$1' is '$got' (enabled checked), expected '$2'"
}

click() {
    wd click "${WIZARD[@]}" "$1" >/dev/null || fail "cannot click '$1'"
}

press() {
    wd key "${WIZARD[@]}" "$1" >/dev/null || fail "cannot press $1"
}

# select_folder PATH: opens the tree from drive Z: down to the folder.
select_folder() {
    local parts
    IFS=/ read -r -a parts <<<"$(realpath "$1")"
    wd tree-select "${WIZARD[@]}" Z: "${parts[@]:1}" >/dev/null || fail "cannot select $1 in the tree"
}

# The texts of the progress rows' status images, one line per row.
row_statuses() {
    visible_controls | awk -F'\t' '$2 == "Static" && $6 ~ /^174,[0-9-]+,16,16$/ { print $7 }'
}

# answer_box TITLE LINE...: the wizard's message box TITLE holds each LINE;
# its only button, OK, is pressed.
answer_box() {
    local title=$1 texts line
    shift
    local box=(--class "#32770" --title "$title")
    wd find "${box[@]}" --timeout 30000 >/dev/null || fail "no message box '$title'"
    texts=$(wd texts "${box[@]}")
    for line in "$@"; do
        grep -qF -- "$line" <<<"$texts" || fail "message box '$title' does not say '$line': $texts"
    done
    [ "$(grep -c $'\tButton\t' <<<"$texts")" = 1 ] || fail "message box '$title' has more than an OK button: $texts"
    wd click "${box[@]}" OK >/dev/null || fail "no OK in message box '$title'"
    wd gone "${box[@]}" --timeout 10000 || fail "message box '$title' stayed"
}

# shot NAME: a screenshot of the display once the windows have painted.
shot() {
    sleep 2.5
    screenshot "$SHOTS/lexwiz_$1.png"
    assert_not_blank "$SHOTS/lexwiz_$1.png"
}

# wait_for_title TEXT: the progress page's title reads TEXT.
wait_for_title() {
    for _ in $(seq 150); do
        visible_controls | cut -f7 | grep -qxF -- "$1" && return 0
        sleep 0.2
    done
    fail "the progress page never read '$1'"
}
