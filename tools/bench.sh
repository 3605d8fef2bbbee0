#!/usr/bin/env bash
# Benchmarks and the size report: script reading (native, optimised, no
# sanitizers) and the sizes of the disc's binaries against their budgets.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$ROOT/build/bench
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DDISCSCREEN_SANITIZE=OFF >/dev/null
cmake --build "$BUILD" -j2 --target script_read_bench >/dev/null
failed=()
"$BUILD/script_read_bench" || failed+=(script_read_bench)
if [ -f "$ROOT/dist/AUTORUN.EXE" ]; then
  "$ROOT/tools/check-binaries.sh" "$ROOT/dist" | sed -n '/size report/,/^binaries:/p' | grep -v '^binaries:'
fi
for extra in "$ROOT"/tools/bench-*.sh; do
  [ -x "$extra" ] || continue
  "$extra" || failed+=("$(basename "$extra")")
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "bench: FAILED, measured nothing: ${failed[*]}" >&2
  exit 1
fi
