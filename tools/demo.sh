#!/usr/bin/env bash
# Shows the demo disc's screen under Wine on $DISPLAY when there is one;
# otherwise `discscreen preview` writes a picture of it to build/demo.png.
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

wine_left_out "the demo disc's screen under Wine" && exit 0

title=$(sed -n 's/^TITLE=\(.*\)\r\?$/\1/p' "$DISC_DIR/AUTORUN.INF" | head -1 | tr -d '\r')

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  make_template
  export WINEPREFIX=$WINE_WORK/demo-prefix
  rm -rf "$WINEPREFIX"
  cp -a "$TEMPLATE" "$WINEPREFIX"
  cp -r "$DISC_DIR" "$WINEPREFIX/drive_c/DEMO"
  echo "demo: showing '$title' on $DISPLAY; close it with Escape or its exit button"
  (cd "$WINEPREFIX/drive_c/DEMO" && wine 'C:\DEMO\AUTORUN.EXE') || true
  wineserver -k 2>/dev/null || true
  exit 0
fi

if ! "$ROOT/build/bin/discscreen" preview "$DISC_DIR" -o "$SHOT" >/dev/null; then
  echo "demo: the screen '$title' did not appear" >&2
  exit 1
fi
echo "demo: no display, so the screen ran on a private Xvfb; picture of it in $SHOT"
