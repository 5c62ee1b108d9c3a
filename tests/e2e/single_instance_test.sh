#!/usr/bin/env bash
# A second start ends at once, silently; a lock left by a killed instance is taken over.
source "$(dirname "$0")/lib.sh"

start_pictavo
first=$PICTAVO_PID

start=$(date +%s%N)
"$PICTAVO_BIN" >"$E2E_TMP/second.out" 2>"$E2E_TMP/second.err" && status=0 || status=$?
elapsed_ms=$((($(date +%s%N) - start) / 1000000))
[ "$status" -eq 0 ] || fail "second start exited with $status"
[ ! -s "$E2E_TMP/second.out" ] || fail "second start printed: $(cat "$E2E_TMP/second.out")"
grep -v 'QStandardPaths' "$E2E_TMP/second.err" | grep -q . && fail "second start complained: $(cat "$E2E_TMP/second.err")"
[ "$elapsed_ms" -lt 5000 ] || fail "second start took $elapsed_ms ms"
[ "$(xdotool search --onlyvisible --name '^Pictavo' | wc -l)" -eq 1 ] || fail "a second window appeared"

kill -9 "$first"
wait "$first" 2>/dev/null || true
wait_for 10 bash -c '! xdotool search --onlyvisible --name "^Pictavo" | grep -q .' || fail "window stayed"
start_pictavo
kill -0 "$PICTAVO_PID" || fail "the start after a crash did not run"

# A lock that cannot be used never keeps the program from starting.
kill -9 "$PICTAVO_PID"
wait "$PICTAVO_PID" 2>/dev/null || true
wait_for 10 bash -c '! xdotool search --onlyvisible --name "^Pictavo" | grep -q .' || fail "window stayed"
printf '\001\377garbage' >"$XDG_RUNTIME_DIR/pictavo.lock"
start_pictavo
kill -9 "$PICTAVO_PID"
wait "$PICTAVO_PID" 2>/dev/null || true
wait_for 10 bash -c '! xdotool search --onlyvisible --name "^Pictavo" | grep -q .' || fail "window stayed"
# A lock naming another host cannot be checked: taken over, and said so.
printf '4242\npictavo\nsome-other-host.example\n' >"$XDG_RUNTIME_DIR/pictavo.lock"
start_pictavo
lock=$XDG_RUNTIME_DIR/pictavo.lock
grep -qxF "pictavo: $lock names process 4242 on host some-other-host.example, which cannot be checked; it is taken over" \
    "$E2E_TMP/pictavo.err" ||
    fail "no word on stderr about the foreign lock: $(cat "$E2E_TMP/pictavo.err")"
kill -9 "$PICTAVO_PID"
wait "$PICTAVO_PID" 2>/dev/null || true
wait_for 10 bash -c '! xdotool search --onlyvisible --name "^Pictavo" | grep -q .' || fail "window stayed"
rm -f "$XDG_RUNTIME_DIR/pictavo.lock"
mkdir "$XDG_RUNTIME_DIR/pictavo.lock"
start_pictavo
grep -qxF "pictavo: single-instance protection is off: $lock is in the way and is not an ordinary file" \
    "$E2E_TMP/pictavo.err" ||
    fail "no word on stderr about the lock: $(cat "$E2E_TMP/pictavo.err")"
echo "single instance: ok"
