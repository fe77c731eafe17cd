#!/usr/bin/env bash
# eudclink.exe against the prefix's real registry, with no display at all, as a script on
# a server runs it. Wine's reg.exe, a client we did not write, sets up and reads back the
# key; files exported by one are imported by the other.
#   console.sh eudclink.exe      (through wine-prefix.sh run)
eudclink=$1
program=$1
source "$(dirname "$0")/helpers.sh"
unset DISPLAY

drive_c=$WINEPREFIX/drive_c
mkdir -p "$drive_c/eudc" "$drive_c/out"
rm -f "$drive_c"/out/*
/usr/bin/python3 "$(dirname "$0")/../../tools/make_fonts.py" --eudc "$drive_c/eudc/FIVE.TTE" 5
echo "not a font" >"$drive_c/eudc/TEXT.TTE"
errors=$drive_c/out/stderr.txt
raw=$WINEPREFIX/raw
mkdir -p "$raw"

# Runs eudclink; its standard output in $out and its standard error in $errors, as
# PowerShell reads them (code page 950), its exit status in $status.
run() {
    wine "$eudclink" "$@" >"$raw/stdout" 2>"$raw/stderr"
    status=$?
    out=$(as_powershell <"$raw/stdout")
    as_powershell <"$raw/stderr" >"$errors"
}
expect_run() {  # DESCRIPTION STATUS COMMAND...
    local what=$1 want=$2
    shift 2
    run "$@"
    expect "$what: exit status" "$status" "$want"
}
expect_said() {
    if grep -qF -- "$2" "$errors"; then pass "$1: says '$2'"; else fail "$1: says '$(cat "$errors")'"; fi
}
row_of() { grep -F -- "$1	" <<<"$out"; }
# The whole key as reg exports it (sorted by name, every type, byte for byte).
export_by_reg() { wine reg export "$key" "C:\\out\\$1" /y >/dev/null 2>&1; }
expect_key_as() {
    export_by_reg now.reg
    if cmp -s "$drive_c/out/$1" "$drive_c/out/now.reg"; then pass "$2: the key is as in $1"; else
        fail "$2: the key differs from $1"; diff <(iconv -f UTF-16 -t UTF-8 "$drive_c/out/$1") \
            <(iconv -f UTF-16 -t UTF-8 "$drive_c/out/now.reg") | head -20; fi
}

echo "== list, link, unlink and check"
clear_key
expect_run "list of an empty key" 0 list --tsv
expect "the header" "$(head -1 <<<"$out")" "name	font	file	chars	state"
expect "the default first" "$(sed -n 2p <<<"$out")" "SystemDefaultEUDCFont	default			unlinked"
expect "an installed font" "$(row_of 'AR PL UMing TW')" "AR PL UMing TW	installed			unlinked"

expect_run "link in another letter case" 0 link 'ar pl uming tw' 'C:\eudc\FIVE.TTE'
expect "the value under the listed name" "$(link_of 'AR PL UMing TW')" 'REG_SZ	C:\eudc\FIVE.TTE'
expect "its report" "$out" 'AR PL UMing TW
  old link: (none)
  new link: C:\eudc\FIVE.TTE (5 EUDC characters)'
run list --tsv
expect "the linked row" "$(row_of 'AR PL UMing TW')" 'AR PL UMing TW	installed	C:\eudc\FIVE.TTE	5	linked'

export_by_reg before-refusals.reg
expect_run "link of a text file named .tte" 1 link --default 'C:\eudc\TEXT.TTE'
expect_said "link of a text file" "C:\eudc\TEXT.TTE: not a TrueType font"
expect_run "link of a missing file" 1 link 'AR PL UMing HK' 'C:\eudc\GONE.TTE'
expect_said "link of a missing file" "C:\eudc\GONE.TTE: no such file"
expect_run "link to a font not installed" 1 link 'Later Font' 'C:\eudc\FIVE.TTE'
expect_said "link to a font not installed" '"Later Font" is not a font that can have a link'
expect_key_as before-refusals.reg "after three refused links"
expect_run "link to a font not installed, with --any-font" 0 link --any-font 'Later Font' 'C:\eudc\FIVE.TTE'
run list --tsv
expect "its row" "$(row_of 'Later Font')" 'Later Font	not-installed	C:\eudc\FIVE.TTE	5	linked'

# A name with quotes, "&", "=" and a Big5 character ending in 0x5C arrives whole; reg's
# export of the key shows it in UTF-16.
odd='Say "A&B=C" 許'
exported_line() { export_by_reg odd.reg; iconv -f UTF-16 -t UTF-8 "$drive_c/out/odd.reg" | tr -d '\r' | grep -F "$1"; }
expect_run "link of a name with quotes, & and = and 許" 0 link --any-font "$odd" 'C:\eudc\FIVE.TTE'
expect "its value, as reg exports it" "$(exported_line '"Say \"A&B=C\"')" '"Say \"A&B=C\" 許"="C:\\eudc\\FIVE.TTE"'
expect_run "unlink of that name" 0 unlink "$odd"
expect "its value, as reg exports it" "$(exported_line '"Say \"A&B=C\"')" ""

link_by_reg 'Gone Font' 'C:\eudc\GONE.TTE'
link_by_reg '功' 'C:\eudc\TEXT.TTE'
wine reg add "$key" /v Flag /t REG_DWORD /d 1 /f >/dev/null 2>&1
expect_run "check with three broken links" 1 check --tsv
# In the key's order, which in Wine's registry is by name.
expect "the broken links" "$out" 'name	font	file	chars	state
Flag	not-installed			bad-value
Gone Font	not-installed	C:\eudc\GONE.TTE		missing-file
功	not-installed	C:\eudc\TEXT.TTE		not-a-font'
expect_run "unlink in another letter case" 0 unlink 'gone font'
expect "the value" "$(link_of 'Gone Font')" none
expect_run "unlink of a name without a value" 0 unlink 'gone font'
expect "its report" "$out" "gone font has no link; nothing was changed"
expect_run "unlink of a Big5 name ending in 0x5C" 0 unlink '功'
expect "the value" "$(link_of '功')" none
wine reg delete "$key" /v Flag /f >/dev/null 2>&1
expect_run "check when every link works" 0 check
expect "its report" "$out" "Every link works."

echo "== export and import, against reg import and reg export"
clear_key
link_by_reg 'AR PL UMing TW' 'C:\eudc\FIVE.TTE'
link_by_reg '功' 'C:\eudc\功.TTE'
link_by_reg '許' 'C:\eudc\許.TTE'
link_by_reg 'say "hi"' 'C:\eudc\"quoted".TTE'
link_by_reg 'back\slash' 'C:\eudc\back\\slash.TTE'
link_by_reg 'a=b' '=C:\eudc\A.TTE'
wine reg add "$key" /ve /d 'the unnamed value' /f >/dev/null 2>&1
wine reg add "$key" /v Binary /t REG_BINARY /d "00ff$(printf '%02x' $(seq 1 60))" /f >/dev/null 2>&1
wine reg add "$key" /v Empty /t REG_BINARY /f >/dev/null 2>&1
wine reg add "$key" /v Dword /t REG_DWORD /d 0x12345678 /f >/dev/null 2>&1
wine reg add "$key" /v Expand /t REG_EXPAND_SZ /d '%SystemRoot%\Fonts\EUDC.TTE' /f >/dev/null 2>&1
wine reg add "$key" /v Multi /t REG_MULTI_SZ /d 'one\0two' /f >/dev/null 2>&1
export_by_reg original.reg
expect "values set up by reg" "$(wine reg query "$key" | grep -c '    REG_')" 12

expect_run "export" 0 export 'C:\out\links.reg'
expect "its report" "$out" '12 values written to C:\out\links.reg'
expect "no file left beside it" "$(ls "$drive_c/out" | grep -vc -e '\.reg$' -e stderr.txt)" 0
clear_key
wine reg import 'C:\out\links.reg' >/dev/null 2>&1
expect_key_as original.reg "export, then reg import into an emptied key"

# (reg add of the bare key would add an empty unnamed value.)
clear_key
expect_run "import --replace of reg's export" 0 import --replace 'C:\out\original.reg'
expect "its report's last line" "$(tail -1 <<<"$out")" "12 added, 0 changed, 0 deleted, 0 unchanged"
expect_key_as original.reg "reg export, then import --replace into an emptied key"

# Files that must change nothing: another key, cut short, a line that is no value.
iconv -f UTF-16 -t UTF-8 "$drive_c/out/links.reg" | tr -d '\r' >"$drive_c/out/links.txt"
to_reg() { sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16 >"$drive_c/out/$1"; }
# Each holds a change of the key before its fault, which a partial import would make.
{ sed '4a\
"Dword"=dword:00000001' "$drive_c/out/links.txt"; printf '[HKEY_CURRENT_USER\\Software\\Other]\n"x"="y"\n\n'; } |
    to_reg other-key.reg
head -c $(($(stat -c %s "$drive_c/out/links.reg") - 40)) "$drive_c/out/links.reg" >"$drive_c/out/truncated.reg"
sed '4a\
"Dword"=dword:00000001\
this is not a value' "$drive_c/out/links.txt" | to_reg bad-line.reg
for file in other-key.reg truncated.reg bad-line.reg; do
    expect_run "import of $file" 1 import --replace "C:\\out\\$file"
    echo "     it says: $(cat "$errors")"
    expect_said "import of $file" "nothing was changed"
    expect_key_as original.reg "after import of $file"
done
expect_said "import of bad-line.reg" "line 6"

printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\EUDC\\950]\r\n"Dword"=-\r\n"Binary"=hex:01\r\n"New"="C:\\\\N.TTE"\r\n\r\n' \
    >"$drive_c/out/changes.reg"
expect_run "import of a REGEDIT4 file" 0 import 'C:\out\changes.reg'
expect "its report" "$out" 'deleted Dword
changed Binary
added   New
1 added, 1 changed, 1 deleted, 10 unchanged'
expect "the added value" "$(link_of New)" 'REG_SZ	C:\N.TTE'

expect_run "export into a folder that does not exist" 1 export 'C:\nowhere\links.reg'
expect_said "export into a folder that does not exist" "nothing was written there"

echo "== Listings that PowerShell reads right with its defaults"
# PowerShell decodes what a program writes into a pipe with the console's output code
# page: 950 here. Wine gives a program started outside a terminal no console at all, and
# eudclink then takes the system's code page, the same 950. A Chinese font name, and paths
# whose names end in the byte 0x5C.
/usr/bin/python3 "$(dirname "$0")/../../tools/make_fonts.py" --eudc "$drive_c/eudc/功.TTE" 5
clear_key
link_by_reg SystemDefaultEUDCFont 'C:\eudc\功.TTE'
link_by_reg '新細明體' 'C:\eudc\許.TTE'
# "name|file|state" of each row that names a file on C:, from the listing on standard input,
# decoded as PowerShell decodes it ($2: the code page), then read as tab-separated values,
# a table or JSON ($1).
rows_in() {
    as_powershell "${2:-cp950}" | /usr/bin/python3 -c '
import json, re, sys
text = sys.stdin.buffer.read().decode("utf-8")
if sys.argv[1] == "json":
    rows = [(row["name"], row["file"], row["state"]) for row in json.loads(text)]
else:
    split = (lambda line: line.split("\t")) if sys.argv[1] == "tsv" else (lambda line: re.split(" {2,}", line))
    rows = [(columns[0], columns[2], columns[-1]) for columns in map(split, text.splitlines()[1:])]
lines = [f"{name}|{file}|{state}\n" for name, file, state in rows if file.startswith("C:")]
sys.stdout.buffer.write("".join(lines).encode("utf-8"))
' "$1"
}
want='SystemDefaultEUDCFont|C:\eudc\功.TTE|linked
新細明體|C:\eudc\許.TTE|missing-file'
wine "$eudclink" list --tsv >"$raw/list.tsv" 2>/dev/null
wine "$eudclink" list >"$raw/list.txt" 2>/dev/null
wine "$eudclink" list --json >"$raw/list.json" 2>/dev/null
expect "list --tsv, as PowerShell reads it" "$(rows_in tsv <"$raw/list.tsv")" "$want"
expect "list, as PowerShell reads it" "$(rows_in table <"$raw/list.txt")" "$want"
expect "list --json, as PowerShell reads it, then ConvertFrom-Json" "$(rows_in json <"$raw/list.json")" "$want"
expect "list --json: lines with a byte outside printable ASCII" "$(LC_ALL=C grep -c '[^[:print:]]' "$raw/list.json")" 0

# A character that code page 950 lacks is '?', never a look-alike: in a key of code page
# 949, ß, Æ and ø (best fit: s, A and o) and Hangul. JSON keeps them.
wine reg delete 'HKCU\EUDC\949' /f >/dev/null 2>&1
wine reg add 'HKCU\EUDC\949' /v 'ßÆø 한글' /d 'C:\eudc\K.TTE' /f >/dev/null 2>&1
wine "$eudclink" --codepage 949 list --tsv >"$raw/949.tsv" 2>/dev/null
wine "$eudclink" --codepage 949 list --json >"$raw/949.json" 2>/dev/null
expect "a name code page 950 lacks, in --tsv" "$(rows_in tsv <"$raw/949.tsv")" '??? ??|C:\eudc\K.TTE|missing-file'
expect "that name in --json" "$(rows_in json <"$raw/949.json")" 'ßÆø 한글|C:\eudc\K.TTE|missing-file'
wine reg delete 'HKCU\EUDC\949' /f >/dev/null 2>&1

# In a console (a terminal's, through script) whose output code page cmd's chcp has made
# UTF-8, as PowerShell's [Console]::OutputEncoding = UTF8 does, a file gets UTF-8.
cp "$eudclink" "$drive_c/eudclink.exe"
rm -f "$drive_c/console.tsv"
timeout 60 script -qec 'wine cmd /c "chcp 65001 >nul & C:\eudclink.exe list --tsv >C:\console.tsv"' /dev/null \
    </dev/null >/dev/null 2>&1
expect "list --tsv > file in a console of code page 65001" "$(rows_in tsv utf-8 <"$drive_c/console.tsv")" "$want"

# The wrong usages are the native tests'; the version is the project's.
run --version
expect "the version" "$out" "eudclink 1.0.0.1"

[ "$failures" = 0 ] || { echo "$failures checks failed"; exit 1; }
echo "all checks passed"
