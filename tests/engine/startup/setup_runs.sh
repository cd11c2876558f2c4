#!/usr/bin/env bash
# Real setups built by the authoring tool, run under Wine: the phase trace of a
# normal silent run, the exit codes of a missing archive (14), a broken archive
# (15) and a broken package (11), the lower-cased trace path, and the support
# folder gone after every run.
set -eu
. "$PELLION_SOURCE/tests/wine/env.sh"
. "$PELLION_SOURCE/tests/engine/startup/startup_kit.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/source/support/sub"
cat >"$work/source/setup.pls" <<'SCRIPT'
@title |Startup Test
@product-code |{6B8125B1-8560-4919-BC49-5544BF0EFA68}
@revision-code |{3EDCCA79-A858-4303-9BCF-1D96429E97D7}
Comment
  |nothing to do yet
SCRIPT
echo "readme" >"$work/source/support/readme.txt"
echo "nested" >"$work/source/support/sub/nested.txt"
build_setup "$work/source" "$work/setup"
before=$(support_folders)

# A normal silent run traces every phase; the trace path is lower-cased.
mkdir -p "$work/logs"
expect_exit 0 "$work/setup/setup.exe" /s "/l=$(windows_path "$work/logs")\\TRACE.LOG"
[ -f "$work/logs/trace.log" ] || fail "the trace was not written to the lower-cased path: $(ls "$work/logs")"
actual=$(startup_trace "$work/logs/trace.log")
expected=$(printf '%s\n' "<Vantrel>" "    <SupportDir>" "    </SupportDir>" "  <SetupSplash>" \
    "    <StubSize>" "    </StubSize>" "    <StubData>" "    </StubData>" "    <GlobalLists>" "    </GlobalLists>" \
    "    <ExtractArchive>" "    </ExtractArchive>" "    <ResourcePath>" "    </ResourcePath>" "    <Dialogs>" \
    "    </Dialogs>" "  </SetupSplash>" "  <RunScript>" "  </RunScript>" "  <Free>" "  </Free>" \
    "  <CachedSupportDir>" "  </CachedSupportDir>" "</Vantrel>")
[ "$actual" = "$expected" ] || { diff <(echo "$expected") <(echo "$actual"); fail "normal run trace"; }

# The failures of the start-up, each with its exit code and the trace cut
# inside the failed phase.
cases=("missing archive:14:    <ExtractArchive>" "broken archive:15:    <ExtractArchive>" "broken package:11:    <GlobalLists>"
       "truncated package:11:    <GlobalLists>")
for case in "${cases[@]}"; do
    IFS=: read -r name code last <<<"$case"
    rm -rf "$work/bad" && cp -r "$work/setup" "$work/bad"
    case "$name" in
    "missing archive") rm "$work/bad/setup.res" ;;
    "broken archive") head -c $(( $(stat -c %s "$work/setup/setup.res") / 2 )) "$work/setup/setup.res" >"$work/bad/setup.res" ;;
    "broken package")
        "$PELLION_HOST_BIN/setupbuilder" package "$work/source/setup.pls" "$work/package.txt" >/dev/null
        # Section 16, the media mode, must be a number.
        python3 - "$work/package.txt" <<'PY'
import sys
path = sys.argv[1]
data = open(path, 'rb').read().split(b'\r\n')
# Sections 1-4 are lists ended by "$"; 5 and 6 lines; 7 a list; 8-13 lines;
# 14 and 15 lists; 16 the media mode.
index, lists = 0, 0
kinds = ['L', 'L', 'L', 'L', '1', '1', 'L', '1', '1', '1', '1', '1', '1', 'L', 'L']
for kind in kinds:
    if kind == 'L':
        while data[index] != b'$':
            index += 1
    index += 1
data[index] = b'not a number'
open(path, 'wb').write(b'\r\n'.join(data))
PY
        cat "$PELLION_BIN/Pellion.exe" "$work/package.txt" >"$work/bad/setup.exe" ;;
    "truncated package")
        "$PELLION_HOST_BIN/setupbuilder" package "$work/source/setup.pls" "$work/package.txt" >/dev/null
        head -c 100 "$work/package.txt" >"$work/cut.txt"
        cat "$PELLION_BIN/Pellion.exe" "$work/cut.txt" >"$work/bad/setup.exe" ;;
    esac
    expect_exit "$code" "$work/bad/setup.exe" /s "/l=$(windows_path "$work/logs")\\bad.log"
    actual=$(startup_trace "$work/logs/bad.log" | tail -4)
    expected=$(printf '%s\n' "$last" "  <CachedSupportDir>" "  </CachedSupportDir>" "</Vantrel>")
    [ "$actual" = "$expected" ] || { diff <(echo "$expected") <(echo "$actual"); fail "$name: trace"; }
done

[ "$(support_folders)" = "$before" ] || fail "support folders left behind: $(support_folders)"
echo "setup runs: normal trace, exit codes 14, 15, 11, 11, support folders removed"
