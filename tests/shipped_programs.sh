#!/usr/bin/env bash
# Checks the form of the shipped i686 programs in the given folder: 32-bit PE
# images, GUI subsystem with an embedded manifest for the two programs, plain
# stdcall export names for Lexchk.dll, only system DLLs imported, and nothing
# after the last section (the engine appends its script package there).
set -u
bin=$1
objdump=i686-w64-mingw32-objdump
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

system_dll() {
    case "${1,,}" in
        kernel32.dll|user32.dll|gdi32.dll|advapi32.dll|shell32.dll|ole32.dll|oleaut32.dll|comctl32.dll|comdlg32.dll|\
        shlwapi.dll|version.dll|msvcrt.dll|bcrypt.dll|winhttp.dll|wininet.dll|msi.dll|uxtheme.dll|dwmapi.dll|\
        netapi32.dll|userenv.dll|crypt32.dll|ws2_32.dll|mpr.dll|secur32.dll|winmm.dll|rpcrt4.dll|oxa.lib) return 0 ;;
    esac
    return 1
}

# End of the image from the section table: the largest raw offset + raw size.
image_end() {
    local end=0 size offset
    while read -r size offset; do
        (( 16#$offset + 16#$size > end )) && end=$(( 16#$offset + 16#$size ))
    done < <("$objdump" -h "$1" | awk '/^ *[0-9]+ /{ print $3, $6 }')
    echo "$end"
}

for file in Pellion.exe Lexwiz.exe Lexchk.dll oxa.lib; do
    path=$bin/$file
    [ -f "$path" ] || { fail "$file missing"; continue; }
    headers=$("$objdump" -p "$path")
    grep -q "file format pei-i386" <<<"$headers" || fail "$file is not a 32-bit PE image"
    while read -r dll; do
        system_dll "$dll" || fail "$file imports $dll"
    done < <(grep "DLL Name:" <<<"$headers" | awk '{print $3}')
    # Allow for the alignment padding after the last section, nothing more.
    end=$(image_end "$path")
    size=$(stat -c %s "$path")
    [ $((size - end)) -lt 512 ] || fail "$file carries $((size - end)) bytes after its last section (unstripped?)"
    case "$file" in
    *.exe)
        grep -q "Subsystem.*(Windows GUI)" <<<"$headers" || fail "$file is not a GUI program"
        grep -q "Common-Controls" "$path" || fail "$file has no common controls manifest"
        grep -q "asInvoker" "$path" || fail "$file manifest does not ask for asInvoker"
        ;;
    oxa.lib)
        for name in Set7zipDllDirectory ExtractArchive CreateArchive DeleteFromArchive TestArchive \
                    OpenListArchive CloseListArchive GetLastArchiveError; do
            grep -qE "\] $name\$" <<<"$headers" || fail "$file does not export $name undecorated"
        done
        ;;
    *.dll)
        for name in DirectCopyFile DirectMoveFile DirectDeleteFile; do
            grep -qE "\] $name\$" <<<"$headers" || fail "$file does not export $name undecorated"
        done
        ;;
    esac
done
[ "$failures" -eq 0 ] && echo "shipped programs: form as expected"
exit "$failures"
