#!/usr/bin/env bash
# The Windows programs under Wine beside the platform's own floors for the
# same work, in one run: every round runs each command once, in turn, and the
# table gives the median of the rounds, hot cache.
#   bench/wine_bench.sh NATIVE_BUILD WIN64_BUILD TREES_FOLDER [TREE...]
# TREE is small, large, samesize-1000, samesize-5000 or samesize-20000 (all of
# them when none is named); the trees are generated into TREES_FOLDER once, by
# the native build's twinseek_generate_scan_tree. scripts/bench wine runs this
# inside xvfb-run with the Wine prefix set (WINEPREFIX, LANG=ja_JP.UTF-8); it
# keeps one wineserver for the run and stops it at the end.
# TWINSEEK_BENCH_RUNS (default 3) is the number of rounds;
# TWINSEEK_BENCH_TIMEOUT (default 3600) the seconds one command may take, after
# which it counts as "timeout".
# Exits 1 when a command failed or the desktop search left groups out of the
# control.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/bench_lib.sh"

native=$1
win64=$2
trees=$3
shift 3
limit=${TWINSEEK_BENCH_TIMEOUT:-3600}
wine=${WINE64:-/usr/lib/wine/wine64}
wineserver=${WINESERVER:-/usr/lib/wine/wineserver}
generate="$native/bench/twinseek_generate_scan_tree"
scan="$win64/cli/twinseek-scan.exe"
floor="$win64/bench/twinseek_wine_floor.exe"
desktop="$win64/bench/twinseek_desktop_search_bench.exe"

ALL_TREES=(small large samesize-1000 samesize-5000 samesize-20000)
selected=("$@")
[ ${#selected[@]} -eq 0 ] && selected=("${ALL_TREES[@]}")
for name in "${selected[@]}"; do
  if ! printf '%s\n' "${ALL_TREES[@]}" | grep -qx -- "$name"; then
    echo "unknown tree: $name (known: ${ALL_TREES[*]})" >&2
    exit 2
  fi
done

# The rows of the table, in the order a round runs their commands, and the
# floor each is divided by.
declare -A LABEL=(
  [start]="program start: listing an empty folder"
  [list]="listing floor: FindFirstFileExW walk"
  [ids]="listing floor: FileIdBothDirectoryInfo walk"
  [read]="listing + read floor: walk, CreateFileW, ReadFile"
  [scan]="twinseek-scan.exe (size+date)"
  [scan-size]="twinseek-scan.exe --size"
  [scan-crc]="twinseek-scan.exe --crc"
  [desktop]="desktop search, size+date"
  [desktop-walk]="  of it, the dialog's folder walk"
  [desktop-size]="desktop search, size only"
  [desktop-size-walk]="  of it, the dialog's folder walk"
)
ROWS=(start list ids read scan scan-size scan-crc desktop desktop-walk desktop-size desktop-size-walk)
declare -A FLOOR=(
  [scan]=list [scan-size]=list [scan-crc]=read
  [desktop]=list [desktop-walk]=list [desktop-size]=list [desktop-size-walk]=list
)

stop_wine() {
  "$wineserver" -k >/dev/null 2>&1 || true
  "$wineserver" -w >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap stop_wine EXIT
"$wineserver" -p
# Wine's own services start now, not inside the first timed command.
"$wine" wineboot </dev/null >/dev/null 2>&1

status=0
failures="$work/failures"
: >"$failures"
table="$work/table"
: >"$table"

winpath() {
  local path=$1
  printf 'Z:%s' "${path//\//\\}"
}

# timed LABEL COMMAND...: runs the command with the time limit, its output in
# $work/out and $work/err; prints its seconds, or "timeout" or "failed" (and
# notes the failure).
timed() {
  local label=$1
  shift
  local start end code=0
  start=$(nanoseconds)
  timeout "$limit" "$@" >"$work/out" 2>"$work/err" </dev/null || code=$?
  end=$(nanoseconds)
  if [ "$code" -eq 0 ]; then
    seconds_between "$start" "$end"
    return
  fi
  if [ "$code" -eq 124 ]; then echo timeout; else echo failed; fi
  { printf '%s: exit %s\n' "$label" "$code"; head -c 2000 "$work/err"; } >>"$failures"
}

# The desktop search, timed inside its process; sets desktop_seconds and
# desktop_walk.
desktop_search() {
  local label=$1 folder=$2 groups=$3 items=$4
  shift 4
  local code=0
  timeout $((limit + 120)) "$wine" "$desktop" "$@" --groups "$groups" --items "$items" --timeout "$limit" \
    "$(winpath "$folder")" >"$work/out" 2>"$work/err" </dev/null || code=$?
  if [ "$code" -eq 0 ] && read -r _ desktop_seconds _ desktop_walk _ <"$work/out"; then
    return
  fi
  desktop_seconds=failed
  desktop_walk=failed
  { printf '%s: exit %s\n' "$label" "$code"; cat "$work/out"; head -c 2000 "$work/err"; } >>"$failures"
}

# difference A B: A - B, not below zero ("-" unless both are numbers).
difference() {
  awk -v a="$1" -v b="$2" 'BEGIN { if (a ~ /^[0-9.]+$/ && b ~ /^[0-9.]+$/) printf "%.3f", (a > b ? a - b : 0); else print "-" }'
}

# net_ratio A B: the ratio of two times net of the program start; "-" when
# the floor's own work is too short to divide by.
net_ratio() {
  awk -v a="$1" -v b="$2" 'BEGIN { if (a ~ /^[0-9.]+$/ && b ~ /^[0-9.]+$/ && b >= 0.05) printf "%.2f", a / b; else print "-" }'
}

# per_file SECONDS FILES: microseconds per file.
per_file() {
  awk -v s="$1" -v n="$2" 'BEGIN { if (s ~ /^[0-9.]+$/ && n > 0) printf "%.1f", s * 1e6 / n; else print "-" }'
}

# The groups and the lines (groups and files) of a report of twinseek-scan.
count_groups() { grep -c '^\*' "$1" || true; }
count_items() { wc -l <"$1"; }

tree_folder() {
  case $1 in
    samesize-*) ensure_tree "$generate" "$trees" "$1" samesize "${1#samesize-}" ;;
    *) ensure_tree "$generate" "$trees" "$1" "$1" ;;
  esac
}

mkdir -p "$work/empty"

# The desktop harness once on two files before anything is timed: the first
# window of a run pays for loading fonts and libraries, and a broken harness
# shows here rather than after an hour.
mkdir -p "$work/warm"
printf 'same' >"$work/warm/a.txt"
printf 'same' >"$work/warm/b.txt"
touch -d '2020-01-01 00:00:00' "$work/warm/a.txt" "$work/warm/b.txt"
desktop_search "desktop warm-up" "$work/warm" 1 3
if [ "$desktop_seconds" = failed ]; then
  echo "the desktop search does not run:" >&2
  cat "$failures" >&2
  exit 1
fi

for name in "${selected[@]}"; do
  folder=$(tree_folder "$name")
  wfolder=$(winpath "$folder")
  files=$(tree_files "$folder")
  megabytes=$(($(du -sb "$folder" | cut -f1) / 1000000))
  echo "== $name: warming the cache and counting the groups" >&2
  timed "$name: warm-up read" "$wine" "$floor" read "$wfolder" >/dev/null
  timed "$name: groups by size and date" "$wine" "$scan" "$wfolder" >/dev/null
  cp "$work/out" "$work/report-date"
  timed "$name: groups by size" "$wine" "$scan" --size "$wfolder" >/dev/null
  cp "$work/out" "$work/report-size"

  declare -A times=()
  for ((round = 1; round <= runs; round++)); do
    echo "== $name: round $round of $runs" >&2
    times[start]+=" $(timed "$name start" "$wine" "$floor" list "$(winpath "$work/empty")")"
    times[list]+=" $(timed "$name list" "$wine" "$floor" list "$wfolder")"
    times[ids]+=" $(timed "$name ids" "$wine" "$floor" ids "$wfolder")"
    times[read]+=" $(timed "$name read" "$wine" "$floor" read "$wfolder")"
    times[scan]+=" $(timed "$name scan" "$wine" "$scan" "$wfolder")"
    times[scan-size]+=" $(timed "$name scan --size" "$wine" "$scan" --size "$wfolder")"
    times[scan-crc]+=" $(timed "$name scan --crc" "$wine" "$scan" --crc "$wfolder")"
    desktop_search "$name desktop size+date" "$folder" \
      "$(count_groups "$work/report-date")" "$(count_items "$work/report-date")"
    times[desktop]+=" $desktop_seconds"
    times[desktop-walk]+=" $desktop_walk"
    desktop_search "$name desktop size only" "$folder" \
      "$(count_groups "$work/report-size")" "$(count_items "$work/report-size")" --size-only
    times[desktop-size]+=" $desktop_seconds"
    times[desktop-size-walk]+=" $desktop_walk"
  done

  declare -A medians=() net=()
  for row in "${ROWS[@]}"; do
    # shellcheck disable=SC2086
    medians[$row]=$(median ${times[$row]})
  done
  # The program start is part of every process's time; the desktop search
  # is timed inside its process, without it.
  for row in "${ROWS[@]}"; do
    case $row in
      start) net[$row]=- ;;
      desktop*) net[$row]=${medians[$row]} ;;
      *) net[$row]=$(difference "${medians[$row]}" "${medians[start]}") ;;
    esac
  done
  {
    printf '\n%s: %s files, %s MB, groups: %s by size and date, %s by size\n' "$name" "$files" "$megabytes" \
      "$(count_groups "$work/report-date")" "$(count_groups "$work/report-size")"
    printf '%-50s %8s %13s %-5s %6s %6s %8s\n' "command" "median s" "rounds" "floor" "ratio" "net" "us/file"
    for row in "${ROWS[@]}"; do
      floor_row=${FLOOR[$row]:-}
      ratios=("-" "-")
      if [ -n "$floor_row" ]; then
        ratios=("$(ratio "${medians[$row]}" "${medians[$floor_row]}")" "$(net_ratio "${net[$row]}" "${net[$floor_row]}")")
      fi
      # shellcheck disable=SC2086
      printf '%-50s %8s %13s %-5s %6s %6s %8s\n' "${LABEL[$row]}" "${medians[$row]}" "$(spread ${times[$row]})" \
        "${floor_row:--}" "${ratios[0]}" "${ratios[1]}" "$(per_file "${net[$row]}" "$files")"
    done
  } >"$work/section"
  cat "$work/section" >>"$table"
  cat "$work/section" >&2
  unset times medians net
done

printf '\nWindows programs under Wine (%s), median of %s rounds, hot cache.\n' "$("$wine" --version 2>/dev/null || echo wine)" "$runs"
printf 'floor: "list" the FindFirstFileExW walk, "read" the walk plus reading every file;\n'
printf 'ratio: the medians divided; net: the same less the program start (the desktop search is\n'
printf 'timed inside its process, without it), "-" where the floor has too little work to divide by;\n'
printf 'rounds: fastest-slowest; us/file: the median less the program start, per file.\n'
cat "$table"
if [ -s "$failures" ]; then
  printf '\nfailures:\n'
  cat "$failures"
  status=1
fi
exit $status
