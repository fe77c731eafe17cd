#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: the portable code natively
# with the sanitizers, the Windows build under Wine (in test prefixes under build/,
# never yours), the real program under Xvfb, and a compile check for i686.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

scripts/setup.sh

echo "== Native build of the portable code, with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build/native >/dev/null
cmake --build build/native -j"$jobs"
ctest --test-dir build/native --output-on-failure -j"$jobs"

echo "== Windows build for x86-64, its tests under Wine and the real program under Xvfb"
cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake >/dev/null
cmake --build build/win64 -j"$jobs"
ctest --test-dir build/win64 --output-on-failure

echo "== Windows build for i686 (compile check)"
cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DMINGW_ARCH=i686 -DVELTRANE_TESTS=OFF >/dev/null
cmake --build build/win32 --target veltrane -j"$jobs"
echo "== Every test passed; screenshot of the main window: build/win64/screenshots/main-window.png"
