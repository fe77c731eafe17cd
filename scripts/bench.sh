#!/usr/bin/env bash
# Benchmark of VELTRANE.EXE beside a floor program that makes only the platform calls the
# program needs (bench/Floor.cpp), under Wine and Xvfb, and of eudclink.exe beside
# Wine's reg.exe, in Wine prefixes of its own under build/bench/. For each number of
# installed TrueType families (generated with tools/make_fonts.py, half of them Big5 or
# Shift-JIS) and each number of values in HKCU\EUDC\950, the programs compared run
# alternately RUNS times; the tables show medians. The import part compares eudclink import
# with reg import of files of IMPORT-SIZES values, in the first number of families' prefix.
# The chars part opens the character view of a font of all 6,217 characters of the Big5
# EUDC area linked as the system-wide default, in the first number of families' prefix,
# and pages through it. The carry part compares eudclink pack and unpack of 100 linked
# fonts of 1 MB each with what a script does by hand: xcopy of the files, and reg export
# or reg import of the key. -p runs the parts named.
#   scripts/bench.sh [-f "10 1000 5000"] [-v "10 1000 10000"] [-r 5]
#                    [-i "2500 5000 10000 20000"] [-p "window console import chars carry"]
# Not a test: the figures depend on the machine and on what else runs on it.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
families_list="10 1000 5000"
values_list="10 1000 10000"
import_sizes="2500 5000 10000 20000"
runs=5
parts="window console import chars carry"
while getopts f:v:r:i:p: option; do
    case $option in
    f) families_list=$OPTARG ;;
    v) values_list=$OPTARG ;;
    r) runs=$OPTARG ;;
    i) import_sizes=$OPTARG ;;
    p) parts=$OPTARG ;;
    *) echo "usage: scripts/bench.sh [-f FAMILIES] [-v VALUES] [-r RUNS] [-i IMPORT-SIZES] [-p PARTS]" >&2; exit 2 ;;
    esac
done

if [ -z "${VELTRANE_IN_XVFB:-}" ]; then
    scripts/setup.sh >/dev/null
    cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake >/dev/null
    cmake --build build/win64 --target veltrane eudclink floor measure -j2 >/dev/null
    VELTRANE_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

build=$root/build/bench
program=$root/build/win64/VELTRANE.EXE
floor=$root/build/win64/FLOOR.EXE
measure=$root/build/win64/measure.exe
eudclink=$root/build/win64/eudclink.exe
export WINEDEBUG=-all LC_ALL=zh_TW.UTF-8
trap 'wineserver -k 2>/dev/null || true' EXIT
quietly() { "$@" </dev/null >/dev/null 2>&1; }

# A prefix with N generated families in its Fonts folder: a copy of the tests' base
# prefix, made once and kept. One copied from an older base is copied anew (its fonts
# made again).
prepare_prefix() {
    tests/e2e/wine-prefix.sh base "$build/wine-base" >/dev/null
    export WINEPREFIX=$build/prefix-$1
    quietly wineserver -k || true
    if ! cmp -s "$build/wine-base/.made" "$WINEPREFIX/.made"; then
        rm -rf "$WINEPREFIX"
        cp -a "$build/wine-base" "$WINEPREFIX"
    fi
    if [ ! -f "$WINEPREFIX/.fonts-ready" ]; then
        rm -rf "$build/fonts-$1"
        /usr/bin/python3 tools/make_fonts.py "$build/fonts-$1" --count "$1"
        cp "$build/fonts-$1"/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
        touch "$WINEPREFIX/.fonts-ready"
    fi
    # A real EUDC font: eudclink links nothing else.
    mkdir -p "$WINEPREFIX/drive_c/eudc"
    /usr/bin/python3 tools/make_fonts.py --eudc "$WINEPREFIX/drive_c/eudc/BENCH.TTE" 10
    quietly wineserver -k || true
    quietly wineserver -p
}

# The key holds N values: "Bench NNNNN" links, which match the listed families as far
# as there are any, each to its own file, which is missing; with "working", all to the
# real EUDC font.
fill_key() {
    local file=$WINEPREFIX/drive_c/values.reg
    {
        printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\EUDC\\950]\r\n'
        seq 0 $(($1 - 1)) | awk -v working="${2:-}" '{ printf "\"Bench %05d\"=\"C:\\\\eudc\\\\%s.TTE\"\r\n", $1,
                                                            working ? "BENCH" : sprintf("F%05d", $1) }'
    } >"$file"
    quietly wine reg delete 'HKCU\EUDC\950' /f || true
    quietly wine reg import 'C:\values.reg'
}

# One run of one program: "startup modify remove repaint peak-KiB rows [follow]"; the
# floor does not follow other programs' changes.
run_once() {
    wine "$measure" run "$1" 'C:\eudc\BENCH.TTE' 1 21 ${2:+"$2"} 2>&1 | tr -d '\r'
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# The ms from CreateProcess to the end of one command, in the prefix (both programs pay
# Wine's start of a process the same way); its output is discarded. Without a display, as
# a script on a server runs: with one, Wine's graphics libraries, which reg.exe never
# loads, also connect to the X server.
time_once() { env -u DISPLAY wine "$measure" time "$@" | tr -d '\r' | awk '{ print $1 }'; }

# eudclink's link and unlink of one listed family against the same value written and
# deleted by reg, its list and check against reg query; the fonts' enumeration alone
# besides. One line: "link add unlink delete list query enumerate check", medians in ms.
run_console() {
    local exe font=$1 file='C:\eudc\BENCH.TTE' samples=$build/console
    exe=$(winepath -w "$eudclink")
    rm -rf "$samples" && mkdir -p "$samples"
    time_once "$exe" list --tsv >/dev/null  # warms Wine's caches of the prefix
    for _ in $(seq "$runs"); do
        time_once "$exe" link "$font" "$file" >>"$samples/link"
        time_once "$exe" unlink "$font" >>"$samples/unlink"
        time_once reg add 'HKCU\EUDC\950' /v "$font" /d "$file" /f >>"$samples/add"
        time_once reg delete 'HKCU\EUDC\950' /v "$font" /f >>"$samples/delete"
        time_once "$exe" list --tsv >>"$samples/list"
        time_once reg query 'HKCU\EUDC\950' >>"$samples/query"
        time_once "$exe" check --tsv >>"$samples/check"
        env -u DISPLAY wine "$measure" enumerate | tr -d '\r' | awk '{ print $1 }' >>"$samples/enumerate"
    done
    local line=
    for what in link add unlink delete list query enumerate check; do line+=" $(median <"$samples/$what")"; done
    echo "${line# }"
}
# eudclink check where every link works, as a user who keeps them working runs it: the
# median in ms.
run_check_working() {
    local exe samples=$build/console/working
    exe=$(winepath -w "$eudclink")
    : >"$samples"
    for _ in $(seq "$runs"); do time_once "$exe" check --tsv >>"$samples"; done
    median <"$samples"
}
# A registry editor file of N values as eudclink export and reg export write them (version 5,
# UTF-16 with a byte-order mark), "Bench NNNNN" linking each its own file.
write_import_file() {
    {
        printf '\xff\xfe'
        {
            printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\EUDC\\950]\r\n'
            seq 0 $(($1 - 1)) | awk '{ printf "\"Bench %05d\"=\"C:\\\\eudc\\\\F%05d.TTE\"\r\n", $1, $1 }'
            printf '\r\n'
        } | iconv -f UTF-8 -t UTF-16LE
    } >"$2"
}

# Times one command into a file of samples; a failure stops the benchmark, as its figure
# would mean nothing.
time_checked() {
    local samples=$1 elapsed code
    shift
    read -r elapsed code < <(env -u DISPLAY wine "$measure" time "$@" | tr -d '\r')
    if [ "$code" != 0 ]; then
        echo "bench: $* ended with $code" >&2
        exit 1
    fi
    echo "$elapsed" >>"$samples"
}

# eudclink import against reg import of the same file of N values: into an empty key (all
# new) and into a key that already holds them (all unchanged, which reg import writes
# again). One line: "import-new reg-new import-unchanged reg-unchanged", medians in ms.
run_import() {
    local exe n=$1 samples=$build/import file=$WINEPREFIX/drive_c/import.reg
    exe=$(winepath -w "$eudclink")
    rm -rf "$samples" && mkdir -p "$samples"
    write_import_file "$n" "$file"
    for _ in $(seq "$runs"); do
        quietly wine reg delete 'HKCU\EUDC\950' /f || true
        time_checked "$samples/import-new" "$exe" import 'C:\import.reg'
        time_checked "$samples/import-unchanged" "$exe" import 'C:\import.reg'
        time_checked "$samples/reg-unchanged" reg import 'C:\import.reg'
        quietly wine reg delete 'HKCU\EUDC\950' /f
        time_checked "$samples/reg-new" reg import 'C:\import.reg'
    done
    local line=
    for what in import-new reg-new import-unchanged reg-unchanged; do line+=" $(median <"$samples/$what")"; done
    echo "${line# }"
}
# eudclink pack and unpack of N linked fonts of 1 MB against xcopy of the files with reg
# export, and xcopy with reg import; unpack goes into an empty folder and an emptied key.
# One line: "pack by-hand unpack by-hand", medians in ms of the by-hand pairs' sums.
run_carry() {
    local exe n=$1 samples=$build/carry c=$WINEPREFIX/drive_c/carry i
    exe=$(winepath -w "$eudclink")
    rm -rf "$samples" "$c" && mkdir -p "$samples" "$c/src"
    # Real EUDC fonts, each padded to 1 MB with bytes of its own after its tables.
    /usr/bin/python3 tools/make_fonts.py --eudc "$c/font.ttf" 10
    {
        printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\EUDC\\950]\r\n'
        for i in $(seq -f %03g 0 $((n - 1))); do
            { cat "$c/font.ttf"; head -c $((1048576 - $(stat -c %s "$c/font.ttf"))) /dev/urandom; } >"$c/src/F$i.TTE"
            printf '"Bench %s"="C:\\\\carry\\\\src\\\\F%s.TTE"\r\n' "$i" "$i"
        done
    } >"$c/links.reg"
    for _ in $(seq "$runs"); do
        quietly wine reg delete 'HKCU\EUDC\950' /f || true
        quietly wine reg import 'C:\carry\links.reg'
        rm -rf "$c/pack" "$c/hand"
        time_checked "$samples/pack" "$exe" pack 'C:\carry\pack'
        time_checked "$samples/hand-pack-copy" xcopy 'C:\carry\src' 'C:\carry\hand' /I /Q /Y
        time_checked "$samples/hand-pack-reg" reg export 'HKCU\EUDC\950' 'C:\carry\hand\links.reg' /y
        rm -rf "$c/dest"
        quietly wine reg delete 'HKCU\EUDC\950' /f
        time_checked "$samples/unpack" "$exe" unpack --replace --to 'C:\carry\dest' 'C:\carry\pack'
        rm -rf "$c/dest"
        quietly wine reg delete 'HKCU\EUDC\950' /f
        time_checked "$samples/hand-unpack-copy" xcopy 'C:\carry\pack\*.TTE' 'C:\carry\dest' /I /Q /Y
        time_checked "$samples/hand-unpack-reg" reg import 'C:\carry\pack\links.reg'
    done
    for what in pack unpack; do
        paste -d' ' "$samples/hand-$what-copy" "$samples/hand-$what-reg" | awk '{ print $1 + $2 }' >"$samples/hand-$what"
    done
    local line=
    for what in pack hand-pack unpack hand-unpack; do line+=" $(median <"$samples/$what")"; done
    echo "${line# }"
}
column() { awk -v c="$1" '{ print $c }' "$2" | median; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

mkdir -p "$build"
results=$build/results.txt
console_results=$build/console-results.txt
: >"$results"
: >"$console_results"
# The window's and the console's parts run for every number of families and values.
has_part() { [[ " $parts " == *" $1 "* ]]; }
table_families=$families_list
has_part window || has_part console || table_families=
for families in $table_families; do
    prepare_prefix "$families"
    for values in $values_list; do
        fill_key "$values"
        if has_part window; then
            run_once "$program" follow >/dev/null  # warms Wine's caches of the prefix
            run_once "$floor" >/dev/null
            : >"$build/program.txt"
            : >"$build/floor.txt"
            for _ in $(seq "$runs"); do
                run_once "$program" follow >>"$build/program.txt"
                run_once "$floor" >>"$build/floor.txt"
            done
            line="$families $values"
            for c in 1 2 3; do
                p=$(column $c "$build/program.txt")
                f=$(column $c "$build/floor.txt")
                line+=" $p $f $(ratio "$p" "$f")"
            done
            line+=" $(column 4 "$build/program.txt") $(column 4 "$build/floor.txt")"
            line+=" $(($(column 5 "$build/program.txt") / 1024)) $(($(column 5 "$build/floor.txt") / 1024))"
            line+=" $(column 6 "$build/program.txt") $(column 7 "$build/program.txt")"
            echo "$line" >>"$results"
            echo "$line"
        fi
        if has_part console; then
            # "Bench 00000" is a Big5 family, listed, and has a value once there is one.
            line="$families $values $(run_console 'Bench 00000')"
            fill_key "$values" working
            line+=" $(run_check_working)"
            echo "$line" >>"$console_results"
            echo "console: $line"
        fi
    done
    quietly wineserver -k || true
done

chars_results=$build/chars-results.txt
: >"$chars_results"
if has_part chars; then
    prepare_prefix "${families_list%% *}"
    /usr/bin/python3 tools/make_fonts.py --eudc "$WINEPREFIX/drive_c/eudc/ALL.TTE" 6217
    quietly wine reg delete 'HKCU\EUDC\950' /f || true
    quietly wine reg add 'HKCU\EUDC\950' /v SystemDefaultEUDCFont /d 'C:\eudc\ALL.TTE' /f
    wine "$measure" chars "$program" 38 >/dev/null  # warms Wine's caches of the prefix
    for _ in $(seq "$runs"); do
        wine "$measure" chars "$program" 38 | tr -d '\r' | tee -a "$chars_results" | sed 's/^/chars: /'
    done
    quietly wineserver -k || true
fi

import_results=$build/import-results.txt
: >"$import_results"
if has_part import; then
    # Import reads no font: one prefix will do.
    prepare_prefix "${families_list%% *}"
    for n in $import_sizes; do
        line="$n $(run_import "$n")"
        echo "$line" >>"$import_results"
        echo "import: $line"
    done
    quietly wineserver -k || true
fi

carry_results=$build/carry-results.txt
: >"$carry_results"
if has_part carry; then
    prepare_prefix "${families_list%% *}"
    line="100 $(run_carry 100)"
    echo "$line" >>"$carry_results"
    echo "carry: $line"
    quietly wineserver -k || true
fi

echo
echo "Medians of $runs runs each."
if [ -s "$results" ]; then
    echo "Times in ms, program / floor = ratio; peak memory in MiB."
    printf '| Families | Values | Rows | Start-up | Modify | Remove | Repaint | Peak memory | Follow |\n'
    printf '|---:|---:|---:|---|---|---|---|---|---:|\n'
    while read -r fam val sp sf sr mp mf mr rp rf rr xp xf pp pf rows follow; do
        printf '| %s | %s | %s | %s / %s = %s | %s / %s = %s | %s / %s = %s | %s / %s | %s / %s | %s |\n' \
            "$fam" "$val" "$rows" "$sp" "$sf" "$sr" "$mp" "$mf" "$mr" "$rp" "$rf" "$rr" "$xp" "$xf" "$pp" "$pf" "$follow"
    done <"$results"
fi
if [ -s "$console_results" ]; then
    echo
    echo "eudclink / reg: each command from CreateProcess to its end, in ms; the fonts' enumeration in-process."
    echo "check --tsv: of the links above, each to a missing file; working: of as many links, each to a real font."
    printf '| Families | Values | link / reg add | unlink / reg delete | list --tsv / reg query | check --tsv / reg query | check --tsv, working | Font enumeration |\n'
    printf '|---:|---:|---|---|---|---|---:|---:|\n'
    while read -r fam val link add unlink delete list query enumerate check working; do
        printf '| %s | %s | %s / %s = %s | %s / %s = %s | %s / %s = %s | %s / %s = %s | %s | %s |\n' "$fam" "$val" \
            "$link" "$add" "$(ratio "$link" "$add")" "$unlink" "$delete" "$(ratio "$unlink" "$delete")" \
            "$list" "$query" "$(ratio "$list" "$query")" "$check" "$query" "$(ratio "$check" "$query")" "$working" \
            "$enumerate"
    done <"$console_results"
fi
if [ -s "$chars_results" ]; then
    echo
    echo "The character view of 6,217 characters: ms, and the working set in MiB."
    printf '| First page | Page of scrolling: first time | again | slowest | Working set: before, first page, 38 pages, 76 pages |\n'
    printf '|---:|---:|---:|---:|---|\n'
    printf '| %s | %s | %s | %s | %s, %s, %s, %s |\n' "$(column 1 "$chars_results")" "$(column 2 "$chars_results")" \
        "$(column 3 "$chars_results")" "$(column 4 "$chars_results")" \
        $(for c in 5 6 7 8; do awk -v k="$(column $c "$chars_results")" 'BEGIN { printf "%.1f\n", k / 1024 }'; done)
fi
if [ -s "$import_results" ]; then
    echo
    echo "eudclink import / reg import of the same file: from CreateProcess to the end, in ms."
    printf '| Values | New: import / reg import | Unchanged: import / reg import |\n'
    printf '|---:|---|---|\n'
    while read -r n new regnew same regsame; do
        printf '| %s | %s / %s = %s | %s / %s = %s |\n' "$n" "$new" "$regnew" "$(ratio "$new" "$regnew")" \
            "$same" "$regsame" "$(ratio "$same" "$regsame")"
    done <"$import_results"
fi
if [ -s "$carry_results" ]; then
    echo
    echo "eudclink pack and unpack of fonts of 1 MB / xcopy and reg export or reg import: from CreateProcess to the end, in ms."
    printf '| Files | pack / xcopy + reg export | unpack / xcopy + reg import |\n'
    printf '|---:|---|---|\n'
    while read -r n pack hand unpack handun; do
        printf '| %s | %s / %s = %s | %s / %s = %s |\n' "$n" "$pack" "$hand" "$(ratio "$pack" "$hand")" \
            "$unpack" "$handun" "$(ratio "$unpack" "$handun")"
    done <"$carry_results"
fi
