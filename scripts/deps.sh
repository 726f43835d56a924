#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the programs need, when missing.
set -euo pipefail

packages=(
  g++ cmake make pkg-config ccache
  libgtest-dev libgmock-dev
  libsqlite3-dev sqlite3 liblz4-dev
  mdbtools-dev mdbtools
  libfreetype-dev libfontconfig-dev fonts-dejavu-core fonts-liberation
  libx11-dev libxext-dev xvfb xauth x11-apps imagemagick
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing Debian packages: ${missing[*]}" >&2
  echo "Install them as root: apt-get install ${missing[*]}" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq "${missing[@]}"
