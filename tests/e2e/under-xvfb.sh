# Sourced at the top of an end-to-end script that shows the real program: runs the
# script again under a display of its own, ends Wine when the script ends, and gives it
# the helpers that report, drive, and start and stop the program (the script sets
# $program and $drive).
if [ -z "${VELTRANE_IN_XVFB:-}" ]; then
    VELTRANE_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
# Nothing of Wine may outlive this X display.
trap 'wineserver -k 2>/dev/null || true' EXIT

failures=0
pass() { echo "ok   $*"; }
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
# Runs drive.exe (the script sets $drive); Wine's console ends lines with CR LF.
drive() { wine "$drive" "$@" | tr -d '\r'; }
# Whether two pictures hold the same pixels, whatever their files' metadata.
same_pixels() {
    [ "$(convert "$1" rgb:- | md5sum)" = "$(convert "$2" rgb:- | md5sum)" ]
}

# Starts the program in the background and waits for its main dialog.
start() {
    wine "$program" &
    pid=$!
    drive wait-main >/dev/null || { echo "FAIL the program did not start"; exit 1; }
}
# Waits for the program to end by itself, with exit code 0, not by a crash; $1 says how
# it was asked to.
expect_exit() {
    local status
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$pid" 2>/dev/null; then
        fail "$1: the program is still running"
        wineserver -k
    fi
    wait "$pid"
    status=$?
    if [ "$status" = 0 ]; then pass "$1: the program ended with exit code 0"; else fail "$1: exit code $status"; fi
}
stop() {
    drive close close-button
    expect_exit "closed by its Close button"
}
