# Sourced by the Wine test scripts: the environment of one test session.
# PELLION_WINE_STATE is the session's state folder inside the build folder.
: "${PELLION_WINE_STATE:?PELLION_WINE_STATE must name the Wine state folder}"
export WINEPREFIX="$PELLION_WINE_STATE/prefix"
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono or Gecko: their install prompts would wait on the display forever.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ -f "$PELLION_WINE_STATE/display" ]; then
    DISPLAY=$(cat "$PELLION_WINE_STATE/display")
    export DISPLAY
else
    unset DISPLAY
fi
# The 64-bit loader: the test programs are x86-64 builds of the Windows code.
PELLION_WINE=/usr/lib/wine/wine64
[ -x "$PELLION_WINE" ] || PELLION_WINE=$(command -v wine64 || command -v wine)
export PELLION_WINE
