#!/usr/bin/env bash
# On headless sway, KWin and mutter, each with XWayland: how many of 50 X copies (xclip,
# Pictavo focused) and 50 Wayland copies are taken exactly once, and the median time from a
# 1920x1080 PNG copied by a Wayland program to the Wayland selection emptied, against an
# xclip copy taken by the same program on a plain X server (DISPLAY). Needs root (the
# sessions run as nobody).
set -euo pipefail
PICTAVO_BIN=${1:?installed pictavo}
tools=${2:?folder with wl_copier}
: "${DISPLAY:?DISPLAY must name a plain X server}"
export PICTAVO_BIN WL_COPIER=$tools/wl_copier
PLAIN_DISPLAY=$DISPLAY
source "$(dirname "$0")/../tests/wayland/session.sh"
source "$(dirname "$0")/../tests/wayland/desktop_cases.sh"
session_work
SAMPLES=15
make_pictures 100
convert -size 1920x1080 plasma:fractal "$WORK/base.miff"
for i in $(seq $((2 * SAMPLES))); do
    convert "$WORK/base.miff" -fill white -pointsize 48 -annotate +100+200 "Screen $i" "PNG24:$WORK/s$i.png"
done
chmod a+r "$WORK"/*.png
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }
ms() { echo $((($(date +%s%N) - $1) / 1000000)); }

# The baseline: xclip on the plain X server, the program run there directly, for the whole
# run; its samples alternate with each desktop's, so that both see the same load.
mkdir -m 700 "$WORK/plain"
XDG_RUNTIME_DIR=$WORK/plain DISPLAY=$PLAIN_DISPLAY "$PICTAVO_BIN" >/dev/null 2>&1 &
PIDS+=($!)
plain_window() { DISPLAY=$PLAIN_DISPLAY xdotool search --onlyvisible --name '^Pictavo'; }
wait_for 30 plain_window || fail "no main window on the plain X server"
plain_copy() {
    local t
    t=$(date +%s%N)
    DISPLAY=$PLAIN_DISPLAY timeout 20 xclip -quiet -selection clipboard -t image/png -i "$1" 2>/dev/null
    ms "$t"
}

# Entries in the gallery so far, and what the copies came to.
slot_shows() {
    slot_centre $(($1 % GALLERY_SLOTS))
    as_user import -window "$PICTAVO_WINDOW" png:- >"$WORK/shot.png" 2>/dev/null || return 1
    SEEN=$(convert "$WORK/shot.png" -format "%[fx:int(255*p{$SX,$SY}.r+0.5)],%[fx:int(255*p{$SX,$SY}.g+0.5)],%[fx:int(255*p{$SX,$SY}.b+0.5)]" info:)
}
# follow N: waits for copy N in the next entry; an entry that repeats the copy before it
# is a double.
follow() {
    local deadline=$(($(date +%s%N) + 10000000000))
    while [ "$(date +%s%N)" -lt "$deadline" ]; do
        slot_shows "$ENTRIES" || continue
        if [ "$SEEN" = "$(colour_of "$1")" ]; then
            ENTRIES=$((ENTRIES + 1)) TAKEN=$((TAKEN + 1))
            return
        elif [ "$1" -gt 0 ] && [ "$SEEN" = "$(colour_of $(($1 - 1)))" ]; then
            ENTRIES=$((ENTRIES + 1)) DOUBLES=$((DOUBLES + 1))
            continue
        fi
        sleep 0.05
    done
}

size_settled() {
    local before=$GALLERY_SLOTS
    sleep 0.5
    pictavo_window && [ "$GALLERY_SLOTS" = "$before" ]
}

# run_desktop NAME: the counts and the latency on one compositor.
run_desktop() {
    local name=$1 n kind
    "start_$name" || { echo "$name: no session"; return; }
    start_pictavo
    wait_for 30 pictavo_window || fail "$name: no main window"
    wait_for 10 pictavo_focused || as_user xdotool windowactivate "$PICTAVO_WINDOW" || true
    # A tiling compositor gives the window its place after it maps; the gallery's layout
    # is read once the size has held for half a second.
    wait_for 30 size_settled || fail "$name: the window kept changing its size"
    ENTRIES=0 COPIES=0
    for kind in x wayland; do
        # mutter's Wayland programs copy only on a key press, in their own focused window.
        [ "$kind" = x ] || [ "$name" != mutter ] || start_copier
        TAKEN=0 DOUBLES=0
        for n in $(seq 50); do
            if [ "$kind" = x ]; then
                as_user xclip -selection clipboard -t image/png -i "$WORK/c$COPIES.png"
            else
                copy_wayland "$WORK/c$COPIES.png" >/dev/null
            fi
            follow "$COPIES"
            COPIES=$((COPIES + 1))
        done
        # A double of the last copy comes at once, if at all.
        slot_shows "$ENTRIES" && [ "$SEEN" = "$(colour_of $((COPIES - 1)))" ] && DOUBLES=$((DOUBLES + 1))
        echo "$name: $kind copies taken once: $((TAKEN - DOUBLES)) of 50, doubles $DOUBLES," \
            "never taken $((50 - TAKEN)) (target 50 of 50, 0 doubles)"
    done
    local lat=() plain=() i m base
    for i in $(seq "$SAMPLES"); do
        plain+=("$(plain_copy "$WORK/s$i.png")")
        lat+=("$(copy_wayland "$WORK/s$((SAMPLES + i)).png")")
    done
    m=$(median "${lat[@]}") base=$(median "${plain[@]}")
    echo "$name: capture latency, 1920x1080 PNG, median of $SAMPLES: a Wayland copy ${m} ms, xclip on" \
        "plain Xvfb ${base} ms, ratio $(awk -v a="$m" -v b="$base" 'BEGIN {printf "%.2f", a / b}') (target <= 1.2)"
    kill -0 "$PICTAVO_PID" || echo "$name: the program ended"
    [ "$name" != mutter ] || stop_copier
    kill "$PICTAVO_PID"
    wait "$PICTAVO_PID" 2>/dev/null || true
    stop_session
}

# copy_wayland FILE: a Wayland program's copy; prints how long until it was emptied.
copy_wayland() {
    if [ -n "${COPIER:-}" ]; then
        local before
        before=$(count lost)
        echo "copy $1" >&7
        echo key >&7
        wait_for 20 more_than lost "$before" || { echo 20000; return; }
        grep '^lost' "$WORK/copier.out" | tail -1 | awk '{print $2}'
    else
        local t
        t=$(date +%s%N)
        as_user timeout 20 wl-copy --foreground --type image/png <"$1" || true
        ms "$t"
    fi
}
count() { grep -c "^$1" "$WORK/copier.out" || true; }
more_than() { [ "$(count "$1")" -gt "$2" ]; }
start_copier() {
    rm -f "$WORK/copier.in" "$WORK/copier.out"
    mkfifo "$WORK/copier.in" && chmod 666 "$WORK/copier.in"
    user_argv
    "${USER_ARGV[@]}" "$WORK/bin/wl_copier" copier <"$WORK/copier.in" >"$WORK/copier.out" 2>&1 &
    COPIER=$!
    PIDS+=("$COPIER")
    exec 7>"$WORK/copier.in"
    wait_for 20 grep -q '^remote' "$WORK/copier.out" || fail "no remote keyboard"
    pressed() { echo key >&7; wait_for 2 grep -q '^pressed' "$WORK/copier.out"; }
    wait_for 20 pressed || fail "the copier never saw a key press"
}
stop_copier() {
    echo quit >&7
    exec 7>&-
    wait "$COPIER" || true
    COPIER=
}

COPIER=
for desktop in ${DESKTOPS:-sway kwin mutter}; do run_desktop "$desktop"; done
