#!/usr/bin/env bash
# Starts the program under a virtual X display, enters the access code and
# writes a picture of the main window to docs/screenshot.png.
#   CORVANE_BUILD_DIR  build folder holding src/app/corvane (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
BUILD_DIR=${CORVANE_BUILD_DIR:-build}
PROGRAM="$ROOT/$BUILD_DIR/src/app/corvane"
OUT="$ROOT/docs/screenshot.png"
SETTLE_SECONDS=${CORVANE_SCREENSHOT_SETTLE:-4}

if [ ! -x "$PROGRAM" ]; then
  echo "screenshot: $PROGRAM not built; run ./run or build the 'corvane' target first" >&2
  exit 1
fi
for tool in Xvfb import; do
  command -v "$tool" >/dev/null || { echo "screenshot: $tool missing (apt-get install xvfb imagemagick)" >&2; exit 1; }
done

WORK=$(mktemp -d)
cleanup() {
  if [ -n "${APP_PID:-}" ]; then kill "$APP_PID" 2>/dev/null || true; fi
  if [ -n "${SIM_PID:-}" ]; then kill "$SIM_PID" 2>/dev/null || true; fi
  if [ -n "${X_PID:-}" ]; then kill "$X_PID" 2>/dev/null || true; fi
  rm -rf "$WORK"
}
trap cleanup EXIT

# A free display number.
DISPLAY_NUMBER=99
while [ -e "/tmp/.X11-unix/X$DISPLAY_NUMBER" ] || [ -e "/tmp/.X$DISPLAY_NUMBER-lock" ]; do
  DISPLAY_NUMBER=$((DISPLAY_NUMBER + 1))
done
Xvfb ":$DISPLAY_NUMBER" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
X_PID=$!
export DISPLAY=":$DISPLAY_NUMBER"
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$DISPLAY_NUMBER" ] && break; sleep 0.1; done

mkdir -p "$WORK/folder" "$WORK/serial"
# With the simulated radio built, the picture shows a connected link on COM5.
SIM="$ROOT/$BUILD_DIR/tools/radio-sim/corvane-radio-sim"
if [ -x "$SIM" ]; then
  "$SIM" --link "$WORK/serial/ttyUSB0" >"$WORK/sim.log" 2>&1 &
  SIM_PID=$!
  for _ in $(seq 50); do [ -e "$WORK/serial/ttyUSB0" ] && break; sleep 0.1; done
fi
QT_QPA_PLATFORM=xcb "$PROGRAM" --folder "$WORK/folder" --serial-dir "$WORK/serial" --access-code qzv \
  >"$WORK/program.log" 2>&1 &
APP_PID=$!
sleep "$SETTLE_SECONDS"
if ! kill -0 "$APP_PID" 2>/dev/null; then
  echo "screenshot: the program ended early:" >&2
  cat "$WORK/program.log" >&2
  exit 1
fi

mkdir -p "$(dirname "$OUT")"
import -window root "$WORK/screen.png"
# The frame sits at the top-left corner; keep the screen area it covers.
convert "$WORK/screen.png" -trim +repage "$OUT" 2>/dev/null || cp "$WORK/screen.png" "$OUT"
echo "screenshot: wrote $OUT"
