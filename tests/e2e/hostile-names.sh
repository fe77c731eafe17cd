#!/usr/bin/env bash
# Fonts whose names hold "&", "@" inside, and double-byte characters whose second byte
# is 0x5C, the backslash's (許功蓋 is B3 5C A5 5C BB 5C in code page 950), linked and
# unlinked through the real program under Xvfb. The fonts are generated into the
# prefix; the registry is read back with Wine's reg, whose output is in code page 950,
# so that names and data are compared byte for byte. Values that other programs left
# beside them, some with nearly the same names, must come through unchanged.
#   hostile-names.sh VELTRANE.EXE drive.exe PICTURES-FOLDER  (through wine-prefix.sh run)
program=$1
drive=$2
pictures=$3
tools=$(cd "$(dirname "$0")/../../tools" && pwd)
source "$(dirname "$0")/helpers.sh"
require_display
mkdir -p "$pictures"

fonts=('A&B Font' 'Mid@Font' '許功蓋')
dbcs_file='C:\eudc\功.TTE'  # 功 is A5 5C: only the real backslash before it ends the folder

/usr/bin/python3 "$tools/make_fonts.py" "$WINEPREFIX/drive_c/windows/Fonts" "${fonts[@]/%/=big5}" ||
    { echo "FAIL the fonts could not be made"; exit 1; }
mkdir -p "$WINEPREFIX/drive_c/eudc"
/usr/bin/python3 "$tools/make_fonts.py" --eudc "$WINEPREFIX/drive_c/eudc/功.TTE" 1

big5() { printf '%s' "$1" | iconv -f UTF-8 -t CP950; }
# The key's values as reg lists them, one "    NAME    TYPE    DATA" line each, sorted.
values() { wine reg query "$key" 2>/dev/null | tr -d '\r' | LC_ALL=C grep -a '    REG_' | LC_ALL=C sort; }
# A picture of the row $1, taken while row 0 is selected.
picture_font_row() { picture_row "$1" "$2" SystemDefaultEUDCFont; }
expect_values() {
    local got
    got=$(values)
    if [ "$got" = "$1" ]; then pass "$2"; else fail "$2: reg lists"$'\n'"$got"; fi
}

# References: each font's row without a link, with a link to 功.TTE written by reg, and
# with one to what a cut inside 功 would leave.
clear_key
start
for font in "${fonts[@]}"; do
    if row=$(drive find-row "$font"); then pass "'$font' is listed, row $row"; else fail "'$font' is not listed"; fi
done
if drive find-row '@Mid@Font' >/dev/null 2>&1; then fail "the vertical '@Mid@Font' is listed"; else pass "the vertical '@Mid@Font' is not listed"; fi
for index in "${!fonts[@]}"; do picture_font_row "${fonts[$index]}" "unlinked-$index"; done
# The ampersand is drawn as it is: the row equals one drawn by hand with no mnemonics.
expect_drawn_by_hand() {
    drive draw-row "${fonts[0]}" ${2:+"$2"} >"$pictures/by-hand-$1.txt"
    convert "$pictures/by-hand-$1.txt" "$pictures/by-hand-$1.png"
    same_pixels "$pictures/$1-0.png" "$pictures/by-hand-$1.png" &&
        pass "'${fonts[0]}' $3: the row shows its name as it is" ||
        fail "'${fonts[0]}' $3: the row differs from the one drawn by hand without mnemonics"
}
expect_drawn_by_hand unlinked '' unlinked
stop
# Pictures "$2-INDEX" of each font's row, every font linked by reg to $1.
picture_rows_linked_to() {
    local font index
    for font in "${fonts[@]}"; do link_by_reg "$font" "$1"; done
    start
    for index in "${!fonts[@]}"; do picture_font_row "${fonts[$index]}" "$2-$index"; done
    stop
}
picture_rows_linked_to "$dbcs_file" dbcs
picture_rows_linked_to 'C:\eudc\.TTE' cut
for index in "${!fonts[@]}"; do
    if same_pixels "$pictures/dbcs-$index.png" "$pictures/cut-$index.png"; then
        fail "'${fonts[$index]}': the row shows the file name cut inside 功"
    else
        pass "'${fonts[$index]}': the link shows whole, not cut inside 功"
    fi
done

# What other programs left: names that nearly match, the vertical variant's, a
# trailing backslash after the 0x5C bytes.
others=$WINEPREFIX/drive_c/others.reg
{
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\EUDC\\950]\r\n'
    printf '"許功"="C:\\\\eudc\\\\PART.TTE"\r\n'
    printf '"許功蓋\\\\"="C:\\\\eudc\\\\TRAILING.TTE"\r\n'
    printf '"許功蓋 "="C:\\\\eudc\\\\SPACE.TTE"\r\n'
    printf '"@Mid@Font"="C:\\\\eudc\\\\VERTICAL.TTE"\r\n'
    printf '"Mid"="C:\\\\eudc\\\\MID.TTE"\r\n'
    printf '"AB Font"="C:\\\\eudc\\\\AB.TTE"\r\n'
    printf '"A&&B Font"="C:\\\\eudc\\\\AMPAMP.TTE"\r\n'
} | iconv -f UTF-8 -t CP950 >"$others"
clear_key
wine reg import 'C:\others.reg' >/dev/null 2>&1
before=$(values)
[ "$(wc -l <<<"$before")" = 7 ] || fail "reg import left $(wc -l <<<"$before") values, not 7"

start
for index in "${!fonts[@]}"; do
    font=${fonts[$index]}
    drive click-row "$font"
    drive press modify
    drive choose-file "$dbcs_file"
    drive value "$font" "$dbcs_file" >/dev/null
    linked=$(printf '    %s    REG_SZ    %s' "$(big5 "$font")" "$(big5 "$dbcs_file")")
    expect_values "$(LC_ALL=C sort <<<"$before"$'\n'"$linked")" \
        "Modify on '$font': one value, named with the font's bytes, the others unchanged"
    picture_font_row "$font" "modified-$index"
    [ "$index" = 0 ] && expect_drawn_by_hand modified '功.TTE' "linked to 功.TTE"
    same_pixels "$pictures/modified-$index.png" "$pictures/dbcs-$index.png" &&
        pass "Modify on '$font': the row shows the file's name" || fail "Modify on '$font': the row differs from its linked look"
    drive click-row "$font"
    drive press remove
    drive value "$font" none >/dev/null
    expect_values "$before" "Remove on '$font': that value deleted, the others unchanged"
    picture_font_row "$font" "removed-$index"
    same_pixels "$pictures/removed-$index.png" "$pictures/unlinked-$index.png" &&
        pass "Remove on '$font': the row shows no link" || fail "Remove on '$font': the row differs from its unlinked look"
done
stop

exit $((failures > 0))
