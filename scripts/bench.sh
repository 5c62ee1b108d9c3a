#!/usr/bin/env bash
# Builds the benchmarks and prints every figure against its baseline from the same run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh test
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON -DPICTAVO_BENCH=ON
cmake --build build-bench -j"$(nproc)"
rm -rf build-bench/install
cmake --install build-bench --prefix build-bench/install >/dev/null
export PICTAVO_TEST_DISPLAY=${PICTAVO_TEST_DISPLAY:-78}
source scripts/services.sh
start_services
bin=build-bench/bin
run() { echo; echo "== $*"; "$@" 2>&1 | grep -v '^QStandardPaths' || echo "(failed: $*)"; }
run bash bench/idle_cpu.sh build-bench/install/bin/pictavo "$bin"
run bash bench/capture_latency.sh build-bench/install/bin/pictavo "$bin"
run bash bench/large_qt_copy.sh build-bench/install/bin/pictavo "$bin"
run bash bench/clipboard_types.sh "$bin"
run bash bench/wayland_bench.sh build-bench/install/bin/pictavo "$bin"
run bash bench/dripping_owner.sh build-bench/install/bin/pictavo "$bin"
run bash bench/desktops_bench.sh build-bench/install/bin/pictavo "$bin"
run bash bench/managers_bench.sh build-bench/install/bin/pictavo "$bin"
run bash bench/emptying_race.sh build-bench/install/bin/pictavo "$bin"
run "$bin/gallery_bench"
for b in "$bin"/*_bench; do
    case $(basename "$b") in gallery_bench | min_reader_bench | pictavo_converter_bench) ;; *) run "$b" ;; esac
done
run bash bench/converter_bench.sh build-bench
run bash bench/fuzz_metafile.sh 60
