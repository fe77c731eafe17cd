#!/usr/bin/env bash
# The tests' Wine prefixes. One base prefix, made once and kept while Wine and this script
# stay the same; each test runs in a copy of its own, with its own Wine server and, with
# the X11 driver, its own X display, so that tests run side by side without disturbing
# each other's registry, desktop or server. Everything a test started, and its copy, is
# gone when it ends, however it ends.
#   wine-prefix.sh base BASE
#   wine-prefix.sh run BASE PREFIX null|x11|none SECONDS COMMAND...
# `run` copies BASE to PREFIX, sets up the display driver (none: no display at all) and
# runs COMMAND there, giving up after SECONDS.
set -uo pipefail
action=$1
base=$2
export WINEDEBUG=-all LC_ALL=zh_TW.UTF-8
quietly() { "$@" </dev/null >/dev/null 2>&1; }
die() { echo "FAIL $*"; exit 1; }

# Wine keeps each prefix's server socket in a folder of its own under a temporary folder
# that the prefix names; nothing removes it.
server_folder() {
    local tmp
    tmp=$(cat "$1/wineserver" 2>/dev/null) || return 0
    printf '%s/%s/server-%s-%x\n' "${TMPDIR:-/tmp}" "$tmp" "$(stat -c %D "$1")" "$(stat -c %i "$1")"
}

# What the base depends on: Wine's version, whether 32-bit Wine is there (a base made
# without it runs no 32-bit program, nor, once it is installed, any at all) and this
# script's recipe.
base_stamp() {
    local wine32=no
    [ -x /usr/lib/wine/wine ] && wine32=yes
    echo "$(wine --version) wine32=$wine32 $(sha1sum <"$0" | cut -d' ' -f1)"
}

# Starts the prefix's Wine server, which stays until the test ends: Debian's starts
# with -p0 and quits as soon as no program runs, racing the next start.
start_server() {
    quietly wineserver -p60 || die "could not start a Wine server in $WINEPREFIX"
}

make_base() {
    echo "Creating the base Wine prefix $WINEPREFIX ..."
    # The old base's temporary folder, empty once its copies' servers are gone.
    [ ! -f "$WINEPREFIX/wineserver" ] || rmdir "${TMPDIR:-/tmp}/$(cat "$WINEPREFIX/wineserver")" 2>/dev/null
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    start_server
    # Made in the C locale, as a Western system's prefix: its window metrics (caption and
    # menu fonts) are those the README's pictures show, whatever locale the tests run in.
    DISPLAY= LC_ALL=C quietly wineboot -i || die "wineboot could not make the base prefix $WINEPREFIX"
    # A crash ends the process with a message instead of opening the debugger's window.
    quietly wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
    # Every program of a prefix shares one Wine desktop of 800x600, which draws the
    # windows' frames and captions itself, as no window manager runs on Xvfb.
    quietly wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
    quietly wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 800x600 /f
    # Debian's Wine does not put its own fonts into a prefix; without Marlett, the
    # caption buttons are drawn as the letters "0 1 r".
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    quietly wineserver -k
    rm -rf "$(server_folder "$WINEPREFIX")"
    base_stamp >"$WINEPREFIX/.made"
}

# Starts an X server on the first free display, which it picks itself (no race with
# another test starting one), and waits until it takes connections. VELTRANE_SCREEN sets
# its size, 1024x768 unless a test needs more.
start_display() {
    local display
    exec {xvfb_out}< <(exec Xvfb -displayfd 1 -screen 0 "${VELTRANE_SCREEN:-1024x768}x24" -nolisten tcp 2>/dev/null)
    xvfb=$!
    read -r -t 20 -u "$xvfb_out" display || die "waited 20 s for Xvfb to open a display"
    export DISPLAY=:$display
}

# The display driver: the first program of a prefix starts its desktop, which reads the
# driver's name then and keeps it, so a change of driver needs a new server.
set_driver() {
    case $1 in
    null)
        unset DISPLAY
        quietly wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f
        # Windows of their own, as on a real desktop, rather than inside Wine's.
        quietly wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f
        quietly wineserver -k
        start_server
        ;;
    x11) start_display ;;
    none) unset DISPLAY ;;
    *) die "unknown display driver $1" ;;
    esac
}

end_test() {
    [ -z "${test_pid:-}" ] || kill -TERM "$test_pid" 2>/dev/null
    quietly wineserver -k
    [ -z "${xvfb:-}" ] || kill "$xvfb" 2>/dev/null
    local server
    server=$(server_folder "$WINEPREFIX")
    rm -rf "$WINEPREFIX" "$server"
}

case $action in
base)
    export WINEPREFIX=$base
    # Tests of two builds may start at once: one makes the base, the other waits for it.
    exec {lock}>"$base.lock"
    flock -w 300 "$lock" || die "waited 300 s for another test run to make the base prefix $base"
    [ "$(cat "$base/.made" 2>/dev/null)" = "$(base_stamp)" ] || make_base
    echo "Base Wine prefix ready: $base"
    ;;
run)
    export WINEPREFIX=$3
    driver=$4
    seconds=$5
    shift 5
    [ -f "$base/.made" ] || die "no base prefix $base: make it with 'wine-prefix.sh base $base'"
    trap end_test EXIT
    trap 'exit 143' TERM INT
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    cp -a "$base" "$WINEPREFIX" || die "could not copy $base to $WINEPREFIX"
    # The Wine desktop as large as a larger screen, set where the server reads it when it
    # starts: the first program of the prefix opens the desktop, reg.exe among them.
    [ -z "${VELTRANE_SCREEN:-}" ] ||
        sed -i "s/^\"Default\"=\"800x600\"$/\"Default\"=\"$VELTRANE_SCREEN\"/" "$WINEPREFIX/user.reg"
    start_server
    set_driver "$driver"
    # Wine's services start with the first program and outlive it: started here, they
    # hold no pipe of the test runner, which would otherwise wait for them.
    quietly wine wineboot
    # In the background, so that a signal to this script ends the test at once.
    timeout -k 5 "$seconds" "$@" &
    test_pid=$!
    wait "$test_pid"
    status=$?
    test_pid=
    [ "$status" != 124 ] || echo "FAIL gave up after $seconds s: $*"
    exit "$status"
    ;;
*)
    die "usage: wine-prefix.sh base BASE | wine-prefix.sh run BASE PREFIX null|x11|none SECONDS COMMAND..."
    ;;
esac
