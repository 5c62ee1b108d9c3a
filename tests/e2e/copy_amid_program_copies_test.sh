#!/usr/bin/env bash
# The program's own Copy between a viewer's copies loses none of them: beside each clipboard
# manager (and none), three rounds of Ctrl+C in Eye of GNOME, Ctrl+C in the program, Ctrl+C in
# the viewer twice more, a couple of seconds apart: each of the viewer's nine copies taken once.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/managers_lib.sh"
source "$(dirname "$0")/repeats_lib.sh"

make_pictures 2
eog_window() { xdotool search --onlyvisible --name 'picture2' 2>/dev/null | head -1; }
eog_has_window() { [ -n "$(eog_window)" ]; }

amid() {
    copy_with xclip "$E2E_TMP/picture1.png"
    taken_as 1 1 "the first picture, by xclip"
    background eog eog "$E2E_TMP/picture2.png"
    local eog=$LAST_PID round copy taken=0
    wait_for 60 eog_has_window || fail "beside $BESIDE: eog showed no window: $(tail -5 "$E2E_TMP/eog.log")"
    for round in 1 2 3; do
        for copy in viewer pictavo viewer viewer; do
            pace 2
            if [ "$copy" = pictavo ]; then
                copy_in_pictavo
                wait_for 10 clipboard_has_image ||
                    fail "beside $BESIDE, round $round: Ctrl+C in the program put no picture on the clipboard"
            else
                xdotool windowactivate --sync "$(eog_window)" key ctrl+c
                taken=$((taken + 1))
                taken_as 2 "$taken" "round $round: the viewer's copy ($taken in all)"
            fi
        done
    done
    expect_gallery "1$(printf ' 2%.0s' $(seq "$taken"))"
    stop_pid "$eog"
}
beside_each amid
echo "copy amid a program's copies: ok"
