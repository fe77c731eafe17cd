#!/usr/bin/env bash
# Installs what is missing, builds VELTRANE.EXE and starts it under Wine with code page
# 950, in your own Wine prefix (~/.wine, or WINEPREFIX if set): the links it makes are
# yours, and that is where they belong.
#   scripts/run.sh                      show the window on this display
#   scripts/run.sh --screenshot FILE    no display needed: run it under Xvfb, save a
#                                       picture of the window to FILE, then stop it
set -euo pipefail
cd "$(dirname "$0")/.."

screenshot=
if [ "${1:-}" = --screenshot ]; then
    screenshot=${2:?"--screenshot needs a file name, for example shot.png"}
    screenshot=$(realpath -m "$screenshot")
elif [ -n "${1:-}" ]; then
    echo "usage: scripts/run.sh [--screenshot FILE.png]" >&2
    exit 2
fi

scripts/setup.sh
echo "== Building VELTRANE.EXE"
cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake >/dev/null
cmake --build build/win64 --target veltrane -j"$(nproc)"
program=$PWD/build/win64/VELTRANE.EXE

export WINEPREFIX=${WINEPREFIX:-$HOME/.wine}
export WINEDEBUG=${WINEDEBUG:--all}
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "== Creating your Wine prefix $WINEPREFIX (once; it takes a few seconds)"
    DISPLAY= wineboot -i >/dev/null 2>&1
fi
# A prefix made before wine32 was installed has no 32-bit part (its syswow64 is empty or
# missing): plain wine then starts nothing there ("could not load kernel32.dll"), while
# Wine's 64-bit loader still runs this x86-64 build in it.
wine=wine
if [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
    echo "== Your Wine prefix was made without 32-bit Wine: starting the program with Wine's 64-bit loader"
    export WINELOADER=/usr/lib/wine/wine64
    wine=$WINELOADER
fi
# Debian's Wine does not put its own fonts into a prefix; without Marlett, the caption
# buttons are drawn as the letters "0 1 r".
fonts=$WINEPREFIX/drive_c/windows/Fonts
if [ -z "$(find "$fonts" -maxdepth 1 -iname marlett.ttf 2>/dev/null)" ]; then
    echo "== Copying Wine's Marlett font into your prefix, for the caption buttons"
    mkdir -p "$fonts"
    cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
fi

if [ -n "$screenshot" ]; then
    echo "== Running VELTRANE.EXE under Xvfb for a picture"
    exec xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
        setsid env LC_ALL=zh_TW.UTF-8 "$3" explorer /desktop=veltrane,800x600 "$1" >/dev/null 2>&1 &
        group=$!
        status=0
        if timeout 60 xdotool search --sync --name "Corvale Windows 95" >/dev/null; then
            # Painted: three pictures in a row the same, within 20 seconds.
            deadline=$((SECONDS + 20)) last= same=0
            while [ $same -lt 2 ]; do
                import -window root -crop 800x600+0+0 +repage "$2"
                now=$(convert "$2" rgb:- | md5sum)
                if [ "$now" = "$last" ]; then same=$((same + 1)); else same=0; fi
                last=$now
                if [ $SECONDS -ge $deadline ]; then
                    echo "Waited 20 s for the window to be painted; the picture shows it as it was then." >&2
                    break
                fi
            done
            echo "Saved a picture of the window: $2"
        else
            echo "The window did not appear within a minute." >&2
            status=1
        fi
        kill -- -"$group" 2>/dev/null
        exit $status' run "$program" "$screenshot" "$wine"
fi

if [ -z "${DISPLAY:-}" ]; then
    echo "There is no display to show the window on; run 'scripts/run.sh --screenshot shot.png' to see it in a picture instead."
    exit 1
fi
echo "== Starting VELTRANE.EXE (Wine prefix $WINEPREFIX)"
# Wine takes the ANSI code page from the locale: zh_TW gives code page 950.
exec env LC_ALL=zh_TW.UTF-8 "$wine" "$program"
