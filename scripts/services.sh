# Sourced by the test and benchmark scripts: a private X server with a window manager,
# and a CUPS server with a PDF printer as the default destination.
start_services() {
    export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/pictavo-run.XXXXXX)}
    chmod 700 "$XDG_RUNTIME_DIR"
    # A display of our own; a lock left by a server that was killed is cleared.
    local n=${PICTAVO_TEST_DISPLAY:-77} last=$((${PICTAVO_TEST_DISPLAY:-77} + 20))
    while [ "$n" -le "$last" ]; do
        if [ -e "/tmp/.X$n-lock" ]; then
            local owner
            owner=$(tr -dc '0-9' <"/tmp/.X$n-lock")
            if [ -n "$owner" ] && kill -0 "$owner" 2>/dev/null; then
                n=$((n + 1))
                continue
            fi
            rm -f "/tmp/.X$n-lock" "/tmp/.X11-unix/X$n"
        fi
        export DISPLAY=:$n
        Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/tmp/pictavo-xvfb.log 2>&1 &
        SERVICE_PIDS+=($!)
        local xvfb=$!
        # Until it answers, or gives up on this display.
        for _ in $(seq 300); do
            xdpyinfo >/dev/null 2>&1 && break
            kill -0 "$xvfb" 2>/dev/null || break
            sleep 0.1
        done
        xdpyinfo >/dev/null 2>&1 && break
        n=$((n + 1))
    done
    xdpyinfo >/dev/null 2>&1 || { echo "Xvfb did not start" >&2; return 1; }
    # A window manager on this display (not just anywhere on the machine).
    if ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
        openbox >/tmp/pictavo-openbox.log 2>&1 &
        SERVICE_PIDS+=($!)
        # A loaded machine can take many seconds to start it.
        for _ in $(seq 600); do
            xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
            sleep 0.1
        done
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' ||
            { echo "openbox did not start" >&2; return 1; }
    fi
    if [ -f tests/integration/start_cups.sh ] && [ "$(id -u)" -eq 0 ]; then
        bash tests/integration/start_cups.sh || echo "CUPS could not be started; printer tests will say so" >&2
    fi
    trap stop_services EXIT
}

stop_services() {
    for pid in "${SERVICE_PIDS[@]:-}"; do
        [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    done
}
SERVICE_PIDS=()
