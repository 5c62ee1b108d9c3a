# Shared by the scripts that repeat one sequence of copies beside each clipboard manager the
# suite runs, and none: the manager and the program are started anew for each, on one session
# bus; MANAGERS narrows a run. Source after managers_lib.sh.

SUITE_MANAGERS=${MANAGERS:-none xfsettingsd gpaste:keep-images klipper:keep-images diodon parcellite copyq xfce4-clipman}
start_session_bus
BUS_PID=${E2E_PIDS[-1]}

# gallery_times N COUNT: picture N shows at least COUNT times.
gallery_times() { read_gallery && [ "$(tr ' ' '\n' <<<"$GALLERY" | grep -cx "$1")" -ge "$2" ]; }

# pace SECONDS: a person copies again no sooner than SECONDS after the last copy.
LAST_COPY=0
pace() {
    while [ "$(date +%s%N)" -lt $((LAST_COPY + $1 * 1000000000)) ]; do sleep 0.05; done
    LAST_COPY=$(date +%s%N)
}

# stop_pid PID: ended, and waited for (the next program takes over its instance lock).
stop_pid() {
    kill "$1" 2>/dev/null || true
    wait_for 10 ended "$1" || kill -9 "$1" 2>/dev/null || true
    wait_for 5 ended "$1" || true
}

# beside_each SEQUENCE: for each manager, SEQUENCE runs with BESIDE naming it, in a fresh
# gallery; what the bus started for the manager ends with it.
beside_each() {
    local sequence=$1 entry manager setting pid
    for entry in $SUITE_MANAGERS; do
        BESIDE=$entry manager=${entry%%:*} setting=
        [ "$entry" = "$manager" ] || setting=${entry#*:}
        MANAGER_PID=
        if [ "$manager" = none ]; then
            ! "$SELECTION_PROBE" owner CLIPBOARD_MANAGER >/dev/null || fail "a clipboard manager runs on $DISPLAY"
        else
            start_manager "$manager" $setting
        fi
        start_pictavo
        echo "beside $entry" >&2
        "$sequence"
        kill -0 "$PICTAVO_PID" || fail "beside $entry: the program ended"
        [ -z "$MANAGER_PID" ] || kill -0 "$MANAGER_PID" || fail "beside $entry: the manager ended"
        stop_pid "$PICTAVO_PID"
        if [ -n "$MANAGER_PID" ]; then
            for pid in $(descendants "$MANAGER_PID") $(descendants "$BUS_PID") "$MANAGER_PID"; do
                kill -9 "$pid" 2>/dev/null || true
            done
            wait_for 10 ended "$MANAGER_PID" || true
            # Its role ends with it; the next one (or the program) takes it up.
            wait_for 10 eval '! "$SELECTION_PROBE" owner CLIPBOARD_MANAGER' || true
        fi
    done
}

# taken_as N COUNT WHAT: picture N shows COUNT times within the deadline, or the test fails
# saying WHAT was copied and what the clipboard holds.
taken_as() {
    wait_for 10 gallery_times "$1" "$2" ||
        fail "beside $BESIDE: $3 not taken: the gallery shows [$GALLERY]; the clipboard holds" \
            "$(clipboard_says), owner $(owner_name)"
}
