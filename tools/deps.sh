#!/usr/bin/env bash
# Installs what the builds and tests need on Debian 12. Idempotent: on a ready
# machine it only asks dpkg and returns within seconds.
set -eu

packages=(
    cmake ninja-build g++ python3
    googletest libgtest-dev libssl-dev zlib1g-dev clang libclang-rt-14-dev
    g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
    binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 libz-mingw-w64-dev
    wine wine64 wine32:i386 fonts-wine
    fp-utils-3.2.2
    xvfb xauth x11-apps imagemagick bc zip unzip
    msitools wixl
)

sudo=
[ "$(id -u)" -eq 0 ] || sudo=sudo

update_needed=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
    update_needed=1
fi

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$package")
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "deps: all ${#packages[@]} packages present"
    exit 0
fi

echo "deps: installing ${missing[*]}"
if [ "$update_needed" -eq 1 ] || [ -z "$(ls -A /var/lib/apt/lists 2>/dev/null | grep -v -e lock -e partial)" ] \
    || ! apt-cache show "${missing[0]}" >/dev/null 2>&1; then
    $sudo apt-get update -q
fi
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
