#!/usr/bin/env bash
# Makes a test Wine prefix ready and keeps one Wine server running for it, or ends that
# server:  wine-prefix.sh start PREFIX [null|x11]  |  wine-prefix.sh stop PREFIX
set -euo pipefail
action=$1
export WINEPREFIX=$2 WINEDEBUG=-all
quietly() { "$@" </dev/null >/dev/null 2>&1; }

case $action in
start)
    driver=${3:-x11}
    # A server left by an earlier run would keep the old settings.
    quietly wineserver -k || true
    # A prefix made before wine32 was installed has no 32-bit part (its syswow64 is
    # empty or missing), and wine can start nothing there any more. It is a test's, so
    # it is made anew.
    if [ -f "$WINEPREFIX/system.reg" ] && [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
        echo "Removing the test Wine prefix $WINEPREFIX, made without 32-bit Wine ..."
        rm -rf "$WINEPREFIX"
    fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Creating the test Wine prefix $WINEPREFIX ..."
        DISPLAY= quietly wineboot -i
    fi
    # Debian's Wine does not put its own fonts into a prefix; without Marlett, the caption
    # buttons are drawn as the letters "0 1 r".
    fonts=$WINEPREFIX/drive_c/windows/Fonts
    [ -f "$fonts/marlett.ttf" ] || cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
    if [ "$driver" = null ]; then
        quietly wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f
    else
        quietly wine reg delete 'HKCU\Software\Wine\Drivers' /v Graphics /f || true
        # Every program of the prefix shares one Wine desktop of 800x600, which draws
        # the windows' frames and captions itself, as no window manager runs there.
        quietly wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
        quietly wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 800x600 /f
    fi
    # A crash ends the process with a message instead of opening the debugger's window.
    quietly wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
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
