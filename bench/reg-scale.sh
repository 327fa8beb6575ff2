#!/usr/bin/env bash
# relvano-reg importing and exporting 10,000 and 100,000 Uninstall entries end
# to end, as a user runs it: the median wall time of RUNS runs and the largest
# peak resident memory, from /usr/bin/time -v.
#   bench/reg-scale.sh [BUILD_DIR] [RUNS]      (default: build 3)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
runs="${2:-3}"
bin="$build/bin"
[ -x "$bin/relvano-reg" ] && [ -x "$bin/make_reg_file" ] || {
  echo "build the targets first: cmake --build $build --target relvano-reg make_reg_file" >&2
  exit 1
}
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time (Debian package time)" >&2; exit 1; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall'

# Runs a command RUNS times; prints "median-seconds peak-MB".
measure() {
  local times=() peak=0
  for _ in $(seq "$runs"); do
    [ -n "${prepare:-}" ] && eval "$prepare"
    /usr/bin/time -v -o "$work/time" "$@" >/dev/null 2>"$work/err" || {
      cat "$work/err" >&2
      exit 1
    }
    times+=("$(awk -F': ' '/Elapsed/ { n = split($2, t, ":"); s = 0;
      for (i = 1; i <= n; i++) s = s * 60 + t[i]; print s }' "$work/time")")
    local kb
    kb="$(awk -F': ' '/Maximum resident/ { print $2 }' "$work/time")"
    ((kb > peak)) && peak=$kb
  done
  local median
  median="$(printf '%s\n' "${times[@]}" | sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }')"
  echo "$median $((peak / 1024))"
}

printf '| Entries | File | Import: time / peak resident | Export: time / peak resident |\n'
printf '|---|---|---|---|\n'
for entries in 10000 100000; do
  file="$work/entries-$entries.reg"
  "$bin/make_reg_file" "$entries" "$file"
  size="$(($(stat -c %s "$file") / 1024 / 1024)) MB"
  prepare="rm -f '$work/import.db' '$work/import.db-wal' '$work/import.db-shm'"
  read -r it im < <(measure "$bin/relvano-reg" --store "$work/import.db" import "$file")
  prepare=""
  read -r et em < <(measure "$bin/relvano-reg" --store "$work/import.db" export "$key" "$work/out.reg")
  cmp -s "$file" "$work/out.reg" || { echo "the export differs from the imported file" >&2; exit 1; }
  printf '| %s | %s | %s s / %s MB | %s s / %s MB |\n' "$entries" "$size" "$it" "$im" "$et" "$em"
done
