#!/usr/bin/env bash
# The screen at the display's DPI (LogPixels): from Vista on one whole factor
# larger, everything at its scaled place; at 96 DPI, and as Windows 95 to XP
# at any DPI, the 96 DPI screen's pixels.
source "$(dirname "$0")/lib.sh"
XVFB_SCREEN=1280x1024x24
suite_begin scale
TITLE="Scale Test"
# name, LogPixels, Wine's Version value ('' for 7), the factor expected.
CASES=("dpi96 96 '' 1" "dpi120 120 '' 1" "dpi144 144 '' 2" "dpi192 192 '' 2"
  "winxp_dpi192 192 winxp 1" "win95_dpi192 192 win95 1")
SHOT=$SUITE_DIR/shot.png

# Client rectangle X Y W H (96 DPI units) of the shot at factor F; the pixels
# in it that differ from the 96 DPI screen's, each repeated F times.
crop() { "$CONVERT" "$SHOT" -crop "$(($3 * F))x$(($4 * F))+$((OX + $1 * F))+$((OY + $2 * F))" +repage png:-; }
differing() {
  crop "$@" >"$SUITE_DIR/got.png"
  "$CONVERT" "$BASE" -crop "$3x$4+$((BX + $1))+$((BY + $2))" +repage -scale "$((F * 100))%" "$SUITE_DIR/want.png"
  compare -metric AE "$SUITE_DIR/got.png" "$SUITE_DIR/want.png" null: 2>&1 | cut -d' ' -f1
}
# The height of a white text's strokes in a client rectangle.
strokes() { crop "$@" | "$CONVERT" - -colorspace Gray -threshold 60% -trim -format %h info:; }
frame_is() { import -window root "$SHOT" &&
  [ "$("$CONVERT" "$SHOT" -format "%[hex:p{$((OX + 40 * F)),$((OY + 35 * F))}]" info: | cut -c1-6)" = "$1" ]; }
point_at() { xdotool mousemove $((OX + $1 + 1)) $((OY + $2)) mousemove $((OX + $1)) $((OY + $2)); }
near() { [ "$2" -ge $(($3 - F - 1)) ] && [ "$2" -le $(($3 + F + 1)) ] && pass "$1 ($2)" || fail "$1: $2, not $3"; }

run_case() {
  local name=$1 caption
  F=$4
  case_begin "$name"
  setup_disc pictures
  # One-pixel squares, which any smoothing would turn grey.
  "$CONVERT" "$DISC/BACK.BMP" \( -size 100x100 pattern:gray50 \) -geometry +250+150 -composite BMP3:"$DISC/BACK.BMP"
  printf 'FONT1=Arial,16\nFONT2=Arial\n[TEXT]\nTEXT1=Install now,4,7, ,1,80,20,150,30
TEXT2=Read me first,4,7, ,2,80,120,160,25\n[BUTTON]
BUTTON1=PUSHBUTTON,20,20,0,0,NORMAL,SHOW,STRIP.BMP,1\nBUTTON2=PUSHBUTTON,20,120,0,0,NORMAL,SHOW,STRIP.BMP,2\n' | write_inf
  wine_reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$2" /f
  set_windows_version "$3"
  xdotool mousemove 1270 1010
  open_screen && within 10 frame_is 0000FF || { fail "$name: no screen with button 1 at its place"; case_end; return; }
  expect_eq "$name: window" "$(probe_value size "$TITLE")" "$((400 * F)),$((300 * F))"
  if [ "$name" = dpi96 ]; then
    BASE=$SUITE_DIR/base.png BX=$OX BY=$OY
    cp "$SHOT" "$BASE"
    CAPTION=$(strokes 80 20 150 30) STOCK_CAPTION=$(strokes 80 120 160 25)
  else
    expect_eq "$name: buttons and background, pixels repeated" "$(differing 0 0 70 290)" 0
    expect_eq "$name: one-pixel squares repeated" "$(differing 240 140 150 150)" 0
    caption=$(differing 80 20 150 30)
    [ "$F" = 1 ] && expect_eq "$name: caption as at 96 DPI" "$caption" 0
    [ "$F" = 1 ] || check "$name: caption in a larger font, not stretched" test "$caption" -gt 0
    [ "$F" = 1 ] || near "$name: caption ${F}x as high" "$(strokes 80 20 150 30)" $((CAPTION * F))
    [ "$F" = 1 ] || near "$name: default-height caption ${F}x as high" "$(strokes 80 120 160 25)" $((STOCK_CAPTION * F))
  fi
  # The far corner of the scaled button, outside where it lies at 96 DPI.
  point_at $((60 * F - 2)) $((50 * F - 2))
  check "$name: the scaled button's far corner highlights it" within 10 frame_is 00FF00
  close_with_escape "$TITLE" "$AUTORUN_PID" || fail "$name: the screen did not close"
  case_end
}

for row in "${CASES[@]}"; do eval "run_case $row"; done
suite_end
