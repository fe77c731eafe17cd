#!/usr/bin/env bash
# Links made, replaced and removed through the real program and the real open-file
# dialog, under Xvfb. The registry is read back with Wine's reg, a client we did not
# write; a row's look is compared with the same row of a program that was started with
# that link already in the registry.
#   links.sh VELTRANE.EXE drive.exe PICTURES-FOLDER     (through wine-prefix.sh run)
program=$1
drive=$2
pictures=$3
source "$(dirname "$0")/helpers.sh"
require_display
mkdir -p "$pictures"

default=SystemDefaultEUDCFont  # row 0, the system-wide default, by the value it links
font='AR PL UMing TW'
other='AR PL UMing CN'
case_font='AR PL UMing HK'

# Files for the open-file dialog, which accepts only files that exist.
mkdir -p "$WINEPREFIX/drive_c/eudc"
for file in EUDC.TTE DEFAULT.TTF OTHER.tte REFUSED.TTC; do : >"$WINEPREFIX/drive_c/eudc/$file"; done

# What reg shows of the whole key, to compare before and after.
key_contents() {
    wine reg query "$key" 2>/dev/null | tr -d '\r' | grep '    REG_' | sort
}
# The right-hand part of the row $1, where the link's text is, as link-area-$2.png.
picture_link_area() {
    local x y width height
    read -r x y width height < <(drive row-rect "$1")
    shoot "$pictures/link-area-$2.png" "$((x + width - 120))" "$y" 120 "$height"
}
# Every row shows the same light-grey text (drawn with grey edges) and nothing dark: "no assigned" everywhere.
expect_no_links_shown() {
    local row shades rows
    mapfile -t rows < <(drive rows)
    drive click-row "$other"
    picture_link_area "${rows[0]}" 0
    drive click-row "${rows[0]}"
    for row in "${!rows[@]}"; do
        [ "$row" = 0 ] && continue
        picture_link_area "${rows[$row]}" "$row"
        same_pixels "$pictures/link-area-0.png" "$pictures/link-area-$row.png" ||
            { fail "$1: the link text of '${rows[$row]}' differs from row 0's"; return; }
    done
    shades=$(convert "$pictures/link-area-0.png" -colorspace gray -depth 8 txt:- |
        awk -F'[,:() ]+' 'NR > 1 { if ($3 < 150) dark++; else if ($3 < 255) light++ } END { print dark + 0, light + 0 }')
    if [ "${#rows[@]}" -gt 4 ] && [ "${shades%% *}" = 0 ] && [ "${shades##* }" -gt 50 ]; then
        pass "$1: every row of ${#rows[@]} shows the same light-grey text, no file name"
    else
        fail "$1: ${#rows[@]} rows; dark and light-grey pixels of the link text: $shades"
    fi
}
# A picture of one row, taken while another row is selected and has the focus.
picture_other_selected() { picture_row "$1" "$2" "$other"; }
expect_row() {
    picture_other_selected "$1" "$2"
    if same_pixels "$pictures/$2.png" "$pictures/$3.png"; then pass "$4: the row looks as $3"; else fail "$4: the row differs from $3"; fi
}

# References: rows without links, and rows with links that reg wrote.
clear_key
start
if wine reg query "$key" >/dev/null 2>&1; then pass "start without the key: the key exists now"; else fail "start without the key: no key"; fi
expect "start without the key: its class" "$(drive key-class)" REG_SZ
expect_no_links_shown "start without the key"
picture_other_selected "$font" font-unlinked
picture_other_selected "$default" default-unlinked
picture_other_selected "$case_font" case-unlinked
stop
link_by_reg "$font" 'C:\eudc\EUDC.TTE'
link_by_reg "$default" 'C:\eudc\DEFAULT.TTF'
link_by_reg "$case_font" 'C:\eudc\OTHER.tte'
start
picture_other_selected "$font" font-linked
picture_other_selected "$default" default-linked
picture_other_selected "$case_font" case-linked
stop
for row in font default; do
    if same_pixels "$pictures/$row-linked.png" "$pictures/$row-unlinked.png"; then
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
clear_key
wine reg import 'C:\hostile.reg' >/dev/null 2>&1
start
expect_row "$font" font-hostile font-linked "10,009 values of every shape"
expect_row "$default" default-hostile default-linked "10,009 values of every shape"
# "ar pl uming hk" is the link of "AR PL UMing HK": its row shows LOWER.TTE, Modify
# replaces that value under its own name, and Remove deletes it.
picture_other_selected "$case_font" case-hostile
if same_pixels "$pictures/case-hostile.png" "$pictures/case-unlinked.png" ||
    same_pixels "$pictures/case-hostile.png" "$pictures/case-linked.png"; then
    fail "a value named in another letter case: the row does not show LOWER.TTE"
else
    pass "a value named in another letter case: the row shows a link of its own"
fi
drive click-row "$case_font"
drive press modify
drive choose-file 'C:\eudc\OTHER.tte'
expect_link "ar pl uming hk" 'C:\eudc\OTHER.tte' "Modify on the row of a value named in another letter case"
count=$(wine reg query "$key" | tr -d '\r' | grep -ic '^    ar pl uming hk    ')
if [ "$count" = 1 ]; then pass "Modify on that row: one value for the font"; else fail "Modify on that row: $count values for the font"; fi
expect_row "$case_font" case-modified case-linked "Modify on the row of a value named in another letter case"
drive click-row "$case_font"
drive press remove
expect_link "ar pl uming hk" none "Remove on the row of a value named in another letter case"
stop
values=$(wine reg query "$key" | tr -d '\r' | grep -c '    REG_')
if [ "$values" = 10008 ]; then pass "the other 10,008 values are still there"; else fail "$values values left, not 10,008"; fi

# Modify by button on a font row, and by double-click on row 0. A link of a font that is
# not installed must outlive everything that follows.
clear_key
link_by_reg 'Not Installed' 'C:\eudc\GONE.TTE'
start
drive click-row "$font"
drive press modify
drive choose-file 'C:\eudc\EUDC.TTE'
expect_link "$font" 'C:\eudc\EUDC.TTE' "Modify"
expect_row "$font" font-modified font-linked "Modify"
drive double-click-row "$default"
drive choose-file 'C:\eudc\DEFAULT.TTF'
expect_link "$default" 'C:\eudc\DEFAULT.TTF' "double-click on row 0"
expect_row "$default" default-modified default-linked "double-click on row 0"
stop

# The links outlive the program.
start
expect_row "$font" font-restarted font-linked "after a restart"

# Nothing changes for a refused extension, a cancelled dialog or no selection.
drive click-row "$font"
drive press modify
drive choose-file 'C:\eudc\REFUSED.TTC'
drive click-row "$font"
drive press modify
drive cancel-file
drive unselect
drive press modify
drive no-file-dialog && pass "no selection: Modify opens no dialog" || fail "no selection: Modify opened a dialog"
drive press remove
expect_link "$font" 'C:\eudc\EUDC.TTE' "refused, cancelled, unselected"
expect_link "$default" 'C:\eudc\DEFAULT.TTF' "refused, cancelled, unselected"

# Replace both links, by double-click on the font row and by button on row 0.
drive double-click-row "$font"
drive choose-file 'C:\eudc\OTHER.tte'
expect_link "$font" 'C:\eudc\OTHER.tte' "double-click on a linked font"
drive click-row "$default"
drive press modify
drive choose-file 'C:\eudc\EUDC.TTE'
expect_link "$default" 'C:\eudc\EUDC.TTE' "Modify on row 0 when linked"

# While the open-file dialog is open the main dialog stays usable: the link goes to the row
# selected when the open-file dialog closes.
drive click-row "$font"
drive press modify
drive click-row "$other"
drive choose-file 'C:\eudc\DEFAULT.TTF'
expect_link "$other" 'C:\eudc\DEFAULT.TTF' "another row selected while the open-file dialog was open"
expect_link "$font" 'C:\eudc\OTHER.tte' "another row selected while the open-file dialog was open: the first row"
drive click-row "$other"
drive press remove
expect_link "$other" none "Remove"

# Remove where there is no link changes nothing.
before=$(key_contents)
drive click-row "$case_font"
drive press remove
if [ "$(key_contents)" = "$before" ]; then pass "Remove on a row without a link: the key is unchanged"; else fail "Remove on a row without a link changed the key"; fi

# Remove both links.
drive click-row "$font"
drive press remove
expect_link "$font" none "Remove"
expect_row "$font" font-removed font-unlinked "Remove"
drive click-row "$default"
drive press remove
expect_link "$default" none "Remove on row 0"
expect_row "$default" default-removed default-unlinked "Remove on row 0"
stop
expect_link 'Not Installed' 'C:\eudc\GONE.TTE' "every command on the installed fonts, the link of a font not installed"

# Another program deletes the key while the window is open: Modify makes it again and
# writes the link. Then no one may open the key: Modify says so, and so does the reload
# after it, and the link stays as it was.
start
clear_key
drive click-row "$font"
drive press modify
drive choose-file 'C:\eudc\EUDC.TTE'
expect_link "$font" 'C:\eudc\EUDC.TTE' "Modify after the key was deleted"
expect "Modify after the key was deleted: its class" "$(drive key-class)" REG_SZ
drive deny-key
drive click-row "$font"
drive press modify
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
expect_link "$font" 'C:\eudc\EUDC.TTE' "Modify on a key no one may open"
stop

exit $((failures > 0))
