#!/usr/bin/env bash
# Installs what is missing, builds, and starts Relvano.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh build -DRELVANO_BUILD_TESTS=OFF -DRELVANO_BUILD_BENCH=OFF
exec build/bin/relvano "$@"
