#!/usr/bin/env bash
# Median time from a 3840x2160 picture copied the way Qt programs copy (every type Qt
# writes, encoded when asked for) to the clipboard emptied by the installed program,
# against Qt's own PNG encoding of the same picture, in the same run.
set -euo pipefail
bin=${1:?installed pictavo}
tools=${2:?folder with cliptool}
work=$(mktemp -d)
trap 'kill $pid 2>/dev/null || true; rm -rf "$work"' EXIT
pid=
convert -size 3840x2160 plasma:fractal -fill white -pointsize 96 -annotate +200+400 'A 4K screen' \
    "PNG24:$work/screen.png"
export XDG_RUNTIME_DIR=$work
"$bin" 2>/dev/null &
pid=$!
until xdotool search --onlyvisible --name '^Pictavo' >/dev/null 2>&1; do sleep 0.1; done
ours=$("$tools/cliptool" latency-image 5 "$work/screen.png" 2>/dev/null)
kill "$pid"
wait "$pid" 2>/dev/null || true
png=$("$tools/cliptool" encode-png "$work/screen.png" 2>/dev/null)
echo "3840x2160 Qt copy, median of 5: taken in ${ours} ms, Qt's PNG encoding of it ${png} ms," \
     "ratio $(awk -v a="$ours" -v b="$png" 'BEGIN {printf "%.2f", a / b}') (target < 1)"
