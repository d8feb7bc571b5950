#!/usr/bin/env bash
# Renders every placeable WMF of the corpus with plotmira-convert --keep-aspect and with
# libwmf's wmf2gd at the same size, composites both on white and reports the share of pixels
# that agree (see bench/wmf_compare.cpp for the tolerance). Side-by-side pictures
# (reference | ours | differences) go into the work folder for a person to look at.
#
#   scripts/wmf-fidelity.sh [-B BUILD_DIR] [-w WORK_DIR] [-s WIDTHxHEIGHT] [-t TOLERANCE]
#                           [-S SYMBOL_FONT] [FILE...]
#
# BUILD_DIR must hold app/plotmira-convert and bench/wmf_compare (default: build). Without FILEs
# the corpus folder ../shared/corpus/wmf/placeable is used. libwmf is pointed at the DejaVu fonts
# that cairo uses too, so that glyphs differ as little as possible between the two. For its
# "Symbol" that is DejaVu Sans as well, a Latin font, so libwmf shows Symbol letters as Latin ones
# (D for Δ); -S gives it a Symbol-encoded font instead (e.g. StandardSymbolsPS.t1 of the
# fonts-urw-base35 package: right letters, but other glyph shapes than ours).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"
work=""
size="640x480"
tol=48
bar=95
symbol_font=""
while getopts "B:w:s:t:S:" opt; do
  case "$opt" in
    B) build="$(cd "$OPTARG" && pwd)" ;;
    w) work="$OPTARG" ;;
    s) size="$OPTARG" ;;
    t) tol="$OPTARG" ;;
    S) symbol_font="$OPTARG" ;;
    *) sed -n '2,15p' "$0" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
work="${work:-$build/wmf-fidelity}"
convert_bin="$build/app/plotmira-convert"
compare_bin="$build/bench/wmf_compare"
for tool in "$convert_bin" "$compare_bin"; do
  [[ -x "$tool" ]] || { echo "missing $tool (build targets plotmira-convert wmf_compare)" >&2; exit 2; }
done
command -v wmf2gd >/dev/null || { echo "wmf2gd not found (Debian package libwmf-bin)" >&2; exit 2; }

if [[ $# -eq 0 ]]; then
  corpus="$root/../shared/corpus/wmf/placeable"
  [[ -d "$corpus" ]] || { echo "corpus folder $corpus not found" >&2; exit 2; }
  set -- "$corpus"/*.wmf
fi
width="${size%x*}"
height="${size#*x}"
mkdir -p "$work"

fontmap="$work/Fontmap"
bash "$root/scripts/libwmf-fontmap.sh" $symbol_font > "$fontmap"
echo "libwmf's Symbol font: ${symbol_font:-DejaVu Sans, as ours (Latin: Symbol letters differ)}"

results="$work/results.tsv"
printf 'file\tall\tink\tnote\n' > "$results"
printf '%-60s %7s %7s  %s\n' "file" "all%" "ink%" "note"
total=0
passed=0
ink_passed=0
skipped=0
for wmf in "$@"; do
  name="$(basename "${wmf%.*}")"
  ref="$work/$name.libwmf.png"
  ours="$work/$name.ours.png"
  side="$work/$name.side.png"
  note=""
  rm -f "$ref" "$ours"
  if ! timeout 60 wmf2gd --wmf-gs-fontmap="$fontmap" --maxwidth="$width" --maxheight="$height" \
      --maxpect -o "$ref" "$wmf" > /dev/null 2>&1 || [[ ! -s "$ref" ]]; then
    skipped=$((skipped + 1))
    printf '%-60s %7s %7s  %s\n' "$name" "-" "-" "wmf2gd failed: not counted"
    printf '%s\t\t\t%s\n' "$name" "wmf2gd failed" >> "$results"
    continue
  fi
  if ! timeout 60 "$convert_bin" --keep-aspect -s "$size" "$wmf" "$ours" 2> "$work/$name.stderr"; then
    note="plotmira-convert failed: $(head -c 120 "$work/$name.stderr" | tr '\n' ' ')"
  elif [[ -s "$work/$name.stderr" ]]; then
    note="warning: $(head -c 120 "$work/$name.stderr" | tr '\n' ' ')"
  fi
  line="$("$compare_bin" "$ref" "$ours" "$side" "$tol")"
  all="$(sed -n 's/.*all=\([^ ]*\).*/\1/p' <<< "$line")"
  ink="$(sed -n 's/.*ink=\([^ ]*\).*/\1/p' <<< "$line")"
  ref_size="$(sed -n 's/.*ref=\([^ ]*\).*/\1/p' <<< "$line")"
  our_size="$(sed -n 's/.*ours=\([^ ]*\).*/\1/p' <<< "$line")"
  align="$(sed -n 's/.*align=\([^ ]*\).*/\1/p' <<< "$line")"
  if [[ "$align" == ink ]]; then
    note="${note:+$note; }aligned by ink (libwmf ${ref_size}, ours ${our_size})"
  fi
  total=$((total + 1))
  awk -v a="$all" -v b="$bar" 'BEGIN { exit !(a >= b) }' && passed=$((passed + 1))
  awk -v a="$ink" -v b="$bar" 'BEGIN { exit !(a >= b) }' && ink_passed=$((ink_passed + 1))
  printf '%-60s %7s %7s  %s\n' "$name" "$all" "$ink" "$note"
  printf '%s\t%s\t%s\t%s\n' "$name" "$all" "$ink" "$note" >> "$results"
done
echo
echo "$passed of $total files agree on >= $bar % of pixels"
echo "$ink_passed of $total files agree on >= $bar % of their ink (non-white) pixels"
[[ $skipped -eq 0 ]] || echo "$skipped files not counted: wmf2gd could not render them"
echo "side-by-side pictures (libwmf | ours | differences) and results.tsv in $work"
