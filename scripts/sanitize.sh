#!/usr/bin/env bash
# The tests under AddressSanitizer and UndefinedBehaviorSanitizer, then every
# real WMF file of the shared corpus through the converter in that build.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DPLOTMIRA_SANITIZE=ON -DPLOTMIRA_BENCH=OFF -DPLOTMIRA_GUI=OFF
cmake --build build-asan -j"$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-asan --output-on-failure --no-tests=error -j"$(nproc)"
corpus=../shared/corpus/wmf
if [ -d "$corpus" ]; then
  tmp=$(mktemp -d)
  n=0
  while IFS= read -r -d '' f; do
    # Exit status 1 (file not drawable) is an answer; a sanitizer report aborts.
    rc=0
    timeout 60 ./build-asan/app/plotmira-convert -q "$f" "$tmp/out.png" 2>/dev/null || rc=$?
    if [ "$rc" -gt 1 ]; then
      echo "corpus file failed with status $rc: $f" >&2
      exit 1
    fi
    n=$((n + 1))
  done < <(find "$corpus" -type f -iname '*.wmf' -print0)
  rm -rf "$tmp"
  echo "sanitizer corpus run: $n WMF files converted without a fault"
else
  echo "no shared WMF corpus: skipped"
fi
