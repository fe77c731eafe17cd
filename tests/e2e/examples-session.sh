#!/usr/bin/env bash
# The session whose output the documents show (scripts/examples.sh compares them): a
# user's links made, listed, checked, broken and mended, kept and put back, carried to a
# second machine on a USB stick, and a font file's characters. Two prefixes stand for the
# two machines: this one and a copy of the base beside it, each with the same generated
# fonts and none of the host's; D: on both is one folder, the stick. Every path is fixed (C:\eudc\..., D:\...)
# and the fonts are generated with a fixed date, so that the output is the same on every
# run. Each example goes into FOLDER/NAME.txt: the command lines as typed at a prompt
# ("> eudclink ..."), each followed by what it printed, as PowerShell reads it; the
# exit status as PowerShell shows it ($LASTEXITCODE).
#   examples-session.sh eudclink.exe BASE FOLDER      (through wine-prefix.sh run)
eudclink=$1
program=$1
base=$2
made=$3
source "$(dirname "$0")/helpers.sh"
unset DISPLAY
# fontTools stamps the fonts with this date instead of today's.
export SOURCE_DATE_EPOCH=1767225600
make_fonts() { /usr/bin/python3 "$(dirname "$0")/../../tools/make_fonts.py" "$@"; }

first=$WINEPREFIX
second=$WINEPREFIX-second
stick=$WINEPREFIX-stick
fonts=$WINEPREFIX-fonts
end_second() { WINEPREFIX=$second wineserver -k >/dev/null 2>&1; rm -rf "$second" "$stick" "$fonts"; }
trap end_second EXIT
rm -rf "$second" "$stick" "$fonts"
cp -a "$base" "$second"
WINEPREFIX=$second wineserver -p60 >/dev/null 2>&1
WINEPREFIX=$second wine wineboot </dev/null >/dev/null 2>&1
mkdir -p "$stick"
# The fonts of a Traditional Chinese Windows, by name, and none of this machine's own:
# fontconfig, which Wine asks for the system's fonts, is shown only a folder of generated
# ones, and each prefix forgets the fonts it listed before, which it keeps in its registry.
make_fonts "$fonts" '新細明體=big5' '標楷體=big5' '微軟正黑體=big5' >/dev/null
printf '<fontconfig><dir>%s</dir><cachedir>%s/cache</cachedir></fontconfig>\n' "$fonts" "$fonts" >"$fonts/fonts.conf"
export FONTCONFIG_FILE=$fonts/fonts.conf
forget_fonts() {
    local listed='HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' name
    wine reg query "$listed" 2>/dev/null | tr -d '\r' | grep -a '    REG_SZ    Z:' | sed 's/^    //; s/    REG_SZ.*//' |
        while IFS= read -r name; do wine reg delete "$listed" /v "$name" /f >/dev/null 2>&1; done
    wine reg delete 'HKCU\Software\Wine\Fonts\External Fonts' /f >/dev/null 2>&1
    wine reg delete 'HKCU\Software\Wine\Fonts\Cache' /f >/dev/null 2>&1
}
# Each machine: those fonts, a folder C:\eudc, and the stick as D:.
for machine in "$first" "$second"; do
    WINEPREFIX=$machine forget_fonts
    mkdir -p "$machine/drive_c/eudc"
    ln -sfn "$stick" "$machine/dosdevices/d:"
done
eudc=$first/drive_c/eudc
make_fonts --eudc "$eudc/EUDC.TTE" 5
# The EUDC editor's own file beside the font, which pack takes along.
printf 'EUF %.0s' {1..100} >"$eudc/EUDC.EUF"
make_fonts --eudc "$eudc/姓名.TTE" 12
make_fonts --eudc "$eudc/OLD.TTE" 3
echo "Notes on the fonts" >"$eudc/README.txt"

# The example being written.
example() { current=$made/$1.txt; : >"$current"; }
prompt() { printf '> %s\n' "$*" >>"$current"; }
# An argument as typed at a prompt: quoted when it holds a space.
typed() {
    local argument line=
    for argument in "$@"; do
        [[ $argument != *" "* && -n $argument ]] || argument="\"$argument\""
        line+="${line:+ }$argument"
    done
    printf '%s' "$line"
}
# Runs eudclink on the machine $WINEPREFIX names and adds the command line and what it
# printed, standard output then standard error, to the example; its status in $status.
eudclink() {
    prompt "eudclink $(typed "$@")"
    wine "$eudclink" "$@" >"$WINEPREFIX/stdout.bin" 2>"$WINEPREFIX/stderr.bin"
    status=$?
    as_powershell <"$WINEPREFIX/stdout.bin" >>"$current"
    as_powershell <"$WINEPREFIX/stderr.bin" >>"$current"
}
# Another program at the prompt, as typed ($1), then run by Wine, and what it printed.
program_at_prompt() {
    prompt "$1"
    shift
    wine "$@" 2>&1 </dev/null | as_powershell | tr -d '\r' >>"$current"
}
# The exit status of the last command, as PowerShell shows it.
exit_status() { prompt '$LASTEXITCODE'; echo "$status" >>"$current"; }
expect_status() { expect "$1: exit status" "$status" "$2"; }

echo "== The first machine"
example link
eudclink link --default 'C:\eudc\EUDC.TTE'
expect_status "link --default" 0
eudclink link 新細明體 'C:\eudc\姓名.TTE'
expect_status "link of a font" 0

example link-refused
eudclink link 標楷體 'C:\eudc\README.txt'
expect_status "link of a text file" 1
exit_status

example broken
eudclink link 標楷體 'C:\eudc\OLD.TTE'
expect_status "link of OLD.TTE" 0
program_at_prompt 'del C:\eudc\OLD.TTE' cmd /c del 'C:\eudc\OLD.TTE'
expect "OLD.TTE deleted" "$(ls "$eudc/OLD.TTE" 2>/dev/null)" ""

example list
eudclink list
expect_status "list" 0

example check
eudclink check
expect_status "check with a missing file" 1
exit_status

example unlink
eudclink unlink 標楷體
expect_status "unlink" 0
eudclink check
expect_status "check when every link works" 0
exit_status

example tsv
eudclink list --tsv
expect_status "list --tsv" 0

example json
eudclink list --json
expect_status "list --json" 0

example export
eudclink export 'C:\eudc\links.reg'
expect_status "export" 0

example import
eudclink unlink 新細明體
expect_status "unlink by mistake" 0
eudclink link --any-font 'Later Font' 'C:\eudc\姓名.TTE'
expect_status "link --any-font" 0
eudclink import --replace 'C:\eudc\links.reg'
expect_status "import --replace" 0

example pack
eudclink pack 'D:\eudc-pack'
expect_status "pack" 0
expect "the packed folder" "$(ls "$stick/eudc-pack" | LC_ALL=C sort | tr '\n' ' ')" 'EUDC.EUF EUDC.TTE links.reg manifest.txt 姓名.TTE '

example chars
eudclink chars 'C:\eudc\EUDC.TTE'
expect_status "chars" 0

example chart
eudclink chart 'C:\eudc\EUDC.TTE' 'C:\eudc\chart.png'
expect_status "chart" 0
expect "chart's picture" "$(file -b --mime-type "$eudc/chart.png")" image/png

echo "== The second machine"
WINEPREFIX=$second
example unpack
eudclink unpack 'D:\eudc-pack'
expect_status "unpack" 0
exit_status
for file in EUDC.TTE EUDC.EUF 姓名.TTE; do
    if cmp -s "$eudc/$file" "$second/drive_c/eudc/$file"; then pass "C:\\eudc\\$file carried byte for byte"
    else fail "C:\\eudc\\$file differs on the second machine"; fi
done
eudclink list
expect_status "list on the second machine" 0

example help
eudclink --help
expect_status "--help" 0

[ "$failures" = 0 ] || { echo "$failures checks failed"; exit 1; }
echo "all checks passed; the examples are in $made"
