#!/usr/bin/env bash
# The documents' pictures of the characters (scripts/pictures.sh): the character view of
# an EUDC font whose characters are real ones, under Xvfb, and eudclink chart's picture of
# the same file.
#   doc-pictures.sh VELTRANE.EXE drive.exe eudclink.exe FONT FOLDER  (through wine-prefix.sh run)
program=$1
drive=$2
eudclink=$3
font=$4
pictures=$5
source "$(dirname "$0")/helpers.sh"
require_display
mkdir -p "$pictures" "$WINEPREFIX/drive_c/eudc"
cp "$font" "$WINEPREFIX/drive_c/eudc/EUDC.TTE"

expect "eudclink chart" "$(wine "$eudclink" chart 'C:\eudc\EUDC.TTE' 'C:\eudc\chart.png' 2>&1 | tr -d '\r')" \
    "$(/usr/bin/python3 -c 'import sys; from fontTools.ttLib import TTFont; print(len(TTFont(sys.argv[1]).getBestCmap()))' "$font") EUDC characters drawn to C:\\eudc\\chart.png"
cp "$WINEPREFIX/drive_c/eudc/chart.png" "$pictures/chart.png"

working='AR PL UMing TW'
clear_key
link_by_reg "$working" 'C:\eudc\EUDC.TTE'
start
drive click-row "$working"
xdotool key ctrl+e
expect "Ctrl+E on the linked font" "$(drive characters)" view
expect "the first character selected" "$(drive char-shown)" "Unicode U+E000|Big5 FA40"
# shellcheck disable=SC2046
shoot "$pictures/character-view.png" $(drive char-view-rect)
xdotool key Escape
drive char-closed && pass "Escape closed the view"
stop
exit $((failures > 0))
