#!/usr/bin/env bash
# The documents' pictures of EUDC characters, drawn from characters like those people
# keep: name characters that Big5 lacks, their glyphs copied from AR PL UMing TW
# (fonts-arphic-uming, Arphic Public License) into the EUDC area of a font made in the
# build folder, never kept in the repository. Writes docs/character-view.png (the
# character view, under Xvfb), docs/chart.png (eudclink chart), and the main window and
# the character view at 150 percent scale, docs/main-window-144.png and
# docs/character-view-144.png.
#   scripts/pictures.sh [BUILD [BASE]]
# BUILD is the build whose programs run (build/win64), BASE the base Wine prefix (BUILD's
# own wine-base). The other pictures of docs/ are the tests' screenshots (docs/testing.md).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build/win64}")
base=$(realpath -m "${2:-$build/wine-base}")
for program in VELTRANE.EXE drive.exe eudclink.exe; do
    [ -f "$build/$program" ] || { echo "no $build/$program: build it first (see docs/testing.md)"; exit 1; }
done
# Characters of Taiwanese names that Big5 has no code for, which people make with the
# EUDC editor.
characters='堃喆峯煊犇媖晧溋瀞瓈琹鉁鈵瑨瑺𡘙䒟𤧟珡珤瑠茝裿詝譞鈫鍀鍩鐈麐㚬㛃㛢㤘㬢㷆㺭㻖㼆䁱䊵䕒'
made=$build/pictures
rm -rf "$made"
mkdir -p "$made"
SOURCE_DATE_EPOCH=1767225600 /usr/bin/python3 "$root/tools/make_fonts.py" --eudc-from \
    "/usr/share/fonts/truetype/arphic/uming.ttc#AR PL UMing TW" "$made/EUDC.TTE" "$characters" || exit 1
"$root/tests/e2e/wine-prefix.sh" base "$base" >/dev/null || exit 1
"$root/tests/e2e/wine-prefix.sh" run "$base" "$build/prefixes/pictures" x11 120 "$root/tests/e2e/doc-pictures.sh" \
    "$build/VELTRANE.EXE" "$build/drive.exe" "$build/eudclink.exe" "$made/EUDC.TTE" "$made" || exit 1
VELTRANE_SCREEN=2048x1536 "$root/tests/e2e/wine-prefix.sh" run "$base" "$build/prefixes/pictures" x11 120 \
    "$root/tests/e2e/doc-pictures.sh" "$build/VELTRANE.EXE" "$build/drive.exe" "$build/eudclink.exe" \
    "$made/EUDC.TTE" "$made" 144 || exit 1
cp "$made/character-view.png" "$made/chart.png" "$made/main-window-144.png" "$made/character-view-144.png" "$root/docs/"
echo "wrote docs/character-view.png, docs/chart.png, docs/main-window-144.png and docs/character-view-144.png"
