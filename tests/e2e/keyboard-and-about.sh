#!/usr/bin/env bash
# The real program used with the keyboard alone, and its About box, under Xvfb. Keys and
# mouse clicks are real X input (xdotool), which reaches the program through Wine as a
# user's would; drive.exe only reads the state back.
#   keyboard-and-about.sh VELTRANE.EXE drive.exe SCREENSHOTS-FOLDER   (WINEPREFIX names a prepared prefix)
# The About box and the open-file dialog are kept there; the list's pictures in keyboard/.
set -uo pipefail
program=$1
drive=$2
screenshots=$3
pictures=$screenshots/keyboard

source "$(dirname "$0")/under-xvfb.sh"
mkdir -p "$pictures"

key='HKCU\EUDC\950'
IDOK=1 IDC_FONT_LIST=1000 IDC_MODIFY=1007 IDC_REMOVE=1008 IDC_ABOUT=1009
FONT_ROW=2
font='AR PL UMing TW'
mkdir -p "$WINEPREFIX/drive_c/eudc"
: >"$WINEPREFIX/drive_c/eudc/KEYS.TTE"

start_and_settle() {
    start
    sleep 0.5
}
expect() {
    if [ "$2" = "$3" ]; then pass "$1: $3"; else fail "$1: '$2', not '$3'"; fi
}
keys() {
    xdotool key "$@"
    sleep 0.3
}
# Runs drive with the arguments after $1 until it prints $1, for up to five seconds, since
# a loaded machine may take a while over a key; prints what it printed last.
drive_until() {
    local want=$1 got
    shift
    for _ in $(seq 20); do
        got=$(drive "$@")
        [ "$got" = "$want" ] && break
        sleep 0.25
    done
    echo "$got"
}
# Presses each key and reads $1 (focus or selection) after it, expecting the next of the
# remaining words; prints the start and each reading.
readings_after() {
    local what=$1 keyName want
    shift
    local readings
    readings=$(drive "$what")
    for want in "$@"; do
        keyName=${want%%=*}
        xdotool key "$keyName"
        readings="$readings $(drive_until "${want#*=}" "$what")"
    done
    echo "$readings"
}
picture_list() {
    local x y width height
    sleep 0.5
    read -r x y width height < <(drive list-rect)
    import -window root -crop "${width}x${height}+${x}+${y}" +repage "$pictures/list-$1.png"
}
click() {
    xdotool mousemove "$1" "$2" click 1
}

wine reg delete "$key" /f >/dev/null 2>&1
start_and_settle

# The tab order is the template's: Close, the list, Modify, Remove, About, and round again.
order=$(readings_after focus Tab=$IDC_FONT_LIST Tab=$IDC_MODIFY Tab=$IDC_REMOVE Tab=$IDC_ABOUT Tab=$IDOK)
expect "Tab from the start" "$order" "$IDOK $IDC_FONT_LIST $IDC_MODIFY $IDC_REMOVE $IDC_ABOUT $IDOK"
xdotool key shift+Tab
expect "Shift+Tab from Close" "$(drive_until $IDC_ABOUT focus)" "$IDC_ABOUT"

# The arrow keys move the selection in the list, and the list is painted exactly as when
# the mouse selected the same row.
xdotool key Tab Tab
expect "the list has the focus" "$(drive_until $IDC_FONT_LIST focus)" "$IDC_FONT_LIST"
moves=$(readings_after selection Down=1 Down=2 Up=1 End=4 Home=0 Down=1 Down=2)
expect "selection after Down, Down, Up, End, Home, Down, Down" "$moves" "0 1 2 1 4 0 1 2"
picture_list keys
drive click-row 4
drive click-row $FONT_ROW
picture_list mouse
if same_pixels "$pictures/list-keys.png" "$pictures/list-mouse.png"; then
    pass "the list after the arrow keys looks as after a click on the same row"
else
    fail "the list after the arrow keys differs from the list after a click (list-keys.png, list-mouse.png)"
fi

# Mnemonics: Alt+M opens the open-file dialog for the selected row, Alt+R removes its link.
keys alt+m
read -r x y width height < <(drive file-dialog-rect)
sleep 0.5
import -window root -crop "${width}x${height}+${x}+${y}" +repage "$screenshots/file-dialog.png"
drive choose-file 'C:\eudc\KEYS.TTE'
link() {
    wine reg query "$key" /v "$font" 2>/dev/null | grep -qF 'C:\eudc\KEYS.TTE' && echo linked || echo none
}
for _ in $(seq 20); do [ "$(link)" = linked ] && break; sleep 0.25; done
expect "Alt+M, then a file" "$(link)" linked
keys alt+r
for _ in $(seq 20); do [ "$(link)" = none ] && break; sleep 0.25; done
expect "Alt+R" "$(link)" none

# The About box, from each of its two places, closed in each of its three ways; each time
# with today's date, centred on the main dialog.
today() { date +%Y年%-m月%-d日; }
about_opened() {
    local before main_x main_y main_width main_height x y width height date
    before=$(today)
    read -r x y width height < <(drive about-rect) || { fail "$1: no About box"; return 1; }
    read -r main_x main_y main_width main_height < <(drive wait-main)
    date=$(drive about-date)
    if [ "$date" = "$before" ] || [ "$date" = "$(today)" ]; then pass "$1: the date line reads $date"; else fail "$1: the date line reads '$date', not $before"; fi
    if [ $((2 * x + width - 2 * main_x - main_width)) -ge -1 ] && [ $((2 * x + width - 2 * main_x - main_width)) -le 1 ] &&
        [ $((2 * y + height - 2 * main_y - main_height)) -ge -1 ] && [ $((2 * y + height - 2 * main_y - main_height)) -le 1 ]; then
        pass "$1: centred on the main dialog"
    else
        fail "$1: at $x,$y ${width}x$height, not centred on the main dialog at $main_x,$main_y ${main_width}x$main_height"
    fi
    about_rect="$x $y $width $height"
}
about_closed() {
    if drive about-closed; then pass "$1: the About box closed"; else fail "$1: the About box stayed open"; fi
    expect "$1: the main dialog is still there" "$(drive wait-main 1000 >/dev/null && echo open)" open
}

click $(drive button-point $IDC_ABOUT)
about_opened "About button" && {
    sleep 0.5
    read -r x y width height <<<"$about_rect"
    import -window root -crop "${width}x${height}+${x}+${y}" +repage "$screenshots/about-box.png"
    click $(drive button-point $IDOK about)
    about_closed "About button, then its Close button"
}
# The system menu: Alt+Space, then Up to its last entry, "About veltrane...".
keys alt+space
keys Up Return
about_opened "system menu" && {
    keys Escape
    about_closed "system menu, then Escape"
}
keys alt+a
about_opened "Alt+A" && {
    click $(drive close-box-point about)
    about_closed "Alt+A, then the close box"
}

keys alt+c
expect_exit "Alt+C"

# Enter closes the program wherever the focus is, here in the list.
start_and_settle
keys Tab
keys Return
expect_exit "Enter in the list"

exit $((failures > 0))
