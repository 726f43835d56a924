#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each for the given seconds (default 300), starting from its committed corpus.
# New corpus entries and crash files go to a folder of their own (printed), so the
# committed corpus only changes when a finding is copied there on purpose.
#   scripts/fuzz.sh [seconds] [target...]     JOBS targets run side by side (default 1)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

seconds=${1:-300}
shift || true
jobs=${JOBS:-1}
build=build/fuzz
mkdir -p "$build"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVENDARO_SANITIZE=ON -DVENDARO_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ > "$build.configure.log" 2>&1 ||
  { cat "$build.configure.log"; exit 1; }
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  mapfile -t targets < <(sed -n 's/^vendaro_fuzz(\([a-z_]*\).*/\1/p' CMakeLists.txt)
fi
cmake --build "$build" -j "${JOBS:-$(nproc)}" --target "${targets[@]/#/fuzz_}"

out=build/fuzz-findings/$(date -u +%Y%m%d-%H%M%S)
mkdir -p "$out"
echo "Findings and new corpus entries: $out"
run_one() {
  local t=$1
  mkdir -p "$out/$t/corpus" "$out/$t/crashes"
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$build/fuzz_$t" -max_total_time="$seconds" -max_len=8192 -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$out/$t/crashes/" -print_final_stats=1 \
      "$out/$t/corpus" "tests/fuzz/corpus/$t" > "$out/$t/log" 2>&1 || true
  local runs
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$out/$t/log" | tail -1)
  local crashes
  crashes=$(find "$out/$t/crashes" -type f | wc -l)
  echo "$t: ${runs:-?} executions, $crashes findings"
}
running=0
for t in "${targets[@]}"; do
  run_one "$t" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait -n
    running=$((running - 1))
  fi
done
wait
if find "$out" -path '*/crashes/*' -type f | grep -q .; then
  echo "Findings in $out (*/crashes)"
  exit 1
fi
echo "No findings."
