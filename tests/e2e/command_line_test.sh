#!/usr/bin/env bash
# The command line: --help and --version answer without a display or the lock, a wrong
# option and a missing display end with a word and their own exit codes, and a program
# whose private folder is gone still starts.
source "$(dirname "$0")/lib.sh"

# outcome FILE_STEM COMMAND...: runs it to its end under a deadline; sets STATUS.
outcome() {
    local stem=$E2E_TMP/$1
    shift
    STATUS=0
    timeout 20 "$@" >"$stem.out" 2>"$stem.err" || STATUS=$?
}
lines() { grep -c '' "$E2E_TMP/$1" || true; }

# Without a display, and with a runtime folder that must stay empty: no window, no lock.
answers=$E2E_TMP/answers
mkdir -m 700 "$answers"
help=$E2E_TMP/help.expected
cat >"$help" <<'TEXT'
Usage: pictavo [OPTION]
Collect every picture put on the clipboard into a gallery of thumbnails.

  -h, --help     show this help and exit
      --version  show the version and exit

Pictavo needs an X display (XWayland under Wayland); one instance runs at a time.
See pictavo(1) for the keys and the mouse.
TEXT
# answer_is EXPECTED ARGS...: the first answer asked for is the one given, on stdout alone.
answer_is() {
    local expected=$1
    shift
    outcome answer env -u DISPLAY XDG_RUNTIME_DIR="$answers" "$PICTAVO_BIN" "$@"
    [ "$STATUS" -eq 0 ] || fail "$* exited with $STATUS: $(cat "$E2E_TMP/answer.err")"
    [ ! -s "$E2E_TMP/answer.err" ] || fail "$* wrote to stderr: $(cat "$E2E_TMP/answer.err")"
    case $expected in
    help) cmp -s "$help" "$E2E_TMP/answer.out" || fail "$*: $(cat "$E2E_TMP/answer.out")" ;;
    version) [ "$(lines answer.out)" -eq 1 ] && grep -qx 'pictavo [0-9]*\.[0-9]*\.[0-9]*' "$E2E_TMP/answer.out" ||
        fail "$*: $(cat "$E2E_TMP/answer.out")" ;;
    esac
}
answer_is help --help
answer_is help -h
answer_is help --help --version
answer_is help -h --version
answer_is version --version
answer_is version --version --help
answer_is version --version -h
[ -z "$(ls -A "$answers")" ] || fail "an answer touched the runtime folder: $(ls -A "$answers")"
# An answer that cannot be written is no answer.
STATUS=0
"$PICTAVO_BIN" --help >/dev/full 2>"$E2E_TMP/full.err" || STATUS=$?
[ "$STATUS" -eq 1 ] || fail "--help into a full disk exited with $STATUS"
[ "$(cat "$E2E_TMP/full.err")" = "pictavo: cannot write the answer: No space left on device" ] ||
    fail "--help into a full disk: $(cat "$E2E_TMP/full.err")"

# wrong SAID ARGS...: a usage error names the first wrong word as it was given, byte for byte.
wrong() {
    local said=$1
    shift
    outcome wrong "$PICTAVO_BIN" "$@"
    [ "$STATUS" -eq 2 ] || fail "'$*' exited with $STATUS"
    [ ! -s "$E2E_TMP/wrong.out" ] || fail "'$*' printed on stdout"
    printf 'pictavo: %s\nTry '"'"'pictavo --help'"'"' for more information.\n' "$said" >"$E2E_TMP/wrong.expected"
    cmp -s "$E2E_TMP/wrong.expected" "$E2E_TMP/wrong.err" || fail "'$*': $(cat "$E2E_TMP/wrong.err")"
}
wrong "unrecognized option '--frobnicate'" --frobnicate
wrong "unrecognized option '--frobnicate=1'" --frobnicate=1
wrong "unrecognized option '-x'" -x
wrong "unrecognized option '-help'" -help
wrong "unrecognized option '--help=yes'" --help=yes
wrong "unexpected argument 'picture.png'" picture.png
wrong "unexpected argument 'picture.png'" picture.png --frobnicate
wrong "unrecognized option '--frobnicate'" --frobnicate picture.png
# A lone dash (standard input, to many programs) is an argument, and outranks any answer.
wrong "unexpected argument '-'" -
wrong "unexpected argument '-'" --help -
wrong "unexpected argument '-'" - --version
wrong "unexpected argument '--help'" -- --help
wrong $'unexpected argument \'\xff\xfe.png\'' $'\xff\xfe.png'
wrong $'unrecognized option \'--\xe9t\xe9\'' $'--\xe9t\xe9'

# No X server: unset, unreachable, and with the platform chosen explicitly.
for display in unset :9999; do
    for platform in unset xcb; do
        env=(env -u DISPLAY -u QT_QPA_PLATFORM)
        [ "$display" = unset ] || env+=(DISPLAY="$display")
        [ "$platform" = unset ] || env+=(QT_QPA_PLATFORM="$platform")
        outcome nodisplay "${env[@]}" "$PICTAVO_BIN"
        [ "$STATUS" -eq 1 ] || fail "display $display, platform $platform: exit $STATUS"
        if [ "$display" = unset ]; then
            said="pictavo: no X display to run on (DISPLAY is not set)"
        else
            said="pictavo: cannot open the X display '$display'"
        fi
        [ "$(cat "$E2E_TMP/nodisplay.err")" = "$said" ] ||
            fail "display $display, platform $platform: stderr: $(cat "$E2E_TMP/nodisplay.err")"
    done
done

# A copy of the program without its private folder starts and runs.
mkdir -p "$E2E_TMP/bare/bin"
cp "$PICTAVO_BIN" "$E2E_TMP/bare/bin/pictavo"
PICTAVO_BIN=$E2E_TMP/bare/bin/pictavo start_pictavo
make_png "$E2E_TMP/red.png" 64 48 red
put_png "$E2E_TMP/red.png"
wait_for 10 clipboard_empty || fail "without its private folder the program took no capture"
kill -0 "$PICTAVO_PID" || fail "the program ended"
echo "command line: ok"
