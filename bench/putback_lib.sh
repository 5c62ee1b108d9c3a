# shellcheck shell=bash
# How the running clipboard manager answers an emptying, seen at the X protocol level: whether
# it takes a copy over before anything empties it, whether it puts back a picture or a text
# once emptied, and how soon, in the X server's time. Sourced after tests/e2e/lib.sh,
# managers_lib.sh and rounds_lib.sh; needs SELECTION_PROBE.

PUTBACK_ROUNDS=${PUTBACK_ROUNDS:-6}
PUTBACK_GAPS=${PUTBACK_GAPS:-20}
# How long a person leaves the clipboard alone after a copy: the workload, not a wait.
PUTBACK_SETTLE=${PUTBACK_SETTLE:-1.5}

# putback_copy picture|text: a fresh xclip copies; PUTBACK_XCLIP is its process id.
putback_copy() {
    local log=$E2E_TMP/putback-xclip$RANDOM.log
    if [ "$1" = picture ]; then
        [ -f "$E2E_TMP/putback.png" ] || convert -size 96x64 'xc:rgb(200,60,30)' "PNG24:$E2E_TMP/putback.png"
        xclip -verbose -selection clipboard -t image/png -i "$E2E_TMP/putback.png" >"$log" 2>&1 &
    else
        PUTBACK_TEXT="put back text $RANDOM$RANDOM"
        xclip -verbose -selection clipboard -i <<<"$PUTBACK_TEXT" >"$log" 2>&1 &
    fi
    PUTBACK_XCLIP=$!
    E2E_PIDS+=("$PUTBACK_XCLIP")
    wait_for 20 grep -q 'Waiting for selection requests' "$log"
}

# putback_first picture|text: one fresh copy, the settling, one emptying. Sets TOOK_OVER
# (yes: xclip lost the clipboard before the emptying), DELAY (ms, or empty: nothing came
# back within 5 s) and BACK_KIND (what the put-back offers: picture, text, other).
putback_first() {
    TOOK_OVER=no DELAY= BACK_KIND=
    putback_copy "$1" || return 1
    sleep "$PUTBACK_SETTLE"
    ended "$PUTBACK_XCLIP" && TOOK_OVER=yes
    local out
    out=$("$SELECTION_PROBE" gaps 1 2>&1 || true)
    DELAY=$(sed -n 's/.*min \([-0-9]*\),.*/\1/p' <<<"$out")
    if [ -n "$DELAY" ]; then
        local text
        if clipboard_has_image; then
            BACK_KIND=picture
        elif text=$(xclip -o -selection clipboard 2>/dev/null) && [ -n "$text" ]; then
            # Not what was emptied when it is another (an older) text.
            [ "$1" = text ] && [ "$text" = "$PUTBACK_TEXT" ] && BACK_KIND=text || BACK_KIND=old-text
        else
            BACK_KIND=nothing
        fi
    fi
    kill "$PUTBACK_XCLIP" 2>/dev/null || true
}

# putback_row ENTRY LOAD: for a picture and a text, PUTBACK_ROUNDS fresh copies each emptied
# once, then one copy emptied PUTBACK_GAPS times in a row; a line of PUTBACK_ROWS.
PUTBACK_ROWS=()
putback_row() {
    local entry=$1 load=$2 kind r manager_role=no
    "$SELECTION_PROBE" owner CLIPBOARD_MANAGER >/dev/null 2>&1 && manager_role=yes
    for kind in picture text; do
        local delays=() over=0 backs=() tried=0
        for r in $(seq "$PUTBACK_ROUNDS"); do
            putback_first "$kind" || { echo "$entry: xclip did not copy the $kind" >&2; continue; }
            tried=$((tried + 1))
            [ "$TOOK_OVER" = no ] || over=$((over + 1))
            [ -z "$DELAY" ] || { delays+=("$DELAY"); backs+=("$BACK_KIND"); }
            # A manager that never puts back is not asked for long.
            [ "$r" -lt 3 ] || [ ${#delays[@]} -gt 0 ] || break
        done
        local first="-" maxf="-" repeated="- (-)"
        if [ ${#delays[@]} -gt 0 ]; then
            first=$(median "${delays[@]}")
            maxf=$(printf '%s\n' "${delays[@]}" | sort -n | tail -1)
            # The put-back of a put-back: what a manager does when its own offer is emptied.
            putback_copy "$kind" && sleep "$PUTBACK_SETTLE"
            local out
            out=$("$SELECTION_PROBE" gaps "$PUTBACK_GAPS" 2>&1 || true)
            repeated=$(sed -n 's/taken back \([0-9]*\) of \([0-9]*\) times: .*median \([-0-9]*\), .*max \([-0-9]*\) ms/\3\/\4 (\1 of \2)/p' <<<"$out")
            [ -n "$repeated" ] || repeated="- (0 of $PUTBACK_GAPS)"
            kill "$PUTBACK_XCLIP" 2>/dev/null || true
        fi
        local what
        what=$(printf '%s\n' "${backs[@]:-}" | sort | uniq -c | awk 'NF == 2 {printf "%s%s %s", sep, $1, $2; sep = ", "}')
        PUTBACK_ROWS+=("$(printf '%-20s %-5s %-7s %-9s %-8s %-18s %6s %6s  %-18s' "$entry" "$load" "$kind" \
            "$over/$tried" "$manager_role" "${#delays[@]}/$tried ${what:-}" "$first" "$maxf" "$repeated")")
        echo "${PUTBACK_ROWS[-1]}" >&2
    done
}
PUTBACK_HEADER=$(printf '%-20s %-5s %-7s %-9s %-8s %-18s %6s %6s  %-18s' manager load copy "taken over" \
    "CB_MGR" "put back" "med ms" "max ms" "again: med/max ms")
putback_legend() {
    echo "Put-back after an emptying (X server time, selection_probe): for $PUTBACK_ROUNDS fresh xclip copies" \
        "each left alone ${PUTBACK_SETTLE} s and emptied once, how many the manager took over before the" \
        "emptying, whether it holds CLIPBOARD_MANAGER, how many it put back (and as what), the median and" \
        "longest delay from the emptying to the put-back; then one copy emptied $PUTBACK_GAPS times in a" \
        "row (the put-back of a put-back): median/max delay and how many came back. load: quiet, or" \
        "busy (a 'yes' process keeping a core busy)."
}

# When the owner quits instead: QUIT_DELAY (ms from the owner's end to the next owner, in
# server time; empty if none within 5 s) and QUIT_KIND, for a picture copied by xclip, which
# quits without handing anything over; and HANDED (what the clipboard offers once a Qt
# program that copied a picture quits, handing it to the manager's role if one is held).
putback_after_quit() {
    local log=$E2E_TMP/putback-watch.log watcher
    QUIT_DELAY= QUIT_KIND=
    "$SELECTION_PROBE" watch >"$log" 2>&1 &
    watcher=$!
    E2E_PIDS+=("$watcher")
    wait_for 10 grep -q '^watching' "$log" || return 1
    putback_copy picture || return 1
    sleep "$PUTBACK_SETTLE"
    local before
    before=$(grep -c '^\(owner\|gone\)' "$log" || true)
    kill "$PUTBACK_XCLIP" 2>/dev/null || true
    quit_back() { tail -n +"$((before + 2))" "$1" | awk '$1 == "gone" {e = $4} $1 == "owner" && $2 != "0x0" && e != "" {print $4 - e; exit}' | grep -q .; }
    if wait_for 5 quit_back "$log"; then
        QUIT_DELAY=$(tail -n +"$((before + 2))" "$log" | awk '$1 == "gone" {e = $4} $1 == "owner" && $2 != "0x0" && e != "" {print $4 - e; exit}')
        clipboard_has_image && QUIT_KIND=picture || QUIT_KIND=other
    fi
    kill "$watcher" 2>/dev/null || true
}
putback_handed() {
    HANDED=nothing
    local fifo=$E2E_TMP/handed.in log=$E2E_TMP/handed.log pid
    rm -f "$fifo"
    mkfifo "$fifo"
    [ -f "$E2E_TMP/putback.png" ] || convert -size 96x64 'xc:rgb(200,60,30)' "PNG24:$E2E_TMP/putback.png"
    /usr/bin/python3 "$PROGRAMS/qt5_copier.py" <"$fifo" >"$log" 2>&1 &
    pid=$!
    E2E_PIDS+=("$pid")
    exec {PUTBACK_FD}>"$fifo"
    wait_for 30 grep -q '^ready' "$log" || { exec {PUTBACK_FD}>&-; return 1; }
    echo "$E2E_TMP/putback.png" >&"$PUTBACK_FD"
    wait_for 10 grep -q '^copied' "$log"
    sleep "$PUTBACK_SETTLE"
    exec {PUTBACK_FD}>&-
    wait_for 20 ended "$pid" || kill "$pid" 2>/dev/null
    if clipboard_has_image; then HANDED=picture; elif "$SELECTION_PROBE" owner CLIPBOARD >/dev/null; then HANDED=other; fi
}
putback_quit_row() {
    local r delays=() kinds=() out
    for r in 1 2 3; do
        putback_after_quit || continue
        [ -z "$QUIT_DELAY" ] || { delays+=("$QUIT_DELAY"); kinds+=("$QUIT_KIND"); }
    done
    putback_handed
    local handed_gaps=-
    if [ "$HANDED" != nothing ]; then
        out=$("$SELECTION_PROBE" gaps 5 2>&1 || true)
        handed_gaps=$(sed -n 's/taken back \([0-9]*\) of \([0-9]*\) times: .*median \([-0-9]*\), .*max \([-0-9]*\) ms/\3\/\4 (\1 of \2)/p' <<<"$out")
        [ -n "$handed_gaps" ] || handed_gaps="none back (0 of 5)"
    fi
    QUIT_ROWS+=("$(printf '%-20s %-5s %-18s %6s %6s   %-8s %s' "$1" "$2" \
        "${#delays[@]}/3 $(printf '%s\n' "${kinds[@]:-}" | sort -u | tr '\n' ' ')" \
        "$(median "${delays[@]:--}")" "$(printf '%s\n' "${delays[@]:--}" | sort -n | tail -1)" "$HANDED" "$handed_gaps")")
    echo "${QUIT_ROWS[-1]}" >&2
}
QUIT_ROWS=()
QUIT_HEADER=$(printf '%-20s %-5s %-18s %6s %6s   %-8s %s' manager load "xclip quit: back" "med ms" "max ms" \
    "Qt quit" "then emptied: med/max ms")
