#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: the portable code natively
# with the sanitizers and a short run of its fuzz targets, the Windows build under Wine
# (in test prefixes under build/, never yours), the real program under Xvfb, the i686
# build's Windows tests and its open-file dialog and registry paths, and the release
# archive for x86-64 and i686.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

scripts/setup.sh

# The include graph of src/: app, ui, model, platform, each including only itself and
# those below it, and no loop between files. The checker lives beside the repository
# where the team keeps its tools.
layers=../shared/tools/layers
if [ -x "$layers" ]; then
    echo "== The layers of src/"
    "$layers" .
else
    echo "== No $layers here: the layers of src/ are not checked"
fi

echo "== Native build of the portable code, with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build/native >/dev/null
cmake --build build/native -j"$jobs"
ctest --test-dir build/native --output-on-failure -j"$jobs"

# 20 seconds for each of the five targets; scripts/fuzz.sh with a larger number runs them longer.
scripts/fuzz.sh 20

echo "== Windows build for x86-64, its tests under Wine and the real program under Xvfb"
cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake >/dev/null
cmake --build build/win64 -j"$jobs"
ctest --test-dir build/win64 --output-on-failure

# The 32-bit build differs where sizes and calling conventions do: the open-file dialog's
# structure is 76 bytes there and callbacks are stdcall. It runs in the x86-64 build's
# prefixes, ready by now, where this machine runs 32-bit programs (scripts/setup.sh).
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo "== Windows build for i686, its tests under Wine, its links through the open-file dialog under Xvfb, and eudclink"
    cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DMINGW_ARCH=i686 \
        -DVELTRANE_WINE_PREFIXES="$PWD/build/win64" >/dev/null
    cmake --build build/win32 --target veltrane eudclink veltrane_win_tests drive -j"$jobs"
    ctest --test-dir build/win32 --output-on-failure -R '^(veltrane_win_tests|links|hostile_font_names|console)$'
else
    echo "== NOT RUN: the i686 build's tests. This machine cannot run 32-bit programs, so it has no 32-bit Wine"
fi

echo "== The release archive, with the i686 build"
scripts/release.sh
echo "== Every test passed; screenshots of the main window, the About box and the open-file dialog in build/win64/screenshots/"
