#!/usr/bin/env bash
# Sets everything up and runs every test, built with AddressSanitizer and
# UndefinedBehaviorSanitizer. Idempotent; prints little unless something fails.
set -euo pipefail
cd "$(dirname "$0")"
tools/deps.sh
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKERBON_SANITIZE=ON \
      "${launcher[@]}" >build-asan.log 2>&1 || { cat build-asan.log; exit 1; }
cmake --build build-asan -j"$(nproc)" >>build-asan.log 2>&1 || { tail -n 80 build-asan.log; exit 1; }
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build-asan -j"$(nproc)" --output-on-failure --timeout 600
# Every fuzz target for a short while (its own clang build in build-fuzz).
fuzz/run.sh 20
