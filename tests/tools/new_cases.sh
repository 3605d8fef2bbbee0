#!/usr/bin/env bash
# `discscreen new` on folders of real installers (NSIS programs with and
# without a version resource, a Windows Installer package built with wixl)
# and documents: one case a folder, with what the screen must offer, the
# script's findings (none may be an error or a warning), the layout (inside
# the screen, nothing overlapping), and the folders it must refuse.
#
#   tests/tools/new_cases.sh PATH-TO-discscreen
set -uo pipefail
TOOL=${1:?usage: new_cases.sh DISCSCREEN}
source "$(dirname "$0")/cases.sh"

# The program's three files, as the tool is installed with them.
export DISCSCREEN_DIST=$WORK/dist
mkdir -p "$DISCSCREEN_DIST"
# Programs as Windows reads them before it starts one (the checker reads
# the [autorun] section's open= program), each file different.
for f in AUTORUN.EXE AUTORUN_95.DLL AUTORUN_NT.DLL; do
  python3 "$(dirname "$0")/make_pe.py" "$DISCSCREEN_DIST/$f"
  printf '%s' "$f" >>"$DISCSCREEN_DIST/$f"
done

# nsis PATH [KEY=VALUE...]: a silent NSIS installer with those version strings.
nsis() {
  local out=$1 script=$WORK/installer.nsi
  shift
  { echo 'Unicode true'; echo 'Name "x"'; echo "OutFile \"$out\""; echo 'RequestExecutionLevel user'
    echo 'SilentInstall silent'
    if [ $# -gt 0 ]; then echo 'VIProductVersion "1.0.0.0"'; echo 'VIAddVersionKey "FileVersion" "1.0"'; fi
    for pair in "$@"; do echo "VIAddVersionKey \"${pair%%=*}\" \"${pair#*=}\""; done
    echo 'Section'; echo 'SectionEnd'; } >"$script"
  mkdir -p "$(dirname "$out")"
  makensis -V1 "$script" >/dev/null || fail "makensis could not build $out"
}
# msi PATH NAME: a package that installs one file.
msi() {
  mkdir -p "$(dirname "$1")" "$WORK/msi"
  echo payload >"$WORK/msi/PAYLOAD.TXT"
  cat >"$WORK/msi/p.wxs" <<WXS
<?xml version="1.0" encoding="utf-8"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="*" Name="$2" Language="1033" Version="1.0.0" Manufacturer="Cases" UpgradeCode="1D6B2C4E-2B51-4B8A-9E0D-3C1A7B5D2E11">
    <Package InstallerVersion="200" Compressed="yes"/>
    <Media Id="1" Cabinet="p.cab" EmbedCab="yes"/>
    <Directory Id="TARGETDIR" Name="SourceDir"><Directory Id="ProgramFilesFolder"><Directory Id="D" Name="Cases">
      <Component Id="C" Guid="2E3E4B7A-8C21-4F5E-9A6B-1C2D3E4F5A6C"><File Id="F" Name="PAYLOAD.TXT" Source="PAYLOAD.TXT" KeyPath="yes"/></Component>
    </Directory></Directory></Directory>
    <Feature Id="Main" Level="1"><ComponentRef Id="C"/></Feature>
  </Product>
</Wix>
WXS
  (cd "$WORK/msi" && wixl -o "$1" p.wxs) || fail "wixl could not build $1"
}

# made DISC [OPTIONS]: runs new; OUT holds what it says, STATUS its status.
made() {
  local disc=$1
  shift
  OUT=$("$TOOL" new "$disc" "$@" 2>&1)
  STATUS=$?
  [ "$STATUS" = 0 ] || fail "new: status $STATUS"$'\n'"$OUT"
  says "check: 0 errors, 0 warnings"
  local found
  found=$("$TOOL" check "$disc" | grep -E ': (error|warning):')
  [ -z "$found" ] || fail "check finds:"$'\n'"$found"
  layout_fits "$disc"
}
# The script's buttons (kind and command) in number order, one a line.
buttons() { tr -d '\r' <"$1/AUTORUN.INF" | sed -n 's/^BUTTON[0-9]*=\([A-Z]*\),[^,]*,[^,]*,[^,]*,[^,]*,\([A-Z]*\),\([A-Z]*\),[^,]*,[^,]*,[^,]*\(, , \(.*\)\)\{0,1\}$/\1 \2 \3 \5/p'; }
caption() { tr -d '\r' <"$1/AUTORUN.INF" | sed -n "s/^TEXT$2=\([^,]*\),.*/\1/p"; }

# Every picture and caption inside the 640x480 screen less its frame, none
# overlapping another, nor the shared help area.
LAYOUT_CHECK=$(cat <<'PY'
import struct, sys, re
disc = sys.argv[1]
lines = open(disc + '/AUTORUN.INF', encoding='cp1252', newline='').read().split('\r\n')
texts, boxes = {}, []
for line in lines:
    m = re.match(r'TEXT(\d+)=(.*)', line)
    if m: texts[int(m.group(1))] = m.group(2).split(',')
for line in lines:
    m = re.match(r'BUTTON(\d+)=(.*)', line)
    if not m or '[' in line: continue
    f = m.group(2).split(',')
    if len(f) < 9: continue
    b = open(disc + '/' + f[7], 'rb').read()
    w, h = struct.unpack('<ii', b[18:26])
    boxes.append(('button %s' % m.group(1), int(f[1]), int(f[2]), w // 4, h))
    t = texts[int(f[8])]
    boxes.append(('caption %s' % f[8], int(t[5]), int(t[6]), int(t[7]), int(t[8])))
helps = {tuple(t[5:9]) for t in texts.values() if len(t) > 2 and t[2] == 'HELP'}
assert len(helps) == 1, 'help texts share one place'
hx, hy, hw, hh = map(int, helps.pop())
boxes.append(('help', hx, hy, hw, hh))
for name, x, y, w, h in boxes:
    assert x >= 0 and y >= 0 and x + w <= 632 and y + h <= 472, name + ' is off the screen'
for i, a in enumerate(boxes):
    for b in boxes[i + 1:]:
        if a[1] < b[1] + b[3] and b[1] < a[1] + a[3] and a[2] < b[2] + b[4] and b[2] < a[2] + a[4]:
            raise SystemExit(a[0] + ' overlaps ' + b[0])
PY
)
layout_fits() {
  local said
  said=$(python3 -c "$LAYOUT_CHECK" "$1" 2>&1) || fail "layout: $(tail -1 <<<"$said")"
}

begin_case one-installer
DISC=$WORK/Editor
nsis "$DISC/SETUP.EXE" "ProductName=Acme Editor" "FileDescription=Acme Editor Setup"
echo read >"$DISC/README.TXT"
made "$DISC" --title "Acme Editor 5"
[ "$(buttons "$DISC")" = "PUSHBUTTON NORMAL NO SETUP.EXE
PUSHBUTTON NORMAL SHOW README.TXT
EXITBUTTON NORMAL NO " ] || fail "buttons:"$'\n'"$(buttons "$DISC")"
[ "$(caption "$DISC" 1)" = "Install Acme Editor" ] || fail "caption 1: $(caption "$DISC" 1)"
[ "$(caption "$DISC" 2)" = "Read me" ] || fail "caption 2: $(caption "$DISC" 2)"
grep -q $'^TITLE=Acme Editor 5\r$' "$DISC/AUTORUN.INF" || fail "no title from --title"
[ "$(head -c 9 "$DISC/AUTORUN.INF")" = "[autorun]" ] || fail "no [autorun] section first"
cmp -s "$DISC/AUTORUN.EXE" "$DISCSCREEN_DIST/AUTORUN.EXE" || fail "the program is not copied"
says "installer SETUP.EXE: Acme Editor"

begin_case chained
DISC=$WORK/Suite
nsis "$DISC/EDITOR/SETUP.EXE" "FileDescription=Editor Setup Program"
nsis "$DISC/EDITOR/PLUGINS/SETUP.EXE" "ProductName=Nested"
echo notes >"$DISC/EDITOR/NOTES.TXT"
msi "$DISC/TOOLS/TOOLS.MSI" "Acme Tools"
nsis "$DISC/DRIVERS/INSTALL.EXE"
mkdir -p "$DISC/DOCS"
echo pdf >"$DISC/DOCS/MANUAL.PDF"
echo licence >"$DISC/LICENSE.TXT"
echo other >"$DISC/DATA.BIN"
made "$DISC" --style light
[ "$(buttons "$DISC")" = "CHECKBOX CHECK YES DRIVERS\\INSTALL.EXE
CHECKBOX CHECK YES EDITOR\\SETUP.EXE
CHECKBOX CHECK YES TOOLS\\TOOLS.MSI
PUSHBUTTON NORMAL SHOW LICENSE.TXT
PUSHBUTTON NORMAL SHOW DOCS\\MANUAL.PDF
OKBUTTON NORMAL NO 
EXITBUTTON NORMAL NO " ] || fail "buttons:"$'\n'"$(buttons "$DISC")"
for expect in "1 Drivers" "2 Editor Setup Program" "3 Acme Tools" "4 License" "5 Manual (PDF)" "6 Install selected"; do
  [ "$(caption "$DISC" "${expect%% *}")" = "${expect#* }" ] || fail "caption ${expect%% *}: $(caption "$DISC" "${expect%% *}")"
done
grep -q $'^TITLE=Suite\r$' "$DISC/AUTORUN.INF" || fail "the title is not the folder's name"
OUT=$("$TOOL" image "$DISC" -o "$WORK/suite.iso" 2>&1) || fail "image: $OUT"
[ -s "$WORK/suite.iso" ] || fail "no image"

# Names: two products of one name told apart by their folders, a name no
# Western code page holds replaced by the folder's, a title written in code
# page 1252; the same program files there already are kept, others refused.
begin_case names-and-programs
DISC=$WORK/Names
nsis "$DISC/EDITOR/SETUP.EXE" "ProductName=Acme Suite"
nsis "$DISC/VIEWER/SETUP.EXE" "ProductName=Acme Suite"
nsis "$DISC/KANJI/SETUP.EXE" "ProductName=表示ツール"
cp "$DISCSCREEN_DIST/AUTORUN.EXE" "$DISC/"
made "$DISC" --title "Grüße"
for expect in "1 Acme Suite (Editor)" "2 Kanji" "3 Acme Suite (Viewer)"; do
  [ "$(caption "$DISC" "${expect%% *}")" = "${expect#* }" ] || fail "caption ${expect%% *}: $(caption "$DISC" "${expect%% *}")"
done
grep -q $'^TITLE=Gr\xfc\xdfe\r$' "$DISC/AUTORUN.INF" || fail "the title is not in code page 1252"
grep -q 'AUTORUN.EXE' <<<"$(grep '^made' <<<"$OUT")" && fail "the same AUTORUN.EXE was copied again"
DISC=$WORK/OtherProgram
mkdir -p "$DISC"
: >"$DISC/SETUP.EXE"
echo other >"$DISC/AUTORUN_NT.DLL"
OUT=$("$TOOL" new "$DISC" 2>&1)
[ $? = 1 ] || fail "another AUTORUN_NT.DLL: status not 1"
says "holds AUTORUN_NT.DLL already"

begin_case twelve-at-most
DISC=$WORK/Many
for i in $(seq -w 1 14); do mkdir -p "$DISC/PART$i"; : >"$DISC/PART$i/SETUP.EXE"; done
made "$DISC" --style classic
[ "$(buttons "$DISC" | grep -c CHECKBOX)" = 12 ] || fail "not twelve check boxes"
says "left out PART13\\SETUP.EXE: a screen holds at most 12 items"
says "left out PART14\\SETUP.EXE"

# From one item to twelve, installers and documents mixed, and names too
# long for their places: every layout fits and checks clean.
begin_case every-count
for count in $(seq 1 12); do
  DISC=$WORK/count-$count
  for i in $(seq 1 "$count"); do
    if [ $((i % 3)) = 0 ]; then
      echo doc >"$DISC-doc-$i.txt" && mkdir -p "$DISC" && mv "$DISC-doc-$i.txt" "$DISC/A DOCUMENT WITH A NAME FAR TOO LONG FOR ANY CAPTION $i.TXT"
    else
      mkdir -p "$DISC/PRODUCT_$i" && : >"$DISC/PRODUCT_$i/SETUP.EXE"
    fi
  done
  made "$DISC" --title "A title far too long for the band at the top of the screen, which cuts it $count"
done

begin_case unwritable-names
DISC=$WORK/Odd
mkdir -p "$DISC/A,B"
: >"$DISC/A,B/SETUP.EXE"
echo x >"$DISC/README.TXT"
made "$DISC"
says "left out A,B\\SETUP.EXE: a comma ends a field of the script"

begin_case refusals
DISC=$WORK/Has
mkdir -p "$DISC"
: >"$DISC/SETUP.EXE"
printf 'mine' >"$DISC/autorun.inf"
OUT=$("$TOOL" new "$DISC" 2>&1)
[ $? = 1 ] || fail "a folder with a script: status not 1"
says "has a script already; new never overwrites it"
[ "$(cat "$DISC/autorun.inf")" = mine ] || fail "the script changed"
rm "$DISC/autorun.inf"
printf 'mine' >"$DISC/BACK.BMP"
OUT=$("$TOOL" new "$DISC" 2>&1)
[ $? = 1 ] || fail "a folder with BACK.BMP: status not 1"
says "holds BACK.BMP already"
[ "$(ls "$DISC")" = "BACK.BMP
SETUP.EXE" ] || fail "files were written: $(ls "$DISC")"
mkdir -p "$WORK/Empty/DEEP/DEEPER"
: >"$WORK/Empty/DEEP/DEEPER/SETUP.EXE"
OUT=$("$TOOL" new "$WORK/Empty" 2>&1)
[ $? = 1 ] || fail "a folder without items: status not 1"
says "no installer"
OUT=$("$TOOL" new "$WORK/Editor2" --style nope 2>&1)
[ $? = 2 ] || fail "an unknown style: status not 2"

# The designer opened on a folder without a script offers new's styles, and
# designs the disc it makes.
begin_case designer-starts
DISC=$WORK/Designed
mkdir -p "$DISC/EDITOR"
: >"$DISC/EDITOR/SETUP.EXE"
"$TOOL" design "$DISC" --no-browser >"$WORK/design.out" 2>&1 &
designer=$!
for _ in $(seq 100); do grep -q '^http' "$WORK/design.out" && break; sleep 0.1; done
mkdir -p "$DISC/PICS"
convert -size 40x20 xc:navy "$WORK/logo.png"
convert -size 16x16 xc:red "$DISC/PICS/ICON.GIF"
OUT=$(python3 - "$(grep -m1 '^http' "$WORK/design.out")" "$WORK/logo.png" <<'PY' 2>&1
import json, sys, urllib.error, urllib.parse, urllib.request
url = sys.argv[1]
base, token = url.split('/?token=')
def get(path):
    return urllib.request.urlopen(base + path + ('&' if '?' in path else '?') + 'token=' + token).read().decode()
def post(path, body):
    request = urllib.request.Request(base + path, json.dumps(body).encode(),
                                     {'Content-Type': 'application/json', 'X-Discscreen-Token': token})
    try:
        return urllib.request.urlopen(request).status
    except urllib.error.HTTPError as error:
        return error.code
print('start page' if 'This folder has no screen yet' in get('/') else 'no start page')
print('styles', ' '.join(style['name'] for style in json.loads(get('/api/styles'))))
print('new', post('/api/new', {'style': 'nope'}), post('/api/new', {'style': 'light', 'title': 'Made Here'}),
      post('/api/new', {'style': 'light'}))
print('designer page' if 'Add button' in get('/') else 'no designer page')
# Pictures brought to it: kept, and made into bitmaps beside them.
def upload(name, data):
    request = urllib.request.Request(base + '/api/upload?name=' + urllib.parse.quote(name), data,
                                     {'X-Discscreen-Token': token})
    try:
        return urllib.request.urlopen(request).status
    except urllib.error.HTTPError as error:
        return error.code
logo = open(sys.argv[2], 'rb').read()
print('upload', upload('Logo.png', logo), upload('Logo.png', logo + b'x'), upload('../up.png', logo),
      upload('notes.txt', b'words'), upload('Big.png', bytes(33 * 1024 * 1024)))
print('convert', post('/api/convert', {'path': 'PICS\\ICON.GIF'}), post('/api/convert', {'path': 'NONE.PNG'}))
PY
)
kill "$designer"
wait "$designer" 2>/dev/null
says "start page"
says "styles dark light classic"
says "new 400 200 409"
says "designer page"
grep -q $'^TITLE=Made Here\r$' "$DISC/AUTORUN.INF" || fail "the designer made no disc"
says "upload 200 409 400 400 413"
says "convert 200 404"
cmp -s "$WORK/logo.png" "$DISC/Logo.png" || fail "the uploaded original is not kept"
for made in LOGO.BMP PICS/ICON.BMP; do
  [ "$(head -c 2 "$DISC/$made")" = BM ] || fail "no $made made"
done

# Each style's pictures: 8-bit, one palette for all, the background's
# gradient one colour along each row.
begin_case styles
for style in dark light classic; do
  DISC=$WORK/style-$style
  mkdir -p "$DISC/A" "$DISC/B"
  : >"$DISC/A/SETUP.EXE"
  : >"$DISC/B/SETUP.EXE"
  made "$DISC" --style "$style"
  python3 - "$DISC" <<'PY' || fail "$style: pictures"
import struct, sys
disc = sys.argv[1]
tables = set()
for name in ('BACK', 'PUSH', 'INSTALL', 'EXIT', 'CHECK'):
    b = open('%s/%s.BMP' % (disc, name), 'rb').read()
    size, w, h, planes, bits, compression = struct.unpack('<IiiHHI', b[14:34])
    assert bits == 8, name + ' is not 8-bit'
    tables.add(b[54:54 + 1024])
assert len(tables) == 1, 'the pictures have different palettes'
PY
  for row in 2 8 90; do
    [ "$(convert "$DISC/BACK.BMP" -crop "600x1+0+$row" +repage -format '%k' info:)" = 1 ] \
      || fail "$style: row $row of the band is not one colour"
  done
done

cases_end new_cases
