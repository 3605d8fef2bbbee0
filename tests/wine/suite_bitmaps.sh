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
save("big.bmp", bmp(100000, 100000, 24, [b"\0" * 64]))
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

# Prints the screen colours at the points (x,y) of the client area of X
# window $1, on one line.
shot_pixels() {
  local id=$1 x y point
  shift
  read -r x y _ < <(window_geometry "$id")
  import -window root "$SUITE_DIR/$CASE_NAME.png"
  for point in "$@"; do
    convert "$SUITE_DIR/$CASE_NAME.png" -format "%[hex:p{$((x + ${point%,*})),$((y + ${point#*,}))}]\n" info: | cut -c1-6
  done | paste -sd ' '
}
# pixels_within SECONDS EXPECTED ID POINTS...: the colours at the points
# once they are the ones expected (the screen has painted), or the last
# ones seen when the time is up.
pixels_within() {
  local end=$((SECONDS + $1)) expected=$2 seen
  shift 2
  while :; do
    seen=$(shot_pixels "$@")
    [ "$seen" = "$expected" ] || [ $SECONDS -ge $end ] && break
    sleep 0.3
  done
  echo "$seen"
}

case_begin background_640x480
cp "$PICS/bg24.bmp" "$DISC/"
screen_script bg24.bmp
start_autorun
if id=$(wait_for_window Bitmaps); then
  facts=$(probe Bitmaps)
  expect_eq "the window is the picture's size" "$(probe_line size "$facts")" "640,480"
  IFS=, read -r l t _ <<<"$(probe_line rect "$facts")"
  IFS=, read -r sw sh <<<"$(probe_line screen "$facts")"
  expect_eq "the screen is centred horizontally" "$l" $(((sw - 640) / 2))
  expect_eq "the screen is centred vertically" "$t" $(((sh - 480) / 2))
  IFS=, read -r cw ch <<<"$(probe_line client "$facts")"
  check "the client area is smaller than the window by the frame" test "$cw" -lt 640 -a "$ch" -lt 480
  expect_eq "the frame is as high as it is wide: no caption" $((480 - ch)) $((640 - cw))
  expected="$RED $RED $BLUE $BLUE $BLUE $BLUE $GREEN"
  expect_eq "the picture fills the client area from its top left" \
    "$(pixels_within 10 "$expected" "$id" 0,0 19,19 20,0 30,5 300,300 $((cw - 1)),$((ch - 41)) 0,$((ch - 1)))" "$expected"
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
    expect_eq "$file: the window is the picture's size" "$(probe_value size Bitmaps)" "320,240"
    IFS=, read -r cw ch <<<"$(probe_value client Bitmaps)"
    expect_eq "$file shows its colours the right way up" \
      "$(pixels_within 10 "$block $base $band $base" "$id" 5,5 30,5 30,$((ch - 5)) 200,100)" "$block $base $band $base"
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
  IFS=, read -r cw ch <<<"$(probe_value client Bitmaps)"
  expect_eq "p8.bmp shows its colours" "$(pixels_within 10 "$RED $GREEN" "$id" 5,5 30,$((ch - 5)))" "$RED $GREEN"
  expect_eq "p8.bmp: the grey ramp runs top to bottom" \
    "$(shot_pixels "$id" 100,30 | cut -c1-2)" "$(convert "$PICS/p8.bmp" -format '%[hex:p{100,30}]' info: | cut -c1-2)"
else
  fail "p8.bmp: no screen"
fi
case_end

# A background that does not load is no background: the screen keeps the
# size it has without one, its buttons and texts work, and it closes.
unloadable_script() {
  write_script "$DISC/AUTORUN.INF" <<INF
[BEGIN]
TITLE=Bitmaps
${1:+INTROBITMAP=$1}
[TEXT]
TEXT1=Close,4,7, , ,60,12
[BUTTON]
BUTTON1=EXITBUTTON,10,10,40,20,NORMAL, , ,1
[END]
INF
}
case_begin unloadable_background
cp "$PICS/truncated.bmp" "$PICS/clrused.bmp" "$PICS/big.bmp" "$DISC/"
unloadable_script ""
start_autorun
plain=""
if wait_for_window Bitmaps >/dev/null; then plain=$(probe_value size Bitmaps); fi
check "a screen without a background has a size" test "${plain%,*}" -gt 100 -a "${plain#*,}" -gt 30
close_with_escape Bitmaps "$AUTORUN_PID"
long="C:\\$(printf 'D%.0s' $(seq 1 300))\\$(printf 'P%.0s' $(seq 1 300)).BMP"
while read -r what picture close; do
  unloadable_script "$picture"
  start_autorun
  if id=$(wait_for_window Bitmaps 20); then
    expect_eq "$what: the screen keeps its size" "$(probe_value size Bitmaps)" "$plain"
    if [ "$close" = escape ]; then
      check "$what: Escape closes the screen" close_with_escape Bitmaps "$AUTORUN_PID"
    else
      read -r x y _ < <(window_geometry "$id")
      TITLE=Bitmaps wait_visible 10
      xdotool mousemove --sync $((x + 21)) $((y + 21))
      xdotool mousemove --sync $((x + 20)) $((y + 20)) click 1
      check "$what: the exit button closes the screen" process_ends_within "$AUTORUN_PID" 10
    fi
  else
    fail "$what: no visible screen"
  fi
  kill "$AUTORUN_PID" 2>/dev/null
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
done <<EOF
damaged truncated.bmp escape
colour-table clrused.bmp button
100000x100000 big.bmp escape
missing NOSUCH.BMP button
long-path $long escape
EOF
case_end

# A 256-colour display: a background and two button strips with colour
# tables of their own. The screen's one palette holds the colours of all
# three (or, when there are too many, the strips' and the background's most
# used ones); after the pictures have been drawn, the system palette holds
# every colour of the strips, and each picture still draws its own colours.
restart_xvfb 8 || exit 1
case_begin palette_display
convert -seed 7 -size 400x300 plasma:green-blue -colors 64 -type palette -compress none \
  BMP3:"$DISC/BACK64.BMP"
convert -seed 7 -size 400x300 plasma:green-blue -colors 250 -type palette -compress none \
  BMP3:"$DISC/BACK250.BMP"
convert -size 240x40 gradient:'#400000-#FF8080' -colors 40 -type palette -compress none \
  BMP3:"$DISC/RED.BMP"
convert -size 240x40 gradient:'#FFFF00-#800080' -colors 40 -type palette -compress none \
  BMP3:"$DISC/YELLOW.BMP"
palette_probe() {
  wine "$WINE_BIN/screen_palette_probe.exe" "$DISC_WIN\\$1.BMP" "$DISC_WIN\\RED.BMP" \
    "$DISC_WIN\\YELLOW.BMP" 5,5 100,30 2>/dev/null | tr -d '\r'
}
# key picture: the number after the picture's name on the line of that key
probe_count() { sed -n "s/^$1=.*$2.BMP,//p" <<<"$3"; }
for background in BACK64 BACK250; do
  out=$(palette_probe $background)
  expect_eq "$background: the display is a palette device" "$(probe_line palettedevice "$out")" 1
  for strip in RED YELLOW; do
    expect_eq "$background: the screen palette holds every colour of $strip" \
      "$(probe_count missing $strip "$out")" 0
    expect_eq "$background: $strip shows all its colours once the screen has drawn" \
      "$(probe_count unrealized $strip "$out")" 0
    for point in 5,5 100,30; do
      expect_eq "$background: $strip draws its own colour at $point" \
        "$(grep "^pixel=.*$strip.BMP,$point," <<<"$out" | cut -d'#' -f2)" \
        "$(convert "$DISC/$strip.BMP" -format "%[hex:p{$point}]" info: | cut -c1-6)"
    done
  done
  [ $background = BACK64 ] && expect_eq "BACK64: the screen palette holds every background colour" \
    "$(probe_count missing BACK64 "$out")" 0
  [ $background = BACK250 ] && expect_eq "BACK250: the screen palette is full" \
    "$(probe_line shared "$out")" 236
done
write_script "$DISC/AUTORUN.INF" <<INF
[BEGIN]
TITLE=Bitmaps
INTROBITMAP=BACK64.BMP
[BUTTON]
BUTTON1=PUSHBUTTON,20,20,0,0,NORMAL,NO,RED.BMP, , , ,X.EXE
BUTTON2=PUSHBUTTON,20,100,0,0,NORMAL,NO,YELLOW.BMP, , , ,X.EXE
[END]
INF
start_autorun
if wait_for_window Bitmaps >/dev/null; then
  expect_eq "on a 256-colour display the screen takes the background's size" \
    "$(probe_value size Bitmaps)" "400,300"
  check "the screen closes" close_with_escape Bitmaps "$AUTORUN_PID"
else
  fail "no screen on a 256-colour display"
fi
case_end

suite_end
