#!/usr/bin/env bash
# The scan benchmark: twinseek-scan beside other duplicate finders and a plain
# walk and read of the same trees, hot cache, best of several runs.
#   bench/scan_bench.sh BUILD_FOLDER TREES_FOLDER
# BUILD_FOLDER holds the native build (cli/twinseek-scan,
# bench/twinseek_generate_scan_tree and bench/twinseek_read_tree); the trees
# are generated into TREES_FOLDER once and kept.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/bench_lib.sh"

native_programs "$1"
trees=$2

for kind in small large; do
  ensure_tree "$generate" "$trees" "$kind" "$kind" >/dev/null
done

# best_seconds COMMAND...: the shortest wall time of $runs runs after one
# warm-up run, output discarded; the command runs in an empty folder (rmlint
# writes its default outputs into the current one).
best_seconds() {
  local best="" start end elapsed i
  (cd "$work" && "$@" >/dev/null 2>&1) || true
  for ((i = 0; i < runs; i++)); do
    start=$(nanoseconds)
    (cd "$work" && "$@" >/dev/null 2>&1) || true
    end=$(nanoseconds)
    elapsed=$((end - start))
    if [ -z "$best" ] || [ "$elapsed" -lt "$best" ]; then best=$elapsed; fi
  done
  seconds_between 0 "$best"
}

read_all() { "$read_tree" "$1"; }
walk_all() { find "$1" -type f -printf '%s %T@\n'; }

for kind in small large; do
  dir="$trees/$kind"
  files=$(tree_files "$dir")
  bytes=$(du -sb "$dir" | cut -f1)
  read_all "$dir" >/dev/null  # hot cache
  printf '\n%s tree: %s files, %s MB\n' "$kind" "$files" "$((bytes / 1000000))"
  declare -A seconds=()
  seconds[twinseek-scan]=$(best_seconds "$scan" "$dir")
  seconds[twinseek-scan --crc]=$(best_seconds "$scan" --crc "$dir")
  seconds[jdupes -r]=$(best_seconds jdupes -r -q "$dir")
  seconds[fdupes -r]=$(best_seconds fdupes -r -q "$dir")
  seconds[rmlint]=$(best_seconds rmlint -o summary:stdout "$dir")
  seconds[find -printf]=$(best_seconds walk_all "$dir")
  seconds[read every file]=$(best_seconds read_all "$dir")
  printf '%-22s %9s %10s %10s\n' "command" "seconds" "/ jdupes" "/ find"
  for name in "twinseek-scan" "twinseek-scan --crc" "jdupes -r" "fdupes -r" "rmlint" "find -printf" "read every file"; do
    printf '%-22s %9s %10s %10s\n' "$name" "${seconds[$name]}" \
      "$(ratio "${seconds[$name]}" "${seconds[jdupes -r]}")" \
      "$(ratio "${seconds[$name]}" "${seconds[find -printf]}")"
  done
  unset seconds
done
