#!/usr/bin/env bash
# Starts Relvano under Xvfb on a demo store and takes screenshots of the four
# views, the find panel, both pop-up menus and the splash:
#   screenshots.sh [OUTPUT_FOLDER]   (default: build/screenshots)
set -euo pipefail
cd "$(dirname "$0")/.."
out="$(realpath -m "${1:-build/screenshots}")"
./scripts/install-deps.sh --screens
{ [ -x build/bin/LifecycleScreens ] && [ -x build/bin/EditingScreens ] && [ -x build/bin/InfoScreens ] && [ -x build/bin/BackupReportScreens ]; } || ./scripts/build.sh build
mkdir -p "$out"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# A program folder of its own: the program keeps its files beside itself.
cp build/bin/relvano build/bin/relvano-reg "$work/"
./scripts/demo-store.sh "$work/Registry.db" "$work/icons" "$work/relvano-reg" >/dev/null

shoot() { # name [xdotool steps...]
  local name="$1"; shift
  xvfb-run -a -s "-screen 0 1024x720x24" bash -c '
    cd "$0"; ./relvano & pid=$!
    for i in $(seq 50); do xdotool search --name "Relvano 4.1" >/dev/null 2>&1 && break; sleep 0.2; done
    sleep 1
    win=$(xdotool search --name "Relvano 4.1" | head -1)
    eval "$2"
    sleep 0.7
    import -window root "$1"
    kill $pid' "$work" "$out/$name.png" "${1:-true}"
}

set_view() { # Viw value, Fv value
  printf '[Main]\r\nViw= %s\r\nFv=%s\r\n[Options]\r\n' "$1" "$2" > "$work/Config.Ini"
}

set_view 1 0; shoot view-large-icons
set_view 2 0; shoot view-small-icons
set_view 3 0; shoot view-list
set_view 4 0; shoot view-details
set_view 4 1
shoot find-panel 'xdotool windowactivate --sync $win 2>/dev/null; xdotool windowfocus $win; xdotool type "ed"; xdotool key Return; sleep 0.5'

set_view 4 0
shoot popup-item 'xdotool mousemove --window $win 300 140 click 1; sleep 0.3; xdotool click 3'
shoot popup-list 'xdotool mousemove --window $win 300 440 click 1; sleep 0.3; xdotool click 3'

# The splash stays up while a large store loads.
big="$work/big"
mkdir -p "$big"
cp build/bin/relvano build/bin/relvano-reg "$big/"
python3 - "$big/big.reg" <<'PY'
import sys
lines = ["Windows Registry Editor Version 5.00", ""]
for i in range(20000):
    key = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Entry%05d" % i
    lines += ["[%s]" % key, '"DisplayName"="Program %05d"' % i, '"UninstallString"="/opt/p%05d/uninstall"' % i, ""]
open(sys.argv[1], "wb").write(("\ufeff" + "\r\n".join(lines) + "\r\n").encode("utf-16-le"))
PY
"$big/relvano-reg" --store "$big/Registry.db" import "$big/big.reg"
xvfb-run -a -s "-screen 0 1024x720x24" bash -c '
  cd "$0"; ./relvano & pid=$!
  for i in $(seq 100); do xdotool search --class relvano >/dev/null 2>&1 && break; sleep 0.02; done
  sleep 0.15
  import -window root "$1"
  sleep 3; kill $pid' "$big" "$out/splash.png"
# The install and uninstall windows in each of their states.
xvfb-run -a -s "-screen 0 1024x720x24" build/bin/LifecycleScreens "$out" "$(realpath build/bin/relvano-reg)" >/dev/null
# The entry editing windows.
xvfb-run -a -s "-screen 0 1024x720x24" build/bin/EditingScreens "$out" >/dev/null
# The information, options, quick tour and about windows.
xvfb-run -a -s "-screen 0 1024x720x24" build/bin/InfoScreens "$out" >/dev/null
# Backup, restore, the report wizard, a report and the programs list; the web
# page report also as a browser engine draws it, when wkhtmltoimage is there.
xvfb-run -a -s "-screen 0 1024x720x24" build/bin/BackupReportScreens "$out" >/dev/null
if command -v wkhtmltoimage >/dev/null; then
  xvfb-run -a wkhtmltoimage --quiet --width 900 "$out/report.htm" "$out/report-7-html-browser.png"
fi
echo "Screenshots in $out"
