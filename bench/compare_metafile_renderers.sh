#!/bin/sh
# Renders the helper's SVG for each sample metafile with QtSvg (what the program uses) and with
# librsvg (rsvg-convert, package librsvg2-bin, only for this comparison) and prints how far
# the two differ, then checks the point where they differ by design: clipping.
#   bench/compare_metafile_renderers.sh [build-folder]    (default: build)
set -eu

bin=${1:-build}/bin
# The helper sits in the private folder, as installed.
helper=$(find "$bin/.." -path '*/pictavo/pictavo-metafile' | head -n 1)
for tool in rsvg-convert compare convert; do
    command -v "$tool" >/dev/null || { echo "needs $tool" >&2; exit 2; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bin/metafile_samples" "$work"

flat() { convert "$1" -background white -flatten "$2"; }

printf '%-20s %9s %14s %8s\n' file pixels 'differ >10%' RMSE
for file in "$work"/*.emf "$work"/*.wmf; do
    name=$(basename "$file")
    # The helper writes no files: its reply goes through a pipe.
    "$helper" "$file" | cat >"$work/reply"
    set -- $(head -n 1 "$work/reply")
    width=$2
    height=$3
    tail -n +2 "$work/reply" >"$work/drawing.svg"
    "$bin/metafile_svg_to_png" "$work/drawing.svg" "$work/qt.png" "$width" "$height" 2>/dev/null
    rsvg-convert -w "$width" -h "$height" "$work/drawing.svg" -o "$work/rsvg.png"
    flat "$work/qt.png" "$work/qt-flat.png"
    flat "$work/rsvg.png" "$work/rsvg-flat.png"
    differing=$(compare -metric AE -fuzz 10% "$work/qt-flat.png" "$work/rsvg-flat.png" null: 2>&1 || true)
    rmse=$(compare -metric RMSE "$work/qt-flat.png" "$work/rsvg-flat.png" null: 2>&1 || true)
    rmse=$(echo "$rmse" | sed 's/.*(\(.*\))/\1/')
    pixels=$((width * height))
    percent=$(awk "BEGIN { printf \"%.2f\", 100 * $differing / $pixels }")
    printf '%-20s %9d %8d %4s%% %8s\n' "$name" "$pixels" "$differing" "$percent" "$rmse"
    if [ "$name" = rich.emf ]; then
        cp "$work/qt-flat.png" "$work/rich-qt.png"
        cp "$work/rsvg-flat.png" "$work/rich-rsvg.png"
    fi
done

# rich.emf clips a red ellipse to (130,10)-(190,50); (150,65) lies in the ellipse, outside the clip.
pixel() { convert "$1" -format "%[pixel:p{150,65}]" info:; }
echo "rich.emf at (150,65), white when the clip is honoured:"
echo "  QtSvg:   $(pixel "$work/rich-qt.png")"
echo "  librsvg: $(pixel "$work/rich-rsvg.png")"
