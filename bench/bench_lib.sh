# Shared by the scan benchmarks (bench/*_bench.sh): the number of rounds, the
# trees, generated once and kept, and the arithmetic of the tables.

# Runs (or rounds) of each command.
runs=${TWINSEEK_BENCH_RUNS:-3}

# A scratch folder for the run, removed at the end (a script that sets an
# EXIT trap of its own removes it there).
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# native_programs BUILD_FOLDER: where the native build keeps what the scan
# benchmarks run: scan (twinseek-scan), generate (the tree generator) and
# read_tree (the floor of a content scan).
native_programs() {
  scan="$1/cli/twinseek-scan"
  generate="$1/bench/twinseek_generate_scan_tree"
  read_tree="$1/bench/twinseek_read_tree"
}

# ensure_tree GENERATOR TREES NAME KIND [ARGUMENT]: the tree TREES/NAME,
# written by GENERATOR (twinseek_generate_scan_tree) unless a complete one is
# there already. Prints its folder.
ensure_tree() {
  local generate=$1 trees=$2 name=$3 kind=$4
  shift 4
  local folder="$trees/$name"
  if [ ! -f "$folder/.complete" ]; then
    rm -rf "${folder:?}"
    mkdir -p "$trees"
    echo "generating the $name tree in $folder" >&2
    "$generate" "$kind" "$folder" "$@" >&2
  fi
  printf '%s\n' "$folder"
}

# tree_files FOLDER: the number of files of a generated tree.
tree_files() { find "$1" -type f ! -name .complete | wc -l; }

# ratio A B: A / B with two decimals, "-" when B is not a positive number.
ratio() {
  awk -v a="$1" -v b="$2" 'BEGIN { if (a ~ /^[0-9.]+$/ && b ~ /^[0-9.]+$/ && b > 0) printf "%.2f", a / b; else print "-" }'
}

# median VALUE...: the median of numbers ("-" when a value is not a number,
# e.g. a run that failed or timed out).
median() {
  printf '%s\n' "$@" | sort -g | awk '
    !/^[0-9.]+$/ { bad = 1 }
    { v[NR] = $1 }
    END {
      if (bad || NR == 0) { print "-"; exit }
      if (NR % 2) printf "%.3f", v[(NR + 1) / 2]; else printf "%.3f", (v[NR / 2] + v[NR / 2 + 1]) / 2
    }'
}

# spread VALUE...: "lowest-highest", to show how noisy the rounds were.
spread() {
  printf '%s\n' "$@" | sort -g | awk '
    !/^[0-9.]+$/ { bad = 1 }
    { v[NR] = $1 }
    END { if (bad || NR == 0) print "-"; else printf "%.2f-%.2f", v[1], v[NR] }'
}

# nanoseconds: a clock for timing commands.
nanoseconds() { date +%s%N; }

# seconds_between START END: the nanoseconds between as seconds.
seconds_between() { awk -v ns="$(($2 - $1))" 'BEGIN { printf "%.3f", ns / 1e9 }'; }
