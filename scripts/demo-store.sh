#!/usr/bin/env bash
# Fills a store with a few dozen demo Uninstall entries, some with real icon
# files: demo-store.sh STORE ICON_FOLDER [RELVANO_REG]
set -euo pipefail
store="$1"
icons="$2"
reg="${3:-$(dirname "$0")/../build/bin/relvano-reg}"
key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall'
mkdir -p "$icons"

colours=(firebrick seagreen steelblue darkorange purple teal goldenrod slategray crimson navy)
make_icon() { # name colour letter
  convert -size 32x32 xc:none -fill "$2" -draw 'roundrectangle 1,1 30,30 6,6' \
    -fill white -pointsize 20 -gravity center -annotate 0 "$3" "$icons/$1.png" 2>/dev/null &&
  convert "$icons/$1.png" -define icon:auto-resize=32,16 "$icons/$1.ico" 2>/dev/null || true
}

names=("Archive Manager" "Audio Studio" "Backup Tool" "Calendar Pro" "Chess Master" "Code Editor"
       "Database Browser" "Disk Analyzer" "Drawing Board" "E-Mail Client" "File Sync"
       "Font Viewer" "Game Launcher" "Image Viewer" "Key Manager" "Map Explorer" "Media Player"
       "Network Monitor" "Note Pad Plus" "Office Suite" "PDF Reader" "Photo Editor"
       "Screen Recorder" "Spreadsheet" "System Cleaner" "Terminal Tools" "Video Converter"
       "Weather Desk" "Web Browser" "Zip Utility")
i=0
for name in "${names[@]}"; do
  id="${name// /}"
  colour="${colours[$((i % ${#colours[@]}))]}"
  "$reg" --store "$store" add "$key\\$id" --value DisplayName --data "$name"
  "$reg" --store "$store" add "$key\\$id" --value UninstallString --data "\"/opt/$id/uninstall\" --quiet"
  "$reg" --store "$store" add "$key\\$id" --value Publisher --data "Vendor $((i % 7 + 1)) Ltd"
  "$reg" --store "$store" add "$key\\$id" --value DisplayVersion --data "$((i % 5 + 1)).$i"
  "$reg" --store "$store" add "$key\\$id" --value InstallLocation --data "/opt/$id"
  "$reg" --store "$store" add "$key\\$id" --value URLInfoAbout --data "https://example.com/$id"
  "$reg" --store "$store" add "$key\\$id" --value HelpLink --data "support@example.com"
  if [ $((i % 3)) -ne 2 ]; then
    make_icon "$id" "$colour" "${name:0:1}"
    "$reg" --store "$store" add "$key\\$id" --value DisplayIcon --data "$icons/$id.ico,0"
  fi
  i=$((i + 1))
done
# Two hidden entries: no uninstall command, and no name.
"$reg" --store "$store" add "$key\\KB123456" --value DisplayName --data "Security Update KB123456"
"$reg" --store "$store" add "$key\\{0000-NO-NAME}" --value UninstallString --data "/opt/none/uninstall"
