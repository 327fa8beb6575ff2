#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running need, when
# they are missing. Extra groups: --fuzz (clang for the fuzz targets),
# --screens (Xvfb and ImageMagick for screenshots), --package (what building
# and checking the Debian package needs).
set -euo pipefail

packages=(cmake ninja-build g++ ccache pkgconf qt6-base-dev qt6-qpa-plugins libcli11-dev
          libsqlite3-dev libgtest-dev libbenchmark-dev poppler-utils fonts-dejavu-core
          liblnk-utils libqt6svg6
          librsvg2-bin desktop-file-utils appstream man-db
          dbus-daemon)
for group in "$@"; do
  case "$group" in
    --fuzz) packages+=(clang libclang-rt-14-dev) ;;
    --screens) packages+=(xvfb xauth imagemagick x11-utils xdotool) ;;
    --package) packages+=(dpkg-dev file lintian) ;;
    *) echo "unknown option: $group" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -q
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
