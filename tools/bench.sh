#!/usr/bin/env bash
# Benchmarks and the size report: script reading (native, optimised, no
# sanitizers) and the sizes of the disc's binaries against their budgets.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$ROOT/build/bench
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DDISCSCREEN_SANITIZE=OFF >/dev/null
cmake --build "$BUILD" -j2 --target script_read_bench >/dev/null
"$BUILD/script_read_bench"
if [ -f "$ROOT/dist/AUTORUN.EXE" ]; then
  "$ROOT/tools/check-binaries.sh" "$ROOT/dist" | sed -n '/size report/,/^binaries:/p' | grep -v '^binaries:'
fi
for extra in "$ROOT"/tools/bench-*.sh; do
  [ -x "$extra" ] && "$extra"
done
exit 0
