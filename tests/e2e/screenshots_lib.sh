# Screenshots of the whole screen with Xfce's tool: the screen's background has a colour of
# its own for each, which the thumbnails show away from the program's own window.

# take_three_screenshots: three screenshots, each copied by the tool, land in the gallery as
# three pictures, each once.
take_three_screenshots() {
    make_pictures 3
    start_pictavo
    # The window in the top left corner; the thumbnails are read where they show the
    # background, far from it.
    xdotool windowmove --sync "$WINDOW" 0 0 >/dev/null 2>&1 || true
    GALLERY_AT="0.8 0.8"
    local n
    for n in 1 2 3; do
        xsetroot -solid "rgb:$(printf '%02x/%02x/%02x' ${PALETTE[$((n - 1))]//,/ })"
        background "shooter$n" xfce4-screenshooter -f -c
        wait_for 60 ended "$LAST_PID" ||
            fail "the screenshot tool did not finish: $(cat "$E2E_TMP/shooter$n.log")"
        wait_for 10 gallery_has "$n" || echo "screenshot $n not taken within 10 s: [$GALLERY]" >&2
    done
    expect_gallery "1 2 3"
    kill -0 "$PICTAVO_PID" || fail "the program ended"
}
