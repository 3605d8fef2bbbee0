#!/usr/bin/env bash
# `discscreen picture`: pictures in the formats authors have, made by
# ImageMagick (another decoder than ours), each turned into a bitmap that
# the program's own reader loads (checked as a disc's background), with the
# pixels expected of it; strips joined or made from one frame; and the
# inputs it must refuse.
#
#   tests/tools/picture_cases.sh PATH-TO-discscreen
set -uo pipefail
TOOL=$(realpath "${1:?usage: picture_cases.sh DISCSCREEN}")
source "$(dirname "$0")/cases.sh"

cd "$WORK" || exit 2
convert -size 48x32 xc:'#336699' -fill yellow -draw 'circle 24,16 24,6' -depth 8 few.png
convert few.png -depth 16 deep.png
convert -size 48x32 xc:none -fill red -draw 'circle 24,16 24,6' -depth 8 clear.png
convert -size 120x80 plasma:fractal -blur 0x1 photo.png
convert photo.png -quality 90 photo.jpg
convert -size 50x40 gradient:yellow-cyan -colorspace CMYK print.jpg   # as made for print
convert print.jpg -colorspace sRGB print.png
convert clear.png clear.gif
convert few.png -alpha set -channel A -fx 1 masked.bmp   # 32-bit bit fields, a 124-byte header
convert -size 48x32 xc:'#336699' -fill white -draw 'rectangle 4,4 20,20' -depth 8 other.png
convert clear.png -background white -flatten clear-white.png
convert clear.png -background black -flatten clear-black.png
convert clear.gif -background white -flatten clear-gif.png
echo words >cases.txt
head -c 200 few.png >cut.png
head -c 20 clear.gif >cut.gif
same() { [ "$(compare -metric AE ${3:+-fuzz "$3"} "$1" "$2" null: 2>&1)" = 0 ]; }
bits() { python3 -c "import struct,sys; print(struct.unpack('<H', open(sys.argv[1],'rb').read()[28:30])[0])" "$1"; }
loads() {  # the program's reader takes it as a background
  mkdir -p "$WORK/disc"
  cp "$1" "$WORK/disc/BACK.BMP"
  printf '[BEGIN]\r\nTITLE=Case\r\nINTROBITMAP=BACK.BMP\r\n' >"$WORK/disc/AUTORUN.INF"
  ! "$TOOL" check "$WORK/disc" | grep -q 'bad-picture'
}

# case NAME "ARGUMENTS" BITS SAYS [REFERENCE FUZZ]: the written OUT.BMP has
# BITS bits a pixel, the tool says SAYS, and its pixels are REFERENCE's.
while IFS='|' read -r name arguments want_bits want_says reference fuzz; do
  [ -n "$name" ] || continue
  begin_case "$name"
  rm -f OUT.BMP
  # shellcheck disable=SC2086
  OUT=$("$TOOL" picture $arguments -o OUT.BMP 2>&1) || { fail "status $?: $OUT"; continue; }
  says "$want_says"
  [ "$(bits OUT.BMP)" = "$want_bits" ] || fail "$(bits OUT.BMP) bits a pixel, want $want_bits"
  loads OUT.BMP || fail "the program's reader refuses it"
  if [ -n "$reference" ]; then same OUT.BMP "$reference" "$fuzz" || fail "pixels differ from $reference"; fi
done <<'CASES'
png-few-colours|few.png|4|colours, every pixel exact|few.png|
png-16-bit|deep.png|4|colours, every pixel exact|few.png|1%
png-alpha-on-white|clear.png|4|colours, every pixel exact|clear-white.png|
png-alpha-on-a-matte|clear.png --matte 000000|4|every pixel exact|clear-black.png|
gif-transparent|clear.gif|1|2 colours, every pixel exact|clear-gif.png|
bmp-bit-fields|masked.bmp|4|every pixel exact|few.png|
jpeg-photo-exact|photo.jpg|24|24 bits a pixel|photo.jpg|1%
jpeg-cmyk|print.jpg|8|colours, every pixel exact|print.png|2%
jpeg-photo-reduced|photo.jpg --colours 64 --dither|8|64 colours, dithered||
png-photo-reduced|photo.png --colours 16|4|16 colours, off by||
strip-of-two|few.png other.png|8|four frames of 48x32||
strip-made|few.png --make-states|8|four frames of 48x32||
CASES

begin_case strip-frames
"$TOOL" picture few.png other.png -o STRIP.BMP >/dev/null || fail "no strip"
frame() { convert "$1" -crop "48x32+$((48 * $2))+0" +repage "frame$2.png" && echo "frame$2.png"; }
same "$(frame STRIP.BMP 0)" few.png || fail "frame 0 is not the first picture"
same "$(frame STRIP.BMP 1)" other.png || fail "frame 1 is not the second picture"
"$TOOL" picture few.png --make-states -o MADE.BMP >/dev/null || fail "no made strip"
same "$(frame MADE.BMP 0)" few.png || fail "made: frame 0 changed"
# The disabled frame is grey but for the colour behind the button.
convert MADE.BMP -crop 48x32+144+0 +repage txt:- | awk 'NR > 1 { h = $3; if (h != "#336699" && !(substr(h, 2, 2) == substr(h, 4, 2) && substr(h, 4, 2) == substr(h, 6, 2))) bad++ } END { exit bad > 0 }' \
  || fail "made: the disabled frame is not grey"
[ "$(convert MADE.BMP -crop 48x32+96+0 +repage -format '%[fx:mean>0]' info:)" = 1 ] || fail "made: no highlighted frame"
corner=$(convert MADE.BMP -format '%[pixel:p{0,0}] %[pixel:p{144,0}] %[pixel:p{96,31}]' info:)
[ "$(tr ' ' '\n' <<<"$corner" | sort -u | wc -l)" = 1 ] || fail "made: the colour behind the button changed: $corner"

# Refused, with why, and nothing written.
while IFS='|' read -r name arguments status want_says; do
  [ -n "$name" ] || continue
  begin_case "$name"
  rm -f OUT.BMP
  # shellcheck disable=SC2086
  OUT=$("$TOOL" picture $arguments -o OUT.BMP 2>&1)
  got=$?
  [ "$got" = "$status" ] || fail "status $got, want $status"
  says "$want_says"
  [ ! -e OUT.BMP ] || fail "a picture was written"
done <<'CASES'
frames-of-two-sizes|few.png photo.png|1|the frames differ in size (48x32 and 120x80)
not-a-picture|cases.txt|1|it is no PNG, JPEG, GIF or BMP picture
cut-png|cut.png|1|libpng:
cut-gif|cut.gif|1|giflib:
five-frames|few.png few.png few.png few.png few.png|2|at most four pictures make a strip
dither-alone|photo.png --dither|2|--dither goes with --colours
CASES

cases_end picture_cases
