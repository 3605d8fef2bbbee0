#!/usr/bin/env bash
# What waiting for an installer costs under Wine: each wait library waits
# side by side with the other for a 20 s program and its 20 s child; the CPU
# time each spent inside its wait, as a share of one core, beside the budget.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/tests/wine/lib.sh"
source "$ROOT/tests/wine/waiting.sh"
make_template
export WINEPREFIX=$WINE_WORK/bench-waiting
rm -rf "$WINEPREFIX"
cp -a "$TEMPLATE" "$WINEPREFIX"
trap 'wineserver -k 2>/dev/null; rm -rf "$WINEPREFIX"' EXIT
DISC_WIN='C:\DISC'
mkdir -p "$WINEPREFIX/drive_c/DISC"
cp "$DIST"/AUTORUN_95.DLL "$DIST"/AUTORUN_NT.DLL "$WINEPREFIX/drive_c/DISC/"
setup_helpers
measure_wait_cost 20000
status=0
for flavour in 95 NT; do
  cpu=${WAIT_CPU[$flavour]} wall=${WAIT_WALL[$flavour]}
  if [ -n "$cpu" ] && [ -n "$wall" ] && [ "$wall" -gt 0 ]; then
    echo "waiting, AUTORUN_$flavour.DLL: $(awk "BEGIN {printf \"%.2f\", 100 * $cpu / $wall}")% of one core ($cpu ms of CPU in $wall ms; budget 1%)"
  else
    echo "waiting, AUTORUN_$flavour.DLL: FAILED: the wait reported nothing"
    status=1
  fi
done
echo "waiting: the wineserver spent $SERVER_MS ms of CPU in $((20000 / 1000 - 5)) s of both waits"
exit $status
