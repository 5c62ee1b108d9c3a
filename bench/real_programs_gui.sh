# shellcheck shell=bash
# The desktop programs of real_programs_bench.sh that a person copies a picture in: Firefox
# ESR and Chromium (Copy Image on a picture opened from a file), LibreOffice Draw (the picture
# selected, Ctrl+C) and GIMP (Ctrl+C of the image). Each copies a busy 1920x1080 picture
# twice: first with Pictavo not running, when every image type it offers is read back with
# xclip, timed and compared with the file; then beside Pictavo, once. Sourced after
# real_programs_lib.sh.

# What the time is measured against: the same kind of picture copied by a Qt program.
declare -A GUI_PICTURE=([firefox]=30 [chromium]=31 [draw]=32 [gimp]=33)
GUI_BASE_PICTURES=(34 35 36)

# gui_picture N: a busy 1920x1080 picture, picture N's colour in its middle, where its
# thumbnail is read. Without colour chunks: a browser would correct its colours by them.
gui_picture() {
    [ -f "$E2E_TMP/busy1080.png" ] ||
        convert -size 1920x1080 plasma:fractal -fill white -pointsize 48 -annotate +100+200 'A screen' \
            "PNG24:$E2E_TMP/busy1080.png"
    convert "$E2E_TMP/busy1080.png" -fill "rgb(${PALETTE[$(($1 - 1))]})" -draw 'rectangle 760,340 1160,740' \
        -strip "PNG24:$E2E_TMP/gui$1.png"
}

# start_gui NAME FILE: the program on FILE in its fresh profile; PROGRAM_WINDOW its window.
start_gui() {
    local name=$1 file=$2 pattern
    case $name in
    firefox)
        # A fresh profile, without the first-run pages that would take the window's tab.
        mkdir -p "$HOME/firefox"
        printf 'user_pref("%s", %s);\n' browser.aboutwelcome.enabled false \
            datareporting.policy.dataSubmissionPolicyBypassNotification true \
            toolkit.telemetry.reportingpolicy.firstRun false \
            browser.startup.homepage_override.mstone '"ignore"' >"$HOME/firefox/user.js"
        background firefox firefox-esr --no-remote --profile "$HOME/firefox" "file://$file"
        pattern='PNG Image'
        ;;
    chromium)
        # As root Chromium runs only without its sandbox.
        background chromium chromium --user-data-dir="$HOME/chromium" --no-first-run \
            --no-default-browser-check --password-store=basic --disable-gpu \
            $([ "$(id -u)" -ne 0 ] || echo --no-sandbox) "file://$file"
        pattern="$(basename "$file").*Chromium"
        ;;
    draw)
        mkdir -p "$HOME/libreoffice/user"
        cat >"$HOME/libreoffice/user/registrymodifications.xcu" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry" xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
<item oor:path="/org.openoffice.Office.Common/Misc"><prop oor:name="ShowTipOfTheDay" oor:op="fuse"><value>false</value></prop></item>
</oor:items>
EOF
        background draw libreoffice --draw --norestore "-env:UserInstallation=file://$HOME/libreoffice" "$file"
        pattern="$(basename "$file").*LibreOffice Draw"
        ;;
    gimp)
        background gimp gimp -n -s "$file"
        pattern="$(basename "$file" .png).*GIMP"
        ;;
    esac
    PROGRAM_PID=$LAST_PID
    PROGRAM_LOG=$E2E_TMP/$name.log
    # Their first start in a new profile is slow on a loaded machine.
    wait_for 240 eval 'PROGRAM_WINDOW=$(xdotool search --onlyvisible --name "$pattern" | head -1); [ -n "$PROGRAM_WINDOW" ]'
    PROGRAM_WINDOW=$(xdotool search --onlyvisible --name "$pattern" | head -1)
    [ -n "$PROGRAM_WINDOW" ]
}

popups() { xdotool search --onlyvisible --pid "$PROGRAM_PID" 2>/dev/null | wc -l; }
popup_opened() { [ "$(popups)" -gt "$1" ]; }
offers_image() { timeout 5 xclip -o -selection clipboard -t TARGETS 2>/dev/null | grep -q '^image/'; }

# copy_in NAME [T]: the copy as a person makes it; true once the clipboard offers an image,
# or with T, once a program has taken the clipboard since T (Pictavo empties it at once). A
# menu or dialog that was not there yet is closed and the copy made again, twice at most.
copied_since() { [ -n "$(copy_seen_after "$1")" ]; }
copy_in() {
    # What xdotool's geometry sets, its WINDOW above all, stays here.
    local name=$1 try shown done=(offers_image) WINDOW X Y WIDTH HEIGHT SCREEN
    [ -z "${2:-}" ] || done=(copied_since "$2")
    for try in 1 2 3; do
        xdotool windowactivate --sync "$PROGRAM_WINDOW" >/dev/null 2>&1 || true
        case $name in
        firefox | chromium)
            eval "$(xdotool getwindowgeometry --shell "$PROGRAM_WINDOW")"
            shown=$(popups)
            # The picture fills the middle of the window; its menu's "Copy Image" is on Y.
            xdotool mousemove --sync $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 3
            wait_for 10 popup_opened "$shown" && xdotool key y
            ;;
        draw) xdotool key ctrl+a key ctrl+c ;;
        gimp) xdotool key ctrl+c ;;
        esac
        wait_for 10 "${done[@]}" && return 0
        xdotool key Escape
        local dialog
        for dialog in $(xdotool search --onlyvisible --name 'Tip of the Day' 2>/dev/null); do
            xdotool windowactivate --sync "$dialog" key Escape >/dev/null 2>&1 || true
        done
    done
    return 1
}

# measure_types NAME FILE: each raster type offered, read whole, against FILE's pixels.
measure_types() {
    local name=$1 file=$2 type start ms pixels exact out=$E2E_TMP/read
    for type in $(timeout 5 xclip -o -selection clipboard -t TARGETS 2>/dev/null |
        grep -iE '^image/(png|x-png|bmp|x-bmp|x-ms-bmp|tiff|ppm|x-portable-pixmap|webp|jpeg|gif)$'); do
        start=$(now)
        timeout 60 xclip -o -selection clipboard -t "$type" >"$out" 2>/dev/null || true
        ms=$((($(now) - start) / 1000000))
        pixels=$(compare -metric AE "$file" "$out" null: 2>&1 || true)
        [ "$pixels" = 0 ] && exact=exact || exact="not exact ($pixels)"
        [ -s "$out" ] || exact="nothing"
        TYPE_ROWS+=("$(printf '%-9s %-26s %7d ms  %s' "$name" "$type" "$ms" "$exact")")
    done
}

# gui_repeats NAME N: in fresh galleries, the program copies its picture N three times a few
# seconds apart; then it and a fresh xclip copy in turn, N Q N Q N.
GUI_OTHER=37
gui_repeats() {
    local name=$1 n=$2 step next=0 t copies=0
    stop_pid "$PICTAVO_PID"
    copy_with xclip "text before a fresh gallery" || true
    start_pictavo || { skip_row "$name" "Pictavo did not start again"; return; }
    for step in "$n" "$n" "$n" - "$n" "$GUI_OTHER" "$n" "$GUI_OTHER" "$n"; do
        if [ "$step" = - ]; then
            count_repeats "$n:3"
            REPEAT_ROWS+=("$(repeat_row "$name" none "same x3" 3)")
            echo "${REPEAT_ROWS[-1]}   [$SEEN] copies not made: $copies" >&2
            stop_pid "$PICTAVO_PID"
            copy_with xclip "text before a fresh gallery" || true
            start_pictavo || { skip_row "$name" "Pictavo did not start again"; return; }
            continue
        fi
        # A person copying again a few seconds later.
        while [ "$(now)" -lt "$next" ]; do sleep 0.05; done
        next=$(($(now) + 3000000000))
        t=$(now)
        if [ "$step" = "$n" ]; then
            copy_in "$name" "$t" || copies=$((copies + 1))
        else
            copy_with xclip "$E2E_TMP/picture$step.png" || copies=$((copies + 1))
        fi
    done
    count_repeats "$n:3" "$GUI_OTHER:2"
    REPEAT_ROWS+=("$(repeat_row "$name" none "P xclip P x P" 5)")
    echo "${REPEAT_ROWS[-1]}   [$SEEN] copies not made: $copies" >&2
}

gui_row() {
    local name=$1 command n=${GUI_PICTURE[$1]} t ms note=
    case $name in
    firefox) command=firefox-esr ;;
    draw) command=libreoffice ;;
    *) command=$name ;;
    esac
    command -v "$command" >/dev/null || { skip_row "$name" "not installed"; return; }
    gui_picture "$n"
    local b
    for b in "${GUI_BASE_PICTURES[@]}"; do gui_picture "$b"; done
    local file=$E2E_TMP/gui$n.png
    fresh_profile "$name"
    TIMES=() BASE=()
    if ! start_gui "$name" "$file"; then
        skip_row "$name" "no window: $(tail -3 "$PROGRAM_LOG" | tr '\n' ' ')"
    elif ! copy_in "$name"; then
        skip_row "$name" "its copy put no image on the clipboard: $(clipboard_says)"
    else
        measure_types "$name" "$file"
        # The copy beside Pictavo is the only picture: a text holds the clipboard before.
        copy_with xclip "text before the copy in $name" || true
        if start_pictavo; then
            GALLERY_AT="0.5 0.5"
            t=$(now)
            copy_in "$name" "$t" || note+="the copy beside Pictavo put no image on the clipboard; "
            ms=$(shown_ms "$t" "$n" 1 20)
            [ -n "$ms" ] && TIMES+=("$ms") || note+="not shown within 20 s; "
            count_round "$n"
            baseline "$E2E_TMP/gui@.png" "${GUI_BASE_PICTURES[@]}"
            add_row "$name" none 1 "$note"
            gui_repeats "$name" "$n"
        else
            skip_row "$name" "Pictavo did not start"
        fi
    fi
    PROGRAM_LOG=
    end_profile
}
