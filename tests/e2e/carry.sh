#!/usr/bin/env bash
# Links carried from one machine to another: two Wine prefixes, this test's own and a copy
# of the base beside it, each with its own registry, files and Wine server. eudclink packs
# in the first and unpacks in the second; Wine's reg exports both keys to compare, and
# cmp compares every file. Then the faults that must change nothing on the second, and
# code page 932's key under a Japanese locale.
#   carry.sh eudclink.exe drive.exe BASE      (through wine-prefix.sh run)
eudclink=$1
program=$1
drive_exe=$2
base=$3
source "$(dirname "$0")/helpers.sh"
unset DISPLAY
make_fonts() { /usr/bin/python3 "$(dirname "$0")/../../tools/make_fonts.py" "$@"; }

first=$WINEPREFIX
second=$WINEPREFIX-second
# The second machine's server and files go when the test ends, however it ends.
end_second() { WINEPREFIX=$second wineserver -k >/dev/null 2>&1; rm -rf "$second"; }
trap end_second EXIT
rm -rf "$second"
cp -a "$base" "$second"
# Persistent until the test ends: a key's access list lives in the server only, and a
# server that quits between two programs forgets it.
WINEPREFIX=$second wineserver -p >/dev/null 2>&1
# Wine's services outlive the first program: started here, they hold no pipe of ours.
WINEPREFIX=$second wine wineboot </dev/null >/dev/null 2>&1
on_first() { WINEPREFIX=$first "$@"; }
on_second() { WINEPREFIX=$second "$@"; }

errors=$first/drive_c/stderr.txt
# STATUS DESCRIPTION COMMAND...: eudclink's output in $out and $errors, as PowerShell reads
# them in the console's code page ($console_codec: cp950 unless the locale is another's).
run() {
    local want=$1 what=$2 status
    shift 2
    wine "$eudclink" "$@" >"$first/stdout.bin" 2>"$first/stderr.bin"
    status=$?
    out=$(as_powershell "${console_codec:-cp950}" <"$first/stdout.bin")
    as_powershell "${console_codec:-cp950}" <"$first/stderr.bin" >"$errors"
    expect "$what: exit status" "$status" "$want"
    [ "$status" = "$want" ] || { echo "$out"; cat "$errors"; }
}
said() { if grep -qF -- "$1" "$errors"; then pass "says '$1'"; else fail "says '$(cat "$errors")', not '$1'"; fi; }
# A machine's state: its key as reg exports it, and every file under C:\eudc and C:\new
# with its SHA-256.
state_of() {
    local prefix=$1
    WINEPREFIX=$prefix wine reg export "$key" 'C:\state.reg' /y >/dev/null 2>&1 || : >"$prefix/drive_c/state.reg"
    sha256sum "$prefix/drive_c/state.reg" | cut -d' ' -f1
    (cd "$prefix/drive_c" && find eudc new -type f 2>/dev/null | sort | xargs -r -d '\n' sha256sum)
}

# The line of the value NAME in reg's export of KEY, in UTF-8: reg writes a pipe in the
# code page, its export in UTF-16 whatever the locale.
exported() {
    rm -f "$WINEPREFIX/drive_c/exported.reg"
    wine reg export "$1" 'C:\exported.reg' /y >/dev/null 2>&1
    iconv -f UTF-16 -t UTF-8 "$WINEPREFIX/drive_c/exported.reg" 2>/dev/null | tr -d '\r' | grep -F "\"$2\"="
}

echo "== The first machine: a .TTE with its .EUF, a Big5 name ending in 0x5C, a missing file"
eudc=$first/drive_c/eudc
mkdir -p "$eudc"
make_fonts --eudc "$eudc/A.TTE" 5
head -c 3000 /dev/urandom >"$eudc/A.EUF"
make_fonts --eudc "$eudc/功.TTE" 7
on_first run 0 "link of A.TTE" link 'AR PL UMing TW' 'C:\eudc\A.TTE'
on_first run 0 "link of 功.TTE" link --default 'C:\eudc\功.TTE'
on_first link_by_reg 'Gone Font' 'C:\eudc\GONE.TTE'

on_first run 0 "list --json" list --json
rows=$(/usr/bin/python3 -c '
import json, sys
for row in json.load(sys.stdin):
    print(row["name"], row["file"], row["chars"], row["state"], sep="|")' <<<"$out")
expect "list --json, as a JSON parser reads it" "$(grep -e '^AR PL UMing TW|' -e '^Gone' -e '^System' <<<"$rows")" \
    'SystemDefaultEUDCFont|C:\eudc\功.TTE|7|linked
AR PL UMing TW|C:\eudc\A.TTE|5|linked
Gone Font|C:\eudc\GONE.TTE|None|missing-file'

on_first run 1 "pack --strict with a missing file" pack --strict 'C:\pack'
said 'C:\eudc\GONE.TTE (Gone Font): no such file'
expect "no folder left" "$(ls -d "$first/drive_c/pack" 2>/dev/null)" ""
on_first run 0 "pack" pack 'C:\pack'
expect "its report" "$out" 'packed C:\eudc\A.TTE
packed C:\eudc\A.EUF
packed C:\eudc\功.TTE
link only: C:\eudc\GONE.TTE (Gone Font): no such file
3 values and 3 files packed into C:\pack'
expect "the folder" "$(ls "$first/drive_c/pack" | sort | tr '\n' ' ')" "A.EUF A.TTE links.reg manifest.txt 功.TTE "
on_first wine reg export "$key" 'C:\first.reg' /y >/dev/null 2>&1

echo "== The second machine: a link of its own; faults that must change nothing there"
mkdir -p "$second/drive_c/eudc"
make_fonts --eudc "$second/drive_c/eudc/MINE.TTE" 2
on_second link_by_reg 'Mine' 'C:\eudc\MINE.TTE'
# The folder travels as a person copies it.
carry() { rm -rf "$second/drive_c/pack"; cp -r "$first/drive_c/pack" "$second/drive_c/pack"; }
before=$(state_of "$second")
unchanged() { expect "$1: the second machine's key and files" "$(state_of "$second")" "$before"; }

carry
/usr/bin/python3 -c 'import sys; f = open(sys.argv[1], "r+b"); f.seek(100); b = f.read(1)[0]; f.seek(100); f.write(bytes([b ^ 1]))' \
    "$second/drive_c/pack/功.TTE"
on_second run 1 "unpack of a folder with a changed byte" unpack --replace 'C:\pack'
said 'C:\pack\功.TTE: its content is not what was packed'
unchanged "a changed byte"

carry
rm "$second/drive_c/pack/A.EUF"
on_second run 1 "unpack of a folder with a missing file" unpack --replace 'C:\pack'
said 'C:\pack\A.EUF: no such file in the packed folder'
unchanged "a missing file"

carry
head -c 400 "$first/drive_c/pack/manifest.txt" >"$second/drive_c/pack/manifest.txt"
on_second run 1 "unpack with a cut manifest" unpack --replace 'C:\pack'
said 'manifest.txt, line'
unchanged "a cut manifest"

carry
echo "not the packed font" >"$second/drive_c/eudc/A.TTE"
before=$(state_of "$second")
on_second run 1 "unpack over a file with other content" unpack --replace 'C:\pack'
said 'C:\eudc\A.TTE: another file is there; --overwrite keeps it as A.TTE.old'
unchanged "a target file with other content"

# Running as root, no file mode keeps a Wine program out of a folder; a folder where a
# file must go is refused before anything changes, and a key that cannot be read once
# the files are copied makes unpack put them back.
mkdir "$second/drive_c/eudc/功.TTE"
before=$(state_of "$second")
on_second run 1 "unpack where a folder stands in a file's place" unpack --overwrite --replace 'C:\pack'
said 'C:\eudc\功.TTE: a folder is there'
unchanged "a folder in a file's place"
rmdir "$second/drive_c/eudc/功.TTE"
before=$(state_of "$second")
on_second wine "$drive_exe" deny-key || fail "drive.exe could not deny access to the key"
on_second wine reg query "$key" >/dev/null 2>&1 && fail "reg could still read the key"
on_second run 3 "unpack while the key cannot be read" unpack --overwrite --replace --to 'C:\new\fonts' 'C:\pack'
said 'the files copied were removed again'
on_second wine "$drive_exe" allow-key
unchanged "a key that cannot be read"
expect "no folder made" "$(ls -d "$second/drive_c/new" 2>/dev/null)" ""
# A packed file that came read-only (from a CD, or a mail program's folder): the copy put in
# its place must be taken away again, and the file it replaced given its name back.
carry
chmod a-w "$second/drive_c/pack/A.TTE"
on_second wine "$drive_exe" deny-key || fail "drive.exe could not deny access to the key"
on_second run 3 "unpack --overwrite of a read-only packed file while the key cannot be read" \
    unpack --overwrite --replace 'C:\pack'
said 'the files copied were removed again and nothing was changed'
on_second wine "$drive_exe" allow-key
unchanged "a read-only packed file"
rm "$second/drive_c/eudc/A.TTE"

echo "== Unpack to the original paths, then into another folder"
on_second run 4 "unpack --replace (the missing file's link cannot work)" unpack --replace 'C:\pack'
expect "the links that cannot work" "$(sed -n '/^Links it wrote that cannot work:/,$p' <<<"$out" | grep -c .)" 3
expect "the one that cannot work" "$(grep -F 'missing-file' <<<"$out" | tr -s ' ')" 'Gone Font not-installed C:\eudc\GONE.TTE missing-file'
on_second wine reg export "$key" 'C:\second.reg' /y >/dev/null 2>&1
if cmp -s "$first/drive_c/first.reg" "$second/drive_c/second.reg"; then pass "the two keys, as reg exports them, are the same"
else fail "the two keys differ"; diff <(iconv -f UTF-16 -t UTF-8 "$first/drive_c/first.reg") <(iconv -f UTF-16 -t UTF-8 "$second/drive_c/second.reg"); fi
for file in A.TTE A.EUF 功.TTE; do
    if cmp -s "$eudc/$file" "$second/drive_c/eudc/$file"; then pass "C:\\eudc\\$file is the same byte for byte"
    else fail "C:\\eudc\\$file differs"; fi
done

on_second run 4 "unpack --to C:\\new\\fonts" unpack --to 'C:\new\fonts' 'C:\pack'
for file in A.TTE A.EUF 功.TTE; do
    if cmp -s "$eudc/$file" "$second/drive_c/new/fonts/$file"; then pass "C:\\new\\fonts\\$file is the same byte for byte"
    else fail "C:\\new\\fonts\\$file differs"; fi
done
expect "the link of A.TTE" "$(on_second link_of 'AR PL UMing TW')" 'REG_SZ	C:\new\fonts\A.TTE'
expect "the link of 功.TTE" "$(on_second exported "$key" SystemDefaultEUDCFont)" \
    '"SystemDefaultEUDCFont"="C:\\new\\fonts\\功.TTE"'
expect "the missing file's link, as it was" "$(on_second link_of 'Gone Font')" 'REG_SZ	C:\eudc\GONE.TTE'
on_second run 4 "unpack --to again: the same files are there" unpack --to 'C:\new\fonts' 'C:\pack'
expect "its first line" "$(head -1 <<<"$out")" 'already there C:\new\fonts\A.TTE'

echo "== A link written with forward slashes, as Windows takes it, packed and unpacked"
on_first link_by_reg 'Slash Font' 'C:/eudc/A.TTE'
out=$(on_first timeout 60 wine "$eudclink" pack 'C:\slash' 2>"$errors")
expect "pack with a forward-slash link, within 60 s: exit status" "$?" 0
rm -rf "$second/drive_c/slash"
cp -r "$first/drive_c/slash" "$second/drive_c/slash"
on_second run 4 "unpack of it (the missing file's link cannot work)" unpack --replace 'C:\slash'
expect "the forward-slash link, as it was written" "$(on_second link_of 'Slash Font')" 'REG_SZ	C:/eudc/A.TTE'
on_second run 1 "check" check
expect "only the missing file's link cannot work" "$(grep -c -e '-file' -e 'not-a-font' -e 'bad-value' <<<"$out")" 1

echo "== Code page 932 under a Japanese locale, with a Shift-JIS font installed"
make_fonts "$first/drive_c/windows/Fonts" 'ゴシック=sjis'
on_first wine reg export "$key" 'C:\950-before.reg' /y >/dev/null 2>&1
japanese() { LC_ALL=ja_JP.UTF-8 console_codec=cp932 on_first "$@"; }
japanese run 0 "list --codepage 932" --codepage 932 list --tsv
expect "the Shift-JIS font's row" "$(grep -F "ゴシック	" <<<"$out")" 'ゴシック	installed			unlinked'
exported_932() { on_first exported 'HKCU\EUDC\932' ゴシック; }
japanese run 0 "link --codepage 932" link --codepage 932 'ゴシック' 'C:\eudc\A.TTE'
expect "its value" "$(exported_932)" '"ゴシック"="C:\\eudc\\A.TTE"'
japanese run 0 "list --codepage 932 after" list --codepage 932 --tsv
expect "the linked row" "$(grep -F "ゴシック	" <<<"$out")" 'ゴシック	installed	C:\eudc\A.TTE	5	linked'
japanese run 0 "unlink --codepage 932" unlink --codepage 932 'ゴシック'
expect "its value" "$(exported_932)" ""
on_first wine reg export "$key" 'C:\950-after.reg' /y >/dev/null 2>&1
if cmp -s "$first/drive_c/950-before.reg" "$first/drive_c/950-after.reg"; then pass "HKCU\\EUDC\\950 is as it was"
else fail "HKCU\\EUDC\\950 changed"; fi
expect "the keys under HKCU\\EUDC" "$(on_first wine reg query 'HKCU\EUDC' 2>/dev/null | tr -d '\r' | grep -F 'EUDC\')" \
    'HKEY_CURRENT_USER\EUDC\932
HKEY_CURRENT_USER\EUDC\950'

[ "$failures" = 0 ] || { echo "$failures checks failed"; exit 1; }
echo "all checks passed"
