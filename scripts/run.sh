#!/usr/bin/env bash
# Installs what the build needs, builds, installs into out/ and starts Pictavo.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
cmake --build build-release -j"$(nproc)"
cmake --install build-release --prefix out
exec out/bin/pictavo
