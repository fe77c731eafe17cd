# Sourced at the top of an end-to-end script that shows the real program: runs the
# script again under a display of its own, ends Wine when the script ends, and gives it
# the helpers that report and drive.
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
