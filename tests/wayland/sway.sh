# Sourced by the Wayland tests and benchmarks: a headless sway with XWayland, run by the
# unprivileged user nobody (sway refuses root), in a runtime folder of its own.
# start_sway sets WAYLAND_DISPLAY, DISPLAY and SWAYSOCK; as_user runs a command in that session.
SWAY_USER=${SWAY_USER:-nobody}
SWAY_GROUP=$(id -gn "$SWAY_USER")

as_user() {
    setpriv --reuid="$SWAY_USER" --regid="$SWAY_GROUP" --clear-groups \
        env HOME="$SWAY_RUN" XDG_RUNTIME_DIR="$SWAY_RUN" WAYLAND_DISPLAY="${WAYLAND_DISPLAY:-}" \
        DISPLAY="${DISPLAY:-}" SWAYSOCK="${SWAYSOCK:-}" "$@"
}

# start_sway [data-control]: the compositor; sway always offers data-control.
start_sway() {
    SWAY_RUN=$(mktemp -d /tmp/pictavo-sway.XXXXXX)
    chown "$SWAY_USER:$SWAY_GROUP" "$SWAY_RUN"
    chmod 700 "$SWAY_RUN"
    cat >"$SWAY_RUN/config" <<'CONFIG'
xwayland enable
output HEADLESS-1 resolution 1280x1024
focus_follows_mouse no
exec sh -c 'echo "$DISPLAY" > "$XDG_RUNTIME_DIR/display.tmp" && mv "$XDG_RUNTIME_DIR/display.tmp" "$XDG_RUNTIME_DIR/display"'
CONFIG
    chown "$SWAY_USER" "$SWAY_RUN/config"
    unset WAYLAND_DISPLAY DISPLAY SWAYSOCK
    WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
        setpriv --reuid="$SWAY_USER" --regid="$SWAY_GROUP" --clear-groups \
        env HOME="$SWAY_RUN" XDG_RUNTIME_DIR="$SWAY_RUN" WLR_BACKENDS=headless \
        WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman sway -c "$SWAY_RUN/config" \
        >"$SWAY_RUN/sway.log" 2>&1 &
    SWAY_PID=$!
    local i
    for i in $(seq 200); do
        [ -f "$SWAY_RUN/display" ] && ls "$SWAY_RUN"/sway-ipc.*.sock >/dev/null 2>&1 && break
        kill -0 "$SWAY_PID" 2>/dev/null || break
        sleep 0.05
    done
    if [ ! -f "$SWAY_RUN/display" ]; then
        echo "sway did not start:" >&2
        cat "$SWAY_RUN/sway.log" >&2
        return 1
    fi
    # A full path, so that programs with a runtime folder of their own still find it.
    WAYLAND_DISPLAY=$(ls "$SWAY_RUN"/wayland-* | grep -v lock | head -1)
    DISPLAY=$(cat "$SWAY_RUN/display")
    SWAYSOCK=$(ls "$SWAY_RUN"/sway-ipc.*.sock | head -1)
    export WAYLAND_DISPLAY DISPLAY SWAYSOCK
}

stop_sway() {
    [ -n "${SWAY_PID:-}" ] && kill "$SWAY_PID" 2>/dev/null && wait "$SWAY_PID" 2>/dev/null
    [ -n "${SWAY_RUN:-}" ] && rm -rf "$SWAY_RUN"
    SWAY_PID=
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

# The name of the focused window, empty when nothing has the focus.
focused_name() { as_user swaymsg -t get_tree | jq -r '.. | select(.focused? == true and .type == "con") | .name'; }
focused_is() { [ "$(focused_name)" = "$1" ]; }
selection_has_image() { as_user wl-paste --list-types 2>/dev/null | grep -q '^image/'; }
selection_has_no_image() { ! selection_has_image; }
