#!/usr/bin/env bash
# The main window's painting as the screen shows it, under Xvfb: the sunken frame around
# the list, read pixel by pixel from the real window at start, after a restore and after
# Remove repainted the window; and the list after the selection moved, by keys and by
# mouse, compared with the list before.
#   painting.sh VELTRANE.EXE drive.exe PICTURES-FOLDER     (through wine-prefix.sh run)
program=$1
drive=$2
pictures=$3
source "$(dirname "$0")/helpers.sh"
require_display
mkdir -p "$pictures"
font='AR PL UMing TW'
default=SystemDefaultEUDCFont

# Whether the minimised window shows the program's icon, as its caption's small icon drawn
# over the caption's colour (the colour the picture holds most).
check_minimised_icon() {
    local x y width height background differ
    read -r x y width height < <(drive wait-main)
    shoot "$pictures/minimised.png" "$x" "$y" "$width" "$height"
    background=$(convert "$pictures/minimised.png" -alpha off -depth 8 txt:- |
        awk -F'[,:() ]+' 'NR > 1 { print $3, $4, $5 }' | sort | uniq -c | sort -rn | awk 'NR == 1 { print $2, $3, $4 }')
    # shellcheck disable=SC2086
    differ=$({ drive icon-pixels 16 $background; echo END
        convert "$pictures/minimised.png" -alpha off -depth 8 txt:-; } | awk -f "$(dirname "$0")/icon-placement.awk")
    if [ "$(drive iconic)" = 1 ] && [ "$differ" = 0 ]; then
        pass "minimised: the window (${width}x${height} at $x,$y) shows the program's icon"
    else
        fail "minimised: iconic $(drive iconic), $differ pixels of the icon differ in minimised.png"
    fi
}

# What differs from the frame in a picture of a WIDTH x HEIGHT list and two pixels around
# it, nothing when it is right: grey and black above and to the left, white below and to
# the right, and the dialog's grey in the column and the row just past the list.
frame_errors() {
    convert "$1" txt:- | awk -F'[,:() ]+' -v R=$(($2 + 2)) -v B=$(($3 + 2)) '
        NR == 1 { next }
        {
            x = $1; y = $2; got = $3 "," $4 "," $5; want = ""
            if ((y == 0 && x <= R) || (x == 0 && y >= 1)) want = "128,128,128"
            else if ((y == 1 && x >= 1 && x <= R - 1) || (x == 1 && y >= 2 && y <= B)) want = "0,0,0"
            else if (x == R + 1 || y == B + 1) want = "255,255,255"
            else if ((x == R && y >= 1) || (y == B && x >= 2)) want = "192,192,192"
            if (want != "" && got != want) { n++; if (n <= 3) printf " (%d,%d) is %s, not %s;", x - 2, y - 2, got, want }
        }
        END { if (n) printf " %d pixels wrong", n }'
}
# The frame around the list as the screen shows it; $1 names the moment.
check_frame() {
    local x y width height wrong
    read -r x y width height < <(drive list-rect)
    shoot "$pictures/frame-$1.png" "$((x - 2))" "$((y - 2))" "$((width + 4))" "$((height + 4))"
    wrong=$(frame_errors "$pictures/frame-$1.png" "$width" "$height")
    if [ -z "$wrong" ]; then
        pass "$1: the sunken frame around the list (${width}x${height} at $x,$y)"
    else
        fail "$1: the frame, relative to the list's top-left:$wrong"
    fi
}
expect_list() {
    picture_list "$1"
    if same_pixels "$pictures/list-$1.png" "$pictures/list-$2.png"; then
        pass "$3: the list looks as before"
    else
        fail "$3: the list differs from list-$2.png"
    fi
}

clear_key
link_by_reg "$font" 'C:\eudc\TW.TTE'
start
check_frame start

drive minimize
check_minimised_icon
drive restore
check_frame restored

# Row 0 first: the list is back at its top whichever rows the clicks scrolled to.
drive click-row "$default"
picture_list first
drive key down
drive key down
drive key up
drive key up
expect_list keys first "row 0 again after Down, Down, Up, Up"
drive click-row 'AR PL UMing TW MBE'
drive click-row "$font"
drive click-row "$default"
expect_list mouse first "row 0 again after clicks on two other rows"

drive click-row "$font"
drive press remove
expect_link "$font" none "Remove"
check_frame "after-remove"

stop
exit $((failures > 0))
