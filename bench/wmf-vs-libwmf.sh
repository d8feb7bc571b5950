#!/usr/bin/env bash
# Converts one WMF with libwmf's tools (wmf2gd to PNG, wmf2eps) and with plotmira-convert (PNG
# and EPS) and prints the times and their ratio. Each conversion runs REPEAT times (default 5)
# and the mean is reported, so one run of the script gives the figures.
#
#   bench/wmf-vs-libwmf.sh [-B BUILD_DIR] [-r REPEAT] [-S SYMBOL_FONT] [FILE.wmf...]
#
# Without FILEs the largest file of ../shared/corpus/wmf/placeable is used.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"
repeat=5
symbol_font=""
while getopts "B:r:S:" opt; do
  case "$opt" in
    B) build="$(cd "$OPTARG" && pwd)" ;;
    r) repeat="$OPTARG" ;;
    S) symbol_font="$OPTARG" ;;
    *) sed -n '2,8p' "$0" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
convert_bin="$build/app/plotmira-convert"
[[ -x "$convert_bin" ]] || { echo "missing $convert_bin (build target plotmira-convert)" >&2; exit 2; }
for tool in wmf2gd wmf2eps; do
  command -v "$tool" >/dev/null || { echo "$tool not found (Debian package libwmf-bin)" >&2; exit 2; }
done
if [[ $# -eq 0 ]]; then
  set -- "$(ls -S "$root"/../shared/corpus/wmf/placeable/*.wmf | sed -n 1p)"
fi
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT

bash "$root/scripts/libwmf-fontmap.sh" $symbol_font > "$out/Fontmap"

# Mean wall time of REPEAT runs of the command, in milliseconds.
mean_ms() {
  local start end
  start=$(date +%s%N)
  for ((i = 0; i < repeat; ++i)); do "$@" > /dev/null 2>&1 || true; done
  end=$(date +%s%N)
  echo $(( (end - start) / repeat / 1000000 ))
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }'; }
for input in "$@"; do
  [[ -r "$input" ]] || { echo "cannot read $input" >&2; exit 2; }
  for fmt in png eps; do
    "$convert_bin" --keep-aspect -s 640x480 "$input" "$out/check.$fmt" > /dev/null ||
      { echo "plotmira-convert failed on $input ($fmt)" >&2; exit 1; }
  done

  lib_png=$(mean_ms wmf2gd --wmf-gs-fontmap="$out/Fontmap" --maxwidth=640 --maxheight=480 --maxpect \
    -o "$out/libwmf.png" "$input")
  lib_eps=$(mean_ms wmf2eps --wmf-gs-fontmap="$out/Fontmap" -o "$out/libwmf.eps" "$input")
  our_png=$(mean_ms "$convert_bin" --keep-aspect -s 640x480 "$input" "$out/ours.png")
  our_eps=$(mean_ms "$convert_bin" --keep-aspect -s 640x480 "$input" "$out/ours.eps")

  echo "input: $input ($(stat -c %s "$input") bytes), mean of $repeat runs"
  printf '%-6s %12s %18s %8s\n' format "libwmf ms" "plotmira-convert ms" "ratio"
  printf '%-6s %12s %18s %8s\n' PNG "$lib_png" "$our_png" "$(ratio "$our_png" "$lib_png")"
  printf '%-6s %12s %18s %8s\n' EPS "$lib_eps" "$our_eps" "$(ratio "$our_eps" "$lib_eps")"
done
echo "ratio = plotmira-convert time / libwmf time (below 1: plotmira-convert is faster)"
