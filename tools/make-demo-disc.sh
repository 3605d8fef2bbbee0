#!/usr/bin/env bash
# Makes the demo disc's files in OUTDIR: the screen script (demo/AUTORUN.INF
# and anything else in demo/), the background and button pictures, the intro
# and hover sounds, and the documents that the buttons open. The program
# itself is not copied unless DIST names a folder that holds it.
#
#   tools/make-demo-disc.sh OUTDIR
#
# Needs ImageMagick and sox. Every picture is made from the background, so
# that each button's corners match what lies behind it.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=${1:?usage: make-demo-disc.sh OUTDIR}
CONVERT=/usr/bin/convert
[ -x "$CONVERT" ] || CONVERT=convert
BOLD=DejaVu-Sans-Bold
PLAIN=DejaVu-Sans
mkdir -p "$OUT"
cp -r "$ROOT"/demo/. "$OUT"/
if [ -n "${DIST:-}" ] && [ -f "$DIST/AUTORUN.EXE" ]; then
  cp "$DIST"/AUTORUN.EXE "$DIST"/AUTORUN_95.DLL "$DIST"/AUTORUN_NT.DLL "$OUT"/
fi
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# The background: 640 by 480, a dark blue gradient, the title, a rule, the
# help panel on the right and a footer.
"$CONVERT" -size 640x480 gradient:'#14305C'-'#03070F' \
  -fill '#F2F6FC' -font "$BOLD" -pointsize 40 -annotate +40+72 'discscreen' \
  -fill '#8FB8EE' -font "$PLAIN" -pointsize 18 -annotate +44+102 'Demo Disc  -  Version 1.0' \
  -fill '#3A7BD5' -draw 'rectangle 40,118 600,120' \
  -fill '#0E2545' -stroke '#3A7BD5' -strokewidth 1 -draw 'roundrectangle 330,150 600,400 10,10' \
  -stroke none -fill '#8FB8EE' -font "$BOLD" -pointsize 12 -annotate +345+172 'ABOUT THIS ITEM' \
  -fill '#6D7F99' -font "$PLAIN" -pointsize 11 \
  -annotate +40+466 'Copyright 2026 Example Publishing. Move the mouse over an item to learn more.' \
  "$WORK/back.png"
# Every picture is 8-bit with run-length encoded rows (RLE8): a fraction of
# the bytes the drive must read before the screen appears. A picture of at
# most 256 colours keeps every one; the background keeps 236, what a
# 256-colour display can give it (a quantizer tree of depth 7, so that the
# gradient shows no bands), and the text's edges look the same.
palette_bmp() {
  "$CONVERT" "$1" -alpha off +dither -treedepth 7 ${2:+-colors "$2"} -compress RLE -type Palette BMP3:"$3"
}
"$CONVERT" "$WORK/back.png" -type TrueColor BMP3:"$WORK/back.bmp"
palette_bmp "$WORK/back.bmp" 236 "$OUT/BACK.BMP"

# One frame of a button at X,Y of size W by H: the background at that place
# with ImageMagick drawing on top. join_frames makes the strip of four.
frame() {
  local name=$1 i=$2 x=$3 y=$4 w=$5 h=$6
  shift 6
  "$CONVERT" "$WORK/back.png" -crop "${w}x${h}+${x}+${y}" +repage "$@" "$WORK/$name-$i.png"
}
join_frames() {
  "$CONVERT" "$WORK/$1"-{0,1,2,3}.png +append -type TrueColor BMP3:"$WORK/$1.bmp"
  palette_bmp "$WORK/$1.bmp" "" "$OUT/$1.BMP"
}

# Round push buttons, 36 by 36: normal, pressed (darker, one pixel down and
# right), current, disabled.
orb() {
  local name=$1 i=$2 x=$3 y=$4 fill=$5 ring=$6 d=$7
  frame "$name" "$i" "$x" "$y" 36 36 \
    -fill "$ring" -draw "circle $((17 + d)),$((17 + d)) $((17 + d)),$((2 + d))" \
    -fill "$fill" -draw "circle $((17 + d)),$((17 + d)) $((17 + d)),$((5 + d))" \
    -fill '#FFFFFF70' -draw "ellipse $((14 + d)),$((11 + d)) 6,3 0,360"
}
push_strip() {
  orb "$1" 0 "$2" "$3" '#2E6BC4' '#9CC3F5' 0
  orb "$1" 1 "$2" "$3" '#1C4380' '#5E86BE' 1
  orb "$1" 2 "$2" "$3" '#F5A623' '#FFE2A8' 0
  orb "$1" 3 "$2" "$3" '#4A4F57' '#7A808A' 0
  join_frames "$1"
}
# Check boxes, 22 by 22: unchecked, unchecked and current, checked, checked
# and current.
box() {
  local name=$1 i=$2 x=$3 y=$4 edge=$5 tick=$6
  local mark=(-fill none)
  [ "$tick" = 1 ] && mark=(-stroke '#F5A623' -strokewidth 3 -fill none -draw 'polyline 6,11 10,15 16,6')
  frame "$name" "$i" "$x" "$y" 22 22 \
    -fill '#0A1A33' -stroke "$edge" -strokewidth 2 -draw 'roundrectangle 2,2 19,19 3,3' "${mark[@]}"
}
check_strip() {
  box "$1" 0 "$2" "$3" '#6D8FBF' 0
  box "$1" 1 "$2" "$3" '#FFE2A8' 0
  box "$1" 2 "$2" "$3" '#6D8FBF' 1
  box "$1" 3 "$2" "$3" '#FFE2A8' 1
  join_frames "$1"
}
# Wide buttons with their label in the picture: normal, pressed, current,
# disabled.
pill() {
  local name=$1 i=$2 x=$3 y=$4 w=$5 h=$6 label=$7 fill=$8 edge=$9 ink=${10} d=${11}
  frame "$name" "$i" "$x" "$y" "$w" "$h" \
    -fill "$fill" -stroke "$edge" -strokewidth 2 \
    -draw "roundrectangle $((1 + d)),$((1 + d)) $((w - 2 + d)),$((h - 2 + d)) 14,14" \
    -stroke none -fill "$ink" -font "$BOLD" -pointsize 13 -gravity center -annotate "+$d+$d" "$label"
}
pill_strip() {
  local name=$1 x=$2 y=$3 w=$4 h=$5 label=$6
  pill "$name" 0 "$x" "$y" "$w" "$h" "$label" '#2E6BC4' '#9CC3F5' '#FFFFFF' 0
  pill "$name" 1 "$x" "$y" "$w" "$h" "$label" '#1C4380' '#5E86BE' '#D0DCEC' 1
  pill "$name" 2 "$x" "$y" "$w" "$h" "$label" '#F5A623' '#FFE2A8' '#1A1A1A' 0
  pill "$name" 3 "$x" "$y" "$w" "$h" "$label" '#4A4F57' '#7A808A' '#A0A4AA' 0
  join_frames "$name"
}

# Places as in demo/AUTORUN.INF.
push_strip PUSH1 40 146
push_strip PUSH2 40 192
push_strip PUSH3 40 238
check_strip CHECK1 47 300
check_strip CHECK2 47 332
check_strip CHECK3 47 364
pill_strip INSTALL 40 408 150 32 'Install selected'
pill_strip EXIT 500 408 100 32 'Exit'

# Sounds: a rising three-note chime when the screen opens, a short tick on
# hover. 16-bit PCM, which every Windows plays.
for note in 523.25:0.16 659.25:0.16 783.99:0.5; do
  sox -n -r 22050 -b 16 -c 1 "$WORK/note-${note%%:*}.wav" synth "${note##*:}" sine "${note%%:*}" \
    fade h 0.01 "${note##*:}" 0.12 vol 0.5
done
sox "$WORK"/note-523.25.wav "$WORK"/note-659.25.wav "$WORK"/note-783.99.wav "$OUT/INTRO.WAV"
sox -n -r 22050 -b 16 -c 1 "$OUT/HOVER.WAV" synth 0.04 sine 1400 fade h 0 0.04 0.03 vol 0.35

# The documents that the first two buttons open, with CR LF line ends.
doc() {
  mkdir -p "$(dirname "$OUT/$1")"
  sed 's/$/\r/' >"$OUT/$1"
}
doc README.TXT <<'TXT'
discscreen demo disc
====================

This disc shows what an AutoPlay screen made with discscreen looks like.
Everything on the screen comes from AUTORUN.INF beside AUTORUN.EXE: the
background picture, the buttons and their pictures, the texts and sounds.
TXT
doc LICENSE.TXT <<'TXT'
Demo licence

The files on this demo disc may be copied and shown freely.
TXT
# The stand-in installer that the registration button and the check boxes
# start (tools/demo-programs), built with the project's cross compiler.
mkdir -p "$OUT/EXTRAS"
"${DEMO_CXX:-${WIN_TRIPLE:-i686-w64-mingw32}-g++-win32}" -Os -s -static -mwindows -fno-exceptions -fno-rtti \
  -I"$ROOT/src" "$ROOT/tools/demo-programs/demo_setup.cpp" "$ROOT/src/launch/restart_machine_win.cpp" \
  -o "$OUT/EXTRAS/DEMOSETUP.EXE"

echo "make-demo-disc: wrote $OUT"
