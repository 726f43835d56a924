#!/usr/bin/env bash
# Builds and runs every test twice: a plain build and an
# AddressSanitizer + UndefinedBehaviorSanitizer build.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

jobs=${JOBS:-$(nproc)}
run_suite() {
  local dir=$1; shift
  cmake -S . -B "$dir" "$@" > "$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; return 1; }
  cmake --build "$dir" -j "$jobs"
  (cd "$dir" && ctest --output-on-failure -j "$jobs")
}

mkdir -p build
echo "== plain build"
run_suite build/plain -DCMAKE_BUILD_TYPE=RelWithDebInfo
echo "== sanitizer build"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  run_suite build/sanitize -DCMAKE_BUILD_TYPE=Debug -DVENDARO_SANITIZE=ON
echo "All tests passed in both builds."
