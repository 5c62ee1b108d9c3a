#!/bin/sh
# Fuzzes the metafile helper's parsing (our checks, libemf2svg, libwmf) for a bounded time and
# prints the executions and findings.
#   bench/fuzz_metafile.sh [seconds]      (default 60; build in build-fuzz/, next to the sources)
# Findings (crash-*, timeout-*, oom-* inputs) are kept in build-fuzz/findings/.
set -eu

seconds=${1:-60}
src=$(cd "$(dirname "$0")/.." && pwd)
out="$src/build-fuzz"
mkdir -p "$out/corpus" "$out/findings"

CC=clang-14
CXX=clang++-14

# The seed corpus: the project's own sample files.
$CXX -std=c++20 -O1 -I"$src/tests/metafile" \
    "$src/tests/metafile/metafile_samples.cpp" "$src/tests/metafile/metafile_writer.cpp" \
    -o "$out/metafile_samples"
"$out/metafile_samples" "$out/corpus"

# shellcheck disable=SC2046
$CXX -std=c++20 -g -O1 -fno-omit-frame-pointer \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$src/metafile" \
    "$src/fuzz/metafile_fuzz.cpp" "$src/metafile/metafile_parse.cpp" \
    "$src/metafile/emf_reader.cpp" "$src/metafile/wmf_reader.cpp" \
    "$src/metafile/wmf_mapping.cpp" \
    -lemf2svg $(pkg-config --cflags --libs libwmf) \
    -o "$out/metafile_fuzz"
echo "built with $($CC --version | head -n 1)"

cd "$out/findings"
status=0
"$out/metafile_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=65536 -print_final_stats=1 \
    "$out/corpus" >"$out/fuzz.log" 2>&1 || status=$?

executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$out/fuzz.log")
findings=$(find "$out/findings" -maxdepth 1 -type f \
    \( -name 'crash-*' -o -name 'timeout-*' -o -name 'oom-*' -o -name 'leak-*' \) | wc -l)
echo "seconds: $seconds"
echo "executions: ${executions:-unknown}"
echo "corpus files: $(find "$out/corpus" -type f | wc -l)"
echo "findings: $findings (fuzzer exit status $status; log in $out/fuzz.log)"
if [ "$findings" -gt 0 ] || [ "$status" -ne 0 ]; then
    grep -E '^(==[0-9]+==ERROR|SUMMARY|.*runtime error)' "$out/fuzz.log" | head -n 20 || true
fi
