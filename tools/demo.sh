#!/usr/bin/env bash
# Shows the demo disc's screen under Wine: on $DISPLAY when there is one,
# otherwise on a private Xvfb, with a screenshot written to build/demo.png.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
DISC_DIR=$ROOT/build/demo-disc
SHOT=$ROOT/build/demo.png

# The disc: the built program, the demo script and what the demo's own
# generator makes (pictures, sounds, programs).
rm -rf "$DISC_DIR"
mkdir -p "$DISC_DIR"
source "$ROOT/tests/wine/lib.sh"
cp "$DIST"/AUTORUN.EXE "$DIST"/AUTORUN_95.DLL "$DIST"/AUTORUN_NT.DLL "$DISC_DIR"/
if [ -x "$ROOT/tools/make-demo-disc.sh" ]; then
  "$ROOT/tools/make-demo-disc.sh" "$DISC_DIR"
else
  cp -r "$ROOT"/demo/. "$DISC_DIR"/
fi

make_template
export WINEPREFIX=$WINE_WORK/demo-prefix
rm -rf "$WINEPREFIX"
cp -a "$TEMPLATE" "$WINEPREFIX"
rm -rf "$WINEPREFIX/drive_c/DEMO"
cp -r "$DISC_DIR" "$WINEPREFIX/drive_c/DEMO"
title=$(sed -n 's/^TITLE=\(.*\)\r\?$/\1/p' "$DISC_DIR/AUTORUN.INF" | head -1 | tr -d '\r')

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "demo: showing '$title' on $DISPLAY; close it with Escape or its exit button"
  (cd "$WINEPREFIX/drive_c/DEMO" && wine 'C:\DEMO\AUTORUN.EXE') || true
  wineserver -k 2>/dev/null || true
  exit 0
fi

start_xvfb
trap '[ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null; wineserver -k 2>/dev/null || true' EXIT
(cd "$WINEPREFIX/drive_c/DEMO" && exec wine 'C:\DEMO\AUTORUN.EXE') >"$ROOT/build/demo.log" 2>&1 &
if ! wait_for_window "$title" 30 >/dev/null; then
  echo "demo: the screen '$title' did not appear (see build/demo.log)" >&2
  exit 1
fi
sleep 2
import -window root "$SHOT"
echo "demo: no display, so the screen ran on a private Xvfb; screenshot in $SHOT"
