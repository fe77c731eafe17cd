#!/usr/bin/env bash
# Makes the test Wine prefixes: one base prefix, made once, whose copy is each test
# prefix with its own display driver; keeps one Wine server running for a test prefix,
# or ends it.
#   wine-prefix.sh base BASE  |  wine-prefix.sh start PREFIX null|x11 BASE  |  wine-prefix.sh stop PREFIX
set -euo pipefail
action=$1
export WINEPREFIX=$2 WINEDEBUG=-all
quietly() { "$@" </dev/null >/dev/null 2>&1; }

case $action in
base)
    # What every test prefix shares. Making it takes about 12 seconds, a copy a few.
    quietly wineserver -k || true
    # A base made before wine32 was installed has no 32-bit part (its syswow64 is empty),
    # and wine can start nothing there any more: it is made anew.
    if [ ! -f "$WINEPREFIX/.made" ] || [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
        echo "Creating the base Wine prefix $WINEPREFIX ..."
        rm -rf "$WINEPREFIX"
        DISPLAY= quietly wineboot -i
        # A crash ends the process with a message instead of opening the debugger's window.
        quietly wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
        # Debian's Wine does not put its own fonts into a prefix; without Marlett, the
        # caption buttons are drawn as the letters "0 1 r".
        cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
        quietly wineserver -w
        # Tells the copies which base they were made from.
        date +%s.%N >"$WINEPREFIX/.made"
    fi
    echo "Base Wine prefix ready: $WINEPREFIX"
    ;;
start)
    driver=$3
    base=$4
    # A server left by an earlier run would keep the old settings.
    quietly wineserver -k || true
    if ! cmp -s "$base/.made" "$WINEPREFIX/.made"; then
        echo "Copying the base Wine prefix to $WINEPREFIX ..."
        rm -rf "$WINEPREFIX"
        cp -a "$base" "$WINEPREFIX"
    fi
    if [ "$driver" = null ]; then
        quietly wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f
    else
        quietly wine reg delete 'HKCU\Software\Wine\Drivers' /v Graphics /f || true
        # Every program of the prefix shares one Wine desktop of 800x600, which draws
        # the windows' frames and captions itself, as no window manager runs there.
        quietly wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
        quietly wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 800x600 /f
    fi
    quietly wineserver -w
    if [ "$driver" = null ]; then
        # Wine's services start with the first program and outlive it. Started here,
        # they hold no pipe of the test runner, which would otherwise wait for them.
        quietly wineserver -p
        quietly wine wineboot
    fi
    # With x11 nothing is left running: the Wine desktop belongs to the X display of the
    # test that starts it, and that test ends the Wine server itself.
    echo "Wine prefix ready: $WINEPREFIX ($driver display driver)"
    ;;
stop)
    quietly wineserver -k || true
    ;;
esac
