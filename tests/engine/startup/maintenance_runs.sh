#!/usr/bin/env bash
# Maintenance detection in built setups under Wine. Each run arranges the
# machine the way an earlier installation leaves it (a product cache folder
# with the engine copy, "oxa.lib", the four native logs and the instance data
# file, the identity key, or a product installed by Windows Installer) and the
# script saves what it sees in a remembered variable with "Save Feature
# Selections"; the test reads that file back.
set -eu
. "$PELLION_SOURCE/tests/wine/env.sh"
. "$PELLION_SOURCE/tests/engine/startup/startup_kit.sh"

product='{3D6F2A10-5B7C-4E81-9A2D-6C4B8E1F0A37}'
revision='{8E21C4B7-0F3A-4D6E-B159-2A7C9D3E4F61}'
other='{C49A7E02-6D1B-4F38-8E5A-1B0D3C7F9E24}'
ident="Software\\Dorvane\\Vantrel\\Ident.Cache\\$product"
msi_product='{5C0FFEE0-1111-4222-8333-944455556666}'
msi_package='{5C0FFEE0-AAAA-4BBB-8CCC-9DDDEEEEFFFF}'
msi_installed=false

reg() {
    "$PELLION_WINE" reg "$@" >/dev/null 2>&1
}
forget_identity() {
    reg delete "HKLM\\$ident" /f /reg:64 || true
    reg delete "HKCU\\$ident" /f /reg:64 || true
}
work=$(mktemp -d)
cleanup() {
    forget_identity
    if $msi_installed; then
        "$PELLION_WINE" msiexec /x "$msi_product" /qn >/dev/null 2>&1 || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
forget_identity
win_work=$(windows_path "$work")

# crlf TEXT...: each argument one line, CR LF ended, no byte-order mark.
crlf() {
    printf '%s\r\n' "$@"
}

# An instance data file: tools selected, a target folder and one remembered
# variable holding a line break.
instance_data() {
    local target=$1
    crlf 'QUAV-PREDEF-COMPONENT' 'Tools' '$' 'TRUE' 'TRUE' '$' '$' '$' '$' 'Tools' '500' '$' \
        "$target" 'FALSE' 'Lexicon Menu' '' 'KEPTNOTE' 'first$NEWLINE$second' \
        'QUAV64WOW' 'Win32' 'OVERRIDECACHE' '' 'NATIVE_ENGINE' 'TRUE'
}

# cache_folder DIR TARGET: what registration leaves in a product cache folder.
cache_folder() {
    local dir=$1
    mkdir -p "$dir"
    cp "$PELLION_BIN/Pellion.exe" "$dir/setup.exe"
    cp "$PELLION_BIN/oxa.lib" "$dir/oxa.lib"
    : >"$dir/setup.res"
    printf '\xEF\xBB\xBF' >"$dir/setup.par"
    crlf "$product" "$(basename "$dir")" 'Lexicon' >"$dir/instance.dat"
    instance_data "$2" >"$dir/setup.dat"
    for log in elements data weight bitness; do
        : >"$dir/$product.native.$log.log"
    done
}

# identity ROOT FOLDER: the identity key's default value (the cache folder with "\").
identity() {
    reg add "$1\\$ident" /ve /d "$2" /f /reg:64 || fail "reg add $1\\$ident"
}

report_line='M=$MAINTENANCE$;U=$NEEDSUPGRADE$;N=$NEWINSTANCE$;R=$RECOMMENDEDUPGRADE$;O=$NATIVE_OLDLOG$;T=$TARGETDIR$;S=$STARTMENU$;V=$REVISIONCODE$;X=$TITLE$;K=$KEPTNOTE$;E=$ENGINECACHE$'

# run_setup NAME REVISION [EXTRA-HEADER] < SCRIPT-BODY: builds and runs a
# silent setup whose script ends by saving REPORT to $work/NAME.out.
run_setup() {
    local name=$1 rev=$2 header=${3:-}
    local source="$work/src-$name"
    mkdir -p "$source/support"
    : >"$source/support/empty.txt"
    {
        printf '@title |Lexicon\n@product-code |%s\n@revision-code |%s\n' "$product" "$rev"
        [ -n "$header" ] && printf '%s\n' "$header"
        cat
        printf 'Save Feature Selections\n  |%s\\%s.out\n' "$win_work" "$name"
    } >"$source/setup.pls"
    build_setup "$source" "$work/setup-$name"
    [ -n "${beside:-}" ] && cp "$beside" "$work/setup-$name/instance.dat"
    expect_exit 0 "$work/setup-$name/setup.exe" /s
}

report_of() {
    [ -f "$work/$1.out" ] || fail "$1: no selections file written"
    sed 's/\r$//' "$work/$1.out" | awk 'previous == "REPORT" { print; exit } { previous = $0 }'
}

# expect_report NAME KEY=VALUE...: each pair is part of the reported line.
expect_report() {
    local name=$1 line
    shift
    line=$(report_of "$name")
    for pair in "$@"; do
        case ";$line;" in
        *";$pair;"*) ;;
        *) fail "$name: '$pair' not in '$line'" ;;
        esac
    done
}

report_statement() {
    printf 'Set Variable\n  |REPORT$QUAV$QUAV$TRUE\n  |%s\n' "${1:-$report_line}"
}

# --- first installation: nothing installed
report_statement | run_setup first "$revision"
expect_report first M=FALSE U=FALSE N=FALSE R=FALSE O= 'K=$KEPTNOTE$' "V=$revision" X=Lexicon S=Lexicon
first_cache=$(report_of first | sed 's/.*;E=//')
case "$first_cache" in
*"\\$revision\\") ;;
*) fail "first installation: ENGINECACHE '$first_cache' is not a folder named by the revision" ;;
esac

# --- the same revision installed by the native engine
cache="$work/cache/$revision"
cache_folder "$cache" 'Z:\Installed\Lexicon\'
identity HKLM "$win_work\\cache\\$revision\\"
report_statement | run_setup native "$revision"
expect_report native M=TRUE U=FALSE N=TRUE R=FALSE O= 'T=Z:\Installed\Lexicon\' 'S=Lexicon Menu' \
    'K=first$NEWLINE$second' "E=$win_work\\cache\\$revision\\"

# --- "instance.dat" beside the engine names the instance: no new instance
crlf "$product" "$revision" 'Lexicon Beside' >"$work/instance.dat"
report_statement | beside="$work/instance.dat" run_setup beside "$other"
expect_report beside M=TRUE N=FALSE "V=$revision" 'X=Lexicon Beside'
forget_identity

# --- another revision's native installation recommends an upgrade; with
# "#LOADOLDDATA#" its data comes along
old="$work/old/$other"
cache_folder "$old" 'Z:\Old\Lexicon\'
identity HKLM "$win_work\\old\\$other\\"
report_statement | run_setup oldlog "$revision"
expect_report oldlog M=FALSE U=FALSE R=TRUE "O=$win_work\\old\\$other\\$product" 'K=$KEPTNOTE$' "E=$first_cache"
report_statement | run_setup oldlogdata "$revision" "$(printf '@compiler-variable |LOADOLDDATA\n  |true')"
expect_report oldlogdata R=TRUE 'T=Z:\Old\Lexicon\' 'K=first$NEWLINE$second'
forget_identity

# --- OVERRIDECACHE: a creatable folder, and a drive that is not there
{
    printf 'Set Variable\n  |OVERRIDECACHE\n  |%s\\override\\new\n' "$win_work"
    report_statement 'C=$OVERRIDECACHE$;E=$ENGINECACHE$'
} | run_setup override "$revision"
expect_report override "C=$win_work\\override\\new\\" "E=$win_work\\override\\new\\$revision\\"
# The override's folders are removed again after the bootstrap, and the
# end-of-run caching of a product never installed creates none.
[ -e "$work/override" ] && fail "folders left in the cache override: $(ls -R "$work/override" 2>&1)"
missing_drive=
for letter in q r s t u v w x y; do
    if [ ! -e "$WINEPREFIX/dosdevices/$letter:" ]; then
        missing_drive=$(echo "$letter" | tr a-z A-Z)
        break
    fi
done
[ -n "$missing_drive" ] || fail "every drive letter is mapped in the Wine prefix"
{
    printf 'Set Variable\n  |OVERRIDECACHE\n  |%s:\\Cache\n' "$missing_drive"
    report_statement 'C=$OVERRIDECACHE$;M=$MAINTENANCE$;E=$ENGINECACHE$'
} | run_setup nodrive "$revision"
expect_report nodrive C= M=FALSE "E=$first_cache"

# --- Save and Load Feature Selections
cat <<SCRIPT | run_setup selections "$revision"
Define Component
  |Tools
  |TRUE
  |The tools
Define Component
  |Extras
  |FALSE
  |The extras
Set Variable
  |PICKED\$QUAV\$QUAV\$TRUE
  |saved
Save Feature Selections
  |$win_work\\picked.dat
Set Component State
  |Tools
  |FALSE
Set Component State
  |Extras
  |TRUE
Delete Component
  |Extras
Set Variable
  |PICKED
  |changed
Set Variable
  |TARGETDIR
  |C:\\Elsewhere\\
Load Feature Selections
  |$win_work\\picked.dat
Load Feature Selections
  |$win_work\\missing.dat
Get Component State
  |Tools
  |TOOLS
Get Component State
  |Extras
  |EXTRAS
Set Variable
  |REPORT\$QUAV\$QUAV\$TRUE
  |TOOLS=\$TOOLS\$;EXTRAS=\$EXTRAS\$;PICKED=\$PICKED\$;T=\$TARGETDIR\$
SCRIPT
expect_report selections TOOLS=TRUE EXTRAS=FALSE PICKED=saved "T=$(report_of first | sed 's/.*;T=//; s/;.*//')"
[ -f "$work/missing.dat" ] && fail "Load Feature Selections created the missing file"
head -c 3 "$work/picked.dat" | od -An -tx1 | grep -q 'ef bb bf' && fail "the selections file starts with a byte-order mark"

# --- a product installed by Windows Installer
if ! command -v wixl >/dev/null || ! command -v msibuild >/dev/null; then
    echo "SKIP: Windows Installer cases need wixl and msibuild (Debian package msitools)"
    echo "PASS"
    exit 0
fi
mkdir -p "$work/msi"
echo readme >"$work/msi/readme.txt"
cat >"$work/msi/product.wxs" <<WXS
<?xml version="1.0"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="$msi_product" Name="Pellion Maintenance Test" Language="1033" Version="1.0.0"
           Manufacturer="Pellion Tests" UpgradeCode="{5C0FFEE0-1111-4222-8333-944455556667}">
    <Package InstallerVersion="200" Compressed="yes" InstallScope="perMachine"/>
    <Media Id="1" Cabinet="product.cab" EmbedCab="yes"/>
    <Directory Id="TARGETDIR" Name="SourceDir">
      <Directory Id="ProgramFilesFolder">
        <Directory Id="INSTALLDIR" Name="PellionMaintenanceTest">
          <Component Id="Main" Guid="{5C0FFEE0-1111-4222-8333-944455556668}">
            <File Id="readme" Source="readme.txt"/>
          </Component>
        </Directory>
      </Directory>
    </Directory>
    <Feature Id="Main" Level="1"><ComponentRef Id="Main"/></Feature>
  </Product>
</Wix>
WXS
# wixl finds sources relative to the current folder only.
(cd "$work/msi" && wixl -o product.msi product.wxs) >/dev/null 2>&1 || fail "wixl could not build the test package"
# wixl makes up a package code; the test needs a known one.
msibuild "$work/msi/product.msi" -s "Pellion Maintenance Test" "Pellion Tests" "Intel;1033" "$msi_package" \
    || fail "msibuild could not set the package code"
msi_installed=true
if ! "$PELLION_WINE" msiexec /i "$(windows_path "$work/msi/product.msi")" /qn >/dev/null 2>&1; then
    echo "SKIP: msiexec under this Wine did not install the test package"
    echo "PASS"
    exit 0
fi
product=$msi_product
ident="Software\\Dorvane\\Vantrel\\Ident.Cache\\$product"
report_statement | run_setup msisame "$msi_package"
expect_report msisame M=TRUE U=FALSE N=TRUE
old="$work/msiold/$other"
cache_folder "$old" 'Z:\Msi\Old\'
identity HKLM "$win_work\\msiold\\$other\\"
report_statement | run_setup msiother "$revision" "$(printf '@compiler-variable |LOADOLDDATA\n  |TRUE')"
expect_report msiother M=FALSE U=TRUE N=TRUE 'T=Z:\Msi\Old\'
echo "PASS"
