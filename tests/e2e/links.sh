#!/usr/bin/env bash
# Links made, replaced and removed through the real program and the real open-file
# dialog, under Xvfb. The registry is read back with Wine's reg, a client we did not
# write; a row's look is compared with the same row of a program that was started with
# that link already in the registry.
#   links.sh VELTRANE.EXE drive.exe PICTURES-FOLDER     (WINEPREFIX names a prepared prefix)
set -uo pipefail
program=$1
drive=$2
pictures=$3

source "$(dirname "$0")/under-xvfb.sh"
mkdir -p "$pictures"

key='HKCU\EUDC\950'
IDC_MODIFY=1007
IDC_REMOVE=1008
# Rows: 0 is the system-wide default; Wine lists the UMing families CN, TW, HK, TW MBE.
DEFAULT_ROW=0 OTHER_ROW=1 FONT_ROW=2 CASE_ROW=3
font='AR PL UMing TW'

# Files for the open-file dialog, which accepts only files that exist.
mkdir -p "$WINEPREFIX/drive_c/eudc"
for file in EUDC.TTE DEFAULT.TTF OTHER.tte REFUSED.TTC; do : >"$WINEPREFIX/drive_c/eudc/$file"; done


# The link of a value name as reg shows it: "REG_SZ<TAB>data", or "none".
link_of() {
    local line
    line=$(wine reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | grep -F "    $1    ") || { echo none; return; }
    line=${line#    "$1"    }
    echo "${line%%    *}	${line#*    }"
}
# Waits up to five seconds for the link of $1 to become $2.
expect_link() {
    local got
    for _ in $(seq 50); do
        got=$(link_of "$1")
        [ "$got" = "$2" ] && break
        sleep 0.1
    done
    if [ "$got" = "$2" ]; then pass "$3: reg shows '$1' as '$2'"; else fail "$3: reg shows '$1' as '$got', not '$2'"; fi
}
# A picture of one row, taken while another row is selected and has the focus.
picture_row() {
    local x y width height
    drive click-row "$OTHER_ROW"
    sleep 0.5
    read -r x y width height < <(drive row-rect "$1")
    import -window root -crop "${width}x${height}+${x}+${y}" +repage "$pictures/$2.png"
}
same_picture() {
    same_pixels "$pictures/$1.png" "$pictures/$2.png"
}
# What reg shows of the whole key, to compare before and after.
key_contents() {
    wine reg query "$key" 2>/dev/null | tr -d '\r' | grep '    REG_' | sort
}
# The right-hand part of each row, where the link's text is, while another row is selected.
picture_link_area() {
    local x y width height
    read -r x y width height < <(drive row-rect "$1")
    import -window root -crop "120x${height}+$((x + width - 120))+${y}" +repage "$pictures/link-area-$1.png"
}
# Every row shows the same light-grey text (drawn with grey edges) and nothing dark: "no assigned" everywhere.
expect_no_links_shown() {
    local row shades
    drive click-row $OTHER_ROW
    sleep 0.5
    picture_link_area 0
    drive click-row $DEFAULT_ROW
    sleep 0.5
    for row in 1 2 3 4; do picture_link_area $row; done
    for row in 1 2 3 4; do
        same_pixels "$pictures/link-area-0.png" "$pictures/link-area-$row.png" ||
            { fail "$1: row $row's link text differs from row 0's"; return; }
    done
    shades=$(convert "$pictures/link-area-0.png" -colorspace gray -depth 8 txt:- |
        awk -F'[,:() ]+' 'NR > 1 { if ($3 < 150) dark++; else if ($3 < 255) light++ } END { print dark + 0, light + 0 }')
    if [ "${shades%% *}" = 0 ] && [ "${shades##* }" -gt 50 ]; then
        pass "$1: every row shows the same light-grey text, no file name"
    else
        fail "$1: dark and light-grey pixels of the link text: $shades"
    fi
}

expect_row() {
    picture_row "$1" "$2"
    if same_picture "$2" "$3"; then pass "$4: the row looks as $3"; else fail "$4: the row differs from $3"; fi
}

# References: rows without links, and rows with links that reg wrote.
wine reg delete "$key" /f >/dev/null 2>&1
start
if wine reg query "$key" >/dev/null 2>&1; then pass "start without the key: the key exists now"; else fail "start without the key: no key"; fi
keyClass=$(drive key-class)
if [ "$keyClass" = REG_SZ ]; then pass "start without the key: its class is REG_SZ"; else fail "start without the key: its class is '$keyClass'"; fi
expect_no_links_shown "start without the key"
picture_row $FONT_ROW font-unlinked
picture_row $DEFAULT_ROW default-unlinked
picture_row $CASE_ROW case-unlinked
stop
wine reg add "$key" /v "$font" /d 'C:\eudc\EUDC.TTE' /f >/dev/null 2>&1
wine reg add "$key" /v SystemDefaultEUDCFont /d 'C:\eudc\DEFAULT.TTF' /f >/dev/null 2>&1
wine reg add "$key" /v 'AR PL UMing HK' /d 'C:\eudc\OTHER.tte' /f >/dev/null 2>&1
start
picture_row $FONT_ROW font-linked
picture_row $DEFAULT_ROW default-linked
picture_row $CASE_ROW case-linked
stop
for row in font default; do
    if same_picture $row-linked $row-unlinked; then
        fail "links written by reg: the $row row looks as without its link"
    else
        pass "links written by reg: the $row row shows its link"
    fi
done

# What other programs may leave in the key. Wine's registry enumerates values by name,
# so the oversized ones come before the links that must still show.
hostile=$WINEPREFIX/drive_c/hostile.reg
{
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\EUDC\\950]\r\n'
    printf '"%s"="C:\\\\LONGNAME.TTE"\r\n' "$(printf 'A%.0s' $(seq 300))"
    printf '"AR PL UMing CN"="C:\\\\%s\\\\LAST.TTE"\r\n' "$(printf 'D%.0s' $(seq 247))"
    printf '"ar pl uming hk"="C:\\\\eudc\\\\LOWER.TTE"\r\n'
    printf '"Number"=dword:00000041\r\n"NoNul"=hex:43,3a,5c,41\r\n"Empty"=""\r\n"Folder"="C:\\\\FONTS\\\\"\r\n'
    seq 10000 | awk '{ printf "\"Font %d\"=\"C:\\\\F%d.TTE\"\r\n", $1, $1 }'
    printf '"%s"="C:\\\\eudc\\\\EUDC.TTE"\r\n"SystemDefaultEUDCFont"="C:\\\\eudc\\\\DEFAULT.TTF"\r\n' "$font"
} >"$hostile"
wine reg delete "$key" /f >/dev/null 2>&1
wine reg import 'C:\hostile.reg' >/dev/null 2>&1
start
expect_row $FONT_ROW font-hostile font-linked "10,009 values of every shape"
expect_row $DEFAULT_ROW default-hostile default-linked "10,009 values of every shape"
# "ar pl uming hk" is the link of "AR PL UMing HK": its row shows LOWER.TTE, Modify
# replaces that value under its own name, and Remove deletes it.
picture_row $CASE_ROW case-hostile
if same_picture case-hostile case-unlinked || same_picture case-hostile case-linked; then
    fail "a value named in another letter case: the row does not show LOWER.TTE"
else
    pass "a value named in another letter case: the row shows a link of its own"
fi
drive click-row $CASE_ROW
drive press $IDC_MODIFY
drive choose-file 'C:\eudc\OTHER.tte'
expect_link "ar pl uming hk" "REG_SZ	C:\\eudc\\OTHER.tte" "Modify on the row of a value named in another letter case"
count=$(wine reg query "$key" | tr -d '\r' | grep -ic '^    ar pl uming hk    ')
if [ "$count" = 1 ]; then pass "Modify on that row: one value for the font"; else fail "Modify on that row: $count values for the font"; fi
expect_row $CASE_ROW case-modified case-linked "Modify on the row of a value named in another letter case"
drive click-row $CASE_ROW
drive press $IDC_REMOVE
expect_link "ar pl uming hk" none "Remove on the row of a value named in another letter case"
stop
values=$(wine reg query "$key" | tr -d '\r' | grep -c '    REG_')
if [ "$values" = 10008 ]; then pass "the other 10,008 values are still there"; else fail "$values values left, not 10,008"; fi

# Modify by button on a font row, and by double-click on row 0. A link of a font that is
# not installed must outlive everything that follows.
wine reg delete "$key" /f >/dev/null 2>&1
wine reg add "$key" /v 'Not Installed' /d 'C:\eudc\GONE.TTE' /f >/dev/null 2>&1
start
drive click-row $FONT_ROW
drive press $IDC_MODIFY
drive choose-file 'C:\eudc\EUDC.TTE'
expect_link "$font" "REG_SZ	C:\\eudc\\EUDC.TTE" "Modify"
expect_row $FONT_ROW font-modified font-linked "Modify"
drive double-click-row $DEFAULT_ROW
drive choose-file 'C:\eudc\DEFAULT.TTF'
expect_link SystemDefaultEUDCFont "REG_SZ	C:\\eudc\\DEFAULT.TTF" "double-click on row 0"
expect_row $DEFAULT_ROW default-modified default-linked "double-click on row 0"
stop

# The links outlive the program.
start
expect_row $FONT_ROW font-restarted font-linked "after a restart"

# Nothing changes for a refused extension, a cancelled dialog or no selection.
drive click-row $FONT_ROW
drive press $IDC_MODIFY
drive choose-file 'C:\eudc\REFUSED.TTC'
drive click-row $FONT_ROW
drive press $IDC_MODIFY
drive cancel-file
drive unselect
drive press $IDC_MODIFY
drive no-file-dialog 1000 && pass "no selection: Modify opens no dialog" || fail "no selection: Modify opened a dialog"
drive press $IDC_REMOVE
sleep 0.5
expect_link "$font" "REG_SZ	C:\\eudc\\EUDC.TTE" "refused, cancelled, unselected"
expect_link SystemDefaultEUDCFont "REG_SZ	C:\\eudc\\DEFAULT.TTF" "refused, cancelled, unselected"

# Replace both links, by double-click on the font row and by button on row 0.
drive double-click-row $FONT_ROW
drive choose-file 'C:\eudc\OTHER.tte'
expect_link "$font" "REG_SZ	C:\\eudc\\OTHER.tte" "double-click on a linked font"
drive click-row $DEFAULT_ROW
drive press $IDC_MODIFY
drive choose-file 'C:\eudc\EUDC.TTE'
expect_link SystemDefaultEUDCFont "REG_SZ	C:\\eudc\\EUDC.TTE" "Modify on row 0 when linked"

# While the open-file dialog is open the main dialog stays usable: the link goes to the row
# selected when the open-file dialog closes.
drive click-row $FONT_ROW
drive press $IDC_MODIFY
drive file-dialog-rect >/dev/null
drive click-row $OTHER_ROW
drive choose-file 'C:\eudc\DEFAULT.TTF'
expect_link 'AR PL UMing CN' "REG_SZ	C:\\eudc\\DEFAULT.TTF" "another row selected while the open-file dialog was open"
expect_link "$font" "REG_SZ	C:\\eudc\\OTHER.tte" "another row selected while the open-file dialog was open: the first row"
drive click-row $OTHER_ROW
drive press $IDC_REMOVE
expect_link 'AR PL UMing CN' none "Remove"

# Remove where there is no link changes nothing.
before=$(key_contents)
drive click-row $CASE_ROW
drive press $IDC_REMOVE
sleep 1
if [ "$(key_contents)" = "$before" ]; then pass "Remove on a row without a link: the key is unchanged"; else fail "Remove on a row without a link changed the key"; fi

# Remove both links.
drive click-row $FONT_ROW
drive press $IDC_REMOVE
expect_link "$font" none "Remove"
expect_row $FONT_ROW font-removed font-unlinked "Remove"
drive click-row $DEFAULT_ROW
drive press $IDC_REMOVE
expect_link SystemDefaultEUDCFont none "Remove on row 0"
expect_row $DEFAULT_ROW default-removed default-unlinked "Remove on row 0"
stop
expect_link 'Not Installed' "REG_SZ	C:\\eudc\\GONE.TTE" "every command on the installed fonts, the link of a font not installed"

# Another program deletes the key while the window is open: Modify makes it again and
# writes the link. Then no one may open the key: Modify says so, and so does the reload
# after it, and the link stays as it was.
start
wine reg delete "$key" /f >/dev/null 2>&1
drive click-row $FONT_ROW
drive press $IDC_MODIFY
drive choose-file 'C:\eudc\EUDC.TTE'
expect_link "$font" "REG_SZ	C:\\eudc\\EUDC.TTE" "Modify after the key was deleted"
keyClass=$(drive key-class)
if [ "$keyClass" = REG_SZ ]; then pass "Modify after the key was deleted: its class is REG_SZ"; else fail "Modify after the key was deleted: its class is '$keyClass'"; fi
drive deny-key
drive click-row $FONT_ROW
drive press $IDC_MODIFY
drive choose-file 'C:\eudc\OTHER.tte'
for step in "the change" "the reload"; do
    shown=$(drive message)
    if [ "$shown" = "VELTRANE: Access Registry Database failed!" ]; then
        pass "Modify on a key no one may open: $step is reported"
    else
        fail "Modify on a key no one may open: $step shows '$shown'"
    fi
done
drive allow-key
expect_link "$font" "REG_SZ	C:\\eudc\\EUDC.TTE" "Modify on a key no one may open"
stop

exit $((failures > 0))
