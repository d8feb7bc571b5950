#!/usr/bin/env bash
# Fresh machine: install, build, and convert the bundled sample drawings.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DPLOTMIRA_TESTS=OFF -DPLOTMIRA_BENCH=OFF
cmake --build build -j"$(nproc)" --target plotmira-convert
mkdir -p out
for f in samples/*; do
  base=$(basename "$f")
  ./build/app/plotmira-convert "$f" "out/${base%.*}.pdf"
  ./build/app/plotmira-convert "$f" "out/${base%.*}.png"
  echo "converted $f -> out/${base%.*}.pdf, out/${base%.*}.png"
done
