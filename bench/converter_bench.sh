#!/bin/bash
# Times the JPEG converter against cjpeg, in the same run, on screenshot-like pictures made here.
# Usage: bench/converter_bench.sh BUILD_DIR [WORK_DIR]
#   BUILD_DIR holds bin/pictavo_converter_bench (configure with -DPICTAVO_BENCH=ON).
#   WORK_DIR keeps the generated pictures between runs (default: a temporary folder, removed).
#   REPEATS=n (default 3): each figure is the median of n runs, the contenders interleaved.
set -euo pipefail

build=$(cd "${1:?usage: $0 BUILD_DIR [WORK_DIR]}" && pwd)
driver=$build/bin/pictavo_converter_bench
repeats=${REPEATS:-3}
sample=1x1 # the converter's chroma subsampling, 4:4:4
magick=/usr/bin/convert
[ -x "$magick" ] || magick=convert
[ -x "$driver" ] || { echo "missing $driver: build with -DPICTAVO_BENCH=ON" >&2; exit 1; }

if [ -n "${2:-}" ]; then
    work=$2
    mkdir -p "$work"
else
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
fi
mkdir -p "$work/hd" "$work/8k" "$work/out"

# A desktop: gradient, an editor window of source text, a photo-like plasma, coloured tiles.
screen() { # seed output
    local seed=$1 text
    text=$(sed -n "$((seed * 37 % 900 + 1)),+54p" /usr/include/turbojpeg.h | cut -c1-72)
    "$magick" -size 1920x1080 gradient:"#1d3557-#a8dadc" \
        \( -size 880x620 -seed "$seed" plasma:fractal -blur 0x0.7 \) \
        -geometry +$((960 + seed % 40))+90 -composite \
        -fill "#fbfbfb" -draw "rectangle 30,50 940,1050" \
        -fill "#2b2d42" -draw "rectangle 30,50 940,82" -fill "#e63946" -draw "circle 915,66 922,66" \
        -fill white -font DejaVu-Sans -pointsize 16 -annotate +45+72 "editor $seed - turbojpeg.h" \
        -fill "#1b1b1b" -font DejaVu-Sans-Mono -pointsize 15 -annotate +45+105 "$text" \
        -fill "#0a58ca" -pointsize 13 -annotate +1000+760 "$(head -12 <<<"$text")" \
        -fill "#2a9d8f" -draw "rectangle 1000,950 1200,1050" \
        -fill "#e9c46a" -draw "rectangle 1220,950 1420,1050" \
        -fill "#f4a261" -draw "rectangle $((1440 + seed)),950 1640,1050" \
        -type TrueColor "BMP3:$2"
}

if [ ! -f "$work/8k/screen.bmp" ]; then
    echo "making 56 pictures of 1920x1080 and one of 7680x4320 ..."
    for i in $(seq 1 56); do
        screen "$i" "$work/hd/$(printf 'screen_%02d' "$i").bmp"
    done
    rows=()
    for r in 0 1 2 3; do
        rows+=("(")
        for c in 1 2 3 4; do rows+=("$work/hd/$(printf 'screen_%02d' $((4 * r + c))).bmp"); done
        rows+=(+append ")")
    done
    "$magick" "${rows[@]}" -append -type TrueColor "BMP3:$work/8k/screen.bmp"
fi
hd=("$work"/hd/*.bmp)
cat "${hd[@]}" "$work/8k/screen.bmp" >/dev/null # page cache warm for both contenders

now() { date +%s.%N; }
fresh() { rm -rf "$work/out" && mkdir -p "$work/out"; }
cjpeg_all() { # BMP... -> seconds
    local start f
    fresh
    start=$(now)
    for f in "$@"; do
        cjpeg -quality 100 -sample "$sample" -outfile "$work/out/$(basename "${f%.bmp}").jpg" "$f"
    done
    awk -v a="$(now)" -v b="$start" 'BEGIN { printf "%.4f\n", a - b }'
}
driver_all() { # driver options... -- BMP... -> seconds
    local opts=()
    while [ "$1" != -- ]; do opts+=("$1"); shift; done
    shift
    fresh
    "$driver" "${opts[@]}" "$work/out" "$@"
}
median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

run() { # contender -> seconds
    case $1 in
    cjpeg) cjpeg_all "${hd[@]}" ;;
    seq) driver_all -- "${hd[@]}" ;;
    two) driver_all --threads 2 -- "${hd[@]}" ;;
    reload) driver_all --reload -- "${hd[@]}" ;;
    cjpeg8k) cjpeg_all "$work/8k/screen.bmp" ;;
    lib8k) driver_all -- "$work/8k/screen.bmp" ;;
    esac
}
# The order rotates from run to run, so no contender always follows the same one.
contenders=(cjpeg seq two reload cjpeg8k lib8k)
declare -A times
for r in $(seq 1 "$repeats"); do
    for k in "${!contenders[@]}"; do
        c=${contenders[$(((k + r) % ${#contenders[@]}))]}
        times[$c]+="$(run "$c") "
    done
done
for k in "${!times[@]}"; do
    times[$k]=$(tr ' ' '\n' <<<"${times[$k]}" | grep . | median)
done

# Same encoder settings must give the same bytes; otherwise the comparison is not like for like.
cjpeg -quality 100 -sample "$sample" -outfile "$work/out/ref.jpg" "${hd[0]}"
"$driver" "$work/out" "${hd[0]}" >/dev/null
same=$(cmp -s "$work/out/ref.jpg" "$work/out/screen_01.jpg" && echo yes || echo no)
cjpeg -quality 100 -sample 2x2 -outfile "$work/out/420.jpg" "${hd[0]}"
psnr() { compare -metric PSNR "${hd[0]}" "$1" null: 2>&1 || true; }

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
echo "cores: $(nproc); medians of $repeats runs; cjpeg -quality 100 -sample $sample"
printf '56 x 1920x1080  cjpeg one after another   %8.3f s\n' "${times[cjpeg]}"
printf '56 x 1920x1080  BmpToJpeg sequential      %8.3f s  ratio %s\n' "${times[seq]}" "$(ratio "${times[seq]}" "${times[cjpeg]}")"
printf '56 x 1920x1080  BmpToJpeg, 2 threads      %8.3f s  ratio %s\n' "${times[two]}" "$(ratio "${times[two]}" "${times[cjpeg]}")"
printf '56 x 1920x1080  sequential, load per call %8.3f s  ratio %s\n' "${times[reload]}" "$(ratio "${times[reload]}" "${times[cjpeg]}")"
printf '1 x 7680x4320   cjpeg                     %8.3f s\n' "${times[cjpeg8k]}"
printf '1 x 7680x4320   BmpToJpeg                 %8.3f s  ratio %s\n' "${times[lib8k]}" "$(ratio "${times[lib8k]}" "${times[cjpeg8k]}")"
echo "output identical to cjpeg's: $same"
echo "PSNR at quality 100, first picture: 4:4:4 $(psnr "$work/out/screen_01.jpg") dB, 4:2:0 $(psnr "$work/out/420.jpg") dB"
