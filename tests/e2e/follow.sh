#!/usr/bin/env bash
# The real program beside other programs, under Xvfb: a broken link's row marked and a
# working one as before, the key changed by reg and eudclink while the window is open, and
# a link to a share that does not exist. Each change shows within about 100 ms of the
# command that made it, and the time is printed; the check allows a second, since a
# machine busy with other tests has been seen to take 205 ms (the benchmark's Follow
# measures it on a quiet one).
#   follow.sh VELTRANE.EXE drive.exe eudclink.exe PICTURES-FOLDER  (through wine-prefix.sh run)
program=$1
drive=$2
eudclink=$3
pictures=$4
source "$(dirname "$0")/helpers.sh"
require_display
mkdir -p "$pictures" "$WINEPREFIX/drive_c/eudc"
/usr/bin/python3 "$(dirname "$0")/../../tools/make_fonts.py" --eudc "$WINEPREFIX/drive_c/eudc/GOOD.TTE" 5

working='AR PL UMing TW'
broken='AR PL UMing HK'
changed='AR PL UMing CN'
missing='（找不到檔案）'  # drive reads UTF-8

# The row $1 compared with one drawn by hand with the link text $2 ($3: broken).
expect_row_drawn() {
    picture_row "$1" "row-$4" SystemDefaultEUDCFont
    drive draw-row "$1" "$2" ${3:+"$3"} >"$pictures/by-hand-$4.txt"
    convert "$pictures/by-hand-$4.txt" "$pictures/by-hand-$4.png"
    if same_pixels "$pictures/row-$4.png" "$pictures/by-hand-$4.png"; then
        pass "'$1' looks as drawn by hand${3:+, $3}"
    else
        fail "'$1' differs from the row drawn by hand (row-$4.png, by-hand-$4.png)"
    fi
}
# Runs the command $2... and waits for the row $1's state to read $STATE; says how long
# the window took after the command ended.
limit=1000
STATE=
expect_followed() {
    local row=$1 ended took
    shift
    "$@" >/dev/null 2>&1
    ended=$(date +%s%N)
    drive row-state "$row" "$STATE" >/dev/null
    took=$((($(date +%s%N) - ended) / 1000000))
    if [ "$(drive row-state "$row")" = "$STATE" ] && [ "$took" -le "$limit" ]; then
        pass "$*: '$row' is $STATE after $took ms"
    else
        fail "$*: '$row' is $(drive row-state "$row") after $took ms, not $STATE within $limit ms"
    fi
}

clear_key
link_by_reg "$working" 'C:\eudc\GOOD.TTE'
link_by_reg "$broken" 'C:\eudc\GONE.TTE'
link_by_reg 'AR PL UMing TW MBE' '\\server\eudc\X.TTE'
start
expect "the working link" "$(drive row-state "$working")" linked
expect "the link to a missing file" "$(drive row-state "$broken")" missing-file
expect "the link to a share that does not exist" "$(drive row-state 'AR PL UMing TW MBE')" missing-file
expect_row_drawn "$working" GOOD.TTE '' working
expect_row_drawn "$broken" "GONE.TTE$missing" broken broken
read -r x y width height < <(drive wait-main)
shoot "$pictures/broken-link.png" "$x" "$y" "$width" "$height"

STATE=missing-file expect_followed "$changed" wine reg add "$key" /v "$changed" /d 'C:\eudc\GONE.TTE' /f
STATE=linked expect_followed "$changed" wine "$eudclink" link "$changed" 'C:\eudc\GOOD.TTE'
STATE=unlinked expect_followed "$changed" wine reg delete "$key" /v "$changed" /f
STATE=unlinked expect_followed "$working" wine reg delete "$key" /f
STATE=linked expect_followed "$working" wine reg add "$key" /v "$working" /d 'C:\eudc\GOOD.TTE' /f
expect "the selection after the changes" "$(drive selection)" 0
stop
exit $((failures > 0))
