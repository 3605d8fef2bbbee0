#!/usr/bin/env bash
# Start-up benchmark under Wine: time from process start to the first
# painted screen, AUTORUN.EXE against a bare dialog program that paints the
# same 640x480 bitmap, run alternately in one prefix; medians and ratio.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
RUNS=${RUNS:-9}
source "$ROOT/tests/wine/lib.sh"
SUITE=bench-startup
make_template
start_xvfb || exit 1
export WINEPREFIX=$WINE_WORK/bench-startup
rm -rf "$WINEPREFIX"
cp -a "$TEMPLATE" "$WINEPREFIX"
trap 'wineserver -k 2>/dev/null; kill "$XVFB_PID" 2>/dev/null; rm -rf "$WINEPREFIX"' EXIT
disc=$WINEPREFIX/drive_c/DISC
mkdir -p "$disc"
cp "$DIST"/AUTORUN.EXE "$DIST"/AUTORUN_95.DLL "$DIST"/AUTORUN_NT.DLL "$WINE_BIN"/bare_screen.exe \
  "$WINE_BIN"/paintwatch.exe "$disc"/
convert -size 640x480 xc:'#20A040' BMP3:"$disc/BACK.BMP"
printf '[BEGIN]\r\nTITLE=Bench Screen\r\nINTROBITMAP=BACK.BMP\r\n[END]\r\n' >"$disc/AUTORUN.INF"
cd "$disc" || exit 1
time_one() { wine 'C:\DISC\paintwatch.exe' "$1" 300 200 20A040 "${@:2}" 2>/dev/null | tr -d '\r' | sed -n 's/^ms=//p'; }
wine 'C:\DISC\winprobe.exe' x >/dev/null 2>&1  # start the wineserver before timing
bare=()
ours=()
for _ in $(seq "$RUNS"); do
  bare+=("$(time_one "Bare Screen" 'C:\DISC\bare_screen.exe' "Bare Screen" 'C:\DISC\BACK.BMP')")
  ours+=("$(time_one "Bench Screen" 'C:\DISC\AUTORUN.EXE')")
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
mb=$(median "${bare[@]}")
mo=$(median "${ours[@]}")
echo "first painted screen: bare dialog ${mb} ms, AUTORUN.EXE ${mo} ms (medians of $RUNS; runs: ${bare[*]} / ${ours[*]})"
if [ "${mb:--1}" -gt 0 ] && [ "${mo:--1}" -gt 0 ]; then
  echo "first painted screen: ratio $(awk "BEGIN {printf \"%.2f\", $mo / $mb}") (budget 1.05)"
else
  echo "first painted screen: FAILED: a program did not paint its screen, so nothing is measured"
  exit 1
fi
