#!/usr/bin/env bash
# The window beside a share that stops answering, under Xvfb: a FUSE file system of the
# test's own (stalled_share.py) holds the reads of a file until the test lets them go.
# Closed while a check waits on it, the program is gone within a second; the character view
# of a file that was checked and then stopped answering opens at once, both windows go on
# answering, and the view closes at once; once the share answers again, the view shows the
# characters.
#   stalled-share.sh VELTRANE.EXE drive.exe PICTURES-FOLDER  (through wine-prefix.sh run)
# The share's mount is seen only in a mount namespace of the test's own, and the Wine server
# opens files for its programs, so it must see it too: the prefix's server, started outside,
# is ended, and the script runs again inside a namespace, where it starts another.
if [ -z "${STALLED_SHARE_NAMESPACE:-}" ]; then
    wineserver -k
    STALLED_SHARE_NAMESPACE=1 exec unshare --mount --propagation private "$0" "$@"
fi
program=$1
drive=$2
pictures=$3
wineserver -p60 </dev/null >/dev/null 2>&1
wine wineboot </dev/null >/dev/null 2>&1
source "$(dirname "$0")/helpers.sh"
require_display
mkdir -p "$pictures" "$WINEPREFIX/drive_c/share"
font=$WINEPREFIX/font.tte
/usr/bin/python3 "$(dirname "$0")/../../tools/make_fonts.py" --eudc "$font" 40

working='AR PL UMing TW'
limit=1000  # ms

echo "== The share"
coproc SHARE { exec /usr/bin/python3 "$(dirname "$0")/stalled_share.py" "$WINEPREFIX/drive_c/share" \
    BLOCK.TTE="$font" HELD.TTE="$font" 2>&1; }
declare -A told
# Waits up to ten seconds for the share to say the line $1, or to have said it already.
share_said() {
    local line deadline=$((SECONDS + 10))
    while [ -z "${told[$1]:-}" ]; do
        IFS= read -r -t $((deadline - SECONDS > 0 ? deadline - SECONDS : 1)) -u "${SHARE[0]}" line || {
            fail "waited 10 s for the share to say '$1'"
            return 1
        }
        told[$line]=1
    done
    unset "told[$1]"
}
share() {
    echo "$*" >&"${SHARE[1]}"
    share_said ready
}
share_said mounted || exit 1
# Milliseconds since $1, a time from `date +%s%N`.
since() { echo $((($(date +%s%N) - $1) / 1000000)); }
# Closes the program by its Close button; it must be gone within a second, with exit code 0.
expect_gone_at_once() {
    local closing status
    closing=$(date +%s%N)
    drive close close-button
    if timeout 1 tail --pid="$pid" -s 0.02 -f /dev/null; then
        pass "$1: the program was gone $(since "$closing") ms after it was closed"
    else
        fail "$1: the program was still there a second after it was closed"
        kill "$pid"
    fi
    wait "$pid"
    status=$?
    expect "$1: its exit code" "$status" 0
}

echo "== Closed while a check waits on the share"
share hold BLOCK.TTE
clear_key
link_by_reg "$working" 'C:\share\BLOCK.TTE'
wine "$program" &
pid=$!
drive wait-main >/dev/null
share_said "held BLOCK.TTE"
expect "the row while its file does not answer" "$(drive state-now "$working")" unchecked
expect_gone_at_once "closed while the check waits"
share release BLOCK.TTE

echo "== The character view of a file that stopped answering since its check"
link_by_reg "$working" 'C:\share\HELD.TTE'
start
expect "the row once its file answered" "$(drive row-state "$working")" linked
share hold HELD.TTE
drive click-row "$working"
opening=$(date +%s%N)
xdotool key ctrl+e
expect "the view, at once" "$(drive char-opened)" reading
took=$(since "$opening")
if [ "$took" -le "$limit" ]; then pass "the view opened in $took ms"; else fail "the view took $took ms to open"; fi
share_said "held HELD.TTE"
# shellcheck disable=SC2046
shoot "$pictures/reading.png" $(drive char-view-rect)
if took=$(drive answers $limit); then pass "both windows answer while the file does not: $took ms"
else fail "a window did not answer within $limit ms while the file did not"; fi
closing=$(date +%s%N)
xdotool key Escape
drive char-closed
took=$(since "$closing")
if [ "$took" -le "$limit" ]; then pass "the view closed in $took ms"; else fail "the view took $took ms to close"; fi
if took=$(drive answers $limit); then pass "the main window answers after it: $took ms"
else fail "the main window did not answer within $limit ms"; fi

echo "== The share answers again"
share release HELD.TTE
xdotool key ctrl+e
expect "the view" "$(drive characters)" view
expect "the first character" "$(drive char-shown)" "Unicode U+E000|Big5 FA40"
xdotool key Escape
drive char-closed && pass "Escape closed the view"

echo "== Closed after a view whose read still waits"
share hold HELD.TTE
xdotool key ctrl+e
expect "the view, at once" "$(drive char-opened)" reading
share_said "held HELD.TTE"
xdotool key Escape
drive char-closed && pass "Escape closed the view"
expect_gone_at_once "closed while the view's read waits"
echo quit >&"${SHARE[1]}"
exit $((failures > 0))
