#!/usr/bin/env bash
# The real program used with the keyboard alone, and its About box, under Xvfb. Keys and
# mouse clicks are real X input (xdotool), which reaches the program through Wine as a
# user's would; drive.exe only reads the state back.
#   keyboard-and-about.sh VELTRANE.EXE drive.exe SCREENSHOTS-FOLDER   (through wine-prefix.sh run)
# The About box and the open-file dialog are kept there; the list's pictures in keyboard/.
program=$1
drive=$2
screenshots=$3
pictures=$screenshots/keyboard
source "$(dirname "$0")/helpers.sh"
require_display
mkdir -p "$pictures" "$WINEPREFIX/drive_c/eudc"
: >"$WINEPREFIX/drive_c/eudc/KEYS.TTE"
font='AR PL UMing TW'

# Presses the key of each word KEY=WANT after $1 and reads $1 (focus or selection) once it
# is WANT, or after a while; prints the reading before the keys and each after one.
readings_after() {
    local what=$1 want readings
    shift
    readings=$(drive "$what")
    for want in "$@"; do
        xdotool key "${want%%=*}"
        readings="$readings $(drive "$what" "${want#*=}")"
    done
    echo "$readings"
}
click() {
    xdotool mousemove "$1" "$2" click 1
}

clear_key
start

# The tab order is the template's: Close, the list, Modify, Remove, About, and round again.
order=$(readings_after focus Tab=list Tab=modify Tab=remove Tab=about Tab=close)
expect "Tab from the start" "$order" "close list modify remove about close"
xdotool key shift+Tab
expect "Shift+Tab from Close" "$(drive focus about)" about

# The arrow keys move the selection in the list, End to its last row, and the list is
# painted exactly as when the mouse selected the same row.
xdotool key Tab Tab
expect "the list has the focus" "$(drive focus list)" list
mapfile -t rows < <(drive rows)
last=$((${#rows[@]} - 1))
moves=$(readings_after selection Down=1 Down=2 Up=1 End=$last Home=0 Down=1 Down=2)
expect "selection after Down, Down, Up, End, Home, Down, Down" "$moves" "0 1 2 1 $last 0 1 2"
picture_list keys
drive click-row "${rows[0]}"
drive click-row "${rows[2]}"
picture_list mouse
if same_pixels "$pictures/list-keys.png" "$pictures/list-mouse.png"; then
    pass "the list after the arrow keys looks as after a click on the same row"
else
    fail "the list after the arrow keys differs from the list after a click (list-keys.png, list-mouse.png)"
fi

# Mnemonics: Alt+M opens the open-file dialog for the selected row, Alt+R removes its link.
drive click-row "$font"
xdotool key alt+m
# shellcheck disable=SC2046
shoot "$screenshots/file-dialog.png" $(drive file-dialog-rect)
drive choose-file 'C:\eudc\KEYS.TTE'
expect_link "$font" 'C:\eudc\KEYS.TTE' "Alt+M, then a file"
xdotool key alt+r
expect_link "$font" none "Alt+R"

# The About box, from each of its two places, closed in each of its three ways; each time
# with today's date, centred on the main dialog.
today() { date +%Y年%-m月%-d日; }
# Opens the About box by running the command given after $1, then checks it. Its date is
# today's as taken just before it opened or just after its date line was read, so that a
# run across midnight passes.
about_opened() {
    local what=$1 before after main_x main_y main_width main_height x y width height date
    shift
    before=$(today)
    "$@"
    read -r x y width height < <(drive about-rect) || { fail "$what: no About box"; return 1; }
    read -r main_x main_y main_width main_height < <(drive wait-main)
    date=$(drive about-date)
    after=$(today)
    if [ "$date" = "$before" ] || [ "$date" = "$after" ]; then pass "$what: the date line reads $date"; else fail "$what: the date line reads '$date', not $before or $after"; fi
    if [ $((2 * x + width - 2 * main_x - main_width)) -ge -1 ] && [ $((2 * x + width - 2 * main_x - main_width)) -le 1 ] &&
        [ $((2 * y + height - 2 * main_y - main_height)) -ge -1 ] && [ $((2 * y + height - 2 * main_y - main_height)) -le 1 ]; then
        pass "$what: centred on the main dialog"
    else
        fail "$what: at $x,$y ${width}x$height, not centred on the main dialog at $main_x,$main_y ${main_width}x$main_height"
    fi
    about_rect="$x $y $width $height"
}
about_closed() {
    if drive about-closed; then pass "$1: the About box closed"; else fail "$1: the About box stayed open"; fi
    expect "$1: the main dialog is still there" "$(drive wait-main 1000 >/dev/null && echo open)" open
}

# shellcheck disable=SC2046
about_opened "About button" click $(drive button-point about) && {
    # shellcheck disable=SC2086
    shoot "$screenshots/about-box.png" $about_rect
    # shellcheck disable=SC2046
    click $(drive button-point close about)
    about_closed "About button, then its Close button"
}
# The system menu: Alt+Space, then Up to its last entry, "About veltrane...".
about_opened "system menu" xdotool key alt+space Up Return && {
    xdotool key Escape
    about_closed "system menu, then Escape"
}
about_opened "Alt+A" xdotool key alt+a && {
    # shellcheck disable=SC2046
    click $(drive close-box-point about)
    about_closed "Alt+A, then the close box"
}

xdotool key alt+c
expect_exit "Alt+C"

# Enter closes the program wherever the focus is, here in the list.
start
xdotool key Tab
expect "Tab after the start" "$(drive focus list)" list
xdotool key Return
expect_exit "Enter in the list"

exit $((failures > 0))
