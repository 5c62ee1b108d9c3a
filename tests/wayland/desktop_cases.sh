# Sourced by the KWin and mutter tests after session.sh: copies of distinct pictures from X
# and Wayland programs, and the check that the gallery holds each exactly once, in order.

# make_pictures COUNT: $WORK/cN.png, each of its own colour, readable by the session's user.
make_pictures() {
    local n
    for n in $(seq 0 $(($1 - 1))); do
        convert -size 120x90 "xc:rgb($(colour_of "$n"))" "PNG24:$WORK/c$n.png"
    done
    chmod a+r "$WORK"/c*.png
}
colour_of() { echo "$((($1 * 53 + 20) % 256)),$((($1 * 97 + 40) % 256)),$((($1 * 151 + 80) % 256))"; }

COPIES=0
GALLERY_ERROR=

x_offers_image() { as_user xclip -o -selection clipboard -t TARGETS 2>/dev/null | grep -q '^image/'; }
# KWin answers at once when it has a selection, and never when it has none.
wayland_offers_image() { as_user timeout 1.5 wl-paste --list-types 2>/dev/null | grep -q '^image/'; }
x_has_no_image() { ! x_offers_image; }

# x_copy: the next picture copied by an X program; the X side empty of pictures afterwards.
x_copy() {
    as_user xclip -selection clipboard -t image/png -i "$WORK/c$COPIES.png"
    wait_for 15 x_has_no_image || fail "X copy $COPIES ($1) was not taken"
    COPIES=$((COPIES + 1))
}

# The main window: its id, and the gallery's entries in a picture of it.
pictavo_window() {
    PICTAVO_WINDOW=$(main_window_ids | head -1)
    [ -n "$PICTAVO_WINDOW" ] || return 1
    # Entries 78 pixels apart across, 62 down, from (2, 3), each 72 x 56 and whole in the
    # window (a tiling compositor gives it the whole screen); then the gallery starts over.
    local info width height
    info=$(as_user xwininfo -id "$PICTAVO_WINDOW")
    width=$(awk '/Width:/ {print $2}' <<<"$info")
    height=$(awk '/Height:/ {print $2}' <<<"$info")
    GALLERY_COLUMNS=$(((width - 2 - 72) / 78 + 1))
    GALLERY_SLOTS=$((GALLERY_COLUMNS * ((height - 3 - 57) / 62 + 1)))
}
pictavo_focused() { [ "$(as_user xdotool getactivewindow 2>/dev/null)" = "$PICTAVO_WINDOW" ]; }
slot_centre() { SX=$((2 + 78 * ($1 % GALLERY_COLUMNS) + 37)) SY=$((3 + 62 * ($1 / GALLERY_COLUMNS) + 29)); }

# gallery_holds_copies: every copy made so far is in the gallery once, in order.
gallery_holds_copies() {
    GALLERY_ERROR="no picture of the window"
    as_user import -window "$PICTAVO_WINDOW" png:- >"$WORK/shot.png" 2>/dev/null || return 1
    local format="" k slots=() first=$((COPIES > GALLERY_SLOTS ? COPIES - GALLERY_SLOTS : 0))
    for ((k = first; k <= COPIES; k++)); do
        [ "$k" -eq "$COPIES" ] && [ "$COPIES" -ge "$GALLERY_SLOTS" ] && break
        slot_centre $((k % GALLERY_SLOTS))
        format+="%[fx:int(255*p{$SX,$SY}.r+0.5)],%[fx:int(255*p{$SX,$SY}.g+0.5)],%[fx:int(255*p{$SX,$SY}.b+0.5)] "
        slots+=("$k")
    done
    local seen
    read -r -a seen <<<"$(convert "$WORK/shot.png" -format "$format" info:)"
    GALLERY_ERROR=
    for k in "${!slots[@]}"; do
        local n=${slots[$k]}
        if [ "$n" -lt "$COPIES" ]; then
            [ "${seen[$k]}" = "$(colour_of "$n")" ] && continue
            GALLERY_ERROR="entry $n shows ${seen[$k]}, not copy $n ($(colour_of "$n"))"
        else
            local m
            for ((m = 0; m < COPIES; m++)); do
                [ "${seen[$k]}" != "$(colour_of "$m")" ] && continue
                GALLERY_ERROR="an extra entry after $COPIES copies shows copy $m"
            done
            [ -z "$GALLERY_ERROR" ] && continue
        fi
        return 1
    done
}
check_gallery() {
    wait_for 15 gallery_holds_copies || { gallery_holds_copies || true; fail "after $1: $GALLERY_ERROR"; }
}
