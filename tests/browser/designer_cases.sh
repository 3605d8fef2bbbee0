#!/usr/bin/env bash
# The designer page in the system's chromium, driven by puppeteer-core:
#   tests/browser/designer_cases.sh build/bin/discscreen
# Installs the npm packages of the lockfile first (never a browser). The
# Wine check (the page's preview) needs `make route`; DESIGNER_NO_WINE=1 leaves
# it out.
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
TOOL=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
source "$ROOT/tools/wine-route.sh"
if wine_left_out "the designer's preview under Wine"; then export DESIGNER_NO_WINE=1; fi

"$HERE/npm-packages.sh"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
"$ROOT/tools/make-demo-disc.sh" "$WORK/demo" >/dev/null
# The Wine suites' scripts as they write them (quoted here-documents, CR LF).
mkdir -p "$WORK/fixtures"
awk -v out="$WORK/fixtures" '
  /write_script .*<<.INF.$/ { n++; file = sprintf("%s/%s-%d.INF", out, FILENAME, n); sub(/.*\//, "", file);
                               file = out "/" file; inside = 1; next }
  inside && /^INF$/ { inside = 0; close(file); next }
  inside { printf "%s\r\n", $0 > file }
' "$ROOT"/tests/wine/suite_*.sh
DESIGNER_FIXTURES="$WORK/fixtures" PUPPETEER_SKIP_DOWNLOAD=1 node "$HERE/designer_test.mjs" "$TOOL" "$WORK/demo"
# Texts drawn as the program under Wine draws them.
PUPPETEER_SKIP_DOWNLOAD=1 node "$HERE/drawing_test.mjs" "$TOOL" "$WORK/demo"
# Keys and alignment.
PUPPETEER_SKIP_DOWNLOAD=1 node "$HERE/keyboard_test.mjs" "$TOOL" "$WORK/demo"
# An author's whole story through the page alone, then check and Wine.
PUPPETEER_SKIP_DOWNLOAD=1 node "$HERE/story_test.mjs" "$TOOL"
# Scripts written the way other authors write them, edited through the page.
PUPPETEER_SKIP_DOWNLOAD=1 node "$HERE/foreign_test.mjs" "$TOOL" "$WORK/demo"
