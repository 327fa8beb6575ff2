#!/usr/bin/env bash
# Builds with AddressSanitizer and UndefinedBehaviorSanitizer and runs every
# test; only what the tests need is built (no benchmarks, no screenshot programs).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DRELVANO_SANITIZE=ON \
  -DRELVANO_BUILD_TESTS=ON -DRELVANO_BUILD_BENCH=OFF -DRELVANO_BUILD_SCREENS=OFF
cd build-asan
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --output-on-failure -j "$(nproc)"
