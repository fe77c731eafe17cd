#!/usr/bin/env bash
# Runs the real program under Xvfb on a Wine desktop, with one font linked to a working
# file and the others not, keeps a screenshot of its main window and checks that the
# window was painted with the dialog's grey.
#   screenshot.sh VELTRANE.EXE drive.exe OUTPUT.png     (through wine-prefix.sh run)
program=$1
drive=$2
output=$3
source "$(dirname "$0")/helpers.sh"
require_display

mkdir -p "$WINEPREFIX/drive_c/eudc"
/usr/bin/python3 "$(dirname "$0")/../../tools/make_fonts.py" --eudc "$WINEPREFIX/drive_c/eudc/TW.TTE" 5
clear_key
link_by_reg 'AR PL UMing TW' 'C:\eudc\TW.TTE'
start
# The Wine desktop sits at the top-left of the X screen, so its coordinates are the
# screen's.
read -r x y width height < <(drive wait-main)
mkdir -p "$(dirname "$output")"
shoot "$output" "$x" "$y" "$width" "$height"
echo "Screenshot of the main window (${width}x${height} at $x,$y): $output"

# A point inside the dialog, below the group box: the dialog's own surface.
pixel=$(convert "$output" -format "%[fx:int(255*p{20,$((height - 6))}.r)],%[fx:int(255*p{20,$((height - 6))}.g)],%[fx:int(255*p{20,$((height - 6))}.b)]" info:)
expect "the dialog's surface" "$pixel" "192,192,192"
stop
exit $((failures > 0))
