#!/usr/bin/env bash
# End to end, as a screen reader (Orca) meets the program on a real accessibility bus of
# the test's own, read through pyatspi: the gallery is a list of the captures by name, the
# arrow keys move its selection and focus, the zoom window's picture and the full-screen
# viewer are named; and every command of both pop-up menus is reached from the keyboard
# alone (Shift+F10, the Menu key), with the shortcuts as the entries' key bindings.
source "$(dirname "$0")/lib.sh"
PROBE=$(cd "$(dirname "$0")" && pwd)/a11y_probe.py
work=$E2E_TMP

BUS_ON_ROOT=$(xprop -root AT_SPI_BUS 2>/dev/null | grep '=' || true)
a11y_cleanup() {
    # What the buses start (the accessibility bus's daemon, its registry) goes too.
    end_descendants
    # The launcher names its bus on the display's root window; the programs of later tests
    # on this display must not look for a bus that is gone.
    if [ -z "$BUS_ON_ROOT" ]; then xprop -root -remove AT_SPI_BUS 2>/dev/null || true; fi
    e2e_cleanup
}
trap a11y_cleanup EXIT
trap 'exit 143' TERM INT HUP

# A session bus, and on it the accessibility bus, as a desktop session starts them.
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS
start_session_bus
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/bus.log" 2>&1 &
E2E_PIDS+=($!)
disown $!
a11y_address() {
    dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus \
        org.a11y.Bus.GetAddress 2>/dev/null | tr -d ' '
}
has_a11y_bus() { [ -n "$(a11y_address)" ]; }
wait_for 30 has_a11y_bus || fail "the accessibility bus did not start: $(cat "$work/bus.log")"
# Found through the session bus, as a desktop session has it (Qt 6.4 ignores an address
# given in AT_SPI_BUS_ADDRESS).
export QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

# The screen reader's ears: listening before the program starts, so it sends every event.
EVENTS=$work/events
/usr/bin/python3 "$PROBE" listen "$EVENTS" 2>"$work/listen.err" &
E2E_PIDS+=($!)
disown $!
listening() { grep -q '^ready$' "$EVENTS"; }
wait_for 30 listening || fail "the event listener did not start: $(cat "$work/listen.err")"
mark() { MARK=$(wc -l <"$EVENTS"); }
heard() { tail -n "+$((MARK + 1))" "$EVENTS" | grep -q -- "$1"; }

# The About box opens a web page: here it is only written down.
mkdir -p "$work/bin"
printf '#!/bin/sh\necho "$1" >>"%s/opened"\n' "$work" >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
export PATH=$work/bin:$PATH

make_png "$work/a.png" 800 450 '#2060a0'
make_png "$work/b.png" 640 480 '#a02060'
make_png "$work/c.png" 320 240 '#20a060'
start_pictavo
pid=$PICTAVO_PID
main=$WINDOW

tree() { /usr/bin/python3 "$PROBE" dump "$pid" 2>&1; }
tree_has() { tree | grep -q -- "$1"; }
items() { tree | grep -c '^3|list item|' || true; }
items_are() { [ "$(items)" -eq "$1" ]; }
expect_tree() { wait_for 20 tree_has "$1" || fail "$2; the tree:"$'\n'"$(tree)"; }

# Two captures: a list of two items, named and sized, neither selected yet.
put_png "$work/a.png"
wait_for 10 clipboard_empty || fail "the first capture was not taken"
put_png "$work/b.png"
wait_for 10 clipboard_empty || fail "the second capture was not taken"
expect_tree '^1|frame|Pictavo - \[Use PrintScreen key to capture screen\]|' "the main window is no frame named by its caption"
expect_tree '^2|list|Gallery|' "no gallery list"
expect_tree '^3|list item|Image 1|800 × 450 pixels|sensitive|' "Image 1 is not listed, unselected, with its size"
expect_tree '^3|list item|Image 2|640 × 480 pixels|sensitive|' "Image 2 is not listed, unselected, with its size"
items_are 2 || fail "empty entries are listed: $(tree)"

# The arrow keys: the selection and the focus move, and the screen reader hears it.
xdotool windowactivate --sync "$main"
mark
xdotool key Right
wait_for 10 heard '^object:state-changed:selected|1|list item|Image 2|' || fail "no selection event for Image 2: $(cat "$EVENTS")"
wait_for 10 heard '^focus:|0|list item|Image 2|' || fail "Image 2 did not get the focus: $(cat "$EVENTS")"
mark
xdotool key Left
wait_for 10 heard '^object:state-changed:selected|0|list item|Image 2|' || fail "no event for Image 2 losing the selection"
wait_for 10 heard '^object:state-changed:selected|1|list item|Image 1|' || fail "no selection event for Image 1"
wait_for 10 heard '^focus:|0|list item|Image 1|' || fail "Image 1 did not get the focus"
expect_tree '^3|list item|Image 1|800 × 450 pixels|selected,focused,' "Image 1 is not selected and focused"
expect_tree '^3|list item|Image 2|640 × 480 pixels|sensitive|' "Image 2 is still selected"

# Shift+F10: the menu, at the selected thumbnail however the pointer stands, its first entry
# active, then each heard in turn with the design's name and its shortcut as key binding.
xdotool mousemove 1200 1000
mark
xdotool key shift+F10
wait_for 10 heard '^focus:|0|menu item|Save\.\.\.|' || fail "Shift+F10 opened no menu with Save... active: $(cat "$EVENTS")"
xdotool key Down Down Down Down Down Down Down Down
wait_for 10 heard '^focus:|0|menu item|About\.\.\.|' || fail "Down did not reach About...: $(cat "$EVENTS")"
heard_menu=$(tail -n "+$((MARK + 1))" "$EVENTS" | grep '^focus:|0|menu item|' | uniq)
entries=$(cut -d'|' -f4,5 <<<"$heard_menu")
expected='Save...|Ctrl+S
Save All|Alt+A
Open...|Ctrl+O
Print...|Ctrl+P
Copy to Clipboard|Ctrl+C
Delete|Del
Clear|F8
Browse...|Ctrl+B
About...|'
[ "$entries" = "$expected" ] || fail "the menu's entries and key bindings as heard:"$'\n'"$entries"
client_origin
at=$(head -1 <<<"$heard_menu" | cut -d'|' -f7)
mx=${at%%,*}
my=$(cut -d, -f2 <<<"$at")
# Entry 0's centre: 2 + 37, 3 + 29 pixels into the client area.
[ $((mx - ORIGIN_X - 39)) -ge -2 ] && [ $((mx - ORIGIN_X - 39)) -le 2 ] &&
    [ $((my - ORIGIN_Y - 32)) -ge -2 ] && [ $((my - ORIGIN_Y - 32)) -le 2 ] ||
    fail "the menu opened at $at, not at the selected thumbnail ($ORIGIN_X,$ORIGIN_Y + 39,32)"
# The menu closes and the focus is back on the selected thumbnail.
mark
xdotool key Escape
wait_for 10 heard '^focus:|0|list item|Image 1|' || fail "Esc did not close the menu back to Image 1"

# The focus went elsewhere than a menu entry: the menu closed.
menu_left() { tail -n "+$((MARK + 1))" "$EVENTS" | grep '^focus:' | grep -qv '|menu item|'; }
window_named() { xdotool search --onlyvisible --name "$1" | head -1; }
has_window() { [ -n "$(window_named "$1")" ]; }
# command KEY DOWNS NAME: opens the menu with KEY, goes DOWNS entries down to NAME, heard
# as it goes, and chooses it.
command() {
    mark
    xdotool windowactivate --sync "$main" key "$1"
    wait_for 10 heard '^focus:|0|menu item|Save\.\.\.|' || fail "$1 opened no menu"
    mark
    for _ in $(seq "$2"); do xdotool key Down; done
    [ "$2" -eq 0 ] || wait_for 10 heard "^focus:|0|menu item|$3|" || fail "$3 was not reached"
    mark
    xdotool key Return
    wait_for 10 menu_left || fail "the menu did not close for $3"
}
# dialog TITLE: it came, and Esc cancels it.
dialog() {
    wait_for 20 has_window "$1" || fail "no window $1"
    xdotool key Escape
    wait_for 10 bash -c "[ -z \"\$(xdotool search --onlyvisible --name '$1')\" ]" || fail "$1 did not close"
}

command shift+F10 0 'Save\.\.\.'
dialog '^Save Image$'
command Menu 1 'Save All'
dialog '^Select folder where you want to save all the images:$'
command shift+F10 2 'Open\.\.\.'
dialog '^Open Image$'
command shift+F10 7 'Browse\.\.\.'
dialog '^Select the desired folder:$'
jobs() { lpstat -W all -o 2>/dev/null | wc -l; }
printed=$(jobs)
command Menu 3 'Print\.\.\.'
if lpstat -d 2>/dev/null | grep -q 'destination:'; then
    more_jobs() { [ "$(jobs)" -gt "$printed" ]; }
    wait_for 60 more_jobs || fail "Print from the menu printed nothing"
fi
# Until the print is done the other commands are greyed out.
idle() {
    local ready=0
    mark
    xdotool windowactivate --sync "$main" key shift+F10
    wait_for 10 heard '^focus:|0|menu item|' || return 1
    heard '^focus:|0|menu item|Save\.\.\.|' && ready=1
    mark
    xdotool key Escape
    wait_for 10 menu_left
    [ "$ready" -eq 1 ]
}
wait_for 60 idle || fail "the commands stayed greyed out after Print"
two_windows() { [ "$(xdotool search --onlyvisible --name '^Pictavo' | wc -l)" -ge 2 ]; }
command shift+F10 8 'About\.\.\.'
wait_for 20 two_windows || fail "no About box"
xdotool key Return
opened() { grep -q '^https://pictavo.codeberg.page/$' "$work/opened"; }
wait_for 20 opened || fail "About did not open the web page"

# The zoom window: its picture named and sized, its menu from the keyboard.
xdotool windowactivate --sync "$main" key Return
wait_for 20 has_window '^Image 1$' || fail "Enter opened no zoom window"
zoom=$(window_named '^Image 1$')
expect_tree '|image|Image 1|800 × 450 pixels|' "the zoom window's picture is not named"
for key in shift+F10 Menu; do
    mark
    xdotool windowactivate --sync "$zoom" key "$key"
    wait_for 10 heard '^focus:|0|menu item|Save\.\.\.|' || fail "$key opened no menu in the zoom window"
    xdotool key Return
    dialog '^Save Image$'
done
# The full-screen viewer: a focused frame named as the picture, over the whole screen.
mark
xdotool windowactivate --sync "$zoom" key Return
wait_for 10 heard '^focus:|0|frame|Image 1|' || fail "the full-screen viewer is not a focused frame named Image 1: $(cat "$EVENTS")"
viewer='^1|frame|Image 1|800 × 450 pixels|[^|]*||0,0,1280,1024$'
expect_tree "$viewer" "the full-screen viewer is not described by its size"
xdotool key Escape
viewer_closed() { ! tree_has "$viewer"; }
wait_for 10 viewer_closed || fail "Esc did not close the full-screen viewer"
xdotool windowactivate --sync "$zoom" key Escape

# Delete from the menu, a capture more (a picture not taken before: the same one again
# could be a clipboard manager's put-back), then the Delete key: each removes one picture.
command Menu 5 'Delete'
wait_for 10 items_are 1 || fail "Delete from the menu: $(items) items"
put_png "$work/c.png"
wait_for 10 items_are 2 || fail "the third capture is not listed"
xdotool windowactivate --sync "$main" key Delete
wait_for 10 items_are 1 || fail "the Delete key: $(items) items"
command shift+F10 4 'Copy to Clipboard'
wait_for 10 clipboard_has_image || fail "Copy from the menu put no picture on the clipboard"
# Text in its place, so that Clear leaves nothing to take.
printf 'text' | xclip -quiet -selection clipboard -i >/dev/null 2>&1 &
E2E_PIDS+=($!)
wait_for 10 bash -c '! xclip -o -selection clipboard -t TARGETS 2>/dev/null | grep -q "^image/"' ||
    fail "the clipboard kept the picture"
items_are 1 || fail "the Delete key removed more than one picture"
command shift+F10 6 'Clear'
wait_for 10 items_are 0 || fail "Clear from the menu left $(items) items"
echo "a11y e2e: passed"
