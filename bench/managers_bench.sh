#!/usr/bin/env bash
# Beside each clipboard manager (or none), for each copying program: of 20 distinct pictures
# copied a second apart with a text after each, how many the gallery shows once, twice or
# more, never; and the median time from a copy made to its thumbnail shown, against an xclip
# copy with no manager, taken on a second X server of the script's own, one in turn with
# each copy. Then the repeats, in a fresh gallery: one picture copied three times a few
# seconds apart (a fresh xclip each time, or the same copier), and two pictures in turn, A B A
# B A: how many copies the gallery shows, how many twice, how many never. And before the
# rounds, how soon the manager puts back what is emptied (bench/putback_lib.sh). A double or a
# loss is reported, not failed on.
# usage: managers_bench.sh PICTAVO TOOLS   (TOOLS: the folder with selection_probe)
# MANAGERS, SOURCES and COPIES narrow a run; SEQUENCES (distinct, repeats) and PUTBACK=no
# leave parts out.
PICTAVO_BIN=${1:?installed pictavo}
tools=${2:?folder with selection_probe}
export PICTAVO_BIN SELECTION_PROBE=$tools/selection_probe
e2e=$(cd "$(dirname "$0")/../tests/e2e" && pwd)
source "$e2e/lib.sh"
source "$e2e/managers_lib.sh"
source "$(dirname "$0")/rounds_lib.sh"
source "$(dirname "$0")/putback_lib.sh"

MANAGERS=${MANAGERS:-none xfsettingsd gpaste:keep-images klipper:keep-images diodon parcellite copyq xfce4-clipman}
SOURCES=${SOURCES:-xclip gtk3 gtk4 qt5 awt}
COPIES=${COPIES:-20}
SEQUENCES=${SEQUENCES:-distinct repeats}
PUTBACK=${PUTBACK:-yes}
# Past this a copy counts as not taken for its time; the gallery at the end of the round
# still says whether it came later.
TAKE_DEADLINE=5


# The baseline's own X server, with no manager on it: the first free display after ours.
start_plain_server() {
    local n=$((${DISPLAY#:} + 1))
    while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    PLAIN=:$n
    # No reset when its last client leaves: the next program would find no server for a moment.
    Xvfb "$PLAIN" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$E2E_TMP/plain-xvfb.log" 2>&1 &
    PLAIN_XVFB=$!
    E2E_PIDS+=("$PLAIN_XVFB")
    disown "$PLAIN_XVFB"
    DISPLAY=$PLAIN wait_for 30 xdpyinfo || fail "the baseline's X server did not start: $(tail -3 "$E2E_TMP/plain-xvfb.log")"
}
start_plain_server

# start_plain_pictavo: the program on the baseline's server; one that does not come up is
# said with its output and started once more, on a new server if that one ended.
start_plain_pictavo() {
    local try
    mkdir -p -m 700 "$E2E_TMP/plain-run"
    for try in 1 2; do
        DISPLAY=$PLAIN XDG_RUNTIME_DIR=$E2E_TMP/plain-run "$PICTAVO_BIN" >/dev/null 2>"$E2E_TMP/plain.err" &
        PLAIN_PID=$!
        E2E_PIDS+=("$PLAIN_PID")
        disown "$PLAIN_PID"
        if DISPLAY=$PLAIN wait_for 20 has_main_window; then
            PLAIN_WINDOW=$(DISPLAY=$PLAIN main_window)
            return 0
        fi
        echo "the program did not come up on the baseline's server $PLAIN" \
            "($(ended "$PLAIN_PID" && echo ended || echo running)): $(tail -5 "$E2E_TMP/plain.err")" >&2
        stop_pid "$PLAIN_PID"
        ended "$PLAIN_XVFB" && echo "its X server ended: $(tail -3 "$E2E_TMP/plain-xvfb.log")" >&2 && start_plain_server
    done
    fail "no main window on the baseline's X server"
}
stop_pid() {
    kill "$1" 2>/dev/null || true
    wait_for 10 ended "$1" || kill -9 "$1" 2>/dev/null || true
}

start_session_bus
BUS_PID=${E2E_PIDS[-1]}
# The repeats' pictures come after the distinct ones: the same one, then A and B.
make_pictures $((COPIES + 3))
copiers=()
for source in $SOURCES; do [ "$source" = xclip ] || copiers+=("$source"); done
[ ${#copiers[@]} -eq 0 ] || start_copiers "${copiers[@]}"

# stop_manager: the manager, what it started, and what the bus started for it.
stop_manager() {
    local pid
    for pid in $(descendants "$MANAGER_PID") $(descendants "$BUS_PID") "$MANAGER_PID"; do
        kill -9 "$pid" 2>/dev/null || true
    done
    wait_for 10 ended "$MANAGER_PID" || true
}

# shown_ms START DISPLAY WINDOW N: milliseconds from START until picture N is in the
# gallery there, or nothing past the deadline.
shown_ms() {
    local start=$1
    DISPLAY=$2 WINDOW=$3 wait_for "$TAKE_DEADLINE" gallery_shows "$4" || return 0
    echo $((($(now) - start) / 1000000))
}

# round MANAGER SOURCE: a fresh gallery on each server, the copies, the counts.
ROWS=()
round() {
    local manager=$1 source=$2 n t ms next=0 times=() base=() failed=0
    SOFT=1 SOFT_FAILED=
    start_pictavo
    if [ -n "$SOFT_FAILED" ]; then
        # Said with its output by fail; once more, and the second time ends the run.
        stop_pid "$PICTAVO_PID"
        SOFT=
        start_pictavo
    fi
    start_plain_pictavo
    SOFT=1
    for n in $(seq "$COPIES"); do
        # A person copying once a second: the workload, not a wait.
        while [ "$(now)" -lt "$next" ]; do sleep 0.05; done
        next=$(($(now) + 1000000000))
        SOFT_FAILED=
        t=$(now)
        copy_with "$source" "$E2E_TMP/picture$n.png" || true
        if [ -n "$SOFT_FAILED" ]; then
            failed=$((failed + 1))
        else
            ms=$(shown_ms "$t" "$DISPLAY" "$WINDOW" "$n")
            [ -z "$ms" ] || times+=("$ms")
        fi
        copy_with "$source" "text words after picture $n" || true
        t=$(now)
        DISPLAY=$PLAIN copy_with xclip "$E2E_TMP/picture$n.png" || true
        ms=$(shown_ms "$t" "$PLAIN" "$PLAIN_WINDOW" "$n")
        [ -z "$ms" ] || base+=("$ms")
    done
    SOFT=
    # A manager puts a picture back within 1.5 s, if at all: the gallery is read once it
    # has stopped changing.
    local seen tries=0
    while read_gallery; seen=$GALLERY; ! holds_for 2 gallery_is "$seen" && [ $((tries += 1)) -lt 5 ]; do :; done
    local once=0 doubled=0 lost=0 count
    for n in $(seq "$COPIES"); do
        count=$(tr ' ' '\n' <<<"$seen" | grep -cx "$n" || true)
        case $count in
        0) lost=$((lost + 1)) ;;
        1) once=$((once + 1)) ;;
        *) doubled=$((doubled + 1)) ;;
        esac
    done
    local others
    others=$(tr ' ' '\n' <<<"$seen" | grep -c '^?' || true)
    local m b
    m=$(median "${times[@]}") b=$(median "${base[@]}")
    ROWS+=("$(printf '%-20s %-6s %5s %8s %5s %6s %9s %9s %6s' "$manager" "$source" "$once" "$doubled" "$lost" \
        "$others" "$m" "$b" "$(ratio "$m" "$b")")")
    echo "${ROWS[-1]}   (${#times[@]} and ${#base[@]} timed; $failed copies the copier did not make;" \
        "program alive: $(kill -0 "$PICTAVO_PID" 2>/dev/null && echo yes || echo NO);" \
        "manager alive: $([ "$manager" = none ] || kill -0 "$MANAGER_PID" 2>/dev/null && echo yes || echo NO))" >&2
    ALL_TIMES[$manager]+=" ${times[*]}"
    ALL_BASE[$manager]+=" ${base[*]}"
    stop_pid "$PICTAVO_PID"
    stop_pid "$PLAIN_PID"
}

# fresh_gallery: the program started anew, on a clipboard that holds a text (a picture left
# there from before would be taken at the start).
fresh_gallery() {
    [ -z "${PICTAVO_PID:-}" ] || stop_pid "$PICTAVO_PID"
    SOFT=1 SOFT_FAILED=
    copy_with xclip "text before a fresh gallery" || true
    start_pictavo
    if [ -n "$SOFT_FAILED" ]; then
        stop_pid "$PICTAVO_PID"
        SOFT=
        start_pictavo
    fi
    SOFT=1
}

# repeat_round MANAGER SOURCE: the repeated copies, each sequence in a fresh gallery, two
# lines of REPEAT_ROWS.
REPEAT_ROWS=()
repeat_round() {
    local manager=$1 source=$2 same=$((COPIES + 1)) a=$((COPIES + 2)) b=$((COPIES + 3)) n next=0 pause
    PICTAVO_PID=
    fresh_gallery
    # A person copying the same picture again a few seconds later, then two in turn.
    for n in "$same" "$same" "$same" - "$a" "$b" "$a" "$b" "$a"; do
        if [ "$n" = - ]; then
            count_repeats "$same:3"
            REPEAT_ROWS+=("$(repeat_row "$manager" "$source" "same x3" 3)")
            echo "${REPEAT_ROWS[-1]}   [$SEEN]" >&2
            fresh_gallery
            continue
        fi
        [ "$n" = "$same" ] && pause=3 || pause=2
        while [ "$(now)" -lt "$next" ]; do sleep 0.05; done
        next=$(($(now) + pause * 1000000000))
        copy_with "$source" "$E2E_TMP/picture$n.png" || true
    done
    count_repeats "$a:3" "$b:2"
    REPEAT_ROWS+=("$(repeat_row "$manager" "$source" "A B A B A" 5)")
    echo "${REPEAT_ROWS[-1]}   [$SEEN]" >&2
    SOFT=
    stop_pid "$PICTAVO_PID"
}

declare -A ALL_TIMES ALL_BASE
header=$(printf '%-20s %-6s %5s %8s %5s %6s %9s %9s %6s' manager source once doubled lost other \
    "median ms" "xclip ms" ratio)
echo "$header" >&2
started=$(now)
for entry in $MANAGERS; do
    manager=${entry%%:*} setting=
    [ "$entry" = "$manager" ] || setting=${entry#*:}
    program=$manager
    [ "$manager" != gpaste ] || program=/usr/libexec/gpaste/gpaste-daemon
    if [ "$manager" != none ] && ! command -v "$program" >/dev/null; then
        ROWS+=("$(printf '%-20s %s' "$entry" "not installed")")
        continue
    fi
    if [ "$manager" != none ]; then
        SOFT=1 SOFT_FAILED=
        start_manager "$manager" $setting || true
        SOFT=
        if [ -n "$SOFT_FAILED" ]; then
            ROWS+=("$(printf '%-20s %s' "$entry" "did not start")")
            stop_manager
            continue
        fi
    fi
    [ "$PUTBACK" = no ] || putback_row "$entry" quiet
    for source in $SOURCES; do
        [[ " $SEQUENCES " != *" distinct "* ]] || round "$entry" "$source"
        [[ " $SEQUENCES " != *" repeats "* ]] || repeat_round "$entry" "$source"
    done
    [ "$manager" = none ] || { kill -0 "$MANAGER_PID" 2>/dev/null || ROWS+=("$entry: the manager ended"); stop_manager; }
done

echo "Beside each clipboard manager, $COPIES distinct pictures copied by each program a second apart," \
    "a text after each: pictures the gallery shows once, twice or more (doubled), never (lost), entries" \
    "of another colour (other); median time from the copy made to its thumbnail shown, against" \
    "an xclip copy with no manager on a second X server, one after each copy (ratio; target <= 1.2)."
echo "$header"
printf '%s\n' "${ROWS[@]}"
echo "Per manager, all programs' copies against all baseline copies:"
for entry in $MANAGERS; do
    [ -n "${ALL_TIMES[$entry]+x}" ] || continue
    m=$(median ${ALL_TIMES[$entry]}) b=$(median ${ALL_BASE[$entry]})
    printf '%-20s median %5s ms, xclip with no manager %5s ms, ratio %s\n' "$entry" "$m" "$b" "$(ratio "$m" "$b")"
done
if [ ${#REPEAT_ROWS[@]} -gt 0 ]; then
    echo "Repeats, in a fresh gallery: one picture copied three times 3 s apart (same x3), then two" \
        "pictures in turn 2 s apart (A B A B A), each copy by a fresh xclip or by the same copier:" \
        "copies shown (taken), shown once more than copied (doubled), not shown (lost)."
    repeat_header manager source
    echo
    printf '%s\n' "${REPEAT_ROWS[@]}"
fi
if [ ${#PUTBACK_ROWS[@]} -gt 0 ]; then
    putback_legend
    echo "$PUTBACK_HEADER"
    printf '%s\n' "${PUTBACK_ROWS[@]}"
fi
echo "($((($(now) - started) / 1000000000)) s)"
