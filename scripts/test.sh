#!/usr/bin/env bash
# Installs what the build and the tests need, builds the program twice (plain, and with
# AddressSanitizer + UndefinedBehaviorSanitizer), makes and checks the Debian package, starts
# Xvfb, openbox and CUPS, runs every test (the end-to-end ones on the unpacked package).
# A part of it, for a quicker run elsewhere (scripts/test-in.sh):
#   PICTAVO_TEST_BUILDS="plain"                   only the plain build (default "plain asan")
#   PICTAVO_TEST_LABELS="unit integration ..."    only the tests with one of these labels
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
builds=" ${PICTAVO_TEST_BUILDS:-plain asan} "
for b in $builds; do
    case $b in plain | asan) ;; *) echo "test.sh: unknown build '$b' (plain, asan)" >&2; exit 2 ;; esac
done
labels=()
if [ -n "${PICTAVO_TEST_LABELS:-}" ]; then
    # ctest takes a pattern; each label whole.
    labels=(-L "^($(tr -s ' ,' '||' <<<"${PICTAVO_TEST_LABELS}" | sed 's/^|//; s/|$//'))\$")
fi
bash scripts/deps.sh test

jobs=$(nproc)
status=0
if [[ $builds == *" plain "* ]]; then
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON -DPICTAVO_WERROR=ON
    cmake --build build -j"$jobs"
    # The package, checked and unpacked: the end-to-end tests run what a user installs.
    rm -f build/pictavo_*.deb
    (cd build && cpack -G DEB >/dev/null)
    pkgroot=$root/build/package-root
    bash scripts/check_package.sh build/pictavo_*.deb "$pkgroot" || status=1
    export PICTAVO_BIN=$pkgroot/usr/bin/pictavo
fi
if [[ $builds == *" asan "* ]]; then
    cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=ON -DPICTAVO_SANITIZE=ON -DPICTAVO_WERROR=ON
    cmake --build build-asan -j"$jobs"
fi

source scripts/services.sh
start_services

if [[ $builds == *" plain "* ]]; then
    ctest --test-dir build --output-on-failure -j1 "${labels[@]}" || status=1
fi
if [[ $builds == *" asan "* ]]; then
    # Any sanitizer report fails the test that produced it.
    # A leak in the program's own code fails too; the suppressions name system libraries only.
    export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
    export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    ctest --test-dir build-asan --output-on-failure -j1 -LE e2e "${labels[@]}" || status=1
fi
exit $status
