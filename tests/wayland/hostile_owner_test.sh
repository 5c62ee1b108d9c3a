#!/usr/bin/env bash
# Under a headless sway with XWayland, owners that misbehave never stop capture: an offer
# of 12 MB of types (which makes sway 1.7 drop the program's clipboard connection), owners
# that drip their picture a byte at a time (Wayland, and X by INCR), a large picture
# written with plain blocking writes; and a picture copied again after a text copy is a new capture. After the
# flood, the program's own copy still reaches Wayland programs.
set -euo pipefail
: "${PICTAVO_BIN:?PICTAVO_BIN must name the installed program}"
: "${WL_OWNER:?WL_OWNER must name the wl_owner test tool}"
: "${CLIPTOOL:?CLIPTOOL must name the cliptool test tool}"
[ "$(id -u)" -eq 0 ] || { echo "needs root, to run the session as another user"; exit 77; }
source "$(dirname "$0")/session.sh"

session_work
cp "$CLIPTOOL" "$WORK/bin/"
for c in red lime blue yellow; do convert -size 120x90 "xc:$c" "PNG24:$WORK/$c.png"; done
# Noise does not compress: about 1.4 MB, far more than a pipe holds.
convert -size 700x700 xc: +noise Random "PNG24:$WORK/big.png"
chmod a+r "$WORK"/*.png

start_sway || fail "no compositor"
start_pictavo
wait_for 20 focused_is "Pictavo - [Use PrintScreen key to capture screen]" || fail "the main window did not appear"
# Nothing focused: Wayland copies reach the program only through its own connection, and
# X copies stay on the X side.
as_user swaymsg workspace 3 >/dev/null
wait_for 5 focused_is "" || fail "something has the focus: $(focused_name)"

# owner NAME MODE FILE: a wl_owner in the background, its output in NAME.out.
owner() {
    user_argv
    "${USER_ARGV[@]}" "$WORK/bin/wl_owner" "$2" image/png "$WORK/$3" >"$WORK/$1.out" 2>&1 &
    PIDS+=($!)
}
# Each copier stays until it loses the clipboard: ending within the time is being taken.
wl_taken_within() { timeout "$1" "${USER_ARGV[@]}" wl-copy --foreground --type image/png <"$WORK/$2"; }
x_taken_within() { timeout "$1" "${USER_ARGV[@]}" xclip -quiet -selection clipboard -t image/png -i "$WORK/$2" 2>/dev/null; }
user_argv
reconnecting="pictavo: the compositor closed the clipboard connection; reconnecting"

# 3000 types of nearly 4 kB each, 12 MB in all. sway 1.7 drops every client that does not
# read them at once: the program's connection, and the owner's own; the program reconnects.
# sway 1.12 hands them all over, and the program takes the picture among them. Either way
# capture goes on.
owner flood flood red.png
flood_over() { grep -qxF "$reconnecting" "$WORK/pictavo.err" || grep -q cancelled "$WORK/flood.out"; }
wait_for 20 flood_over || fail "the flood's picture was not taken, nor the lost connection noticed"
kill "${PIDS[-1]}" 2>/dev/null || true
kill -0 "$PICTAVO_PID" || fail "the program ended"
wl_taken_within 5 lime.png || fail "no Wayland copy taken after the flood"

# A Wayland owner that drips: another program's copy is taken all the same.
owner drip drip red.png
wait_for 10 grep -q sending "$WORK/drip.out" || fail "the dripping copy was never asked for"
wl_taken_within 5 blue.png || fail "a Wayland copy waited for the dripping owner"
# The same by INCR on X.
"${USER_ARGV[@]}" "$WORK/bin/cliptool" drip "$WORK/red.png" >"$WORK/xdrip.out" 2>&1 &
PIDS+=($!)
wait_for 10 grep -q sending "$WORK/xdrip.out" || fail "the X dripping copy was never asked for"
x_taken_within 5 yellow.png || fail "an X copy waited for the dripping owner"

# Plain blocking writes of a picture larger than a pipe.
owner big serve big.png
wait_for 15 grep -q cancelled "$WORK/big.out" || fail "the 1.4 MB picture was not taken"

# The same picture again after a text copy: a new copy, taken again.
wl_taken_within 10 lime.png || fail "lime was not taken"
"${USER_ARGV[@]}" wl-copy "some text"
wl_taken_within 10 lime.png || fail "lime copied again after a text copy was not taken"

# After the flood, the program's own Copy still reaches Wayland programs, and stays.
as_user swaymsg workspace 1 >/dev/null
wait_for 5 focused_is "Pictavo - [Use PrintScreen key to capture screen]" || fail "Pictavo not focused"
as_user xdotool key ctrl+c
wait_for 10 selection_has_image || fail "Ctrl+C after the flood put no picture on the Wayland selection"
as_user wl-paste --type image/png >"$WORK/pasted.png" || fail "the copy could not be pasted"
identify -format '%m %w' "$WORK/pasted.png" | grep -Eq '^PNG [0-9]+$' || fail "the paste is no picture"
! wait_for 2 selection_has_no_image || fail "the program took its own copy back"

kill -0 "$PICTAVO_PID" || fail "the program ended"
said=$(grep -cxF "$reconnecting" "$WORK/pictavo.err" || true)
[ "$said" -le 1 ] || fail "the lost connection was reported $said times"
if [ "$said" -eq 1 ]; then flood="the connection was dropped and made again"; else flood="the flood's picture was taken"; fi
echo "hostile owners: ok ($flood)"
