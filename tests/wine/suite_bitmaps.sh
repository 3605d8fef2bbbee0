#!/usr/bin/env bash
# Pictures: every bit depth loads with its colours, the background sizes and
# fills the screen, top-down files stand the right way up, and malformed
# files give an empty picture without a crash.
source "$(dirname "$0")/lib.sh"
suite_begin bitmaps

RED=E03010
BLUE=2040C0
GREEN=10C040
PICS=$SUITE_DIR/pictures
mkdir -p "$PICS"

# The test pictures: a base colour, a 20 by 20 block at the top left and a
# band along the bottom (the last 40 rows).
scene() { # size base block band file
  convert -size "$1" xc:"#$2" -fill "#$3" -draw 'rectangle 0,0 19,19' -fill "#$4" \
    -draw "rectangle 0,$(( ${1#*x} - 40 )),${1%x*},${1#*x}" -alpha off "${@:6}" "$5"
}
scene 640x480 "$BLUE" "$RED" "$GREEN" BMP3:"$PICS/bg24.bmp" -type truecolor
scene 320x240 "$BLUE" "$RED" "$GREEN" BMP3:"$PICS/p4.bmp" -type palette -compress none
scene 320x240 "$BLUE" "$RED" "$RED" BMP3:"$PICS/p1.bmp" -type palette -compress none
scene 320x240 0000FF FF0000 00FF00 BMP:"$PICS/p16.bmp" -define bmp:subtype=RGB565
# More than 16 colours, so that the file needs 8 bits per pixel.
convert -size 320x240 gradient:'#000000-#ffffff' -fill "#$RED" -draw 'rectangle 0,0 19,19' \
  -fill "#$GREEN" -draw 'rectangle 0,200 319,239' -type palette -compress none \
  BMP3:"$PICS/p8.bmp"
convert -size 320x240 gradient:'#000000-#ffffff' -fill "#$RED" -draw 'rectangle 0,0 19,19' \
  -fill "#$GREEN" -draw 'rectangle 0,200 319,239' -type palette -compress RLE \
  BMP3:"$PICS/rle8.bmp"

# Files ImageMagick does not write: 32 bits, top-down rows, and broken ones.
python3 - "$PICS" "$BLUE" "$RED" "$GREEN" <<'PY'
import struct, sys
out, blue, red, green = sys.argv[1], *[bytes.fromhex(c) for c in sys.argv[2:]]

def bmp(width, height, bits, rows, used=0, table=b"", header=40, sizeimage=None):
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", header, width, height, 1, bits, 0,
                       len(pixels) if sizeimage is None else sizeimage, 0, 0, used, 0)
    info += b"\0" * (header - 40) + table
    return b"BM" + struct.pack("<IHHI", 14 + len(info) + len(pixels), 0, 0,
                               14 + len(info)) + info + pixels

def scene_rows(width, height, bits, top_down):
    # Rows top first: block and base, then base, then the band.
    def px(rgb):
        return bytes([rgb[2], rgb[1], rgb[0]]) + (b"\0" if bits == 32 else b"")
    def row(y):
        if y >= height - 40: line = px(green) * width
        elif y < 20: line = px(red) * 20 + px(blue) * (width - 20)
        else: line = px(blue) * width
        return line + b"\0" * (-len(line) % 4)
    rows = [row(y) for y in range(height)]
    return rows if top_down else rows[::-1]

def save(name, data):
    open(f"{out}/{name}", "wb").write(data)

save("p32.bmp", bmp(320, 240, 32, scene_rows(320, 240, 32, False)))
save("topdown24.bmp", bmp(320, -240, 24, scene_rows(320, 240, 24, True)))
save("topdown32.bmp", bmp(320, -240, 32, scene_rows(320, 240, 32, True)))
good = bmp(640, 480, 24, scene_rows(640, 480, 24, False))
save("truncated.bmp", good[: len(good) // 2])
save("mz.bmp", b"MZ" + good[2:])
save("short.bmp", b"BM" + b"\0" * 11)
# A colour table of 2**32-1 entries, and a table that runs past the end.
table = b"".join(bytes([i, i, i, 0]) for i in range(16))
save("clrused.bmp", bmp(8, 8, 4, [b"\x11" * 4] * 8, used=0xFFFFFFFF, table=table))
save("shorttable.bmp", bmp(8, 8, 8, [], table=table))
long_header = bytearray(bmp(8, 8, 24, [b"\0" * 24] * 8))
long_header[14:18] = struct.pack("<I", 0x7FFFFFF0)
save("header.bmp", bytes(long_header))
save("huge.bmp", bmp(0x7FFFFFFF, 0x7FFFFFFF, 24, [b"\0" * 64]))
save("zero.bmp", bmp(0, 0, 24, [b"\0" * 64]))
save("empty.bmp", b"")
PY

# Picture checks through the screen's own loader (DibBitmap), off screen.
dib_probe() { wine "$WINE_BIN/dib_bitmap_probe.exe" "$@" 2>/dev/null | tr -d '\r'; }
probe_line() { sed -n "s/^$1=//p" <<<"$2" | head -1; }

case_begin loader_colours
cp "$PICS"/*.bmp "$DISC"/
# file  size  palette entries  then pixel checks x,y=colour
while read -r file size entries checks; do
  out=$(dib_probe "$DISC_WIN\\$file" 5,5 30,5 30,225 319,239)
  expect_eq "$file measures $size" "$(probe_line size "$out")" "$size"
  expect_eq "$file has $entries palette entries" "$(probe_line palette "$out")" "$entries"
  expect_eq "$file draws" "$(probe_line drawn "$out")" 1
  for check in $checks; do
    point=${check%=*}
    expect_eq "$file pixel $point" "$(grep "^pixel=$point," <<<"$out" | cut -d'#' -f2)" "${check#*=}"
    expect_eq "$file pixel $point drawn alone from its source point" \
      "$(grep "^single=$point," <<<"$out" | cut -d'#' -f2)" "${check#*=}"
  done
done <<EOF
p1.bmp 320,240 2 5,5=$RED 30,5=$BLUE 30,225=$RED
p4.bmp 320,240 16 5,5=$RED 30,5=$BLUE 30,225=$GREEN 319,239=$GREEN
p8.bmp 320,240 256 5,5=$RED 30,225=$GREEN 319,239=$GREEN
rle8.bmp 320,240 256 5,5=$RED 30,225=$GREEN 319,239=$GREEN
p16.bmp 320,240 0 5,5=FF0000 30,5=0000FF 30,225=00FF00
bg24.bmp 640,480 0 5,5=$RED 30,5=$BLUE 30,225=$BLUE
p32.bmp 320,240 0 5,5=$RED 30,5=$BLUE 30,225=$GREEN 319,239=$GREEN
topdown24.bmp 320,240 0 5,5=$RED 30,5=$BLUE 30,225=$GREEN 319,239=$GREEN
topdown32.bmp 320,240 0 5,5=$RED 30,5=$BLUE 30,225=$GREEN
EOF
out=$(dib_probe "$DISC_WIN\\p8.bmp")
expect_eq "an 8-bit palette's first entry is the file's first colour" "$(probe_line entry "$out")" \
  "#$(python3 -c "import sys;d=open(sys.argv[1],'rb').read();print('%02X%02X%02X'%(d[56],d[55],d[54]))" "$PICS/p8.bmp")"
for file in truncated mz short clrused shorttable header huge zero empty missing; do
  out=$(dib_probe "$DISC_WIN\\$file.bmp" 0,0)
  expect_eq "$file.bmp gives an empty picture" "$(probe_line size "$out")/$(probe_line palette "$out")" "0,0/0"
  expect_eq "$file.bmp draws nothing" "$(probe_line drawn "$out")" 0
done
case_end

# The screen with a background picture.
screen_script() {
  write_script "$DISC/AUTORUN.INF" <<INF
[BEGIN]
TITLE=Bitmaps
INTROBITMAP= $1
[END]
INF
}

# Prints the screen colour at (x, y) of the client area of X window $1.
shot_pixels() {
  local id=$1 X Y WIDTH HEIGHT SCREEN WINDOW
  shift
  eval "$(xdotool getwindowgeometry --shell "$id")"
  import -window root "$SUITE_DIR/$CASE_NAME.png"
  local point
  for point in "$@"; do
    convert "$SUITE_DIR/$CASE_NAME.png" -format "%[hex:p{$((X + ${point%,*})),$((Y + ${point#*,}))}]\n" info: | cut -c1-6
  done
}

case_begin background_640x480
cp "$PICS/bg24.bmp" "$DISC/"
screen_script bg24.bmp
start_autorun
if id=$(wait_for_window Bitmaps); then
  sleep 1
  eval "$(probe Bitmaps | grep -E '^(rect|size|screen|client)=' | sed 's/=\(.*\)/="\1"/')"
  expect_eq "the window is the picture's size" "$size" "640,480"
  IFS=, read -r l t r b <<<"$rect"
  IFS=, read -r sw sh <<<"$screen"
  expect_eq "the screen is centred horizontally" "$l" $(((sw - 640) / 2))
  expect_eq "the screen is centred vertically" "$t" $(((sh - 480) / 2))
  IFS=, read -r cw ch <<<"$client"
  check "the client area is smaller than the window by the frame" test "$cw" -lt 640 -a "$ch" -lt 480
  expect_eq "the frame is as high as it is wide: no caption" $((480 - ch)) $((640 - cw))
  colours=$(shot_pixels "$id" 0,0 19,19 20,0 30,5 300,300 $((cw - 1)),$((ch - 41)) 0,$((ch - 1)))
  expect_eq "the picture fills the client area from its top left" "$(echo $colours)" \
    "$RED $RED $BLUE $BLUE $BLUE $BLUE $GREEN"
else
  fail "no screen"
fi
case_end

# Each picture as the background: the colours at the top left, in the base
# and in the band along the bottom (which the frame cuts by its height).
while read -r name file base block band; do
  case_begin "screen_$name"
  cp "$PICS/$file" "$DISC/"
  screen_script "$file"
  start_autorun
  if id=$(wait_for_window Bitmaps); then
    sleep 1
    expect_eq "$file: the window is the picture's size" "$(probe_value size Bitmaps)" "320,240"
    IFS=, read -r cw ch <<<"$(probe_value client Bitmaps)"
    colours=$(shot_pixels "$id" 5,5 30,5 30,$((ch - 5)) 200,100)
    expect_eq "$file shows its colours the right way up" "$(echo $colours)" "$block $base $band $base"
  else
    fail "$file: no screen"
  fi
  case_end
done <<EOF
1bit p1.bmp $BLUE $RED $RED
4bit p4.bmp $BLUE $RED $GREEN
16bit p16.bmp 0000FF FF0000 00FF00
32bit p32.bmp $BLUE $RED $GREEN
topdown topdown24.bmp $BLUE $RED $GREEN
EOF

case_begin screen_8bit
cp "$PICS/p8.bmp" "$DISC/"
screen_script p8.bmp
start_autorun
if id=$(wait_for_window Bitmaps); then
  sleep 1
  IFS=, read -r cw ch <<<"$(probe_value client Bitmaps)"
  colours=$(shot_pixels "$id" 5,5 30,$((ch - 5)))
  expect_eq "p8.bmp shows its colours" "$(echo $colours)" "$RED $GREEN"
  expect_eq "p8.bmp: the grey ramp runs top to bottom" \
    "$(shot_pixels "$id" 100,30 | cut -c1-2)" "$(convert "$PICS/p8.bmp" -format '%[hex:p{100,30}]' info: | cut -c1-2)"
else
  fail "p8.bmp: no screen"
fi
case_end

case_begin malformed_background
for file in truncated.bmp clrused.bmp; do
  cp "$PICS/$file" "$DISC/"
  screen_script "$file"
  start_autorun
  found=""
  for _ in $(seq 1 40); do
    found=$(probe_value found Bitmaps)
    [ "$found" = 1 ] && break
    sleep 0.3
  done
  expect_eq "$file: the screen comes up" "$found" 1
  sleep 1
  expect_eq "$file: the screen is 0 by 0" "$(probe_value size Bitmaps)" "0,0"
  check "$file: the program is still running" kill -0 "$AUTORUN_PID"
  kill "$AUTORUN_PID" 2>/dev/null
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
done
case_end

suite_end
