#!/usr/bin/env bash
# What the drive reads before the demo disc's screen appears (the product's
# binaries from dist/, the script, the pictures and the intro sound), as
# `discscreen check` counts it, beside its budget: 400 KB, 0.7 s at 4x.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
TOOL=$ROOT/build/bin/discscreen
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
if [ ! -x "$TOOL" ] || [ ! -f "$ROOT/dist/AUTORUN.EXE" ]; then
  echo "demo disc read budget: needs build/bin/discscreen and dist/ (make tools dist)"
  exit 0
fi
DIST=$ROOT/dist "$ROOT/tools/make-demo-disc.sh" "$WORK/demo" >/dev/null 2>&1
# The system that reads the most (the check may well have findings); every
# note says "reads N bytes: ... T s at 4x".
{ "$TOOL" check "$WORK/demo" || true; } | sed -n 's/.* the drive reads \([0-9,]*\) bytes: .* \([0-9.]*\) s at 4x.*\[read-budget\]$/\1 \2/p' |
  tr -d , | sort -n | tail -1 | {
  read -r bytes seconds || { echo "demo disc read budget: FAILED: the check counted no read before a screen"; exit 1; }
  printf 'demo disc, read before the screen appears: %d KB, %s s at 4x (budget 400 KB, 0.7 s)\n' \
    $(((bytes + 1023) / 1024)) "$seconds"
}
