# Sourced by the start-up test scripts: running the engine and checking what it left.
SHOTS=$PELLION_WINE_STATE/../screenshots
mkdir -p "$SHOTS"

fail() {
    echo "FAIL: $*"
    exit 1
}

windows_path() {
    "$PELLION_WINE" winepath -w "$1" 2>/dev/null | tr -d '\r'
}

# The Linux path of the Windows user's temporary folder, where support folders go.
temp_folder() {
    local windows
    windows=$("$PELLION_WINE" cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')
    "$PELLION_WINE" winepath -u "$windows" 2>/dev/null | tr -d '\r'
}

support_folders() {
    ls -d "$(temp_folder)"/oxa* 2>/dev/null | sort | tr '\n' ' '
}

# expect_exit CODE PROGRAM ARGS...: runs through the launcher for the full code.
expect_exit() {
    local want=$1 got
    shift
    got=$("$PELLION_WINE" "$PELLION_BIN/launch.exe" "$@" | tr -d '\r')
    [ "$got" = "exit $want" ] || fail "$* ended with '$got', expected exit $want"
}

# expect_trace FILE LINE...: the trace file holds exactly these lines.
expect_trace() {
    local file=$1 expected actual
    shift
    expected=$(printf '%s\n' "$@")
    actual=$(iconv -f UTF-16LE -t UTF-8 "$file" | sed 's/\r$//')
    if [ "$actual" != "$expected" ]; then
        echo "trace differs:"
        diff <(echo "$expected") <(echo "$actual") || true
        fail "unexpected trace"
    fi
}

# build_setup SOURCE OUTPUT: a real setup folder made by the authoring tool
# from the engine and archive library under test.
build_setup() {
    "$PELLION_HOST_BIN/setupbuilder" build "$1" "$2" --engine "$PELLION_BIN/Pellion.exe" --oxa "$PELLION_BIN/oxa.lib" >/dev/null \
        || fail "setupbuilder could not build $1"
}

# The trace without what the interpreter writes between "<RunScript>" and "</RunScript>".
startup_trace() {
    iconv -f UTF-16LE -t UTF-8 "$1" | sed 's/\r$//' | sed '/^  <RunScript>$/,/^  <\/RunScript>$/{/^  <RunScript>$/b;/^  <\/RunScript>$/b;d}'
}
