#!/usr/bin/env bash
# Configures and builds into a folder: build.sh [FOLDER] [cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${1:-build}"
shift || true
# ccache, when present, keeps compiled files between builds and build folders.
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR="$PWD" CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"
