#!/usr/bin/env bash
# Starts the real program once for each way of closing its main dialog and checks that
# the process ends the same way every time: promptly, with exit code 0.
#   close-ways.sh VELTRANE.EXE drive.exe      (WINEPREFIX names a prepared prefix)
set -uo pipefail
program=$1
drive=$2
failures=0
for way in close-button enter escape close-box; do
    wine "$program" &
    pid=$!
    if ! wine "$drive" close "$way"; then
        echo "FAIL $way: could not reach the main dialog"
        kill "$pid" 2>/dev/null
        failures=$((failures + 1))
        continue
    fi
    # The process must end by itself within ten seconds.
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$pid" 2>/dev/null; then
        echo "FAIL $way: the program is still running"
        kill "$pid"
        failures=$((failures + 1))
        continue
    fi
    wait "$pid"
    status=$?
    if [ "$status" -eq 0 ]; then
        echo "ok   $way: the program ended with exit code 0"
    else
        echo "FAIL $way: exit code $status"
        failures=$((failures + 1))
    fi
done
exit $((failures > 0))
