#!/usr/bin/env bash
# Idle CPU of the installed program over 10 s, empty and with a full gallery, against a
# program that polls the clipboard every millisecond. Needs DISPLAY and the bench build.
set -euo pipefail
bin=${1:?installed pictavo}
tools=${2:?folder with cliptool}
ticks=$(getconf CLK_TCK)
cpu_of() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# Times the threads of pid went to sleep of their own accord: each a wakeup, which the
# CPU time at 100 ticks a second cannot see.
switches_of() { cat /proc/"$1"/task/*/status | awk '/^voluntary_ctxt_switches/ {n += $2} END {print n}'; }
measure() { # pid seconds -> percent of a core
    local before after
    before=$(cpu_of "$1")
    sleep "$2"
    after=$(cpu_of "$1")
    awk -v d=$((after - before)) -v t="$ticks" -v s="$2" 'BEGIN {printf "%.3f", 100 * d / t / s}'
}
export XDG_RUNTIME_DIR=$(mktemp -d)
"$bin" 2>/dev/null &
pid=$!
until xdotool search --onlyvisible --name '^Pictavo' >/dev/null 2>&1; do sleep 0.1; done
sleep 1
woken=$(switches_of "$pid")
empty=$(measure "$pid" 10)
woken=$(($(switches_of "$pid") - woken))
"$tools/cliptool" burst 56 1920 1080 >/dev/null 2>&1
sleep 1
full=$(measure "$pid" 10)
kill "$pid"

"$tools/cliptool" poll1ms >/dev/null 2>&1 &
poller=$!
sleep 1
poll=$(measure "$poller" 10)
kill "$poller"
echo "Idle CPU over 10 s: empty gallery ${empty}%, full gallery ${full}% of a core (target <= 0.1%);"
echo "  wakeups of an empty gallery's threads: $(awk -v n="$woken" 'BEGIN {printf "%.1f", n / 10}') a second (target 0)"
echo "  a 1 ms clipboard poll: ${poll}%; ratio full/poll $(awk -v a="$full" -v b="$poll" 'BEGIN {printf "%.4f", (b > 0 ? a / b : 0)}')"
