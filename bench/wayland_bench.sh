#!/usr/bin/env bash
# Under a headless sway with XWayland: median time from a 1920x1080 PNG put on the clipboard
# to the clipboard emptied, from wl-copy (taken through data-control) against the same from
# xclip (taken through the X clipboard), in one running program; and its idle CPU there.
# Each owner stays in the foreground until it loses the clipboard, so its run time is the
# latency. Needs root (the session runs as nobody).
set -euo pipefail
PICTAVO_BIN=${1:?installed pictavo}
tools=${2:?folder with wl_owner and wl_window}
export PICTAVO_BIN WL_OWNER=$tools/wl_owner WL_WINDOW=$tools/wl_window
source "$(dirname "$0")/../tests/wayland/session.sh"
session_work
# A picture of its own for each copy: one identical to the last taken would count as
# put back by a clipboard manager.
convert -size 1920x1080 plasma:fractal "$WORK/base.miff"
for i in $(seq 50); do
    convert "$WORK/base.miff" -fill white -pointsize 48 -annotate +100+200 "Screen $i" "PNG24:$WORK/s$i.png"
done
chmod a+r "$WORK"/*.png
start_sway
start_pictavo
wait_for 20 focused_is "Pictavo - [Use PrintScreen key to capture screen]" || fail "no main window"

ticks=$(getconf CLK_TCK)
cpu_of() { awk '{print $14 + $15}' "/proc/$1/stat"; }
pid=$PICTAVO_PID
[ "$(cat "/proc/$pid/comm" 2>/dev/null)" = pictavo ] || fail "pid $pid is not the program"
sleep 1
before=$(cpu_of "$pid")
sleep 30
idle=$(awk -v d=$(($(cpu_of "$pid") - before)) -v t="$ticks" 'BEGIN {printf "%.3f", 100 * d / t / 30}')

ms() { echo $((($(date +%s%N) - $1) / 1000000)); }
wl=() x=()
# Nothing focused: the xclip copy stays on the X side, read there as on an X desktop.
as_user swaymsg workspace 2 >/dev/null
for i in $(seq 25); do
    t=$(date +%s%N)
    as_user timeout 20 wl-copy --foreground --type image/png <"$WORK/s$i.png"
    wl+=("$(ms "$t")")
    t=$(date +%s%N)
    as_user timeout 20 xclip -quiet -selection clipboard -t image/png -i "$WORK/s$((i + 25)).png" 2>/dev/null
    x+=("$(ms "$t")")
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }
mw=$(median "${wl[@]}") mx=$(median "${x[@]}")
kill -0 "$PICTAVO_PID" || fail "the program ended"
echo "Wayland capture latency, 1920x1080 PNG, median of 25: wl-copy via data-control ${mw} ms," \
     "xclip via the X clipboard ${mx} ms, ratio $(awk -v a="$mw" -v b="$mx" 'BEGIN {printf "%.2f", a / b}') (target <= 1.2)"
echo "Idle CPU under sway with the data-control reader, over 30 s: ${idle}% of a core (target <= 0.1%)"
