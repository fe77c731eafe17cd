#!/usr/bin/env bash
# The character view of a generated font whose 400 characters each look unlike their
# neighbours (tools/make_fonts.py --eudc), under Xvfb: opened by Ctrl+E and by the system
# menu, refused with the reason for rows whose link cannot work, its cells against cells
# drawn by hand from the same file and against `eudclink chart`'s picture of it, its keys,
# the mouse, and the clipboard after Ctrl+C. The rows and the selected cell as a screen
# reader reads them, from this other process. The codes it shows are those `eudclink chars`
# prints.
#   characters.sh VELTRANE.EXE drive.exe eudclink.exe PICTURES-FOLDER  (through wine-prefix.sh run)
program=$1
drive=$2
eudclink=$3
pictures=$4
source "$(dirname "$0")/helpers.sh"
require_display
mkdir -p "$pictures" "$WINEPREFIX/drive_c/eudc"
font='C:\eudc\CHARS.TTE'
/usr/bin/python3 "$(dirname "$0")/../../tools/make_fonts.py" --eudc "$WINEPREFIX/drive_c/eudc/CHARS.TTE" 400

working='AR PL UMing TW'
broken='AR PL UMing HK'
unlinked='AR PL UMing CN'
cell=36    # a cell's side in pixels
width=576  # 16 cells

echo "== eudclink chars and chart"
# eudclink with a deadline, its output kept in a file rather than a pipe, which a process
# that Wine starts for it (its desktop, its services) could hold open after it ends; read
# as PowerShell reads it, in code page 950, whose EUDC codes are the private use area's.
run_eudclink() {
    local out=$WINEPREFIX/drive_c/eudclink.out
    timeout 60 wine "$eudclink" "$@" >"$out" 2>&1 || echo "FAIL eudclink $* ended with $? (124: gave up after 60 s)"
    as_powershell <"$out" | tr -d '\r'
}
chars=$(run_eudclink chars --tsv "$font")
expect "chars: a line for each character, after the header" "$(wc -l <<<"$chars")" 401
expect "chars: the first" "$(sed -n 2p <<<"$chars")" $'U+E000\tFA40\t\uE000'
# The code page's code of a code point, as eudclink prints it.
big5_of() { grep -m1 "^$1	" <<<"$chars" | cut -f2; }
expect "chart: its report" "$(run_eudclink chart "$font" 'C:\eudc\chart.png')" \
    '400 EUDC characters drawn to C:\eudc\chart.png'
cp "$WINEPREFIX/drive_c/eudc/chart.png" "$pictures/chart.png"
expect "chart: 16 cells of 36 pixels across, 25 rows" "$(identify -format '%w %h' "$pictures/chart.png")" "576 900"
# A path in another code page than the system's: the font is loaded by the path as
# --codepage converts it (あ is 82 A0 in 932, no character in 950).
cp "$WINEPREFIX/drive_c/eudc/CHARS.TTE" "$WINEPREFIX/drive_c/eudc/あ.TTE"
expect "chart --codepage 932 of a Japanese file name" \
    "$(run_eudclink chart --codepage 932 'C:\eudc\あ.TTE' 'C:\eudc\chart932.png')" \
    '400 EUDC characters drawn to C:\eudc\chart932.png'

clear_key
link_by_reg "$working" "$font"
link_by_reg "$broken" 'C:\eudc\GONE.TTE'
start

echo "== Rows as a screen reader hears them"
drive painted
expect "a working link's row" "$(drive acc-row "$working")" "$working, CHARS.TTE"
expect "a link to a missing file's row" "$(drive acc-row "$broken")" "$broken, GONE.TTE（找不到檔案）"
expect "a row without a link" "$(drive acc-row "$unlinked")" "$unlinked, no assigned"
# The row after the working one is the broken one; each move is told as the row is named.
drive click-row "$working"
expect "the row a screen reader is told of after Down" "$(drive heard-after down)" "$broken, GONE.TTE（找不到檔案）"
expect "the row a screen reader is told of after Up" "$(drive heard-after up)" "$working, CHARS.TTE"

echo "== Rows without a working link say why"
drive click-row "$broken"
xdotool key ctrl+e
expect "Ctrl+E on a link to a missing file" "$(drive characters)" "message: 找不到此字型連結的外字集檔案。"
drive click-row "$unlinked"
expect "the system menu's command on a row without a link" "$(drive characters menu)" "message: 此字型沒有連結外字集檔案。"

echo "== The characters of a working link"
drive click-row "$working"
xdotool key ctrl+e
expect "Ctrl+E on a working link" "$(drive characters)" view
expect "the first character selected" "$(drive char-shown)" "Unicode U+E000|Big5 FA40"
expect "the selected cell as a screen reader hears it" "$(drive acc-cell)" $'\uE000, Unicode U+E000, Big5 FA40'
# shellcheck disable=SC2046
shoot "$pictures/view.png" $(drive char-view-rect)

# Nine rows of the page's ten, from its row ROW, without the selection: as drawn by hand
# from the file, and as in eudclink's chart.
expect_cells() {  # WHAT FIRST-CHARACTER NAME ROW
    local x y w h
    read -r x y w h <<<"$(drive char-grid-rect)"
    shoot "$pictures/$3-window.png" "$x" $((y + $4 * cell)) $width $((9 * cell))
    drive draw-cells "$font" EUDC "$2" 400 9 >"$pictures/$3-by-hand.txt"
    convert "$pictures/$3-by-hand.txt" "$pictures/$3-by-hand.png"
    if same_pixels "$pictures/$3-window.png" "$pictures/$3-by-hand.png"; then pass "$1: the cells are as drawn by hand"
    else fail "$1: the cells differ from those drawn by hand ($3-window.png, $3-by-hand.png)"; fi
    convert "$pictures/chart.png" -crop "${width}x$((9 * cell))+0+$(($2 / 16 * cell))" +repage "$pictures/$3-chart.png"
    if same_pixels "$pictures/$3-window.png" "$pictures/$3-chart.png"; then pass "$1: the cells are eudclink chart's"
    else fail "$1: the cells differ from eudclink chart's ($3-window.png, $3-chart.png)"; fi
}
expect_cells "the first page" 16 first-page 1

# Each key, then what the view shows: the code point and the code eudclink gives it.
expect_key() {  # KEY CODE-POINT
    xdotool key "$1"
    expect "$1" "$(drive char-shown "Unicode $2|Big5 $(big5_of "$2")")" "Unicode $2|Big5 $(big5_of "$2")"
}
expect_key Right U+E001
heard=$'\uE001, Unicode U+E001, Big5 FA41'
expect "the cell heard after Right" "$(drive acc-cell "$heard")" "$heard"
expect_key Down U+E011
xdotool key ctrl+c
expect "Ctrl+C" "$(drive clipboard U+E011)" U+E011
expect_key Next U+E0B1
expect_key Prior U+E011
expect_key End U+E18F
# The last page: rows 15 to 24, the selection in the last; rows 15 to 23 compared.
expect_cells "the last page, scrolled to by End" 240 last-page 0
expect_key Home U+E000
expect_key Left U+E000
expect_key Up U+E000

# shellcheck disable=SC2046
xdotool mousemove $(drive char-cell-point 35) click 1
expect "a click on the cell 35" "$(drive char-shown "Unicode U+E023|Big5 FA63")" "Unicode U+E023|Big5 FA63"
xdotool key ctrl+c
expect "Ctrl+C after the click" "$(drive clipboard U+E023)" U+E023
expect "the cell a screen reader is told of after Right" "$(drive heard-after right)" \
    $'\uE024, Unicode U+E024, Big5 FA64'

xdotool key Escape
drive char-closed && pass "Escape closed the view"
expect "the same row selected after it" "$(drive selection)" "$(drive find-row "$working")"
stop
exit $((failures > 0))
