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
for option in --help -h --version; do
    outcome "answer$option" env -u DISPLAY XDG_RUNTIME_DIR="$answers" "$PICTAVO_BIN" "$option"
    [ "$STATUS" -eq 0 ] || fail "$option exited with $STATUS: $(cat "$E2E_TMP/answer$option.err")"
    [ -s "$E2E_TMP/answer$option.out" ] || fail "$option printed nothing on stdout"
    [ ! -s "$E2E_TMP/answer$option.err" ] || fail "$option wrote to stderr: $(cat "$E2E_TMP/answer$option.err")"
done
grep -q '^Usage: pictavo' "$E2E_TMP/answer--help.out" || fail "--help: $(cat "$E2E_TMP/answer--help.out")"
grep -qx 'pictavo [0-9]*\.[0-9]*\.[0-9]*' "$E2E_TMP/answer--version.out" ||
    fail "--version: $(cat "$E2E_TMP/answer--version.out")"
[ -z "$(ls -A "$answers")" ] || fail "an answer touched the runtime folder: $(ls -A "$answers")"

for wrong in --frobnicate -x picture.png; do
    outcome wrong "$PICTAVO_BIN" "$wrong"
    [ "$STATUS" -eq 2 ] || fail "'$wrong' exited with $STATUS"
    [ ! -s "$E2E_TMP/wrong.out" ] || fail "'$wrong' printed on stdout"
    grep -qF "'$wrong'" "$E2E_TMP/wrong.err" || fail "'$wrong' not named: $(cat "$E2E_TMP/wrong.err")"
done

# No X server: unset, unreachable, and with the platform chosen explicitly.
for display in unset :9999; do
    for platform in unset xcb; do
        env=(env -u DISPLAY -u QT_QPA_PLATFORM)
        [ "$display" = unset ] || env+=(DISPLAY="$display")
        [ "$platform" = unset ] || env+=(QT_QPA_PLATFORM="$platform")
        outcome nodisplay "${env[@]}" "$PICTAVO_BIN"
        [ "$STATUS" -eq 1 ] || fail "display $display, platform $platform: exit $STATUS"
        [ "$(lines nodisplay.err)" -eq 1 ] && grep -qi 'display' "$E2E_TMP/nodisplay.err" ||
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
