#!/usr/bin/env bash
# Fresh machine: install, build, and run every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
# The options are spelled out: the sample command configures the same build
# folder without tests, and a cached OFF must not silently drop them here.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLOTMIRA_TESTS=ON -DPLOTMIRA_BENCH=ON \
  -DPLOTMIRA_GUI=ON
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure --no-tests=error -j"$(nproc)"
