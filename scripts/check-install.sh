#!/usr/bin/env bash
# Installs a build into a temporary folder (DESTDIR) and checks what a desktop
# needs of it: the desktop entry (desktop-file-validate), the AppStream
# metadata (appstreamcli validate --no-net), the icon at every size, both
# manual pages (rendered without warnings) and the HTML help.
#   check-install.sh [BUILD_FOLDER]     (default: build)
# Exit status 0 when all is well, 1 on a fault, 77 when a checking tool is
# missing (Debian: desktop-file-utils, appstream, man-db).
set -euo pipefail
cd "$(dirname "$0")/.."
build="$(realpath "${1:-build}")"
id=org.relvano.Relvano

for tool in desktop-file-validate appstreamcli man; do
  if ! command -v "$tool" >/dev/null; then
    echo "skipped: $tool is not installed (./scripts/install-deps.sh installs it)"
    exit 77
  fi
done

dest="$(mktemp -d)"
trap 'rm -rf "$dest"' EXIT
if ! DESTDIR="$dest" cmake --install "$build" --prefix /usr >/dev/null; then
  echo "FAULT: cmake --install failed (build everything first: cmake --build $build)"
  exit 1
fi
root="$dest/usr"

faults=0
fault() { echo "FAULT: $*"; faults=$((faults + 1)); }

for exe in relvano relvano-reg; do
  [ -x "$root/bin/$exe" ] || fault "bin/$exe is missing"
done

desktop="$root/share/applications/$id.desktop"
if [ -f "$desktop" ]; then
  # Errors fail; the hint about the three main categories is expected.
  desktop-file-validate "$desktop" || fault "desktop-file-validate rejects $id.desktop"
else
  fault "share/applications/$id.desktop is missing"
fi

metainfo="$root/share/metainfo/$id.metainfo.xml"
if [ -f "$metainfo" ]; then
  appstreamcli validate --no-net "$metainfo" || fault "appstreamcli rejects $id.metainfo.xml"
else
  fault "share/metainfo/$id.metainfo.xml is missing"
fi

icons="$root/share/icons/hicolor"
[ -f "$icons/scalable/apps/$id.svg" ] || fault "the scalable icon is missing"
png_size() { # the width and height in a PNG file's header
  od -An -tu1 -j16 -N8 "$1" | awk '{print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8}'
}
for size in 16 32 48 128 256; do
  png="$icons/${size}x${size}/apps/$id.png"
  if [ ! -f "$png" ]; then
    fault "the ${size} px icon is missing"
  elif [ "$(png_size "$png")" != "${size}x${size}" ]; then
    fault "the ${size} px icon is $(png_size "$png")"
  fi
done

for page in relvano relvano-reg relvano-sync relvano-uninstall; do
  file="$root/share/man/man1/$page.1.gz"
  if [ ! -f "$file" ]; then
    fault "the manual page $page.1 is missing"
    continue
  fi
  warnings="$(MANWIDTH=80 man --warnings -l "$file" 2>&1 >/dev/null)" || fault "man cannot render $page.1"
  [ -z "$warnings" ] || fault "man warns about $page.1: $warnings"
done

html="$root/share/doc/relvano/html"
if [ -f "$html/index.html" ]; then
  # Every page the help links to is there.
  for link in $(grep -oh 'href="[^"#:]*"' "$html"/*.html | sed 's/^href="//; s/"$//' | sort -u); do
    [ -f "$html/$link" ] || fault "the help links to $link, which is missing"
  done
else
  fault "share/doc/relvano/html/index.html is missing"
fi
[ -f "$root/share/doc/relvano/copyright" ] || fault "share/doc/relvano/copyright is missing"

"$root/bin/relvano-reg" --help >/dev/null || fault "relvano-reg --help fails"

if [ "$faults" -ne 0 ]; then
  echo "$faults fault(s)"
  exit 1
fi
echo "the installed files are complete and valid"
