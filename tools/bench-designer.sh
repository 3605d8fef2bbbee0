#!/usr/bin/env bash
# The designer's benchmark: the time until its page is interactive for the
# demo disc, in the system's chromium.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BROWSER=$ROOT/tests/browser
"$BROWSER/npm-packages.sh"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
"$ROOT/tools/make-demo-disc.sh" "$WORK/demo" >/dev/null
node "$BROWSER/designer_bench.mjs" "$ROOT/build/bin/discscreen" "$WORK/demo"
