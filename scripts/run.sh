#!/usr/bin/env bash
# Main command: installs what is missing, builds, makes a fresh copy of the sample databases
# in a work folder and starts the import program Importa there. Without a display it starts
# a virtual one (Xvfb), shows the dialog on it and writes a screenshot.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
mkdir -p build
cmake -S . -B build/plain -DCMAKE_BUILD_TYPE=RelWithDebInfo > build/plain.configure.log 2>&1 || { cat build/plain.configure.log; exit 1; }
cmake --build build/plain -j "${JOBS:-$(nproc)}" --target Importa Upgrade vendaro-samples

work=$(mktemp -d "${TMPDIR:-/tmp}/vendaro-work-XXXXXX")
build/plain/tools/vendaro-samples "$work" > /dev/null
echo "Work folder with fresh sample databases: $work"
echo "  (Dati, ComponenteStampa/RPTDATA.mdb and the edition 4 source dbVendaroBase4.mdb)"
echo "  Nothing else uses it: delete it when you are done (rm -r $work)."
importa=$(pwd)/build/plain/importa/Importa
cd "$work"

if [ -n "${DISPLAY:-}" ]; then
  echo "Starting Importa on $DISPLAY; pick $work/dbVendaroBase4.mdb with \"Cerca database\"."
  exec "$importa"
fi

# No display: a virtual one, the dialog on it, a screenshot, then everything stops.
screen=
for n in $(seq 120 160); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then screen=$n; break; fi
done
[ -n "$screen" ] || { echo "No free display number for Xvfb" >&2; exit 1; }
Xvfb ":$screen" -screen 0 1024x768x24 -nolisten tcp > /dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$screen"
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$screen" ] && break; sleep 0.1; done
"$importa" &
app=$!
trap 'kill $app 2> /dev/null || true; kill $xvfb 2> /dev/null || true' EXIT
sleep 2
shot="$work/importa-dialog.png"
import -display "$DISPLAY" -window root -crop 433x452+275+151 +repage "$shot"
echo "No display: Importa ran on a virtual one; screenshot of its dialog: $shot"
