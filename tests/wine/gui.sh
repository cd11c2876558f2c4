# Sourced by GUI test scripts: screenshots of the virtual display.
# ImageMagick's own convert, not any stand-in earlier on the PATH.
CONVERT=/usr/bin/convert

screenshot() {
    /usr/bin/import -display "$DISPLAY" -window root "png:$1"
}

# A screenshot of one flat colour means nothing was drawn.
assert_not_blank() {
    local colours
    colours=$("$CONVERT" "$1" -format '%k' info:)
    if [ "$colours" -le 1 ]; then
        echo "screenshot $1 is blank"
        return 1
    fi
}
