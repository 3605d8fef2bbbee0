#!/usr/bin/env bash
# What the drive reads before the screen appears (`discscreen check`'s
# read-budget findings) and `discscreen shrink`: pictures of few colours
# become smaller with every pixel the same (read back by ImageMagick, a
# decoder other than the program's), a photograph is left alone unless
# --colours allows a reduction, and the author's folder changes only when
# asked, with a backup.
#
#   tests/tools/shrink_cases.sh PATH-TO-discscreen
set -uo pipefail
TOOL=${1:?usage: shrink_cases.sh DISCSCREEN}
source "$(dirname "$0")/cases.sh"

# picture PATH KIND W H: a 24-bit picture. KIND: two (two colours in
# blocks), bands (12 colours in horizontal bands), steps (200 colours in
# runs), photo (noise of thousands of colours).
picture() {
  python3 - "$@" <<'PY'
import random, struct, sys
path, kind, w, h = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
random.seed(7)
def colour(x, y):
    if kind == 'two': return (255, 255, 255) if (x // 8 + y // 8) % 2 else (10, 20, 200)
    if kind == 'bands': return ((y // 4) * 20 % 256, 100, 255 - (y // 4) * 20 % 256)
    if kind == 'steps': return ((x // 3) % 200, (x // 3) % 200, 90)
    return (random.randrange(256), random.randrange(256), random.randrange(256))
stride = (w * 3 + 3) // 4 * 4
rows = b''.join(bytes(v for x in range(w) for v in reversed(colour(x, h - 1 - y))) + bytes(stride - 3 * w) for y in range(h))
info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
open(path, 'wb').write(b'BM' + struct.pack('<IHHI', 14 + len(info) + len(rows), 0, 0, 14 + len(info)) + info + rows)
PY
}
# header PATH: "header-size bits compression colours-used" of a bitmap
header() { python3 -c "import struct,sys; b=open(sys.argv[1],'rb').read(); s,w,h,p,bits,c=struct.unpack('<IiiHHI',b[14:34]); print(s,bits,c,struct.unpack('<I',b[46:50])[0])" "$1"; }
same_pixels() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]; }
sizes() { (cd "$1" && find . -type f -printf '%p %s\n' | sort); }
sums() { (cd "$1" && find . -type f -print0 | sort -z | xargs -0 sha256sum); }

# The disc of the read budget: the program's files and sounds of known sizes.
budget_disc() {
  DISC=$WORK/$1
  mkdir -p "$DISC"
  head -c 61440 /dev/zero >"$DISC/AUTORUN.EXE"
  head -c 8000 /dev/zero >"$DISC/AUTORUN_95.DLL"
  head -c 9000 /dev/zero >"$DISC/AUTORUN_NT.DLL"
  head -c 30000 /dev/zero >"$DISC/INTRO.WAV"
  picture "$DISC/BACK.BMP" two 64 48
  picture "$DISC/STRIP.BMP" bands 40 10
  picture "$DISC/NT.BMP" bands 80 10
  printf '%s' "$2" >"$DISC/AUTORUN.INF"
}
bytes_of() { local total=0 f; for f in "$@"; do total=$((total + $(stat -c %s "$DISC/$f"))); done; echo "$total"; }
grouped() { sed ':a;s/\B[0-9]\{3\}\>/,&/;ta' <<<"$1"; }

begin_case budget-every-system
budget_disc every "[BEGIN]${B}TITLE=Case${B}INTROBITMAP=BACK.BMP${B}INTROSOUND=INTRO.WAV${B}[BUTTON]${B}BUTTON1=PUSHBUTTON,1,1,0,0,NORMAL,NO,STRIP.BMP${B}BUTTON2=PUSHBUTTON,1,40,0,0,NORMAL,NO,STRIP.BMP${B}"
OUT=$("$TOOL" check "$DISC")
# The larger wait library counts where the script reads the same on every Windows; a strip twice named is read once.
total=$(bytes_of AUTORUN.EXE AUTORUN_NT.DLL AUTORUN.INF BACK.BMP STRIP.BMP INTRO.WAV)
says "AUTORUN.INF:1:1: note: before the screen appears on every system, the drive reads $(grouped "$total") bytes"
says "(AUTORUN.EXE 60 KB, AUTORUN_NT.DLL 9 KB, AUTORUN.INF 1 KB, BACK.BMP 10 KB, STRIP.BMP 2 KB, INTRO.WAV 30 KB)"
says "$(awk "BEGIN {printf \"%.2f s at 4x\", $total / 614400}")"
grep -q 'warning:' <<<"$OUT" && fail "a warning within the default budget"$'\n'"$OUT"
OUT=$("$TOOL" check --read-budget 100 "$DISC")
says "warning: on every system the screen appears only after"
says "over the budget of 0.10 s (--read-budget MS); the largest files: AUTORUN.EXE 60 KB, INTRO.WAV 30 KB, BACK.BMP 10 KB"

begin_case budget-per-windows
budget_disc windows "[BEGIN]${B}TITLE=Case${B}INTROBITMAP=BACK.BMP${B}[BUTTON]${B}BUTTON1=PUSHBUTTON,1,1,0,0,NORMAL,NO,STRIP.BMP${B}[BUTTON] [WINNT]${B}BUTTON2=PUSHBUTTON,1,40,0,0,NORMAL,NO,NT.BMP${B}"
OUT=$("$TOOL" check "$DISC")
nt=$(bytes_of AUTORUN.EXE AUTORUN_NT.DLL AUTORUN.INF BACK.BMP STRIP.BMP NT.BMP)
other=$(bytes_of AUTORUN.EXE AUTORUN_95.DLL AUTORUN.INF BACK.BMP STRIP.BMP)
says "Windows NT 4, the drive reads $(grouped "$nt") bytes"
says "the drive reads $(grouped "$other") bytes"
grep -F "$(grouped "$nt") bytes" <<<"$OUT" | grep -q 'later Windows' && fail "later Windows reads the NT library"

begin_case shrink-lossless
DISC=$WORK/lossless
mkdir -p "$DISC/PICS"
picture "$DISC/BACK.BMP" photo 64 48
picture "$DISC/PICS/TWO.BMP" two 64 16
picture "$DISC/BANDS.BMP" bands 64 48
picture "$DISC/STEPS.BMP" steps 640 20
printf '[BEGIN]\r\nTITLE=Case\r\nINTROBITMAP=BACK.BMP\r\n[BUTTON]\r\nBUTTON1=PUSHBUTTON,1,1,0,0,NORMAL,NO,PICS\\TWO.BMP\r\nBUTTON2=PUSHBUTTON,1,1,0,0,NORMAL,NO,BANDS.BMP\r\n[BUTTON] [GER]\r\nBUTTON3=PUSHBUTTON,1,1,0,0,NORMAL,NO,STEPS.BMP\r\n' >"$DISC/AUTORUN.INF"
before=$(sums "$DISC")
OUT=$("$TOOL" shrink "$DISC")
[ "$(sums "$DISC")" = "$before" ] || fail "the folder changed without -o or --in-place"
says "BACK.BMP: left as it is: more than 256 colours"
says "nothing written"
says "read before the screen appears (the most of any system): "
OUT=$("$TOOL" shrink "$DISC" -o "$WORK/lossless-out")
[ "$(sums "$DISC")" = "$before" ] || fail "-o changed the author's folder"
cmp -s "$DISC/BACK.BMP" "$WORK/lossless-out/BACK.BMP" || fail "the photograph was changed"
cmp -s "$DISC/AUTORUN.INF" "$WORK/lossless-out/AUTORUN.INF" || fail "the copy's script differs"
# Each in its smallest form: 1 bit for two colours, 4-bit runs for bands, 8-bit runs for 200 colours.
for expect in "PICS/TWO.BMP 40 1 0 0" "BANDS.BMP 40 4 2 0" "STEPS.BMP 40 8 1 0"; do
  read -r file want <<<"$expect"
  [ "$(header "$WORK/lossless-out/$file")" = "$want" ] || fail "$file: header $(header "$WORK/lossless-out/$file"), want $want"
  [ "$(stat -c %s "$WORK/lossless-out/$file")" -lt "$(stat -c %s "$DISC/$file")" ] || fail "$file is not smaller"
  same_pixels "$DISC/$file" "$WORK/lossless-out/$file" || fail "$file: pixels differ"
done
says "every pixel the same"
OUT=$("$TOOL" shrink "$DISC" -o "$WORK/lossless-out" 2>&1)
[ $? = 2 ] || fail "shrink into a folder that is not empty"

begin_case shrink-colours
for dither in "" --dither; do
  rm -rf "$WORK/colours-out"
  OUT=$("$TOOL" shrink "$DISC" -o "$WORK/colours-out" --colours 16 $dither)
  says "BACK.BMP: 9,270 -> "
  says "error "
  [ "$(header "$WORK/colours-out/BACK.BMP" | cut -d' ' -f1,2)" = "40 4" ] || fail "$dither: the photograph is not 4-bit"
  [ "$(identify -format '%k' "$WORK/colours-out/BACK.BMP")" -le 16 ] || fail "$dither: more than 16 colours"
done

begin_case shrink-in-place
OUT=$("$TOOL" shrink "$DISC" --in-place)
[ "$(header "$DISC/BANDS.BMP")" = "40 4 2 0" ] || fail "BANDS.BMP was not rewritten in place"
same_pixels "$DISC.before-shrink/BANDS.BMP" "$DISC/BANDS.BMP" || fail "in place: pixels differ"
[ "$(header "$DISC.before-shrink/PICS/TWO.BMP" | cut -d' ' -f2)" = 24 ] || fail "no backup of the old picture"
[ ! -e "$DISC.before-shrink/BACK.BMP" ] || fail "a backup of a picture left as it is"
OUT=$("$TOOL" shrink "$DISC" --in-place 2>&1)
[ $? = 2 ] || fail "a second --in-place overwrote the backup"

begin_case shrink-names-a-png
DISC=$WORK/png
mkdir -p "$DISC"
picture "$DISC/STRIP.BMP" bands 40 10
convert "$DISC/STRIP.BMP" "$DISC/BACK.PNG"
printf '[BEGIN]\r\nTITLE=Case\r\nINTROBITMAP=BACK.PNG\r\n[BUTTON]\r\nBUTTON1=PUSHBUTTON,1,1,0,0,NORMAL,NO,STRIP.BMP\r\n' >"$DISC/AUTORUN.INF"
OUT=$("$TOOL" shrink "$DISC")
says "BACK.PNG: left as it is: a PNG picture, which the program cannot show (discscreen picture makes a bitmap of it)"
OUT=$("$TOOL" check "$DISC")
says "picture 'BACK.PNG' cannot be loaded: it is a PNG picture, and the program shows Windows bitmaps only"

cases_end shrink_cases
