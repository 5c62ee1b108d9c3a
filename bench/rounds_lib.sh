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
