# Shared by the end-to-end scripts: start the installed program, drive it with xdotool
# and xclip, and wait on conditions with deadlines.
set -euo pipefail

: "${PICTAVO_BIN:?PICTAVO_BIN must name the installed program}"
: "${DISPLAY:?DISPLAY must name a running X server}"

# The scripts read the program's English texts, whatever the machine's language; the
# German session sets its own.
export LANG=C.UTF-8
unset LANGUAGE LC_ALL LC_MESSAGES

E2E_TMP=$(mktemp -d /tmp/pictavo-e2e.XXXXXX)
# A runtime folder of its own, so that each script has its own instance lock.
export XDG_RUNTIME_DIR=$E2E_TMP/run
mkdir -m 700 "$XDG_RUNTIME_DIR"
E2E_PIDS=()

e2e_cleanup() {
    for pid in "${E2E_PIDS[@]:-}"; do
        [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null || true
    done
    # A program still writing its files as it ends must not fail a test that passed.
    rm -rf "$E2E_TMP" 2>/dev/null || rm -rf "$E2E_TMP" 2>/dev/null || true
}
trap e2e_cleanup EXIT

# What a started program starts (bus-activated services, helper processes) is ours too:
# found by parent process id, children before their parents.
descendants() {
    local child
    for child in $(ps -o pid= --ppid "$1" 2>/dev/null); do
        descendants "$child"
        echo "$child"
    done
}
end_descendants() {
    local pid child
    for pid in "${E2E_PIDS[@]:-}"; do
        [ -n "$pid" ] || continue
        for child in $(descendants "$pid"); do kill -9 "$child" 2>/dev/null || true; done
    done
}

# A session bus of the test's own, as a desktop session starts one.
start_session_bus() {
    local out
    out=$(dbus-daemon --session --fork --print-address=1 --print-pid=1) || fail "no session bus"
    export DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$out")
    E2E_PIDS+=("$(sed -n 2p <<<"$out")")
}

fail() {
    echo "FAIL: $*" >&2
    [ -f "$E2E_TMP/pictavo.err" ] && { echo "--- program's stderr:" >&2; cat "$E2E_TMP/pictavo.err" >&2; }
    exit 1
}

# wait_for SECONDS COMMAND...: runs COMMAND until it succeeds or the deadline passes.
wait_for() {
    local seconds=$1
    shift
    local deadline=$(($(date +%s%N) + seconds * 1000000000))
    until "$@" >/dev/null 2>&1; do
        [ "$(date +%s%N)" -lt "$deadline" ] || return 1
        sleep 0.02
    done
}

main_window() { xdotool search --onlyvisible --name '^Pictavo' 2>/dev/null | head -1; }
has_main_window() { [ -n "$(main_window)" ]; }

start_pictavo() {
    "$PICTAVO_BIN" "$@" >"$E2E_TMP/pictavo.out" 2>"$E2E_TMP/pictavo.err" &
    PICTAVO_PID=$!
    E2E_PIDS+=("$PICTAVO_PID")
    wait_for 20 has_main_window || fail "the main window did not appear"
    WINDOW=$(main_window)
}

clipboard_empty() { ! xclip -o -selection clipboard -t TARGETS >/dev/null 2>&1; }
clipboard_has_image() { xclip -o -selection clipboard -t TARGETS 2>/dev/null | grep -q '^image/'; }

# put_png FILE: offers the picture on the clipboard, as a screenshot tool does. xclip
# stays in the foreground (-quiet), so it is ours to end by its process id.
put_png() {
    xclip -quiet -selection clipboard -t image/png -i "$1" >/dev/null 2>&1 &
    E2E_PIDS+=($!)
    wait_for 10 clipboard_has_image || wait_for 1 clipboard_empty || fail "xclip did not take the clipboard"
}

# make_png FILE W H COLOUR
make_png() { convert -size "$2x$3" "xc:$4" "PNG24:$1"; }

# client_origin: absolute X and Y of the main window's client area.
client_origin() {
    local info
    info=$(xwininfo -id "$WINDOW")
    ORIGIN_X=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
    ORIGIN_Y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
}

# frame_centred: the main window's outer frame is centred on the screen, to a pixel.
frame_centred() {
    local info ext screen cx cy cw ch l r t b sw sh
    info=$(xwininfo -id "$WINDOW")
    cx=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
    cy=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
    cw=$(awk '/Width:/ {print $2}' <<<"$info")
    ch=$(awk '/Height:/ {print $2}' <<<"$info")
    ext=$(xprop -id "$WINDOW" _NET_FRAME_EXTENTS | sed -n 's/.*= //p' | tr -d ' ')
    IFS=, read -r l r t b <<<"$ext"
    screen=$(xdpyinfo | awk '/dimensions:/ {print $2}')
    sw=${screen%x*}
    sh=${screen#*x}
    local dx=$((2 * (cx - l) + cw + l + r - sw)) dy=$((2 * (cy - t) + ch + t + b - sh))
    [ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ]
}

# pixel X Y: the screen's colour at an absolute position, as "r,g,b".
pixel() {
    import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null |
        sed -n '2s/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p'
}

# pixel_is X Y "r,g,b": for wait_for, which must evaluate the colour anew each try.
pixel_is() { [ "$(pixel "$1" "$2")" = "$3" ]; }

# entry_centre INDEX COLUMNS: the centre of a thumbnail in the 8-column design grid.
entry_centre() {
    local col=$(($1 % 8)) row=$(($1 / 8))
    ENTRY_X=$((ORIGIN_X + 2 + 78 * col + 37))
    ENTRY_Y=$((ORIGIN_Y + 3 + 62 * row + 29))
}
