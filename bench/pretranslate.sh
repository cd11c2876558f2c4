#!/usr/bin/env bash
# Pre-translation against its I/O floor: a generated project of ROWS rows
# (default 100,000) is pre-translated with two German packs, and in the same
# run the same four project files are plainly read and rewritten twice; the
# benchmark prints both medians and their ratio. It builds its own optimized
# program (the host build carries the sanitizers): natively with g++, and,
# when mingw-w64 and Wine are there, the Windows build run under Wine.
#
#   bench/pretranslate.sh [BUILD_FOLDER] [ROWS]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
rows=${2:-100000}
case "$build" in /*) ;; *) build=$root/$build ;; esac
out=$build/bench/pretranslate
mkdir -p "$out"

portable=(common/text.cpp common/letter_case.cpp common/numbers.cpp common/translation_project.cpp
    wizard/md5.cpp wizard/ansi_code_page.cpp wizard/language_table.cpp wizard/pack_format.cpp
    wizard/language_pack.cpp wizard/pack_scan.cpp wizard/pack_indexes.cpp wizard/pretranslation.cpp
    wizard/error_text.cpp authoring/packbuilder/pack_writer.cpp bench/pretranslate_bench.cpp)
sources=("${portable[@]/#/$root/}")

g++ -std=c++20 -O2 -DNDEBUG -I"$root" "${sources[@]}" "$root/wizard/md5_openssl.cpp" -lcrypto \
    -o "$out/pretranslate_bench"
echo "native: $("$out/pretranslate_bench" "$out/work-native" "$rows")"

mingw=x86_64-w64-mingw32-g++-posix
if command -v "$mingw" >/dev/null && { [ -x /usr/lib/wine/wine64 ] || command -v wine64 >/dev/null; }; then
    "$mingw" -std=c++20 -O2 -DNDEBUG -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN -DNOMINMAX -D_WIN32_WINNT=0x0601 \
        -I"$root" "${sources[@]}" "$root/wizard/md5_bcrypt.cpp" "$root/wizard/ansi_code_page_windows.cpp" \
        -static -lbcrypt -o "$out/pretranslate_bench.exe"
    # The Wine test session's prefix when the Wine build has one, else our own.
    if [ -d "$build/wine/wine/prefix" ]; then
        PELLION_WINE_STATE=$build/wine/wine
    else
        PELLION_WINE_STATE=$out/wine
    fi
    mkdir -p "$PELLION_WINE_STATE"
    . "$root/tests/wine/env.sh"
    unset DISPLAY
    work=$("$PELLION_WINE" winepath -w "$out/work-wine" 2>/dev/null | tr -d '\r')
    echo "wine:   $("$PELLION_WINE" "$out/pretranslate_bench.exe" "$work" "$rows" | tr -d '\r')"
fi
