#!/usr/bin/env bash
# Script interpreter throughput: statements per second of a loop over
# Mathematics, If and Set Variable, beside the cost of one variable lookup, and
# the expansion of a text with 100 references. It builds its own optimized
# program (the host build carries the sanitizers): natively with g++, and,
# when mingw-w64 and Wine are there, the Windows build run under Wine, which
# also times the loop with the real system facts.
#
#   bench/interpreter.sh [BUILD_FOLDER] [ITERATIONS]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
iterations=${2:-1000000}
case "$build" in /*) ;; *) build=$root/$build ;; esac
out=$build/bench/interpreter
mkdir -p "$out"

# Every portable source of the libraries the interpreter stands on, so the
# list follows those folders as they grow.
portable=()
for file in "$root"/common/*.cpp "$root"/engine/startup/*.cpp "$root"/engine/script/*.cpp; do
    case "$(basename "$file")" in
    entry.cpp | startup_windows.cpp | windows_host.cpp | windows_system.cpp | *_windows.cpp) ;;
    *) portable+=("${file#"$root"/}") ;;
    esac
done
portable+=(tests/engine/script/script_builder.cpp tests/engine/script/script_fixture.cpp bench/interpreter_bench.cpp)
sources=("${portable[@]/#/$root/}")

g++ -std=c++20 -O2 -DNDEBUG -I"$root" -I"$root/tests/engine/script" "${sources[@]}" -pthread -o "$out/interpreter_bench"
echo "== native"
"$out/interpreter_bench" "$iterations"

mingw=x86_64-w64-mingw32-g++-posix
if command -v "$mingw" >/dev/null && { [ -x /usr/lib/wine/wine64 ] || command -v wine64 >/dev/null; }; then
    "$mingw" -std=c++20 -O2 -DNDEBUG -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN -DNOMINMAX -D_WIN32_WINNT=0x0601 \
        -I"$root" -I"$root/tests/engine/script" "${sources[@]}" "$root/common/windows_system.cpp" "$root/engine/script/system_facts_windows.cpp" \
        "$root/engine/script/interpreter_host_windows.cpp" -static -o "$out/interpreter_bench.exe"
    # The Wine test session's prefix when the Wine build has one, else our own.
    if [ -d "$build/wine/wine/prefix" ]; then
        PELLION_WINE_STATE=$build/wine/wine
    else
        PELLION_WINE_STATE=$out/wine
    fi
    mkdir -p "$PELLION_WINE_STATE"
    . "$root/tests/wine/env.sh"
    unset DISPLAY
    echo "== wine"
    "$PELLION_WINE" "$out/interpreter_bench.exe" "$iterations" | tr -d '\r'
fi
