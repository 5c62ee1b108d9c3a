#!/usr/bin/env bash
# Texts thrown away by the program's emptying of the clipboard while one owner offers
# pictures and texts in turn, at 100 and 200 changes per second (target 0); and how soon
# the tests' scripted clipboard manager puts an emptied clipboard back, against the time
# within which the program takes such an owner for a manager where no client is named.
set -euo pipefail
bin=${1:?installed pictavo}
tools=${2:?folder with cliptool and selection_probe}
work=$(mktemp -d)
pid= manager=
trap 'kill $pid $manager 2>/dev/null || true; rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work
"$bin" 2>/dev/null &
pid=$!
until xdotool search --onlyvisible --name '^Pictavo' >/dev/null 2>&1; do sleep 0.1; done
echo "Emptying race, 500 texts between 500 pictures:"
"$tools/selection_probe" race 100 500
"$tools/selection_probe" race 200 500
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=

convert -size 40x30 xc:'#336699' "PNG24:$work/m.png"
"$tools/cliptool" manager "$work/m.png" >"$work/manager.out" 2>/dev/null &
manager=$!
until grep -q managing "$work/manager.out"; do sleep 0.1; done
window=$(sed -n 's/.*kPutBackWithinMs = \([0-9]*\);.*/\1/p' "$(dirname "$0")/../gallery/clipboard_watcher.h")
echo "Restoring manager of the tests, emptied 200 times (on X a put-back is told by who offers"
echo "it, whatever its delay; where no client is named, within ${window} ms of the copy):"
"$tools/selection_probe" gaps 200
