#!/usr/bin/env bash
# twinseek-scan on 1,000,000 files in 1,000 folders (natively), beside
# find -printf '%s %T@' on the same tree: each round runs every command once,
# in turn, under /usr/bin/time -v; the table gives the median time and peak
# memory (maximum resident set) of the rounds, and the bytes per file the scan
# holds beyond the text of the paths.
#   bench/million_bench.sh BUILD_FOLDER TREES_FOLDER
# BUILD_FOLDER holds the native build (cli/twinseek-scan and
# bench/twinseek_generate_scan_tree). The tree is generated into
# TREES_FOLDER/million once and kept: empty sparse files, so it costs inodes
# and folder entries, not data blocks; the time its generation took is kept
# beside it. TWINSEEK_BENCH_RUNS (default 3) is the number of rounds.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/bench_lib.sh"

native_programs "$1"
trees=$2

folder="$trees/million"
made="$trees/million.generation-seconds"
if [ ! -f "$folder/.complete" ]; then
  start=$(nanoseconds)
  ensure_tree "$generate" "$trees" million million >/dev/null
  seconds_between "$start" "$(nanoseconds)" >"$made"
fi

# What the scan holds of each path: the folder as given, then the rest.
read -r files average_path < <(find "$folder" -type f ! -name .complete -printf '%p\n' |
  awk '{ n++; s += length($0) } END { printf "%d %.1f\n", n, n ? s / n : 0 }')
disk_kb=$(du -sk "$folder" | cut -f1)
apparent_gb=$(($(du -sb "$folder" | cut -f1) / 1000000000))

COMMANDS=(find scan scan-size)
declare -A LABEL=(
  [find]="find -printf '%s %T@'"
  [scan]="twinseek-scan (size+date)"
  [scan-size]="twinseek-scan --size"
)

# measure COMMAND...: one run under /usr/bin/time -v, output discarded;
# prints "seconds peak_kb" ("failed failed" when it failed).
measure() {
  local start end
  start=$(nanoseconds)
  if ! /usr/bin/time -v -o "$work/time" "$@" >/dev/null 2>"$work/err"; then
    echo "failed failed"
    return
  fi
  end=$(nanoseconds)
  printf '%s %s\n' "$(seconds_between "$start" "$end")" \
    "$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time")"
}

echo "== million: warming the cache" >&2
find "$folder" -type f -printf '%s %T@\n' >/dev/null
declare -A seconds=() peak=()
for ((round = 1; round <= runs; round++)); do
  echo "== million: round $round of $runs" >&2
  for command in "${COMMANDS[@]}"; do
    case $command in
      find) result=$(measure find "$folder" -type f -printf '%s %T@\n') ;;
      scan) result=$(measure "$scan" "$folder") ;;
      scan-size) result=$(measure "$scan" --size "$folder") ;;
    esac
    read -r s k <<<"$result"
    seconds[$command]+=" $s"
    peak[$command]+=" $k"
  done
done

printf '\nmillion: %s files in 1,000 folders, average path %s bytes; on disk %s MB (%s GB apparent, sparse)\n' \
  "$files" "$average_path" "$((disk_kb / 1000))" "$apparent_gb"
if [ -f "$made" ]; then
  printf 'generated once in %s s\n' "$(cat "$made")"
fi
printf 'median of %s rounds, hot cache\n' "$runs"
printf '%-28s %8s %11s %7s %10s %14s\n' "command" "median s" "rounds" "/ find" "peak MB" "bytes/file"
# shellcheck disable=SC2086
find_seconds=$(median ${seconds[find]})
for command in "${COMMANDS[@]}"; do
  # shellcheck disable=SC2086
  s=$(median ${seconds[$command]})
  # shellcheck disable=SC2086
  k=$(median ${peak[$command]})
  printf '%-28s %8s %11s %7s %10s %14s\n' "${LABEL[$command]}" "$s" "$(spread ${seconds[$command]})" \
    "$(ratio "$s" "$find_seconds")" \
    "$(awk -v k="$k" 'BEGIN { if (k ~ /^[0-9.]+$/) printf "%.0f", k * 1024 / 1e6; else print "-" }')" \
    "$(awk -v c="$command" -v k="$k" -v n="$files" -v p="$average_path" \
      'BEGIN { if (c != "find" && k ~ /^[0-9.]+$/ && n > 0) printf "%.0f", k * 1024 / n - p; else print "-" }')"
done
printf 'bytes/file: peak resident set over the files, less the average path length.\n'
