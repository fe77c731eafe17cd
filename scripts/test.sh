#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: the portable code natively
# with the sanitizers, its fuzz targets (every seed, then a short run of each), the
# Windows build under Wine (in test prefixes under build/, never yours), the real program
# under Xvfb, the i686 build's Windows tests and its open-file dialog and registry paths
# where this machine runs 32-bit programs, and the release archive, packed from the
# builds the tests have just passed.
#
# The phases run side by side where one alone leaves a core idle: the tests under Wine
# mostly wait, so they run beside the builds, and the builds run one after another, each
# on both cores. Each phase writes a log of its own under build/logs/, shown whole when
# the phase ends; a failed phase's log is shown and ends the run.
set -euo pipefail
cd "$(dirname "$0")/.."
# The repository's folder, quoted for the phases' command lines.
root=$(printf %q "$PWD")

scripts/setup.sh

# The include graph of src/: app, the faces, model, platform, each including only itself
# and those below it; portable code reaching nothing of Windows; no loop between units.
echo "== The layers of src/"
python3 scripts/layers.py

logs=build/logs
mkdir -p "$logs"
declare -A pid title

# Starts the phase NAME, described by TITLE, running the shell command COMMAND in the
# background, in a session of its own so that it can be ended whole.
begin() {
    title[$1]=$2
    rm -f "$logs/$1.seconds"
    setsid bash -c "$3
        status=\$?; echo \$SECONDS >$logs/$1.seconds; exit \$status" </dev/null >"$logs/$1.log" 2>&1 &
    pid[$1]=$!
}
# Waits for the phase NAME and shows its log; a failed phase ends the run.
finish() {
    local status=0
    wait "${pid[$1]}" || status=$?
    unset "pid[$1]"
    echo "== ${title[$1]} ($(cat "$logs/$1.seconds" 2>/dev/null || echo ?) s)"
    cat "$logs/$1.log"
    if [ "$status" != 0 ]; then
        echo "== FAILED: ${title[$1]}; its log is $logs/$1.log"
        exit 1
    fi
}
run() { begin "$@"; finish "$1"; }
# Whatever is still running when the run ends, by failure or by Ctrl+C, ends with it.
end_phases() {
    local session
    for session in "${pid[@]}"; do kill -TERM -- "-$session" 2>/dev/null || true; done
}
trap end_phases EXIT
trap 'exit 130' INT TERM

# The 32-bit build differs where sizes and calling conventions do: the open-file dialog's
# structure is 76 bytes there and callbacks are stdcall. Its programs are built and
# packed everywhere; its tests run where this machine runs 32-bit programs
# (scripts/setup.sh installs 32-bit Wine there), in copies of the x86-64 build's base
# prefix, which runs both kinds.
runs_32_bit=OFF
/usr/lib/wine/wine --version >/dev/null 2>&1 && runs_32_bit=ON
win32_targets="veltrane eudclink"
[ $runs_32_bit = OFF ] || win32_targets+=" veltrane_win_tests drive"

run win64 "Windows build for x86-64" \
    "cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DVELTRANE_RELEASE_BUILDS=$root/build/win32 >/dev/null &&
     cmake --build build/win64 -j2"
# The tests under Wine wait for states, so they run beside the builds.
begin win64_tests "Its Windows tests, the real program under Xvfb, and eudclink, under Wine" \
    "ctest --test-dir build/win64 --output-on-failure -j4"

run native "Native build of the portable code, with AddressSanitizer and UndefinedBehaviorSanitizer" \
    "cmake -S . -B build/native >/dev/null && cmake --build build/native -j2"
begin native_tests "Its tests" "ctest --test-dir build/native --output-on-failure -j2"

run fuzz_build "Fuzz targets of the portable model, with libFuzzer and the same sanitizers" \
    "cmake -S . -B build/fuzz -DVELTRANE_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ >/dev/null && cmake --build build/fuzz -j2"
# A few seconds for each target; scripts/fuzz.sh with a larger number runs them longer.
begin fuzz "Every seed of the fuzz targets, then a short run of each" "scripts/fuzz.sh 5"

run win32 "Windows build for i686: $win32_targets" \
    "cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DMINGW_ARCH=i686 \
         -DVELTRANE_TESTS=$runs_32_bit -DVELTRANE_WINE_BASE=$root/build/win64/wine-base >/dev/null &&
     cmake --build build/win32 --target $win32_targets -j2"

finish native_tests
finish fuzz
finish win64_tests
if [ $runs_32_bit = ON ]; then
    run win32_tests "The i686 build's Windows tests under Wine, its links through the open-file dialog under Xvfb, and eudclink" \
        "ctest --test-dir build/win32 --output-on-failure -j4 -R '^(veltrane_win_tests|links|hostile_font_names|console)\$'"
else
    echo "== NOT RUN: the i686 build's tests. This machine cannot run 32-bit programs, so it has no 32-bit Wine"
fi

run release "The release archive, from the programs of build/win64 and build/win32" \
    "scripts/release.sh --pack build/win64 build/win32"
echo "== Every test passed in $SECONDS s; screenshots of the main window, the About box and the open-file dialog in build/win64/screenshots/"
