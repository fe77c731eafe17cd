# Sourced by the end-to-end scripts, after they set $program and $drive: the helpers that
# report, drive, start and stop the program, read the registry and take pictures.
set -uo pipefail
# drive.exe reads the captions, the icon and the item picture from the program's file.
export VELTRANE_EXE=$program
key='HKCU\EUDC\950'

# The X display, the Wine server and the prefix are the test runner's
# (tests/e2e/wine-prefix.sh run), which ends them all when the script ends.
require_display() {
    [ -n "${DISPLAY:-}" ] || { echo "FAIL no X display: run this through ctest or 'wine-prefix.sh run ... x11 ...'"; exit 1; }
}

failures=0
pass() { echo "ok   $*"; }
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
expect() {
    if [ "$2" = "$3" ]; then pass "$1: $3"; else fail "$1: '$2', not '$3'"; fi
}
# drive.exe runs once for the whole script, reading commands from one pipe and
# answering on another (see its "serve"); the pipes are in the prefix.
start_drive() {
    local pipes=$WINEPREFIX/drive-pipes
    rm -rf "$pipes"
    mkdir -p "$pipes"
    mkfifo "$pipes/commands" "$pipes/answers"
    wine "$drive" serve <"$pipes/commands" >"$pipes/answers" &
    exec {to_drive}>"$pipes/commands" {from_drive}<"$pipes/answers"
}
[ -z "${drive:-}" ] || start_drive
# When what drive.exe waited for does not come, it says what and ends: the program is
# then not where the next steps expect it, and each of them would only wait in vain, so
# the script stops. drive often runs in a subshell, hence the signal.
trap 'echo "FAIL stopped: drive.exe ended after the message above"; exit 1' USR1
# Runs a command of drive.exe: its output on standard output, its messages on standard
# error, its status returned. The whole answer is read before any of it is shown, so
# that a reader of the first line cannot let the next command start early.
drive() {
    local IFS=$'\t' line answer=() status=
    printf '%s\n' "$*" >&"$to_drive"
    while IFS= read -r -u "$from_drive" line; do
        line=${line%$'\r'}
        [[ $line != $'\x1e'* ]] || { status=${line#?}; break; }
        answer+=("$line")
    done
    for line in "${answer[@]}"; do
        if [[ $line == $'\x1f'* ]]; then echo "drive: ${line#?}" >&2; else printf '%s\n' "$line"; fi
    done
    [ -n "$status" ] || kill -USR1 $$
    return "${status:-3}"
}

# The display scale $1 in dots per inch for the programs started from now on: what
# Windows keeps of it for the user and for the machine, either of which Wine reads. drive.exe,
# like the program, takes it when it starts, so it starts again.
use_scale() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
    wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
        /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
    exec {to_drive}>&- {from_drive}<&-
    start_drive
}

# Starts the program in the background and waits until its main dialog is painted.
start() {
    wine "$program" &
    pid=$!
    drive painted || { echo "FAIL the program did not start"; exit 1; }
}
# Waits up to ten seconds for the program to end by itself, with exit code 0, not by a
# crash; $1 says how it was asked to.
expect_exit() {
    local status
    if ! timeout 10 tail --pid="$pid" -s 0.05 -f /dev/null; then
        fail "$1: waited 10 s for the program to end"
        kill "$pid"
    fi
    wait "$pid"
    status=$?
    if [ "$status" = 0 ]; then pass "$1: the program ended with exit code 0"; else fail "$1: exit code $status"; fi
}
stop() {
    drive close close-button
    expect_exit "closed by its Close button"
}

# Bytes that a console program wrote into a pipe or a file, as PowerShell reads them: in
# the console's output code page ($1, or cp950), as UTF-8; fails on bytes that are none.
as_powershell() { /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/as_powershell.py" "$@"; }

clear_key() { wine reg delete "$key" /f >/dev/null 2>&1; }
# reg add, which a busy machine has been seen to fail once in a long run: said, with
# what reg printed, and tried again before the script goes on without the value.
link_by_reg() {
    local attempt said
    for attempt in 1 2 3; do
        said=$(wine reg add "$key" /v "$1" /d "$2" /f 2>&1) && return 0
        echo "     reg add of '$1' failed (attempt $attempt): $(echo "$said" | tr -d '\r' | tail -n 2)"
    done
    fail "reg add of '$1' failed three times"
}
# The link of a value name as reg shows it: "REG_SZ<TAB>data", or "none".
link_of() {
    local line
    line=$(wine reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | grep -F "    $1    ") || { echo none; return; }
    line=${line#    "$1"    }
    echo "${line%%    *}	${line#*    }"
}
# Once drive.exe reads the data $2 (or none) in the value $1, whether reg shows it so.
expect_link() {
    local want=none got
    [ "$2" = none ] || want="REG_SZ	$2"
    drive value "$1" "$2" >/dev/null
    got=$(link_of "$1")
    if [ "$got" = "$want" ]; then pass "$3: reg shows '$1' as '$want'"; else fail "$3: reg shows '$1' as '$got', not '$want'"; fi
}

# A picture of the screen's rectangle X Y WIDTH HEIGHT, kept as the file $1.
shoot() { import -window root -crop "${4}x${5}+${2}+${3}" +repage "$1"; }
# Whether two pictures hold the same pixels, whatever their files' metadata.
same_pixels() {
    [ "$(convert "$1" rgb:- | md5sum)" = "$(convert "$2" rgb:- | md5sum)" ]
}
# A picture of the row $1 as $pictures/$2.png, taken while the row $3 is selected.
picture_row() {
    drive click-row "$3"
    # shellcheck disable=SC2046
    shoot "$pictures/$2.png" $(drive row-rect "$1")
}
# A picture of the list as $pictures/list-$1.png.
picture_list() {
    # shellcheck disable=SC2046
    shoot "$pictures/list-$1.png" $(drive list-rect)
}
