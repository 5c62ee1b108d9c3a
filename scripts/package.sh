#!/usr/bin/env bash
# Installs what the build needs, builds Pictavo and makes its Debian package in this folder.
# Then, as root: apt-get install ./pictavo_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh package
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
cmake --build build-release -j"$(nproc)"
(cd build-release && cpack -G DEB)
cp build-release/pictavo_*.deb .
ls pictavo_*.deb
