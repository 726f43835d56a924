#!/usr/bin/env bash
# Builds the Release configuration and runs every benchmark; each prints its
# figures as ratios to a floor measured in the same run. Prints the table:
# measure, project, floor, ratio, goal.
#
#   scripts/bench.sh [rows for the import benchmark] [rows for its memory measure]
#                                                       (defaults 10000, 100000)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
mkdir -p build
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release > build/release.configure.log 2>&1 ||
  { cat build/release.configure.log; exit 1; }
cmake --build build/release -j "${JOBS:-$(nproc)}" --target gdi-benchmark effects-benchmark codec-benchmark container-fetch-benchmark import-benchmark startup-benchmark \
  > build/release.build.log 2>&1 || { tail -50 build/release.build.log; exit 1; }

results=$(mktemp)
trap 'rm -f "$results"' EXIT
# Each benchmark's output goes to standard error as a whole once it ends (a tee to
# /dev/stderr would reopen, and truncate, a log file the script's output is sent to).
run() {
  echo "== $*" >&2
  local out
  out=$("$@")
  printf '%s\n' "$out" >&2
  grep '^RESULT' <<<"$out" >> "$results"
}
run build/release/bench/gdi-benchmark
run build/release/bench/effects-benchmark
run build/release/bench/codec-benchmark "$(pwd)"
run build/release/bench/container-fetch-benchmark
run build/release/bench/startup-benchmark
run build/release/bench/import-benchmark "${1:-10000}"
run build/release/bench/import-benchmark --memory "${2:-100000}"

echo
printf '| measure | project | floor | ratio | goal |\n|---|---|---|---|---|\n'
awk -F'\t' '{ printf "| %s | %s | %s | %s | %s |\n", $2, $3, $4, $5, $6 }' "$results"
