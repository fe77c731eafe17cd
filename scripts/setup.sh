#!/usr/bin/env bash
# Installs what building, running and testing VELTRANE.EXE need, where it is missing.
# Debian; installing needs root.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    cmake make g++ googletest libgtest-dev          # native build and its tests (prebuilt gtest)
    clang libclang-rt-dev                           # fuzz targets (libFuzzer)
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-tools
    g++-mingw-w64-i686-posix binutils-mingw-w64-i686
    wine wine64 fonts-wine                          # running the program
    fonts-arphic-uming                              # Big5 TrueType fonts to list
    xvfb xauth imagemagick xdotool                  # a display without a screen, pictures
    locales
    python3 python3-fonttools                       # fonts generated for tests and the benchmark
)

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

# Installs those of the packages named that are missing.
install() {
    local missing=() package
    for package in "$@"; do
        installed "$package" || missing+=("$package")
    done
    [ ${#missing[@]} -gt 0 ] || return 0
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
    # A mirror in the middle of a sync can fail one index; what it did fetch may be enough.
    apt-get update -q || echo "== apt-get update failed in part; installing from what it fetched"
    if ! apt-get install -y -q --no-install-recommends "${missing[@]}"; then
        # Without the security archive's i386 index, wine32's libraries cannot match the
        # versions of their amd64 twins that it would upgrade: take both from bookworm.
        echo "== Installing again, with bookworm's own versions preferred to its security updates"
        apt-get install -y -q --no-install-recommends -t bookworm "${missing[@]}"
    fi
}

install "${packages[@]}"

# 32-bit Wine runs the i686 build, where the kernel runs 32-bit programs at all. Some
# kernels do not ("Exec format error"), and there an installed wine32 would keep plain
# `wine` from starting anything, 64-bit programs included.
if scripts/runs-32-bit.py; then
    install wine32:i386
elif installed wine32:i386; then
    if [ "$(id -u)" -ne 0 ]; then
        echo "This machine cannot run 32-bit programs, and its wine32 keeps wine from starting anything: as root, apt-get remove wine32:i386" >&2
        exit 1
    fi
    echo "== This machine cannot run 32-bit programs: removing wine32, which keeps wine from starting anything"
    DEBIAN_FRONTEND=noninteractive apt-get remove -y -q wine32:i386 >/dev/null
else
    echo "== This machine cannot run 32-bit programs: the i686 build is made and packed, not run"
fi

# The program runs with the Traditional Chinese locale, which gives Wine code page 950;
# eudclink's tests of code page 932 run with the Japanese one.
for locale in zh_TW ja_JP; do
    locale -a 2>/dev/null | grep -qix "$locale.utf8" && continue
    if [ "$(id -u)" -eq 0 ]; then
        echo "== Generating the locale $locale.UTF-8"
        sed -i "s/^# *\($locale.UTF-8 UTF-8\)/\1/" /etc/locale.gen
        grep -q "^$locale.UTF-8 UTF-8" /etc/locale.gen || echo "$locale.UTF-8 UTF-8" >> /etc/locale.gen
        locale-gen >/dev/null
    fi
done
