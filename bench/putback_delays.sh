#!/usr/bin/env bash
# Each clipboard manager's answer to an emptying (bench/putback_lib.sh), on a quiet machine and
# with a core kept busy; the program itself is not run. The windows of the rules that tell a
# put-back from a new copy are read off this table.
# usage: putback_delays.sh TOOLS   (TOOLS: the folder with selection_probe; DISPLAY: an X
# server with a window manager). MANAGERS and LOADS narrow a run.
tools=${1:?folder with selection_probe}
# lib.sh wants the program's path; nothing here starts it.
export PICTAVO_BIN=${PICTAVO_BIN:-unused} SELECTION_PROBE=$tools/selection_probe
e2e=$(cd "$(dirname "$0")/../tests/e2e" && pwd)
source "$e2e/lib.sh"
source "$e2e/managers_lib.sh"
source "$(dirname "$0")/rounds_lib.sh"
source "$(dirname "$0")/putback_lib.sh"

MANAGERS=${MANAGERS:-none xfsettingsd gpaste:keep-images klipper:keep-images diodon parcellite copyq xfce4-clipman}
LOADS=${LOADS:-quiet busy}

start_session_bus
BUS_PID=${E2E_PIDS[-1]}
stop_manager() {
    local pid
    for pid in $(descendants "$MANAGER_PID") $(descendants "$BUS_PID") "$MANAGER_PID"; do
        kill -9 "$pid" 2>/dev/null || true
    done
    wait_for 10 ended "$MANAGER_PID" || true
}

started=$(now)
echo "$PUTBACK_HEADER" >&2
for entry in $MANAGERS; do
    manager=${entry%%:*} setting=
    [ "$entry" = "$manager" ] || setting=${entry#*:}
    if [ "$manager" != none ]; then
        SOFT=1 SOFT_FAILED=
        start_manager "$manager" $setting || true
        SOFT=
        if [ -n "$SOFT_FAILED" ]; then
            PUTBACK_ROWS+=("$(printf '%-20s %s' "$entry" "did not start")")
            stop_manager
            continue
        fi
    fi
    for load in $LOADS; do
        busy=
        if [ "$load" = busy ]; then
            yes >/dev/null &
            busy=$!
            E2E_PIDS+=("$busy")
        fi
        [ "${ROWS_ONLY:-}" = quit ] || putback_row "$entry" "$load"
        [ "${QUIT:-yes}" = no ] || putback_quit_row "$entry" "$load"
        [ -z "$busy" ] || { kill "$busy"; wait "$busy" 2>/dev/null || true; }
    done
    [ "$manager" = none ] || stop_manager
done

putback_legend
echo "$PUTBACK_HEADER"
printf '%s\n' "${PUTBACK_ROWS[@]}"
if [ ${#QUIT_ROWS[@]} -gt 0 ]; then
    echo "When the owner quits: a picture copied by xclip, left 1.5 s, then xclip ended (it hands" \
        "nothing over): how often an owner came back within 5 s, as what, how soon after the" \
        "owner's end (server time); a picture copied by a Qt 5 program that then quits (Qt hands it to" \
        "the holder of CLIPBOARD_MANAGER): what the clipboard offers after, and that emptied 5 times."
    echo "$QUIT_HEADER"
    printf '%s\n' "${QUIT_ROWS[@]}"
fi
echo "(load average at the end: $(cut -d' ' -f1-3 /proc/loadavg); $((($(now) - started) / 1000000000)) s)"
