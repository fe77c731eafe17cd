#!/usr/bin/env bash
# Benchmark of VELTRANE.EXE beside a floor program that makes only the platform calls the
# program needs (bench/Floor.cpp), under Wine and Xvfb, in Wine prefixes of its own under
# build/bench/. For each number of installed TrueType families (generated with
# tools/make_fonts.py, half of them Big5 or Shift-JIS) and each number of values in
# HKCU\EUDC\950, both programs run alternately RUNS times; the table shows medians.
#   scripts/bench.sh [-f "10 1000 5000"] [-v "10 1000 10000"] [-r 5]
# Not a test: the figures depend on the machine and on what else runs on it.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
families_list="10 1000 5000"
values_list="10 1000 10000"
runs=5
while getopts f:v:r: option; do
    case $option in
    f) families_list=$OPTARG ;;
    v) values_list=$OPTARG ;;
    r) runs=$OPTARG ;;
    *) echo "usage: scripts/bench.sh [-f FAMILIES] [-v VALUES] [-r RUNS]" >&2; exit 2 ;;
    esac
done

if [ -z "${VELTRANE_IN_XVFB:-}" ]; then
    scripts/setup.sh >/dev/null
    cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake >/dev/null
    cmake --build build/win64 --target veltrane floor measure -j2 >/dev/null
    VELTRANE_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

build=$root/build/bench
program=$root/build/win64/VELTRANE.EXE
floor=$root/build/win64/FLOOR.EXE
measure=$root/build/win64/measure.exe
export WINEDEBUG=-all LC_ALL=zh_TW.UTF-8
trap 'wineserver -k 2>/dev/null || true' EXIT
quietly() { "$@" </dev/null >/dev/null 2>&1; }

# A prefix with N generated families in its Fonts folder: a copy of the tests' base
# prefix, made once. wine-prefix.sh runs every time, so that a prefix copied from an
# older base is copied anew (its fonts made again).
prepare_prefix() {
    tests/e2e/wine-prefix.sh base "$build/wine-base" >/dev/null
    export WINEPREFIX=$build/prefix-$1
    tests/e2e/wine-prefix.sh start "$WINEPREFIX" x11 "$build/wine-base" >/dev/null
    if [ ! -f "$WINEPREFIX/.fonts-ready" ]; then
        rm -rf "$build/fonts-$1"
        /usr/bin/python3 tools/make_fonts.py "$build/fonts-$1" --count "$1"
        cp "$build/fonts-$1"/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
        mkdir -p "$WINEPREFIX/drive_c/eudc"
        : >"$WINEPREFIX/drive_c/eudc/BENCH.TTE"
        touch "$WINEPREFIX/.fonts-ready"
    fi
    quietly wineserver -k || true
    quietly wineserver -p
}

# The key holds N values: "Bench NNNNN" links, which match the listed families as far
# as there are any, each to its own file.
fill_key() {
    local file=$WINEPREFIX/drive_c/values.reg
    {
        printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\EUDC\\950]\r\n'
        seq 0 $(($1 - 1)) | awk '{ printf "\"Bench %05d\"=\"C:\\\\eudc\\\\F%05d.TTE\"\r\n", $1, $1 }'
    } >"$file"
    quietly wine reg delete 'HKCU\EUDC\950' /f || true
    quietly wine reg import 'C:\values.reg'
}

# One run of one program: "startup modify remove repaint peak-KiB rows".
run_once() {
    wine "$measure" run "$1" 'C:\eudc\BENCH.TTE' 1 21 2>&1 | tr -d '\r'
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
column() { awk -v c="$1" '{ print $c }' "$2" | median; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

mkdir -p "$build"
results=$build/results.txt
: >"$results"
for families in $families_list; do
    prepare_prefix "$families"
    for values in $values_list; do
        fill_key "$values"
        run_once "$program" >/dev/null  # warms Wine's caches of the prefix
        run_once "$floor" >/dev/null
        : >"$build/program.txt"
        : >"$build/floor.txt"
        for _ in $(seq "$runs"); do
            run_once "$program" >>"$build/program.txt"
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
        line+=" $(column 6 "$build/program.txt")"
        echo "$line" >>"$results"
        echo "$line"
    done
    quietly wineserver -k || true
done

echo
echo "Medians of $runs runs each, in ms (peak memory in MiB); program / floor = ratio."
printf '| Families | Values | Rows | Start-up | Modify | Remove | Repaint | Peak memory |\n'
printf '|---:|---:|---:|---|---|---|---|---|\n'
while read -r fam val sp sf sr mp mf mr rp rf rr xp xf pp pf rows; do
    printf '| %s | %s | %s | %s / %s = %s | %s / %s = %s | %s / %s = %s | %s / %s | %s / %s |\n' \
        "$fam" "$val" "$rows" "$sp" "$sf" "$sr" "$mp" "$mf" "$mr" "$rp" "$rf" "$rr" "$xp" "$xf" "$pp" "$pf"
done <"$results"
