# Shared by the scripts that run the program beside the clipboard managers and the copying
# programs of the desktop: each runs with a home folder and a session bus of its own, is
# started, waited for and ended by its process id. Source after lib.sh.
PROGRAMS=$(cd "$(dirname "${BASH_SOURCE[0]}")/programs" && pwd)

# A fresh profile: every program here starts with its defaults, or with what a script writes.
export HOME=$E2E_TMP/home
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
# GSettings in a key file of the private home, whatever backend the machine has.
export GSETTINGS_BACKEND=keyfile
export NO_AT_BRIDGE=1 QT_QPA_PLATFORM=xcb
unset SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS

managers_cleanup() {
    end_descendants
    e2e_cleanup
}
trap managers_cleanup EXIT
# A test ended from outside (ctest's timeout) still ends what it started.
trap 'exit 143' TERM INT HUP

# background NAME COMMAND...: runs a program of the desktop, its output in NAME.log. Its
# input is the caller's (a job in the background would read nothing otherwise).
background() {
    local name=$1
    shift
    "$@" <&0 >"$E2E_TMP/$name.log" 2>&1 &
    E2E_PIDS+=($!)
    LAST_PID=$!
    # Ended by its process id at the end; the shell need not report how.
    disown "$LAST_PID"
}

# ended PID: the process has exited (for wait_for).
ended() { ! kill -0 "$1" 2>/dev/null; }

# holds_for SECONDS COMMAND...: COMMAND stays true each time it is asked, for SECONDS. What
# must not happen (a picture taken twice) can only be watched for over a stretch of time.
holds_for() {
    local seconds=$1
    shift
    local deadline=$(($(date +%s%N) + seconds * 1000000000))
    while [ "$(date +%s%N)" -lt "$deadline" ]; do
        "$@" >/dev/null 2>&1 || return 1
        sleep 0.1
    done
}

clipboard_text_is() { [ "$(xclip -o -selection clipboard 2>/dev/null)" = "$1" ]; }

# probe_copy read|keep: a text copied by a program is read by the manager (read), and is
# still there after that program quit (keep). xclip says when it has served the text (it does
# not count the asking for the list of forms): read once it waits for its second request.
probe_copy() {
    local word=probe-$RANDOM$RANDOM log=$E2E_TMP/probe.log
    xclip -verbose -selection clipboard -i <<<"$word" >"$log" 2>&1 &
    local pid=$!
    E2E_PIDS+=("$pid")
    local read=0
    wait_for 5 grep -q 'request number 2' "$log" || read=1
    kill "$pid" 2>/dev/null
    wait_for 5 ended "$pid"
    [ "$read" -eq 0 ] || return 1
    [ "$1" = read ] || wait_for 5 clipboard_text_is "$word"
}

# start_manager NAME [keep-images]: a clipboard manager in its default settings, or in the
# settings that keep pictures; returns once it really manages the clipboard.
start_manager() {
    local name=$1 keep=${2:-} managing=(probe_copy read)
    case $name in
    xfsettingsd)
        # Xfce's settings daemon keeps what a quitting program hands to the clipboard manager.
        background "$name" xfsettingsd --no-daemon
        managing=("$SELECTION_PROBE" owner CLIPBOARD_MANAGER)
        ;;
    xfce4-clipman) background "$name" xfce4-clipman ;;
    gpaste)
        if [ "$keep" = keep-images ]; then
            gsettings set org.gnome.GPaste images-support true
            gsettings set org.gnome.GPaste synchronize-clipboards true
        fi
        background "$name" /usr/libexec/gpaste/gpaste-daemon
        ;;
    klipper)
        if [ "$keep" = keep-images ]; then
            printf '[General]\nIgnoreImages=false\n' >"$XDG_CONFIG_HOME/klipperrc"
        fi
        background "$name" klipper
        managing=(probe_copy keep)
        ;;
    diodon)
        background "$name" diodon
        managing=(probe_copy keep)
        ;;
    parcellite)
        background "$name" parcellite -n
        managing=(probe_copy keep)
        ;;
    copyq) background "$name" copyq ;;
    *) fail "no clipboard manager $name" ;;
    esac
    MANAGER_PID=$LAST_PID
    # A desktop on a loaded machine takes its time to come up.
    wait_for 60 "${managing[@]}" ||
        fail "$name does not manage the clipboard: $(tail -5 "$E2E_TMP/$name.log")"
    kill -0 "$MANAGER_PID" || fail "$name ended: $(tail -5 "$E2E_TMP/$name.log")"
}

# The pictures of a script: picture N is a plain colour of its own, PALETTE[N - 1].
PALETTE=()
make_pictures() {
    local n r g b
    for n in $(seq 1 "$1"); do
        r=$((n * 53 % 190 + 40)) g=$((n * 97 % 190 + 40)) b=$((n * 151 % 190 + 40))
        PALETTE+=("$r,$g,$b")
        convert -size 96x64 "xc:rgb($r,$g,$b)" "PNG24:$E2E_TMP/picture$n.png"
    done
}

# make_screen_sized N: picture N becomes the size of a screenshot, with a band of noise
# that makes it as heavy as one; its corners and middle keep its colour.
make_screen_sized() {
    local colour=${PALETTE[$(($1 - 1))]}
    convert -size 1920x1080 "xc:rgb($colour)" \( -size 1920x300 xc: +noise Random \) \
        -geometry +0+100 -composite "PNG24:$E2E_TMP/picture$1.png"
}

# read_gallery: GALLERY becomes the numbers of the pictures that the thumbnails show,
# in placement order ("?R.G.B" for another colour), as a person sees them on the screen.
# GALLERY_AT says where in a thumbnail to look, as fractions of its width and height.
GALLERY_AT="0.5 0.5"
read_gallery() {
    local size shot=$E2E_TMP/gallery.ppm
    xdotool windowraise "$WINDOW" >/dev/null 2>&1 || true
    client_origin
    size=$(xwininfo -id "$WINDOW" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}')
    import -window root -crop "$size+$ORIGIN_X+$ORIGIN_Y" +repage -depth 8 "ppm:$shot" 2>/dev/null ||
        return 1
    GALLERY=$(/usr/bin/python3 "$PROGRAMS/gallery_pictures.py" "$shot" $GALLERY_AT "${PALETTE[@]}")
}
gallery_count() { set -- $GALLERY; echo $#; }
gallery_has() { read_gallery && [ "$(gallery_count)" -ge "$1" ]; }
gallery_shows() { read_gallery && [[ " $GALLERY " == *" $1 "* ]]; }
gallery_is() { read_gallery && [ "$GALLERY" = "$1" ]; }

# expect_gallery "1 2 3": the gallery shows these pictures and no more, and keeps showing
# them while a clipboard manager has time to put one back (they do within 1.5 s).
expect_gallery() {
    wait_for 20 gallery_is "$1" || fail "the gallery shows [$GALLERY], not [$1]"
    holds_for 4 gallery_is "$1" || { read_gallery; fail "the gallery changed to [$GALLERY] from [$1]"; }
}

# Copying programs, each started once and fed one line at a time: a picture's path or
# "text WORDS". They print "copied N" when the clipboard holds their N-th copy.
declare -A COPIER_FD
# start_copiers KIND...: starts them all, then waits until each is ready.
start_copiers() {
    local kind
    for kind in "$@"; do start_copier "$kind"; done
    for kind in "$@"; do
        # The Java compiler runs first: slow on a loaded machine.
        wait_for 90 grep -q '^ready' "$E2E_TMP/$kind.log" ||
            fail "the $kind copier did not start: $(cat "$E2E_TMP/$kind.log")"
    done
}
start_copier() {
    local kind=$1 fifo=$E2E_TMP/$1.in fd
    mkfifo "$fifo"
    # Opened both ways first, so that neither side waits for the other to open it.
    exec {fd}<>"$fifo"
    COPIER_FD[$kind]=$fd
    # Debian's Python, where the packaged toolkit bindings are.
    case $kind in
    gtk3) background "$kind" /usr/bin/python3 "$PROGRAMS/gtk3_copier.py" <"$fifo" ;;
    gtk4) background "$kind" /usr/bin/python3 "$PROGRAMS/gtk4_copier.py" <"$fifo" ;;
    qt5) background "$kind" /usr/bin/python3 "$PROGRAMS/qt5_copier.py" <"$fifo" ;;
    awt) background "$kind" java -Djava.awt.headless=false "$PROGRAMS/AwtCopier.java" <"$fifo" ;;
    *) fail "no copier $kind" ;;
    esac
}
copied_count_is() { [ "$(grep -c '^copied' "$E2E_TMP/$1.log")" -ge "$2" ]; }
copy_with() {
    local kind=$1 line=$2
    if [ "$kind" = xclip ]; then
        # xclip says when the clipboard is its own; until then a later copy could lose to it.
        local log=$E2E_TMP/xclip$RANDOM.log
        if [[ $line == text\ * ]]; then
            xclip -verbose -selection clipboard -i <<<"${line#text }" >"$log" 2>&1 &
        else
            xclip -verbose -selection clipboard -t image/png -i "$line" >"$log" 2>&1 &
        fi
        E2E_PIDS+=($!)
        wait_for 20 grep -q 'Waiting for selection requests' "$log" || fail "xclip did not copy '$line'"
        return 0
    fi
    local next=$(($(grep -c '^copied' "$E2E_TMP/$kind.log") + 1))
    echo "$line" >&"${COPIER_FD[$kind]}"
    wait_for 20 copied_count_is "$kind" "$next" || fail "the $kind copier did not copy '$line': $(cat "$E2E_TMP/$kind.log")"
}

# copy_pictures COUNT KIND...: copies pictures 1 to COUNT, each by the next of the programs
# named, in turn, and a text after each; waits until each picture is in the gallery before
# the next, as a person who copies looks at the result. A picture not taken within its
# deadline is left behind, and the gallery at the end says what was missed; after three such,
# the person gives up. With COPY_PACE set, the person copies a picture no more often than
# once in that many seconds; with COPY_TEXTS=no, no texts between.
copy_pictures() {
    local count=$1 n kinds next=0 missed=0
    shift
    kinds=("$@")
    for n in $(seq 1 "$count"); do
        local kind=${kinds[$(((n - 1) % ${#kinds[@]}))]}
        # The person's own rhythm, not a wait for the program.
        while [ -n "${COPY_PACE:-}" ] && [ "$(date +%s%N)" -lt "$next" ]; do sleep 0.05; done
        next=$(($(date +%s%N) + ${COPY_PACE:-0} * 1000000000))
        copy_with "$kind" "$E2E_TMP/picture$n.png"
        if ! wait_for 8 gallery_shows "$n"; then
            echo "picture $n (copied by $kind) not taken within 8 s: [$GALLERY];" \
                "the clipboard holds $(clipboard_says), owner $(owner_name)" >&2
            missed=$((missed + 1))
            [ "$missed" -lt 3 ] || fail "three pictures not taken, the last $n; the gallery shows [$GALLERY]"
        fi
        [ "${COPY_TEXTS:-yes}" = no ] || copy_with "$kind" "text words after picture $n"
    done
}

# watch_owners: from now on, every change of the clipboard's owner is a line in owners.log.
watch_owners() {
    : "${SELECTION_PROBE:?SELECTION_PROBE must name the selection probe}"
    background owners "$SELECTION_PROBE" watch
    wait_for 10 grep -q '^watching' "$E2E_TMP/owners.log" || fail "the owner watch did not start"
}
owner_changes() { grep -c '^owner' "$E2E_TMP/owners.log" || true; }

# pasted_is FILE "R,G,B": what a program pastes now is a picture of that colour.
pasted_is() {
    xclip -o -selection clipboard -t image/png >"$1" 2>/dev/null &&
        [ "$(convert "$1" -crop 1x1+5+5 -depth 8 txt:- 2>/dev/null |
            sed -n '2s/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p')" = "$2" ]
}

# owner_name: the window that owns the clipboard, and its program when it says.
owner_name() {
    local id
    id=$("$SELECTION_PROBE" owner CLIPBOARD) || { echo none; return; }
    echo "$id $(xprop -id "$id" WM_CLASS _NET_WM_PID 2>/dev/null | tr '\n' ' ')"
}

# clipboard_says: what the clipboard holds, for a message: its forms, or its text.
clipboard_says() {
    local forms
    forms=$(xclip -o -selection clipboard -t TARGETS 2>/dev/null |
        grep -v -E '^(TARGETS|TIMESTAMP|MULTIPLE|SAVE_TARGETS)$' | head -4 | tr '\n' ' ')
    if [ -z "$forms" ]; then
        echo "nothing"
    elif [[ $forms == *image/* ]]; then
        echo "a picture ($forms)"
    else
        echo "the text '$(xclip -o -selection clipboard 2>/dev/null | head -c 60)'"
    fi
}

# copy_in_pictavo: Ctrl+C in the main window puts the selected picture on the clipboard.
copy_in_pictavo() {
    xdotool windowactivate --sync "$WINDOW" key ctrl+c
}

# copy_sticks: beside a manager that keeps texts and not pictures, a screenshot-sized picture
# copied back with Ctrl+C stays on the clipboard: a paste a second and five seconds later
# gives it, not the manager's last text, and the program does not take it back. Whether the
# manager's put-back wins is a race, so each of three rounds starts from a new text.
copy_sticks() {
    make_pictures 1
    make_screen_sized 1
    start_pictavo
    start_copiers gtk3
    copy_with gtk3 "$E2E_TMP/picture1.png"
    wait_for 10 gallery_has 1 ||
        fail "the picture was not taken: [$GALLERY]; the clipboard holds $(clipboard_says)"
    local round
    for round in 1 2 3; do
        copy_with xclip "text the manager's last text $round"
        wait_for 10 clipboard_text_is "the manager's last text $round" || fail "the text was not copied"
        copy_in_pictavo
        wait_for 10 clipboard_has_image ||
            fail "round $round: Ctrl+C put no picture on the clipboard: it holds $(clipboard_says)"
        holds_for 1 clipboard_has_image ||
            fail "round $round: the copy left the clipboard within a second: it holds $(clipboard_says)"
        pasted_is "$E2E_TMP/pasted.png" "${PALETTE[0]}" ||
            fail "round $round: a paste after a second gives no copy of the picture"
        holds_for 4 clipboard_has_image ||
            fail "round $round: the copy left the clipboard within five seconds: it holds $(clipboard_says)"
        pasted_is "$E2E_TMP/pasted.png" "${PALETTE[0]}" ||
            fail "round $round: a paste after five seconds gives no copy of the picture"
    done
    expect_gallery "1"
    kill -0 "$MANAGER_PID" || fail "the clipboard manager ended"
}
