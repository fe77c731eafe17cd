#!/usr/bin/env bash
# Makes the release archive build/release/veltrane-VERSION-windows.zip: VELTRANE.EXE and
# eudclink.exe for x86-64 and for i686 (CPack strips them), the READMEs, the documents and
# the licence.
#   scripts/release.sh                      installs what is missing, builds the programs
#                                           for both architectures without the tests, and
#                                           packs them
#   scripts/release.sh --pack X86_64 I686   packs the programs of two build folders as
#                                           they are: scripts/test.sh packs the builds its
#                                           tests have just passed
set -euo pipefail
cd "$(dirname "$0")/.."
release=$PWD/build/release

pack() {
    local x86_64 i686 archive
    x86_64=$(realpath "$1")
    i686=$(realpath "$2")
    echo "== Packing the programs of $x86_64 and $i686"
    # The x86-64 build makes the archive and takes the i686 build's programs into it.
    cmake -S . -B "$x86_64" -DVELTRANE_RELEASE_BUILDS="$i686" >/dev/null
    mkdir -p "$release"
    rm -f "$release"/veltrane-*-windows.zip
    (cd "$x86_64" && cpack -B "$release" >/dev/null)
    archive=$(ls "$release"/veltrane-*-windows.zip)
    cmake -E tar tvf "$archive"
    echo "== The release archive: $archive"
}

if [ "${1:-}" = --pack ]; then
    [ $# = 3 ] || { echo "usage: scripts/release.sh [--pack X86_64-BUILD I686-BUILD]" >&2; exit 2; }
    pack "$2" "$3"
    exit
fi
[ $# = 0 ] || { echo "usage: scripts/release.sh [--pack X86_64-BUILD I686-BUILD]" >&2; exit 2; }

scripts/setup.sh
for arch in i686 x86_64; do
    echo "== Building VELTRANE.EXE and eudclink.exe for $arch"
    cmake -S . -B "$release/$arch" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DMINGW_ARCH=$arch \
        -DCMAKE_BUILD_TYPE=Release -DVELTRANE_TESTS=OFF >/dev/null
    cmake --build "$release/$arch" --target veltrane eudclink -j2
done
pack "$release/x86_64" "$release/i686"
