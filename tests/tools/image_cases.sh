#!/usr/bin/env bash
# `discscreen image` on small discs: a script with errors is refused and no
# image is written; names the image cannot hold and missing files are
# warned about and the image is made; the volume label; the whole [autorun]
# section (and an icon) added to the image's copy only, never to a script
# that has one, and checked clean. The images are read back with xorriso.
#
#   tests/tools/image_cases.sh PATH-TO-discscreen
set -uo pipefail
TOOL=${1:?usage: image_cases.sh DISCSCREEN}
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
source "$(dirname "$0")/cases.sh"

# A disc with the program's files and a background, BACK.BMP (a 4-bit
# picture built byte by byte), and SCRIPT.
disc() {  # NAME SCRIPT
  DISC=$WORK/$1
  mkdir -p "$DISC"
  python3 -c "import struct,sys; w,h=8,8; bits=bytes(4*h); info=struct.pack('<IiiHHIIiiII',40,w,h,1,4,0,len(bits),0,0,0,0)+bytes(64); sys.stdout.buffer.write(b'BM'+struct.pack('<IHHI',14+len(info)+len(bits),0,0,14+len(info))+info+bits)" >"$DISC/BACK.BMP"
  printf '%s' "$2" >"$DISC/AUTORUN.INF"
  : >"$DISC/AUTORUN.EXE"
  : >"$DISC/AUTORUN_95.DLL"
  : >"$DISC/AUTORUN_NT.DLL"
}
image() {  # NAME ARGS...: runs the tool; OUT, STATUS, IMAGE
  IMAGE=$WORK/$1.iso
  shift
  OUT=$("$TOOL" image "$DISC" -o "$IMAGE" "$@" 2>&1)
  STATUS=$?
}
in_image() {  # TREE PATH: the file's bytes as read from the image's TREE
  xorriso -read_fs "$1" -osirrox on -indev "$IMAGE" -extract "$2" "$WORK/extracted" >/dev/null 2>&1
  cat "$WORK/extracted"
  chmod u+w "$WORK/extracted" 2>/dev/null
  rm -f "$WORK/extracted"
}
names_in() { xorriso -read_fs "$1" -indev "$IMAGE" -ls / 2>/dev/null | tr -d "'"; }

begin_case refused
disc refused "[BEGIN]${B}TITLE=Case${B}INTROBITMAP=BACK.BMP${B}[BUTONS]${B}"
image refused
[ "$STATUS" = 1 ] || fail "status $STATUS (want 1)"
says "AUTORUN.INF:4:1: error: unknown section [BUTONS] is ignored; did you mean [BUTTON]?"
says "no image made: the script has 1 error"
[ ! -e "$IMAGE" ] || fail "an image was written"

begin_case warnings
disc warnings "[BEGIN]${B}TITLE=Ünïcode Demo: version 2.0 of the long-titled disc${B}INTROBITMAP=BACK.BMP${B}[BUTTON]${B}BUTTON1=PUSHBUTTON,1,1,0,0,NORMAL,NO,NOPE.BMP, , , ,SETUP.EXE /q${B}"
rm "$DISC/AUTORUN_NT.DLL"
: >"$DISC/Read Me First.txt"
: >"$DISC/what?.txt"
: >"$DISC/notes.txt"
: >"$DISC/NOTES.TXT"
image warnings
[ "$STATUS" = 0 ] || fail "status $STATUS (want 0)"$'\n'"$OUT"
says "AUTORUN.INF:5:38: warning: picture 'NOPE.BMP' is not on the disc"
says "AUTORUN.INF:5:53: warning: command 'SETUP.EXE /q' starts no file on the disc"
says "AUTORUN_NT.DLL is not in the folder"
says "/Read Me First.txt: not an ISO 9660 level 2 name"
grep -q AUTORUN_95.DLL <<<"$OUT" && fail "a warning about the program's own library"
says "/what?.txt: Joliet names cannot hold '?'"
says "/notes.txt: differs from /NOTES.TXT only in letter case"
says "volume label N_CODE_DEMO_VERSION_2_0_OF_THE_L"
says "added [autorun] open=AUTORUN.EXE"
[ "$(xorriso -indev "$IMAGE" -pvd_info 2>/dev/null | sed -n 's/^Volume Id *: //p')" = N_CODE_DEMO_VERSION_2_0_OF_THE_L ] ||
  fail "the image's volume id"
names_in norock | grep -qx 'Read Me First.txt' || fail "no Joliet name 'Read Me First.txt'"
names_in ecma119 | grep -qx 'READ_ME_FIRST.TXT' || fail "no level 2 name 'READ_ME_FIRST.TXT'"
expected=$(printf '[autorun]\r\nopen=AUTORUN.EXE\r\nicon=AUTORUN.ICO\r\nlabel=Unicode Demo: version 2.0 of the\r\naction=Unicode Demo: version 2.0 of the long-titled disc\r\n\r\n'; cat "$DISC/AUTORUN.INF")
[ "$(in_image any /AUTORUN.INF)" = "$expected" ] || fail "the image's script is not the section and the folder's script"
head -c 9 "$DISC/AUTORUN.INF" | grep -q '^\[BEGIN\]' || fail "the folder's own script was changed"

begin_case own-autorun
disc own-autorun "[autorun]${B}open=SETUP.EXE${B}[BEGIN]${B}TITLE=Case${B}INTROBITMAP=BACK.BMP${B}"
image own-autorun --label "my disc"
[ "$STATUS" = 0 ] || fail "status $STATUS (want 0)"$'\n'"$OUT"
says "AUTORUN.INF:2:6: warning: open= starts 'SETUP.EXE', which is not on the disc"
says "volume label MY_DISC (from --label"
grep -qF "added [autorun]" <<<"$OUT" && fail "a second [autorun] section was added"
[ "$(in_image any /AUTORUN.INF)" = "$(cat "$DISC/AUTORUN.INF")" ] || fail "the image's script differs from the folder's"

begin_case shrink
disc shrink "[BEGIN]${B}TITLE=Case${B}INTROBITMAP=BACK.BMP${B}"
# A 24-bit background of three colours in stripes.
python3 -c "import struct,sys; w,h=40,30; row=lambda y: bytes(v for x in range(w) for v in [(9,9,200),(250,250,250),(0,90,0)][(x+y)//5%3]); bits=b''.join(row(y) for y in range(h)); info=struct.pack('<IiiHHIIiiII',40,w,h,1,24,0,len(bits),0,0,0,0); sys.stdout.buffer.write(b'BM'+struct.pack('<IHHI',14+len(info)+len(bits),0,0,14+len(info))+info+bits)" >"$DISC/BACK.BMP"
cp "$DISC/BACK.BMP" "$WORK/back-before.bmp"
image shrink --shrink
[ "$STATUS" = 0 ] || fail "status $STATUS (want 0)"$'\n'"$OUT"
in_image any /BACK.BMP >"$WORK/back-image.bmp"
[ "$(stat -c %s "$WORK/back-image.bmp")" -lt "$(stat -c %s "$DISC/BACK.BMP")" ] || fail "the image's picture is not smaller"
[ "$(compare -metric AE "$DISC/BACK.BMP" "$WORK/back-image.bmp" null: 2>&1)" = 0 ] || fail "the image's picture shows other pixels"
cmp -s "$DISC/BACK.BMP" "$WORK/back-before.bmp" || fail "the folder's picture was changed"

# Signed with a certificate made here: the image's program and libraries
# verify, still pass the binary checks, and the folder's stay unsigned.
begin_case signed
if [ -f "$ROOT/dist/AUTORUN.EXE" ]; then
  disc signed "[BEGIN]${B}TITLE=Case${B}INTROBITMAP=BACK.BMP${B}"
  cp "$ROOT"/dist/AUTORUN.EXE "$ROOT"/dist/AUTORUN_95.DLL "$ROOT"/dist/AUTORUN_NT.DLL "$DISC"/
  openssl req -x509 -newkey rsa:2048 -nodes -keyout "$WORK/key.pem" -out "$WORK/cert.pem" -days 2 \
    -subj "/CN=discscreen test publisher" >/dev/null 2>&1
  image signed --sign "$WORK/cert.pem" "$WORK/key.pem"
  [ "$STATUS" = 0 ] || fail "status $STATUS (want 0)"$'\n'"$OUT"
  mkdir -p "$WORK/signed-files"
  for file in AUTORUN.EXE AUTORUN_95.DLL AUTORUN_NT.DLL; do
    in_image any "/$file" >"$WORK/signed-files/$file"
    osslsigncode verify -CAfile "$WORK/cert.pem" -in "$WORK/signed-files/$file" >"$WORK/verify.log" 2>&1 ||
      fail "$file does not verify"$'\n'"$(cat "$WORK/verify.log")"
    osslsigncode verify -CAfile "$WORK/cert.pem" -in "$DISC/$file" >/dev/null 2>&1 && fail "the folder's $file was signed"
  done
  "$ROOT/tools/check-binaries.sh" "$WORK/signed-files" >"$WORK/binaries.log" 2>&1 ||
    fail "the signed files fail the binary checks"$'\n'"$(cat "$WORK/binaries.log")"
  # A key that is not the certificate's: no image.
  openssl genrsa -out "$WORK/other.pem" 2048 >/dev/null 2>&1
  image wrong-key --sign "$WORK/cert.pem" "$WORK/other.pem"
  [ "$STATUS" = 2 ] || fail "status $STATUS with a key that is not the certificate's (want 2)"
  [ ! -e "$IMAGE" ] || fail "an image was made with a failed signature"
else
  fail "no dist/AUTORUN.EXE to sign (make dist builds it)"
fi

# The section added to a disc with a real program checks with no error or
# warning as the image holds it; the icon is made from the background unless
# the author gives AUTORUN.ICO, which is kept.
for given in "" AUTORUN.ICO; do
  begin_case "whole-section${given:+-given-icon}"
  disc whole "[BEGIN]${B}TITLE=Whole${B}INTROBITMAP=BACK.BMP${B}"
  python3 "$(dirname "$0")/make_pe.py" "$DISC/AUTORUN.EXE"
  # The author's: the icon made the first time, with another first colour.
  [ -z "$given" ] || python3 -c "import sys; b=bytearray(open(sys.argv[1],'rb').read()); b[78]^=0xFF; open(sys.argv[2],'wb').write(b)" "$WORK/made.ico" "$DISC/$given"
  image whole
  [ "$STATUS" = 0 ] || fail "status $STATUS (want 0)"$'\n'"$OUT"
  rm -rf "$WORK/tree" && mkdir "$WORK/tree"
  xorriso -osirrox on -indev "$IMAGE" -extract / "$WORK/tree" >/dev/null 2>&1
  chmod -R u+w "$WORK/tree"
  OUT=$("$TOOL" check "$WORK/tree")
  grep -E ': (error|warning): .*\[autorun-' <<<"$OUT" && fail "the image's section has findings"
  if [ -z "$given" ]; then
    [ ! -e "$DISC/AUTORUN.ICO" ] || fail "an icon was put in the folder"
    says "AUTORUN.INF"  # the check ran
    [ "$(head -c 4 "$WORK/tree/AUTORUN.ICO" | od -An -tx1 | tr -d ' ')" = 00000100 ] || fail "no icon in the image"
    cp "$WORK/tree/AUTORUN.ICO" "$WORK/made.ico"
  else
    cmp -s "$DISC/$given" "$WORK/tree/$given" || fail "the author's icon was replaced"
  fi
done

# Windows' INI reader does not skip a byte-order mark: the image's copy has
# [autorun] at the start of a line of its own, whether added or the
# script's own.
M=$'\xEF\xBB\xBF'
for own in "" "[autorun]${B}open=AUTORUN.EXE${B}"; do
  begin_case "marked${own:+-own}"
  disc marked "${M}${own}[BEGIN]${B}TITLE=Case${B}INTROBITMAP=BACK.BMP${B}"
  image marked
  [ "$STATUS" = 0 ] || fail "status $STATUS (want 0)"$'\n'"$OUT"
  expected=$(printf '%s\r\n' "$M"; [ -n "$own" ] || printf '[autorun]\r\nopen=AUTORUN.EXE\r\nicon=AUTORUN.ICO\r\nlabel=Case\r\naction=Case\r\n\r\n'; tail -c +4 "$DISC/AUTORUN.INF")
  [ "$(in_image any /AUTORUN.INF)" = "$expected" ] || fail "the image's script has no [autorun] line of its own"
done

cases_end image_cases
