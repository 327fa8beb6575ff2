#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh build -DRELVANO_BUILD_TESTS=ON -DRELVANO_BUILD_BENCH=ON -DRELVANO_WERROR=ON
cd build
ctest --output-on-failure -j "$(nproc)"
