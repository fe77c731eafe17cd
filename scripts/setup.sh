#!/usr/bin/env bash
# Installs what building, running and testing VELTRANE.EXE need, where it is missing.
# Debian; installing needs root.
set -euo pipefail

packages=(
    cmake make g++ googletest                       # native build and its tests
    clang libclang-rt-dev                           # fuzz targets (libFuzzer)
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-tools
    g++-mingw-w64-i686-posix binutils-mingw-w64-i686
    wine wine64 fonts-wine                          # running the program
    wine32:i386                                     # running the i686 build beside it
    fonts-arphic-uming                              # Big5 TrueType fonts to list
    xvfb xauth imagemagick xdotool                  # a display without a screen, pictures
    locales
    python3-fonttools                               # fonts generated for tests and the benchmark
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ]; then
    if [ "$(id -u)" -ne 0 ]; then
        echo "These packages are missing and installing them needs root: ${missing[*]}" >&2
        exit 1
    fi
    echo "== Installing ${#missing[@]} missing packages: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    # wine32 comes from the i386 side of the archive, which a fresh machine lacks.
    if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        echo "== Adding the i386 architecture, for wine32"
        dpkg --add-architecture i386
    fi
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
else
    echo "== All needed packages are installed"
fi

# The program runs with the Traditional Chinese locale, which gives Wine code page 950.
if ! locale -a 2>/dev/null | grep -qix 'zh_TW.utf8'; then
    if [ "$(id -u)" -eq 0 ]; then
        echo "== Generating the locale zh_TW.UTF-8"
        sed -i 's/^# *\(zh_TW.UTF-8 UTF-8\)/\1/' /etc/locale.gen
        grep -q '^zh_TW.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_TW.UTF-8 UTF-8' >> /etc/locale.gen
        locale-gen >/dev/null
    fi
fi
