#!/usr/bin/env bash
# Installs what is missing, builds VELTRANE.EXE and eudclink.exe for x86-64 and for i686
# without the tests, and packs them, the README and the licence into
# build/release/veltrane-VERSION-windows.zip.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

scripts/setup.sh
release=$PWD/build/release
# The x86-64 build makes the archive and takes the i686 build's program into it.
for arch in i686 x86_64; do
    echo "== Building VELTRANE.EXE and eudclink.exe for $arch"
    others=
    [ $arch = x86_64 ] && others=$release/i686
    cmake -S . -B "$release/$arch" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DMINGW_ARCH=$arch \
        -DCMAKE_BUILD_TYPE=Release -DVELTRANE_TESTS=OFF -DVELTRANE_RELEASE_BUILDS="$others" >/dev/null
    cmake --build "$release/$arch" --target veltrane eudclink -j"$jobs"
done
echo "== Packing"
rm -f "$release"/veltrane-*-windows.zip
(cd "$release/x86_64" && cpack -B "$release" >/dev/null)
archive=$(ls "$release"/veltrane-*-windows.zip)
cmake -E tar tvf "$archive"
echo "== The release archive: $archive"
