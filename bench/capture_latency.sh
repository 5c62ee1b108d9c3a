#!/usr/bin/env bash
# Median time from a 1920x1080 PNG put on the clipboard to the clipboard emptied, for the
# installed program and for a minimal Qt program that only reads the image.
set -euo pipefail
bin=${1:?installed pictavo}
tools=${2:?folder with cliptool and min_reader_bench}
work=$(mktemp -d)
trap 'kill $pid $reader 2>/dev/null || true; rm -rf "$work"' EXIT
pid= reader=
convert -size 1920x1080 plasma:fractal -fill white -pointsize 48 -annotate +100+200 'A screen' "PNG24:$work/screen.png"
export XDG_RUNTIME_DIR=$work
"$bin" 2>/dev/null &
pid=$!
until xdotool search --onlyvisible --name '^Pictavo' >/dev/null 2>&1; do sleep 0.1; done
ours=$("$tools/cliptool" latency 25 "$work/screen.png" 2>/dev/null)
kill "$pid"
wait "$pid" 2>/dev/null || true
"$tools/min_reader_bench" >/dev/null 2>&1 &
reader=$!
sleep 1
base=$("$tools/cliptool" latency 25 "$work/screen.png" 2>/dev/null)
echo "Capture latency, 1920x1080 PNG, median of 25: Pictavo ${ours} ms, minimal Qt reader ${base} ms," \
     "ratio $(awk -v a="$ours" -v b="$base" 'BEGIN {printf "%.2f", a / b}') (target <= 1.2)"
