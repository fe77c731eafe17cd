#!/usr/bin/env bash
# The main window, its About box and the character view at the display scale DPI, under
# Xvfb, as laptops set to 125, 150 and 200 percent show them: set by the prefix's
# LogPixels before the program starts. drive.exe checks from outside that every control
# lies inside its dialog and beside the others, that no text is cut off, and that the
# rows, their item picture and the grid's cells grew with the text. Under Wine's System
# font, wider than Windows', the templates show a few such problems at 96 DPI already
# (the About box's title wraps): the scale may add none. Keeps pictures of the window,
# the About box and the character view.
#   scale.sh VELTRANE.EXE drive.exe DPI PICTURES-FOLDER  (through wine-prefix.sh run)
program=$1
drive=$2
dpi=$3
pictures=$4
source "$(dirname "$0")/helpers.sh"
require_display
mkdir -p "$pictures" "$WINEPREFIX/drive_c/eudc"

/usr/bin/python3 "$(dirname "$0")/../../tools/make_fonts.py" --eudc "$WINEPREFIX/drive_c/eudc/TW.TTE" 40
clear_key
link_by_reg 'AR PL UMing TW' 'C:\eudc\TW.TTE'
link_by_reg 'AR PL UMing HK' 'C:\eudc\GONE.TTE'

# What is wrong with each dialog at the scale $1, a line each, kept in
# $pictures/layout-$1.txt; pictures of the dialogs but at 96 DPI.
lay_out_at() {
    local scale=$1
    use_scale "$scale"
    start
    expect "the scale the program sees" "$(drive dpi)" "$scale"
    {
        drive layout main
        drive press about
        # shellcheck disable=SC2046
        [ "$scale" = 96 ] || shoot "$pictures/about-box-$scale.png" $(drive about-rect)
        drive layout about
        xdotool key Escape
        drive about-closed
        drive click-row 'AR PL UMing TW'
        xdotool key ctrl+e
        drive characters >/dev/null
        drive layout characters
        # shellcheck disable=SC2046
        [ "$scale" = 96 ] || shoot "$pictures/character-view-$scale.png" $(drive char-view-rect)
        xdotool key Escape
        drive char-closed
        # shellcheck disable=SC2046
        [ "$scale" = 96 ] || shoot "$pictures/main-window-$scale.png" $(drive wait-main)
    } >"$pictures/layout-$scale.txt"
    stop
}
# The kinds of problem in a layout file, their sizes left out.
kinds() { sed 's/[0-9]\+/N/g' "$pictures/layout-$1.txt" | LC_ALL=C sort -u; }

echo "== At 96 DPI"
lay_out_at 96
echo "== At $dpi DPI"
lay_out_at "$dpi"
added=$(LC_ALL=C comm -13 <(kinds 96) <(kinds "$dpi"))
if [ -z "$added" ]; then pass "at $dpi DPI, nothing outside a dialog, over another or cut off that is not so at 96"
else fail "at $dpi DPI, what is not so at 96 (all of it in $pictures/layout-$dpi.txt):"$'\n'"$added"; fi
echo "What both show under Wine's System font:"
sed 's/^/     /' "$pictures/layout-96.txt"
exit $((failures > 0))
