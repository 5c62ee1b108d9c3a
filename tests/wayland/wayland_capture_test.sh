#!/usr/bin/env bash
# Under a Wayland compositor with data-control (a headless sway with XWayland), every
# picture copied is taken once, whichever window has the focus, and the program's own
# copy reaches Wayland programs. Runs the installed program as an ordinary user would.
set -euo pipefail
: "${PICTAVO_BIN:?PICTAVO_BIN must name the installed program}"
: "${WL_OWNER:?WL_OWNER must name the wl_owner test tool}"
: "${WL_WINDOW:?WL_WINDOW must name the wl_window test tool}"
[ "$(id -u)" -eq 0 ] || { echo "needs root, to run the session as another user"; exit 77; }
source "$(dirname "$0")/session.sh"

session_work

colours=(red lime blue yellow magenta orange cyan purple navy teal maroon olive pink gold silver khaki coral indigo)
declare -A rgb=([red]=255,0,0 [lime]=0,255,0 [blue]=0,0,255 [yellow]=255,255,0 [magenta]=255,0,255
    [orange]=255,165,0 [cyan]=0,255,255 [purple]=128,0,128 [navy]=0,0,128 [teal]=0,128,128
    [maroon]=128,0,0 [olive]=128,128,0 [pink]=255,192,203 [gold]=255,215,0
    [silver]=192,192,192 [khaki]=240,230,140 [coral]=255,127,80 [indigo]=75,0,130)
for c in "${colours[@]}"; do convert -size 120x90 "xc:rgb(${rgb[$c]})" "PNG24:$WORK/$c.png"; done
head -c 6000 /dev/urandom >"$WORK/garbage.png"
head -c 300 "$WORK/red.png" >"$WORK/truncated.png"
chmod a+r "$WORK"/*.png
expected=()

start_sway || fail "no compositor"
start_pictavo
wait_for 20 focused_is "Pictavo - [Use PrintScreen key to capture screen]" || fail "the main window did not appear"
as_user swaymsg workspace 2 >/dev/null
user_argv
"${USER_ARGV[@]}" "$WORK/bin/wl_window" native-window >/dev/null 2>&1 &
PIDS+=($!)
wait_for 20 focused_is native-window || fail "the Wayland window did not appear"

# copy_and_wait COLOUR: wl-copy of the picture, taken and gone from the selection.
copy_and_wait() {
    as_user wl-copy --type image/png <"$WORK/$1.png"
    wait_for 10 selection_has_no_image || fail "$1 (focus '$(focused_name)') was not taken"
    expected+=("$1")
}

as_user swaymsg workspace 1 >/dev/null
wait_for 5 focused_is "Pictavo - [Use PrintScreen key to capture screen]" || fail "Pictavo not focused"
copy_and_wait red
# With an X window focused the compositor hands an X copy to Wayland too: still taken once.
as_user xclip -selection clipboard -t image/png -i "$WORK/maroon.png"
wait_for 10 x_clipboard_empty || fail "the xclip copy with Pictavo focused was not taken"
wait_for 5 selection_has_no_image || fail "the xclip copy stayed on the Wayland selection"
expected+=(maroon)
# The same picture copied by a Wayland program and by an X program half a second apart,
# either way round: the compositor hands each across, and it is one capture every time.
neither_side_has_image() { x_clipboard_has_no_image && selection_has_no_image; }
for pair in wayland:silver x:khaki wayland:coral x:indigo; do
    colour=${pair#*:}
    wl_first() { as_user wl-copy --type image/png <"$WORK/$colour.png"; }
    x_first() { as_user xclip -selection clipboard -t image/png -i "$WORK/$colour.png"; }
    if [ "${pair%%:*}" = wayland ]; then wl_first; sleep 0.5; x_first; else x_first; sleep 0.5; wl_first; fi
    wait_for 10 neither_side_has_image || true
    expected+=("$colour")
done
as_user swaymsg workspace 2 >/dev/null
wait_for 5 focused_is native-window || fail "the Wayland window not focused"
copy_and_wait lime
as_user swaymsg workspace 3 >/dev/null
wait_for 5 focused_is "" || fail "something has the focus: $(focused_name)"
copy_and_wait blue

# With nothing focused an X copy stays on the X side, and is taken there once.
as_user xclip -selection clipboard -t image/png -i "$WORK/yellow.png"
wait_for 10 x_clipboard_empty || fail "the xclip copy was not taken"
selection_has_no_image || fail "the xclip copy is still on the Wayland selection"
expected+=(yellow)

# Text is no picture: it stays.
as_user wl-copy "some text"
text_gone() { [ "$(as_user wl-paste --no-newline 2>/dev/null)" != "some text" ]; }
! wait_for 2 text_gone || fail "the text was taken off the clipboard"

# A copy replaced while the older one is still being read: both taken, the newer not lost.
user_argv
"${USER_ARGV[@]}" "$WORK/bin/wl_owner" slow image/png "$WORK/magenta.png" >"$WORK/owner.out" 2>&1 &
PIDS+=($!)
wait_for 10 grep -q sending "$WORK/owner.out" || fail "the slow copy was never asked for"
copy_and_wait orange
expected=("${expected[@]:0:${#expected[@]}-1}" magenta orange)
# An X copy made while a Wayland one is being read is another picture: taken after it.
user_argv
"${USER_ARGV[@]}" "$WORK/bin/wl_owner" slow image/png "$WORK/magenta.png" >"$WORK/owner.out" 2>&1 &
PIDS+=($!)
wait_for 10 grep -q sending "$WORK/owner.out" || fail "the slow copy was never asked for"
as_user xclip -selection clipboard -t image/png -i "$WORK/olive.png"
wait_for 10 x_clipboard_empty || fail "the X copy made during a Wayland read was not taken"
wait_for 10 selection_has_no_image || fail "the slow Wayland copy was not taken"
expected+=(magenta olive)

# Bad pictures are not taken, nothing hangs, and the next copy is taken as usual.
bad_then() {
    user_argv
    "${USER_ARGV[@]}" "$WORK/bin/wl_owner" "$1" image/png "$WORK/$2.png" >"$WORK/owner.out" 2>&1 &
    PIDS+=($!)
    wait_for 10 grep -q sending "$WORK/owner.out" || fail "the $1 $2 copy was never asked for"
    copy_and_wait "$3"
}
bad_then serve garbage cyan
bad_then serve truncated purple
bad_then die red navy
bad_then silent red teal
kill -0 "$PICTAVO_PID" || fail "the program ended"

# A clipboard manager that puts back at once what was emptied: taken once, the copy put
# back left alone until a new copy replaces it.
user_argv
"${USER_ARGV[@]}" "$WORK/bin/wl_owner" restore image/png "$WORK/pink.png" >"$WORK/owner.out" 2>&1 &
PIDS+=($!)
wait_for 10 grep -q restoring "$WORK/owner.out" || fail "the picture was not taken off for the manager"
! wait_for 2 selection_has_no_image || fail "the copy put back was taken again"
expected+=(pink)
copy_and_wait gold

# Xwayland under sway 1.12 loses the first button event that XTEST sends, before any X
# client sees it (the program gets no press at all): a click on an empty workspace takes
# that loss, so the click below is the program's to act on.
as_user swaymsg workspace 3 >/dev/null
wait_for 5 focused_is "" || fail "something has the focus: $(focused_name)"
as_user xdotool mousemove 640 512 click 1

# Ctrl+C in Pictavo puts the selected picture where Wayland programs paste it; it stays.
as_user swaymsg workspace 1 >/dev/null
wait_for 5 focused_is "Pictavo - [Use PrintScreen key to capture screen]" || fail "Pictavo not focused"
window=$(main_window_ids | head -1)
info=$(as_user xwininfo -id "$window")
ox=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
oy=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
entry_centre() { EX=$((ox + 2 + 78 * ($1 % 8) + 37)) EY=$((oy + 3 + 62 * ($1 / 8) + 29)); }
entry_centre 7
# A click selects the entry and shows it in the zoom window, which takes the focus.
as_user xdotool mousemove "$EX" "$EY" click 1
wait_for 5 focused_is "Image 8" || fail "the zoom window did not open: focus '$(focused_name)'"
as_user swaymsg '[title="^Pictavo - "] focus' >/dev/null
wait_for 5 focused_is "Pictavo - [Use PrintScreen key to capture screen]" || fail "Pictavo not focused"
as_user xdotool key ctrl+c
wait_for 10 selection_has_image || fail "Ctrl+C put no picture on the Wayland selection"
# Several programs paste at once; each gets the whole picture.
paste_pids=()
for i in 1 2 3; do
    as_user wl-paste --type image/png >"$WORK/pasted$i.png" &
    paste_pids+=($!)
done
for i in 1 2 3; do
    wait "${paste_pids[$((i - 1))]}" || fail "wl-paste $i could not read the copy"
    pasted=$(convert "$WORK/pasted$i.png" -crop 1x1+5+5 -depth 8 txt:- | sed -n '2s/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p')
    [ "$pasted" = "${rgb[blue]}" ] || fail "paste $i is '$pasted', not blue"
done
! wait_for 2 selection_has_no_image || fail "the program took its own copy back"

# The gallery: each copy once, in order, nothing else.
as_user grim - >"$WORK/shot.png"
pixel() { convert "$WORK/shot.png" -crop "1x1+$1+$2" -depth 8 txt:- | sed -n '2s/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p'; }
for i in "${!expected[@]}"; do
    entry_centre "$i"
    [ "$(pixel "$EX" "$EY")" = "${rgb[${expected[$i]}]}" ] ||
        fail "entry $i shows $(pixel "$EX" "$EY"), expected ${expected[$i]} (all: ${expected[*]})"
done
entry_centre "${#expected[@]}"
for c in "${colours[@]}"; do
    [ "$(pixel "$EX" "$EY")" != "${rgb[$c]}" ] || fail "an extra entry after ${expected[*]}"
done
echo "wayland capture: ok (${expected[*]})"
