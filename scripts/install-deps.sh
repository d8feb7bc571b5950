#!/usr/bin/env bash
# Installs the Debian packages that building, testing and fuzzing need.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail
packages=(
  cmake g++ make pkg-config clang-format
  libcairo2-dev libexpat1-dev zlib1g-dev libpng-dev libjpeg-dev
  libgtkmm-4.0-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-dejavu-core
  clang-14 libfuzzer-14-dev libclang-rt-14-dev
  xvfb xauth xdotool x11-apps imagemagick
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
