#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a while
# (fuzz.sh [SECONDS], 60 by default) from the seed corpus in fuzz/corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
./scripts/install-deps.sh --fuzz
./scripts/build.sh build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DRELVANO_FUZZ=ON
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
for target in RegFileFuzz:reg IniFileFuzz:ini DesktopEntryFuzz:desktop; do
  name="${target%%:*}"
  corpus="${target##*:}"
  mkdir -p "$work/$corpus"
  cp fuzz/corpus/"$corpus"/* "$work/$corpus"/
  echo "== $name for ${seconds}s"
  build-fuzz/bin/"$name" -max_total_time="$seconds" -max_len=8192 -print_final_stats=1 \
    -artifact_prefix="$work/" "$work/$corpus" 2>&1 | tail -n 12
done
