# Sourced by the Wayland tests and benchmarks: a headless compositor with XWayland, run by
# the unprivileged user nobody (sway refuses root), in a runtime folder of its own.
# start_sway, start_kwin, start_mutter or start_weston set WAYLAND_DISPLAY and DISPLAY (and,
# where the session has them, XAUTHORITY and its D-Bus); as_user runs a command there.
SESSION_USER=${SESSION_USER:-nobody}
SESSION_GROUP=$(id -gn "$SESSION_USER")

# USER_ARGV: the prefix that runs a command as the session's user. Started with & through
# it, the command keeps the pid in $! (setpriv and env replace themselves with it).
user_argv() {
    USER_ARGV=(setpriv --reuid="$SESSION_USER" --regid="$SESSION_GROUP" --clear-groups
        env HOME="$SESSION_RUN" XDG_RUNTIME_DIR="$SESSION_RUN" WAYLAND_DISPLAY="${WAYLAND_DISPLAY:-}"
        DISPLAY="${DISPLAY:-}" SWAYSOCK="${SWAYSOCK:-}")
    [ -z "${XAUTHORITY:-}" ] || USER_ARGV+=(XAUTHORITY="$XAUTHORITY")
    [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] || USER_ARGV+=(DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS")
}
as_user() { user_argv; "${USER_ARGV[@]}" "$@"; }

new_runtime_dir() {
    SESSION_RUN=$(mktemp -d /tmp/pictavo-wayland.XXXXXX)
    chown "$SESSION_USER:$SESSION_GROUP" "$SESSION_RUN"
    chmod 700 "$SESSION_RUN"
    unset WAYLAND_DISPLAY DISPLAY SWAYSOCK XAUTHORITY DBUS_SESSION_BUS_ADDRESS
}

# sway (wlroots): offers data-control; SWAYSOCK is set for swaymsg.
start_sway() {
    new_runtime_dir
    cat >"$SESSION_RUN/config" <<'CONFIG'
xwayland enable
output HEADLESS-1 resolution 1280x1024
focus_follows_mouse no
exec sh -c 'echo "$DISPLAY" > "$XDG_RUNTIME_DIR/display.tmp" && mv "$XDG_RUNTIME_DIR/display.tmp" "$XDG_RUNTIME_DIR/display"'
CONFIG
    chown "$SESSION_USER" "$SESSION_RUN/config"
    WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
        setpriv --reuid="$SESSION_USER" --regid="$SESSION_GROUP" --clear-groups \
        env HOME="$SESSION_RUN" XDG_RUNTIME_DIR="$SESSION_RUN" WLR_BACKENDS=headless \
        WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman sway -c "$SESSION_RUN/config" \
        >"$SESSION_RUN/sway.log" 2>&1 &
    SESSION_PID=$!
    local i
    for i in $(seq 600); do
        [ -f "$SESSION_RUN/display" ] && ls "$SESSION_RUN"/sway-ipc.*.sock >/dev/null 2>&1 && break
        kill -0 "$SESSION_PID" 2>/dev/null || break
        sleep 0.05
    done
    if [ ! -f "$SESSION_RUN/display" ]; then
        echo "sway did not start:" >&2
        cat "$SESSION_RUN/sway.log" >&2
        return 1
    fi
    # A full path, so that programs with a runtime folder of their own still find it.
    WAYLAND_DISPLAY=$(ls "$SESSION_RUN"/wayland-* | grep -v lock | head -1)
    DISPLAY=$(cat "$SESSION_RUN/display")
    SWAYSOCK=$(ls "$SESSION_RUN"/sway-ipc.*.sock | head -1)
    export WAYLAND_DISPLAY DISPLAY SWAYSOCK
}

# weston: a compositor without data-control. Its XWayland (weston 10, headless) crashes the
# compositor at the first X selection, so the X side stays the caller's X server.
start_weston() {
    local x=$DISPLAY
    new_runtime_dir
    setpriv --reuid="$SESSION_USER" --regid="$SESSION_GROUP" --clear-groups \
        env HOME="$SESSION_RUN" XDG_RUNTIME_DIR="$SESSION_RUN" weston --backend=headless-backend.so \
        --socket=wayland-1 --log="$SESSION_RUN/weston.log" >/dev/null 2>&1 &
    SESSION_PID=$!
    wait_for 10 test -S "$SESSION_RUN/wayland-1" ||
        { echo "weston did not start:" >&2; cat "$SESSION_RUN/weston.log" >&2; return 1; }
    WAYLAND_DISPLAY=$SESSION_RUN/wayland-1
    DISPLAY=$x
    export WAYLAND_DISPLAY DISPLAY
}

# descendants PID: every process below PID, deepest last.
descendants() {
    local child
    for child in $(ps -o pid= --ppid "$1" 2>/dev/null); do echo "$child"; descendants "$child"; done
}

# The first program a KWin or mutter session starts: it hands the session's environment out;
# with "stay" it then stays, for mutter, which ends with it. (KWin starts it apart from
# itself: it would outlive the session.)
session_starter() {
    cat >"$SESSION_RUN/started.sh" <<STARTED
#!/bin/sh
env | grep -E '^(DISPLAY|XAUTHORITY|DBUS_SESSION_BUS_ADDRESS)=' >"\$XDG_RUNTIME_DIR/env.tmp"
mv "\$XDG_RUNTIME_DIR/env.tmp" "\$XDG_RUNTIME_DIR/env"
${1:+exec sleep infinity}
STARTED
    chmod 755 "$SESSION_RUN/started.sh"
}

# session_ready NAME: waits for the session's environment and takes it over.
session_ready() {
    local i
    for i in $(seq 1200); do
        [ -f "$SESSION_RUN/env" ] && break
        kill -0 "$SESSION_PID" 2>/dev/null || break
        sleep 0.05
    done
    if [ ! -f "$SESSION_RUN/env" ]; then
        echo "$1 did not start:" >&2
        cat "$SESSION_RUN/$1.log" >&2
        return 1
    fi
    local line
    while IFS= read -r line; do export "${line?}"; done <"$SESSION_RUN/env"
    WAYLAND_DISPLAY=$SESSION_RUN/wayland-1
    export WAYLAND_DISPLAY
}

# XWayland's sockets live here; a machine without an X server yet may lack the folder.
x11_socket_dir() { [ -d /tmp/.X11-unix ] || mkdir -m 1777 /tmp/.X11-unix; }

# KWin (KDE Plasma): offers data-control. Debian's binary carries a file capability that an
# ordinary user may not take up; a plain copy runs.
start_kwin() {
    new_runtime_dir
    x11_socket_dir
    session_starter
    cp /usr/bin/kwin_wayland "$SESSION_RUN/kwin_wayland"
    chmod 755 "$SESSION_RUN/kwin_wayland"
    setpriv --reuid="$SESSION_USER" --regid="$SESSION_GROUP" --clear-groups \
        env -i PATH=/usr/bin:/bin HOME="$SESSION_RUN" XDG_RUNTIME_DIR="$SESSION_RUN" KWIN_COMPOSE=Q \
        QT_QPA_PLATFORM=wayland dbus-run-session -- "$SESSION_RUN/kwin_wayland" --virtual --xwayland \
        --width 1280 --height 1024 --socket wayland-1 --no-lockscreen --no-global-shortcuts \
        --no-kactivities "$SESSION_RUN/started.sh" >"$SESSION_RUN/kwin.log" 2>&1 &
    SESSION_PID=$!
    session_ready kwin
}

# mutter (GNOME): no data-control. Its headless seat has no keyboard until a remote-desktop
# session gives it one (wl_copier does).
start_mutter() {
    new_runtime_dir
    x11_socket_dir
    session_starter stay
    setpriv --reuid="$SESSION_USER" --regid="$SESSION_GROUP" --clear-groups \
        env -i PATH=/usr/bin:/bin HOME="$SESSION_RUN" XDG_RUNTIME_DIR="$SESSION_RUN" \
        dbus-run-session -- mutter --headless --wayland --virtual-monitor 1280x1024 \
        --wayland-display wayland-1 -- "$SESSION_RUN/started.sh" >"$SESSION_RUN/mutter.log" 2>&1 &
    SESSION_PID=$!
    session_ready mutter
}

stop_session() {
    if [ -n "${SESSION_PID:-}" ]; then
        # XWayland removes its display's socket as it ends: the next session must not
        # start on that display before then. dbus-run-session leaves its children running.
        local children
        children=$(descendants "$SESSION_PID")
        kill "$SESSION_PID" $children 2>/dev/null || true
        wait "$SESSION_PID" 2>/dev/null || true
        gone() { local p; for p in $children; do kill -0 "$p" 2>/dev/null && return 1; done; return 0; }
        wait_for 10 gone || true
    fi
    [ -n "${SESSION_RUN:-}" ] && rm -rf "$SESSION_RUN"
    SESSION_PID=
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

# session_work: WORK, a folder for one script, removed at exit with every process in PIDS;
# the session's user may not reach the build tree, so it runs copies of the program and tools.
session_work() {
    WORK=$(mktemp -d /tmp/pictavo-wl-e2e.XXXXXX)
    chmod 755 "$WORK"
    PIDS=()
    trap session_cleanup EXIT
    # The whole prefix: the program finds its helpers beside its own folder.
    mkdir "$WORK/prefix"
    cp -r "$(dirname "$(dirname "$PICTAVO_BIN")")"/. "$WORK/prefix/"
    ln -s prefix/bin "$WORK/bin"
    local tool
    for tool in "${WL_OWNER:-}" "${WL_WINDOW:-}" "${WL_COPIER:-}"; do [ -z "$tool" ] || cp "$tool" "$WORK/bin/"; done
    chmod -R a+rX "$WORK/prefix"
    mkdir -m 700 "$WORK/run" && chown "$SESSION_USER" "$WORK/run"
}

session_cleanup() {
    for pid in "${PIDS[@]:-}"; do [ -n "$pid" ] && kill "$pid" 2>/dev/null || true; done
    stop_session
    rm -rf "$WORK"
}

fail() {
    echo "FAIL: $*" >&2
    [ -f "$WORK/pictavo.err" ] && { echo "--- program's stderr:" >&2; cat "$WORK/pictavo.err" >&2; }
    exit 1
}

# start_pictavo: the program, in the session, with an instance lock of its own.
start_pictavo() {
    user_argv
    # The capture's decisions land in pictavo.err when asked for.
    [ -z "${QT_LOGGING_RULES:-}" ] || USER_ARGV+=(QT_LOGGING_RULES="$QT_LOGGING_RULES")
    [ -z "${QT_MESSAGE_PATTERN:-}" ] || USER_ARGV+=(QT_MESSAGE_PATTERN="$QT_MESSAGE_PATTERN")
    "${USER_ARGV[@]}" XDG_RUNTIME_DIR="$WORK/run" "$WORK/bin/pictavo" >"$WORK/pictavo.out" 2>"$WORK/pictavo.err" &
    PICTAVO_PID=$!
    PIDS+=("$PICTAVO_PID")
}

x_clipboard_empty() { ! as_user xclip -o -selection clipboard -t TARGETS; }
x_clipboard_has_no_image() { ! as_user xclip -o -selection clipboard -t TARGETS | grep -q '^image/'; }
