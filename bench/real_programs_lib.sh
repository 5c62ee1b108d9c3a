# shellcheck shell=bash
# The rounds of real_programs_bench.sh: each program in a profile of its own, the copies, the
# counts. Sourced after tests/e2e/lib.sh, managers_lib.sh and rounds_lib.sh.

# A program that misbehaves is a line of the table, not the end of the run.
SOFT=1

# The thumbnails read off the window alone: on a 3840x2160 screen a grab of the whole screen
# takes most of a second, which would hide the time being measured.
read_gallery() {
    local shot=$E2E_TMP/gallery.ppm
    xdotool windowraise "$WINDOW" >/dev/null 2>&1 || true
    import -window "$WINDOW" -depth 8 "ppm:$shot" 2>/dev/null || return 1
    GALLERY=$(/usr/bin/python3 "$PROGRAMS/gallery_pictures.py" "$shot" $GALLERY_AT "${PALETTE[@]}")
}
gallery_times() { read_gallery && [ "$(tr ' ' '\n' <<<"$GALLERY" | grep -cx "$1")" -ge "$2" ]; }

# Every change of the clipboard's owner, with the time it was seen, in OWNERS_LOG.
start_owner_clock() {
    OWNERS_LOG=$E2E_TMP/owners-${DISPLAY#:}.log
    background "owner-clock-${DISPLAY#:}" bash -c \
        "\"\$0\" watch | while IFS= read -r line; do echo \"\$(date +%s%N) \$line\"; done >\"\$1\"" \
        "$SELECTION_PROBE" "$OWNERS_LOG"
    wait_for 10 grep -q watching "$OWNERS_LOG" || lib_fail "the owner watch did not start"
}
# copy_seen_after T: when, after T, a program first took the clipboard.
copy_seen_after() { awk -v t="$1" '$1 >= t && $2 == "owner" && $3 != "0x0" {print $1; exit}' "$OWNERS_LOG"; }

# shown_ms T0 N [COUNT [SECONDS]]: the milliseconds from the first copy after T0 to picture N
# shown COUNT times; nothing if it is not shown in time.
shown_ms() {
    local t0=$1 n=$2 count=${3:-1} seconds=${4:-10} copied
    wait_for "$seconds" gallery_times "$n" "$count" || return 0
    local shown
    shown=$(now)
    copied=$(copy_seen_after "$t0")
    [ -z "$copied" ] || echo $(((shown - copied) / 1000000))
}

# A home folder, settings and session bus of the program's own, as a new user has.
BUS_PID=
fresh_profile() {
    export HOME=$E2E_TMP/home-$1
    export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
    mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
    start_session_bus
    BUS_PID=${E2E_PIDS[-1]}
}
stop_pid() {
    kill "$1" 2>/dev/null || true
    wait_for 10 ended "$1" || kill -9 "$1" 2>/dev/null || true
}
# end_profile: everything started with the profile, Pictavo too; a service that the bus or a
# program started and that left its parent (kglobalaccel, Wine's) is known by the profile's
# home folder in its environment, which no process outside this script has.
end_profile() {
    local pid pids=()
    for pid in $(descendants "$BUS_PID") "$BUS_PID"; do kill -9 "$pid" 2>/dev/null || true; done
    for pid in /proc/[0-9]*; do
        pid=${pid#/proc/}
        [ "$pid" != "$$" ] && [ "$pid" != "$BASHPID" ] || continue
        { tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null | grep -qxF "HOME=$HOME" && pids+=("$pid")
    done
    for pid in "${pids[@]:-}"; do [ -z "$pid" ] || kill -9 "$pid" 2>/dev/null || true; done
}

# count_round N...: the gallery once it has stopped changing (a manager puts a picture back
# within 1.5 s, if at all), and for each picture N how many times it shows.
count_round() {
    local seen tries=0 n count
    while read_gallery; seen=$GALLERY; ! holds_for 2 gallery_is "$seen" && [ $((tries += 1)) -lt 5 ]; do :; done
    ONCE=0 DOUBLED=0 LOST=0
    for n in "$@"; do
        count=$(tr ' ' '\n' <<<"$seen" | grep -cx "$n" || true)
        case $count in
        0) LOST=$((LOST + 1)) ;;
        1) ONCE=$((ONCE + 1)) ;;
        *) DOUBLED=$((DOUBLED + 1)) ;;
        esac
    done
    OTHERS=$(tr ' ' '\n' <<<"$seen" | grep -c '^?' || true)
    FINAL_GALLERY=$seen
}

# baseline_ms FILE N...: a Qt program copies FILE once as each picture N (FILE of that
# colour where the thumbnail is read); BASE becomes the times to its thumbnail.
baseline() {
    local file=$1 n t ms
    shift
    BASE=()
    for n in "$@"; do
        t=$(now)
        background "cliptool$n" "$CLIPTOOL" image "${file//@/$n}"
        ms=$(shown_ms "$t" "$n" 1 20)
        [ -z "$ms" ] || BASE+=("$ms")
        wait_for 10 ended "$LAST_PID" || stop_pid "$LAST_PID"
    done
}

HEADER=$(printf '%-24s %-12s %6s %5s %8s %5s %6s %9s %9s %6s' program beside copies once doubled lost other \
    "median ms" "Qt ms" ratio)
ROWS=()
NOTES=()
TYPE_ROWS=()
# add_row PROGRAM BESIDE COPIES NOTE: from the counts and TIMES, BASE.
add_row() {
    local m b
    m=$(median "${TIMES[@]:-}") b=$(median "${BASE[@]:-}")
    [ ${#TIMES[@]} -gt 0 ] || m=-
    [ ${#BASE[@]} -gt 0 ] || b=-
    ROWS+=("$(printf '%-24s %-12s %6s %5s %8s %5s %6s %9s %9s %6s' "$1" "$2" "$3" "$ONCE" "$DOUBLED" "$LOST" \
        "$OTHERS" "$m" "$b" "$(ratio "$m" "$b")")")
    echo "${ROWS[-1]}  (times: ${TIMES[*]:-none}; Qt: ${BASE[*]:-none}; gallery [$FINAL_GALLERY]) $4" >&2
    [ -z "$4" ] || NOTES+=("$1 beside $2: $4")
    if [ -n "${LOGS:-}" ]; then
        local name=${1// /-}-${2//[ ,]/}
        cp "$E2E_TMP/pictavo.err" "$LOGS/$name.capture.log" 2>/dev/null || true
        cp "$OWNERS_LOG" "$LOGS/$name.owners.log" 2>/dev/null || true
        cp "$E2E_TMP/gallery.ppm" "$LOGS/$name.gallery.ppm" 2>/dev/null || true
        [ -z "${PROGRAM_LOG:-}" ] || cp "$PROGRAM_LOG" "$LOGS/$name.program.log" 2>/dev/null || true
    fi
}
skip_row() {
    ROWS+=("$(printf '%-24s %-12s %s' "$1" "${3:--}" "$2")")
    echo "${ROWS[-1]}" >&2
}
print_rows() {
    echo "$HEADER"
    printf '%s\n' "${ROWS[@]}"
    [ ${#NOTES[@]} -eq 0 ] || printf '  %s\n' "${NOTES[@]}"
}

# The screen's background, as a colour of picture N's.
solid_background() { xsetroot -solid "rgb:$(printf '%02x/%02x/%02x' ${PALETTE[$(($1 - 1))]//,/ })"; }
# Pictavo's window in the top left corner; the thumbnails are read where they show the
# screen's background, far from it.
start_pictavo_in_corner() {
    start_pictavo || return 1
    xdotool windowmove --sync "$WINDOW" 0 0 >/dev/null 2>&1 || true
    GALLERY_AT="0.8 0.8"
}

# gnome-screenshot -c, three screenshots one after another, beside Xfce's settings daemon
# and with no clipboard manager.
gnome_screenshot_rows() {
    local beside n t ms note ends
    command -v gnome-screenshot >/dev/null || { skip_row gnome-screenshot "not installed"; return; }
    # The baseline's picture: a screen's size, its colour where the thumbnail is read.
    local size
    size=$(xdpyinfo | awk '/dimensions:/ {print $2}')
    for n in 4 5 6; do
        convert -size "$size" "xc:rgb(${PALETTE[$((n - 1))]})" "PNG24:$E2E_TMP/screen$n.png"
    done
    for beside in xfsettingsd none; do
        fresh_profile "gnome-screenshot-$beside"
        TIMES=() BASE=() note='' ends=()
        if [ "$beside" = xfsettingsd ]; then
            command -v xfsettingsd >/dev/null || { skip_row gnome-screenshot "not installed" xfsettingsd; end_profile; continue; }
            start_manager xfsettingsd || { skip_row gnome-screenshot "xfsettingsd did not start" xfsettingsd; end_profile; continue; }
        elif "$SELECTION_PROBE" owner CLIPBOARD_MANAGER >/dev/null; then
            skip_row gnome-screenshot "a clipboard manager runs on $DISPLAY" none
            end_profile
            continue
        fi
        start_pictavo_in_corner || { skip_row gnome-screenshot "Pictavo did not start" "$beside"; end_profile; continue; }
        for n in 1 2 3; do
            solid_background "$n"
            t=$(now)
            background "gnome-screenshot$n" gnome-screenshot -c
            ms=$(shown_ms "$t" "$n")
            [ -n "$ms" ] && TIMES+=("$ms") || note+="screenshot $n not shown within 10 s; "
            # It quits once a clipboard manager has its copy, or it gives up on one.
            wait_for 60 ended "$LAST_PID" || note+="screenshot $n: the tool did not end within 60 s; "
            ends+=($((($(now) - t) / 1000000)))
        done
        note+="from the start to the tool's end: ${ends[*]} ms; "
        count_round 1 2 3
        baseline "$E2E_TMP/screen@.png" 4 5 6
        add_row gnome-screenshot "$beside" 3 "$note"
        # The same screen three times: three pictures alike.
        stop_pid "$PICTAVO_PID"
        copy_with xclip "text before a fresh gallery" || true
        if start_pictavo_in_corner; then
            solid_background 1
            for n in 1 2 3; do
                background "gnome-screenshot-same$n" gnome-screenshot -c
                wait_for 60 ended "$LAST_PID" || echo "gnome-screenshot $n of the same screen did not end within 60 s" >&2
                wait_for 10 gallery_times 1 "$n" || true
            done
            count_repeats 1:3
            REPEAT_ROWS+=("$(repeat_row gnome-screenshot "$beside" "same x3" 3)")
            echo "${REPEAT_ROWS[-1]}   [$SEEN]" >&2
        fi
        end_profile
    done
}

# An X server of a 3840x2160 screen, with a window manager, for the busy screenshots.
start_big_server() {
    local n=$((${DISPLAY#:} + 1))
    while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    BIG=:$n
    Xvfb "$BIG" -screen 0 3840x2160x24 -nolisten tcp -noreset >"$E2E_TMP/big-xvfb.log" 2>&1 &
    BIG_PIDS=($!)
    E2E_PIDS+=($!)
    disown $!
    DISPLAY=$BIG wait_for 30 xdpyinfo || return 1
    DISPLAY=$BIG background big-openbox openbox
    BIG_PIDS+=("$LAST_PID")
    DISPLAY=$BIG wait_for 30 eval 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
}

# spectacle -b -f -c: three screenshots of a busy 3840x2160 screen; a second start hands its
# work to the first, which stays, so that each is timed from its start and from its copy.
spectacle_row() {
    command -v spectacle >/dev/null || { skip_row spectacle "not installed"; return; }
    local saved_display=$DISPLAY saved_log=$OWNERS_LOG n t ms note='' starts=() pids=() pid
    start_big_server || { skip_row spectacle "no 3840x2160 X server: $(tail -3 "$E2E_TMP/big-xvfb.log")"; return; }
    export DISPLAY=$BIG
    start_owner_clock
    fresh_profile spectacle
    TIMES=() BASE=()
    # A busy screen, the colour of the screenshot's number where its thumbnail is read.
    convert -size 3840x2160 plasma:fractal "PNG24:$E2E_TMP/busy.png"
    for n in 7 8 9 10 11 12; do
        convert "$E2E_TMP/busy.png" -fill "rgb(${PALETTE[$((n - 1))]})" -draw 'rectangle 2600,1400 3500,2000' \
            "PNG24:$E2E_TMP/busy$n.png"
    done
    if start_pictavo_in_corner; then
        for n in 7 8 9; do
            # display stays to show the picture unless told it is the background.
            display -window root "$E2E_TMP/busy$n.png" || true
            t=$(now)
            background "spectacle$n" spectacle -b -f -c
            pids+=("$LAST_PID")
            ms=$(shown_ms "$t" "$n" 1 60)
            starts+=($((($(now) - t) / 1000000)))
            [ -n "$ms" ] && TIMES+=("$ms") || note+="screenshot $((n - 6)) not shown within 60 s; "
        done
        for pid in "${pids[@]}"; do ended "$pid" || note+="spectacle $pid still runs after the copies; "
        done
        note+="from the start to the thumbnail: ${starts[*]} ms; "
        count_round 7 8 9
        baseline "$E2E_TMP/busy@.png" 10 11 12
        add_row spectacle "none, 4K" 3 "$note"
    else
        skip_row spectacle "Pictavo did not start"
    fi
    end_profile
    for pid in "${BIG_PIDS[@]}"; do stop_pid "$pid"; done
    export DISPLAY=$saved_display
    OWNERS_LOG=$saved_log
}

# wine_repeats FD MADE: in fresh galleries, the Win32 program copies one picture three times,
# then two in turn, A B A B A; 6 s apart, since Wine keeps its clipboard to itself for 5 s
# after the first emptying of a copy (see docs/desktops.md). MADE: the lines it had.
wine_repeats() {
    local fd=$1 line=$2 n next=0 failed=0
    stop_pid "$PICTAVO_PID"
    copy_with xclip "text before a fresh gallery" || true
    start_pictavo || return
    for n in 24 24 24 - 25 26 25 26 25; do
        if [ "$n" = - ]; then
            count_repeats 24:3
            REPEAT_ROWS+=("$(repeat_row "wine CF_DIB" none "same x3" 3)")
            echo "${REPEAT_ROWS[-1]}   [$SEEN] copies the program failed: $failed" >&2
            stop_pid "$PICTAVO_PID"
            copy_with xclip "text before a fresh gallery" || true
            start_pictavo || return
            continue
        fi
        while [ "$(now)" -lt "$next" ]; do sleep 0.05; done
        next=$(($(now) + 6000000000))
        line=$((line + 1))
        echo "96 64 ${PALETTE[$((n - 1))]//,/ }" >&"$fd"
        wait_for 20 grep -qE "^copied $line([^0-9]|\$)" "$E2E_TMP/wine.log" || failed=$((failed + 1))
    done
    count_repeats 25:3 26:2
    REPEAT_ROWS+=("$(repeat_row "wine CF_DIB" none "A B A B A" 5)")
    echo "${REPEAT_ROWS[-1]}   [$SEEN] copies the program failed: $failed" >&2
}

# A Win32 program under Wine copies 20 distinct pictures as CF_DIB, a second apart.
wine_row() {
    local copies=20 n t ms note='' next=0 fd
    command -v wine >/dev/null || { skip_row "wine CF_DIB" "not installed"; return; }
    command -v x86_64-w64-mingw32-gcc >/dev/null || { skip_row "wine CF_DIB" "no x86_64-w64-mingw32-gcc to build it"; return; }
    local exe=$E2E_TMP/wine_dib_copier.exe
    x86_64-w64-mingw32-gcc -O2 -o "$exe" "$PROGRAMS/wine_dib_copier.c" || { skip_row "wine CF_DIB" "did not build"; return; }
    fresh_profile wine
    export WINEPREFIX=$HOME/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    mkfifo "$E2E_TMP/wine.in"
    exec {fd}<>"$E2E_TMP/wine.in"
    TIMES=() BASE=()
    # The prefix is made first, as it is before a person runs a program in it: while
    # it is being made, its programs hold the clipboard for seconds. Slow on a loaded machine.
    timeout 300 wineboot --init >"$E2E_TMP/wineboot.log" 2>&1 || true
    timeout 300 wineserver --wait || true
    background wine wine "$exe" <"$E2E_TMP/wine.in"
    if ! wait_for 180 grep -q '^ready' "$E2E_TMP/wine.log"; then
        skip_row "wine CF_DIB" "did not start: $(tail -3 "$E2E_TMP/wine.log")"
    elif ! start_pictavo; then
        skip_row "wine CF_DIB" "Pictavo did not start"
    else
        GALLERY_AT="0.5 0.5"
        for n in $(seq "$copies"); do
            # A person copying once a second: the workload, not a wait.
            while [ "$(now)" -lt "$next" ]; do sleep 0.05; done
            next=$(($(now) + 1000000000))
            t=$(now)
            echo "96 64 ${PALETTE[$((n - 1))]//,/ }" >&"$fd"
            wait_for 20 grep -qE "^(copied|failed) $n([^0-9]|\$)" "$E2E_TMP/wine.log" || note+="copy $n: no answer; "
            ! grep -q "^failed $n " "$E2E_TMP/wine.log" || note+="copy $n: $(grep "^failed $n " "$E2E_TMP/wine.log"); "
            ms=$(shown_ms "$t" "$n" 1 5)
            [ -n "$ms" ] && TIMES+=("$ms") || note+="picture $n not shown within 5 s; "
        done
        count_round $(seq "$copies")
        baseline "$E2E_TMP/picture@.png" 21 22 23
        PROGRAM_LOG=$E2E_TMP/wine.log
        add_row "wine CF_DIB" none "$copies" "$note"
        PROGRAM_LOG=
        wine_repeats "$fd" "$copies"
    fi
    exec {fd}>&-
    wineserver -k 2>/dev/null || true
    end_profile
    unset WINEPREFIX
}
