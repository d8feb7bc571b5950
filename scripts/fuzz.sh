#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each one briefly over its
# seed corpus. SECONDS_PER_TARGET bounds each run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${SECONDS_PER_TARGET:-60}
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLOTMIRA_FUZZ=ON -DPLOTMIRA_TESTS=OFF \
  -DPLOTMIRA_BENCH=OFF -DPLOTMIRA_GUI=OFF \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14
cmake --build build-fuzz -j"$(nproc)"
shopt -s nullglob
for bin in build-fuzz/fuzz/fuzz_*; do
  [ -x "$bin" ] || continue
  name=$(basename "$bin")
  seeds=fuzz/corpus/$name
  work=$(mktemp -d)
  echo "fuzzing $name for ${seconds}s"
  "$bin" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 "$work" "$seeds"
  rm -rf "$work"
done
