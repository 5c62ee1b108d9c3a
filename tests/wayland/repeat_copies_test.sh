#!/usr/bin/env bash
# Under sway and KWin, with XWayland: the same picture copied again, three times in a row and
# between others, by Wayland and by X programs, is taken every time, and only once. Wayland
# names no offering program, so each copy comes at a person's pace: two seconds after the
# last was taken.
set -euo pipefail
: "${PICTAVO_BIN:?PICTAVO_BIN must name the installed program}"
[ "$(id -u)" -eq 0 ] || { echo "needs root, to run the session as another user"; exit 77; }
source "$(dirname "$0")/session.sh"
source "$(dirname "$0")/desktop_cases.sh"
session_work

declare -A rgb=([green]=0,200,0 [red]=220,0,0 [blue]=0,0,220)
for c in "${!rgb[@]}"; do convert -size 120x90 "xc:rgb(${rgb[$c]})" "PNG24:$WORK/$c.png"; done
chmod a+r "$WORK"/*.png
sequence=(green green green red blue red blue red)

# gallery_is COLOURS...: the entries, in order, and nothing after them. The window's size is
# read each time: a tiling compositor resizes it after it first shows.
gallery_is() {
    pictavo_window || return 1
    as_user import -window "$PICTAVO_WINDOW" png:- >"$WORK/shot.png" 2>/dev/null || return 1
    local format="" k
    for ((k = 0; k <= $#; k++)); do
        slot_centre "$k"
        format+="%[fx:int(255*p{$SX,$SY}.r+0.5)],%[fx:int(255*p{$SX,$SY}.g+0.5)],%[fx:int(255*p{$SX,$SY}.b+0.5)] "
    done
    read -r -a SEEN <<<"$(convert "$WORK/shot.png" -format "$format" info:)"
    local wanted=("$@")
    for ((k = 0; k < $#; k++)); do [ "${SEEN[$k]}" = "${rgb[${wanted[$k]}]}" ] || return 1; done
    local last=${SEEN[$#]}
    for c in "${!rgb[@]}"; do [ "$last" != "${rgb[$c]}" ] || return 1; done
}

# run_on COMPOSITOR: the sequence by wl-copy, then by xclip, each copy taken once.
run_on() {
    "start_$1" || fail "no $1"
    start_pictavo
    wait_for 30 pictavo_window || fail "the main window did not appear on $1"
    local taken=() colour copier
    for copier in wl-copy xclip; do
        for colour in "${sequence[@]}"; do
            if [ "$copier" = wl-copy ]; then
                as_user wl-copy --type image/png <"$WORK/$colour.png"
            else
                as_user xclip -selection clipboard -t image/png -i "$WORK/$colour.png"
            fi
            taken+=("$colour")
            # A repeat that nothing marks as a person's may stay on the clipboard: taken all the same.
            wait_for 15 gallery_is "${taken[@]}" ||
                fail "$1: after $copier's copy ${#taken[@]} ($colour) the gallery shows ${SEEN[*]}"
            sleep 2 # a person's pace
        done
    done
    echo "$1: ${#taken[@]} copies, each taken once"
    kill "$PICTAVO_PID" 2>/dev/null || true
    stop_session
}

run_on sway
command -v kwin_wayland >/dev/null && run_on kwin || echo "kwin_wayland is not installed: KWin not tried"
