#!/usr/bin/env bash
# The documents' pictures of the characters (scripts/pictures.sh): the character view of
# an EUDC font whose characters are real ones, under Xvfb, and eudclink chart's picture of
# the same file; given a display scale DPI other than 96, the main window and the
# character view at that scale instead.
#   doc-pictures.sh VELTRANE.EXE drive.exe eudclink.exe FONT FOLDER [DPI]  (through wine-prefix.sh run)
program=$1
drive=$2
eudclink=$3
font=$4
pictures=$5
dpi=${6:-96}
source "$(dirname "$0")/helpers.sh"
require_display
mkdir -p "$pictures" "$WINEPREFIX/drive_c/eudc"
cp "$font" "$WINEPREFIX/drive_c/eudc/EUDC.TTE"

if [ "$dpi" = 96 ]; then
    expect "eudclink chart" "$(wine "$eudclink" chart 'C:\eudc\EUDC.TTE' 'C:\eudc\chart.png' 2>&1 | tr -d '\r')" \
        "$(/usr/bin/python3 -c 'import sys; from fontTools.ttLib import TTFont; print(len(TTFont(sys.argv[1]).getBestCmap()))' "$font") EUDC characters drawn to C:\\eudc\\chart.png"
    cp "$WINEPREFIX/drive_c/eudc/chart.png" "$pictures/chart.png"
else
    use_scale "$dpi"
fi

working='AR PL UMing TW'
clear_key
link_by_reg "$working" 'C:\eudc\EUDC.TTE'
start
drive click-row "$working"
xdotool key ctrl+e
expect "Ctrl+E on the linked font" "$(drive characters)" view
expect "the first character selected" "$(drive char-shown)" "Unicode U+E000|Big5 FA40"
suffix=
[ "$dpi" = 96 ] || suffix=-$dpi
# shellcheck disable=SC2046
shoot "$pictures/character-view$suffix.png" $(drive char-view-rect)
xdotool key Escape
drive char-closed && pass "Escape closed the view"
# shellcheck disable=SC2046
[ "$dpi" = 96 ] || shoot "$pictures/main-window$suffix.png" $(drive wait-main)
stop
exit $((failures > 0))
