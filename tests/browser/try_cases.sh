#!/usr/bin/env bash
# discscreen try in the system's chromium, driven by puppeteer-core:
#   tests/browser/try_cases.sh build/bin/discscreen
# Needs `make route`. Builds the test discs: the demo disc, a check-box
# chain of two real NSIS installers (the first also tries to overwrite a
# file of D:), and a chain whose first installer restarts the machine.
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
TOOL=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")

"$HERE/npm-packages.sh"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
"$ROOT/tools/make-demo-disc.sh" "$WORK/demo" >/dev/null

# installer DISC NAME BODY...: a silent NSIS installer DISC/NAME.EXE.
installer() {
  local disc=$1 name=$2
  shift 2
  printf '%s\n' 'Unicode false' "Name \"$name\"" "OutFile \"$disc/$name.EXE\"" \
    'RequestExecutionLevel user' 'SilentInstall silent' 'Section' "$@" 'SectionEnd' >"$WORK/$name.nsi"
  makensis -V1 "$WORK/$name.nsi" >/dev/null
}
crlf() { sed 's/$/\r/' >"$1"; }

# The chain: both boxes checked, then "Install selected".
cp -r "$WORK/demo" "$WORK/chain"
installer "$WORK/chain" FIRST '  SetErrorLevel 7' '  ClearErrors' '  FileOpen $0 "D:\README.TXT" w' \
  '  IfErrors done' '  FileWrite $0 "changed"' '  FileClose $0' '  SetErrorLevel 70' '  done:'
installer "$WORK/chain" SECOND '  Sleep 500' '  SetErrorLevel 9'
crlf "$WORK/chain/AUTORUN.INF" <<'INF'
[BEGIN]
TITLE=Chain Disc
INTROBITMAP=BACK.BMP
[BUTTON]
BUTTON1=CHECKBOX,47,300,0,0,CHECK,YES,CHECK1.BMP, , , ,FIRST.EXE
BUTTON2=CHECKBOX,47,332,0,0,CHECK,YES,CHECK2.BMP, , , ,SECOND.EXE
BUTTON3=OKBUTTON,40,408,0,0,NORMAL,NO,INSTALL.BMP
[END]
INF

# The restart: the first member restarts, the resumed screen runs the second.
mkdir -p "$WORK/restart"
cp "$WORK/demo/BACK.BMP" "$WORK/restart/"
installer "$WORK/restart" FIRST '  Reboot'
installer "$WORK/restart" SECOND '  SetErrorLevel 9'
crlf "$WORK/restart/AUTORUN.INF" <<'INF'
[BEGIN]
TITLE=Restart Disc
INTROBITMAP=BACK.BMP
ALLOWREBOOTBUTTONS=1
[RUN]
BUTTON1=FIRST.EXE,YES
BUTTON2=SECOND.EXE,YES
[END]
INF

source "$ROOT/tools/wine-route.sh" >/dev/null
if [ "$WINE_ROUTE" = 64 ]; then export TRY_NO_32BIT_INSTALLERS=1; fi
PUPPETEER_SKIP_DOWNLOAD=1 node "$HERE/try_test.mjs" "$TOOL" "$WORK/demo" "$WORK/chain" "$WORK/restart"
