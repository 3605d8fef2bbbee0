#!/usr/bin/env bash
# discscreen try's benchmark for the demo disc in the system's chromium:
# from the run's start to its first painted screen in the page, and from a
# pointer move onto a button to its highlight in the page.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BROWSER=$ROOT/tests/browser
"$BROWSER/npm-packages.sh"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
"$ROOT/tools/make-demo-disc.sh" "$WORK/demo" >/dev/null
node "$BROWSER/try_bench.mjs" "$ROOT/build/bin/discscreen" "$WORK/demo"
