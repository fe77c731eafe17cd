#!/usr/bin/env bash
# Runs the real program under Xvfb on a Wine desktop, with one font linked and the others
# not, keeps a screenshot of its main window and checks that the window was painted with
# the dialog's grey.
#   screenshot.sh VELTRANE.EXE drive.exe OUTPUT.png     (WINEPREFIX names a prepared prefix)
set -euo pipefail
program=$1
drive=$2
output=$3
source "$(dirname "$0")/under-xvfb.sh"

# One font linked, the others not.
key='HKCU\EUDC\950'
wine reg delete "$key" /f >/dev/null 2>&1 || true
wine reg add "$key" /v 'AR PL UMing TW' /d 'C:\eudc\TW.TTE' /f >/dev/null 2>&1
wine "$program" &
pid=$!
read -r x y width height < <(wine "$drive" wait-main | tr -d '\r')
# The Wine desktop sits at the top-left of the X screen, so its coordinates are the
# screen's. Give the window a moment to paint, then take the picture.
sleep 1
mkdir -p "$(dirname "$output")"
import -window root -crop "${width}x${height}+${x}+${y}" +repage "$output"
echo "Screenshot of the main window (${width}x${height} at $x,$y): $output"

# A point inside the dialog, below the group box: the dialog's own surface.
pixel=$(convert "$output" -format "%[fx:int(255*p{20,$((height - 6))}.r)],%[fx:int(255*p{20,$((height - 6))}.g)],%[fx:int(255*p{20,$((height - 6))}.b)]" info:)
wine "$drive" close close-button
wait $pid
if [ "$pixel" != "192,192,192" ]; then
    echo "FAIL: the dialog's surface is $pixel, not 192,192,192"
    exit 1
fi
echo "ok   the dialog's surface is grey 192,192,192"
