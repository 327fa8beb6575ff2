#!/usr/bin/env bash
# Builds the Debian package: package.sh [BUILD_FOLDER] (default: build-deb).
# The package's folder is configured for /usr, with neither tests nor
# benchmarks; the .deb (relvano_<version>_<arch>.deb) lands in the build
# folder, and its path is printed last.
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${1:-build-deb}"
./scripts/install-deps.sh --package
# Debian's compiler and linker flags for packages, with every hardening option.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
ldflags="$(dpkg-buildflags --get LDFLAGS)"
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
  -DRELVANO_BUILD_TESTS=OFF -DRELVANO_BUILD_BENCH=OFF >/dev/null
cmake --build "$dir" -j "$(nproc)"
(cd "$dir" && cpack -G DEB >/dev/null)
deb="$(ls -t "$dir"/relvano_*.deb | head -n 1)"
if command -v lintian >/dev/null; then
  lintian --info "$deb" || true
fi
realpath "$deb"
