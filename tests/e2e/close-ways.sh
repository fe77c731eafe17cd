#!/usr/bin/env bash
# Starts the real program once for each way of closing its main dialog and checks that
# the process ends the same way every time: promptly, with exit code 0.
#   close-ways.sh VELTRANE.EXE drive.exe      (through wine-prefix.sh run)
program=$1
drive=$2
source "$(dirname "$0")/helpers.sh"

for way in close-button enter escape close-box; do
    start
    drive close "$way" || fail "$way: could not reach the main dialog"
    expect_exit "$way"
done
exit $((failures > 0))
