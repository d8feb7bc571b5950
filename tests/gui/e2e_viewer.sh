#!/usr/bin/env bash
# End-to-end check of the viewer under a virtual X server: started on a
# drawing, its window must show the drawing's pixels; Ctrl+Q must end it with
# return code 0, and so must SIGTERM. The bundled WMF and DR2D samples, where
# present, must fill the view. Exit 77 means skipped.
# Usage: e2e_viewer.sh PLOTMIRA SOURCE_DIR WORK_DIR
set -uo pipefail

plotmira=$1
source_dir=$2
work=$3

if [[ "${PLOTMIRA_E2E_INSIDE_X:-}" != 1 ]]; then
  for tool in xvfb-run xdotool import convert compare; do
    if ! command -v "$tool" >/dev/null 2>&1; then
      echo "skipped: $tool is not installed"
      exit 77
    fi
  done
  mkdir -p "$work"
  PLOTMIRA_E2E_INSIDE_X=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" \
    bash "$0" "$plotmira" "$source_dir" "$work"
fi

export GDK_BACKEND=x11 GSK_RENDERER=cairo NO_AT_BRIDGE=1 GTK_A11Y=none
export GSETTINGS_BACKEND=memory DBUS_SESSION_BUS_ADDRESS=disabled:
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT

fail() {
  echo "FAIL: $*"
  exit 1
}

# A placeable WMF, 1000 x 1000 units: a rectangle filled with rgb(220, 30, 30)
# over the middle 80 % of each axis, outlined in dark blue. The pen and brush
# are selected after they are made, so that players with and without an
# object table draw the same.
fixture=$work/fixture.wmf
{
  printf '\xd7\xcd\xc6\x9a\x00\x00\x00\x00\x00\x00\xe8\x03\xe8\x03\xa0\x05\x00\x00\x00\x00\xb1\x52'
  printf '\x01\x00\x09\x00\x00\x03\x2f\x00\x00\x00\x02\x00\x08\x00\x00\x00\x00\x00'
  printf '\x05\x00\x00\x00\x0c\x02\xe8\x03\xe8\x03'                  # SETWINDOWEXT 1000 x 1000
  printf '\x08\x00\x00\x00\xfa\x02\x00\x00\x0a\x00\x00\x00\x20\x20\x80\x00'  # CREATEPENINDIRECT
  printf '\x04\x00\x00\x00\x2d\x01\x00\x00'                          # SELECTOBJECT 0
  printf '\x07\x00\x00\x00\xfc\x02\x00\x00\xdc\x1e\x1e\x00\x00\x00'  # CREATEBRUSHINDIRECT
  printf '\x04\x00\x00\x00\x2d\x01\x01\x00'                          # SELECTOBJECT 1
  printf '\x07\x00\x00\x00\x1b\x04\x84\x03\x84\x03\x64\x00\x64\x00'  # RECTANGLE 100..900
  printf '\x03\x00\x00\x00\x00\x00'                                  # EOF
} >"$fixture"

pid=
start_viewer() {
  "$plotmira" "$@" >"$work/viewer.log" 2>&1 &
  pid=$!
  window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Plotmira$' | head -n 1)
  [[ -n "$window" ]] || fail "no window titled Plotmira appeared"
}

# Waits for the viewer to end; sets rc to its return code.
rc=
wait_exit() {
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    kill -KILL "$pid"
    fail "the viewer did not end"
  fi
  wait "$pid"
  rc=$?
}

# Number of pixels of the window's picture within 10 % of the fill colour.
red_pixels() {
  convert "$1" -alpha off -fuzz 10% -fill black +opaque 'rgb(220,30,30)' \
    -fill white -opaque 'rgb(220,30,30)' -colorspace Gray -format '%[fx:round(mean*w*h)]' info:
}

"$plotmira" --version | grep -q '^Plotmira 1\.35' || fail "--version does not name 1.35"

# 1. An empty view (no argument); it ends cleanly on SIGTERM.
start_viewer
sleep 1
empty=$work/empty.png
import -window "$window" "$empty" || fail "no screenshot of the empty view"
kill -TERM "$pid"
wait_exit
[[ "$rc" == 0 ]] || fail "SIGTERM: return code $rc"

# 2. The drawing named on the command line is shown once the window is up.
start_viewer "$fixture"
shot=$work/viewer.png
count=0
for _ in $(seq 150); do
  import -window "$window" "$shot" 2>/dev/null && count=$(red_pixels "$shot")
  # The view is 640 x 480 by default; the rectangle covers 64 % of it.
  ((count > 150000)) && break
  sleep 0.2
done
((count > 150000)) || fail "the view shows $count pixels of the drawing (log: $(cat "$work/viewer.log"))"
echo "the view shows $count pixels of the drawing"

# 3. Ctrl+Q quits with return code 0.
xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+q
wait_exit
[[ "$rc" == 0 ]] || fail "Ctrl+Q: return code $rc"

# 4. The bundled samples that are drawn fill the view: most of its pixels
# differ from the empty view's.
for sample in "$source_dir"/samples/sample.wmf "$source_dir"/samples/sample.dr2d; do
  [[ -f "$sample" ]] || continue
  start_viewer "$sample"
  shot=$work/$(basename "$sample").png
  changed=0
  for _ in $(seq 150); do
    if import -window "$window" "$shot" 2>/dev/null; then
      changed=$(compare -metric AE -fuzz 5% "$empty" "$shot" null: 2>&1 | awk '{ printf "%d", $1 }')
    fi
    ((changed > 100000)) && break
    sleep 0.2
  done
  xdotool windowfocus --sync "$window"
  xdotool key --clearmodifiers ctrl+q
  wait_exit
  ((changed > 100000)) || fail "$(basename "$sample"): only $changed pixels differ from the empty view"
  [[ "$rc" == 0 ]] || fail "$(basename "$sample"): return code $rc"
  echo "$(basename "$sample"): $changed pixels differ from the empty view"
done

echo "PASS"
