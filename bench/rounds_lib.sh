# shellcheck shell=bash
# What the benchmarks that run rounds beside real programs share. Sourced after
# tests/e2e/lib.sh.

now() { date +%s%N; }
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR] = $1} END {print (NR ? a[int((NR + 1) / 2)] : "-")}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {if (a == "-" || b == "-" || b == 0) print "-"; else printf "%.2f", a / b}'; }

# The libraries' fail ends the script; in a benchmark a program that misbehaves while SOFT
# is set is a line of the table, so it says so and lets the run go on.
eval "lib_$(declare -f fail)"
SOFT_FAILED=
fail() {
    if [ -n "${SOFT:-}" ]; then
        echo "$*" >&2
        SOFT_FAILED=1
        return 1
    fi
    lib_fail "$@"
}

# count_repeats N:TIMES...: once the gallery has stopped changing (a manager puts a picture
# back within 1.5 s, if at all), how the copies of a sequence fared, picture N copied TIMES
# times: TAKEN (shown as often as copied, up to that), DOUBLED (shown more often), LOST
# (shown less often), OTHERS (entries of pictures not in the sequence, or of no picture);
# SEEN is the gallery.
count_repeats() {
    local tries=0 item n times count named=" "
    while read_gallery; SEEN=$GALLERY; ! holds_for 2 gallery_is "$SEEN" && [ $((tries += 1)) -lt 5 ]; do :; done
    TAKEN=0 DOUBLED=0 LOST=0 OTHERS=0
    for item in "$@"; do
        n=${item%%:*} times=${item#*:} named+="$n "
        count=$(tr ' ' '\n' <<<"$SEEN" | grep -cx "$n" || true)
        if [ "$count" -ge "$times" ]; then
            TAKEN=$((TAKEN + times)) DOUBLED=$((DOUBLED + count - times))
        else
            TAKEN=$((TAKEN + count)) LOST=$((LOST + times - count))
        fi
    done
    OTHERS=0
    for n in $SEEN; do [[ $named == *" $n "* ]] || OTHERS=$((OTHERS + 1)); done
}
# A table of sequences: repeat_header FIRST SECOND names its first two columns;
# repeat_row FIRST SECOND SEQUENCE COPIES gives a line from count_repeats' counts.
repeat_header() {
    printf '%-24s %-12s %-14s %6s %6s %8s %5s %6s' "$1" "$2" sequence copies taken doubled lost other
}
repeat_row() {
    printf '%-24s %-12s %-14s %6s %6s %8s %5s %6s' "$1" "$2" "$3" "$4" "$TAKEN" "$DOUBLED" "$LOST" "$OTHERS"
}
