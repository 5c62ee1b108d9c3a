#!/usr/bin/env bash
# Installs what the build and the tests need, builds the program twice (plain, and with
# AddressSanitizer + UndefinedBehaviorSanitizer), makes and checks the Debian package, starts
# Xvfb, openbox and CUPS, runs every test (the end-to-end ones on the unpacked package).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash scripts/deps.sh test

jobs=$(nproc)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON -DPICTAVO_WERROR=ON
cmake --build build -j"$jobs"
# The package, checked and unpacked: the end-to-end tests run what a user installs.
rm -f build/pictavo_*.deb
(cd build && cpack -G DEB >/dev/null)
pkgroot=$root/build/package-root
status=0
bash scripts/check_package.sh build/pictavo_*.deb "$pkgroot" || status=1
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=ON -DPICTAVO_SANITIZE=ON -DPICTAVO_WERROR=ON
cmake --build build-asan -j"$jobs"

source scripts/services.sh
start_services

export PICTAVO_BIN=$pkgroot/usr/bin/pictavo
ctest --test-dir build --output-on-failure -j1 || status=1
# Any sanitizer report fails the test that produced it.
# A leak in the program's own code fails too; the suppressions name system libraries only.
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-asan --output-on-failure -j1 -LE e2e || status=1
exit $status
