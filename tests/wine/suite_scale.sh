#!/usr/bin/env bash
# The screen at the display's DPI (LogPixels under HKCU\Control Panel\Desktop):
# from Vista on it is drawn one whole factor larger, everything at its scaled
# place; at 96 DPI, and on Windows 95 to XP at any DPI, it keeps the pixels
# it has at 96 DPI. Each case is compared with the 96 DPI case's screen.
source "$(dirname "$0")/lib.sh"
XVFB_SCREEN=1280x1024x24
suite_begin scale

TITLE="Scale Test"
# Frame colours of the strip: normal, pressed, current, disabled.
F0=0000FF F1=FFFF00 F2=00FF00 F3=FF00FF

# The cases: name, LogPixels, Windows version (Wine's Version value, "" for
# the prefix's own, 7), the factor the screen must be drawn at.
CASES=(
  "dpi96 96 '' 1"
  "dpi120 120 '' 1"
  "dpi144 144 '' 2"
  "dpi192 192 '' 2"
  "winxp_dpi192 192 winxp 1"
  "win95_dpi192 192 win95 1"
)

# The background (400 by 300) holds a field of one-pixel squares, which any
# smoothing would turn grey; button 1 has a caption in a font 16 pixels
# high, button 2 one in Arial at the default GUI font's height.
make_disc() {
  make_pictures "#$F0" "#$F1" "#$F2" "#$F3"
  "$CONVERT" -size 400x300 xc:'#404040' \( -size 100x100 pattern:gray50 \) -geometry +250+150 \
    -composite -fill '#C08040' -draw 'point 251,151' BMP3:"$DISC/BACK.BMP"
  write_inf <<'INF'
FONT1=Arial,16
FONT2=Arial
[TEXT]
TEXT1=Install now,4,7, ,1,80,20,150,30
TEXT2=Read me first,4,7, ,2,80,120,160,25
[BUTTON]
BUTTON1=PUSHBUTTON,20,20,0,0,NORMAL,SHOW,STRIP.BMP,1
BUTTON2=PUSHBUTTON,20,120,0,0,NORMAL,SHOW,STRIP.BMP,2
INF
}

shoot() { import -window root "$1"; }
# The client rectangle X Y W H (in 96 DPI units, times factor F) of a shot.
crop() { "$CONVERT" "$1" -crop "$(($5 * F))x$(($6 * F))+$((OX + $3 * F))+$((OY + $4 * F))" +repage "$2"; }
# The same rectangle of the 96 DPI screen, each pixel repeated F times.
crop_96() { "$CONVERT" "$BASE" -crop "$4x$5+$((BASE_X + $2))+$((BASE_Y + $3))" +repage -scale "$((F * 100))%" "$1"; }
differing() { compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1; }
# "W H" of the bright pixels (the white text's strokes) of a picture.
text_box() {
  "$CONVERT" "$1" -colorspace Gray -threshold 60% -trim -format '%w %h' info: 2>/dev/null
}
pixel() { "$CONVERT" "$1" -format "%[hex:p{$((OX + $2)),$((OY + $3))}]" info: | cut -c1-6; }
painted() { shoot "$1" && [ "$(pixel "$1" $((40 * F)) $((35 * F)))" = "$2" ]; }
point_at() {
  xdotool mousemove $((OX + $1 + 1)) $((OY + $2 + 1))
  xdotool mousemove $((OX + $1)) $((OY + $2))
}
# near WHAT GOT WANTED SLACK
near() {
  local what=$1 got=$2 wanted=$3 slack=$4
  if [ "$got" -ge $((wanted - slack)) ] && [ "$got" -le $((wanted + slack)) ]; then
    pass "$what ($got)"
  else
    fail "$what: got $got, expected $wanted +- $slack"
  fi
}

# Same pixels as the 96 DPI screen, each repeated F times: REGION is X Y W H.
expect_scaled_copy() {
  local what=$1 shot=$2
  shift 2
  crop "$shot" "$SUITE_DIR/got.png" "$@"
  crop_96 "$SUITE_DIR/wanted.png" "$@"
  expect_eq "$what" "$(differing "$SUITE_DIR/got.png" "$SUITE_DIR/wanted.png")" 0
}

run_case() {
  local name=$1 dpi=$2 version=$3
  F=$4
  case_begin "$name"
  setup_disc
  make_disc
  wine_reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f
  set_windows_version "$version"
  open_screen || { case_end; return; }
  local shot=$SUITE_DIR/$name.png
  xdotool mousemove 1270 1010
  if ! within 10 painted "$shot" "$F0"; then
    fail "$name: button 1 not drawn at its place"
    case_end
    return
  fi
  expect_eq "$name: window $((400 * F)) by $((300 * F))" "$(probe_value size "$TITLE")" \
    "$((400 * F)),$((300 * F))"

  if [ "$name" = dpi96 ]; then
    BASE=$SUITE_DIR/base.png BASE_X=$OX BASE_Y=$OY
    cp "$shot" "$BASE"
    read -r TEXT1_BOX < <(crop "$shot" "$SUITE_DIR/t.png" 80 20 150 30 && text_box "$SUITE_DIR/t.png")
    read -r TEXT2_BOX < <(crop "$shot" "$SUITE_DIR/t.png" 80 120 160 25 && text_box "$SUITE_DIR/t.png")
    log "   (96 DPI text boxes: $TEXT1_BOX, $TEXT2_BOX)"
  else
    expect_scaled_copy "$name: buttons and background, pixels repeated $F times" "$shot" 0 0 70 290
    expect_scaled_copy "$name: one-pixel squares repeated $F times" "$shot" 240 140 150 150
    local w h w1 h1
    crop "$shot" "$SUITE_DIR/t.png" 80 20 150 30
    if [ "$F" = 1 ]; then
      crop_96 "$SUITE_DIR/wanted.png" 80 20 150 30
      expect_eq "$name: 16-pixel caption as at 96 DPI" \
        "$(differing "$SUITE_DIR/t.png" "$SUITE_DIR/wanted.png")" 0
    else
      read -r w h < <(text_box "$SUITE_DIR/t.png")
      read -r w1 h1 <<<"$TEXT1_BOX"
      near "$name: 16-pixel caption's strokes ${F}x as high" "$h" $((h1 * F)) $((F + 1))
      near "$name: 16-pixel caption's strokes ${F}x as wide" "$w" $((w1 * F)) $((3 * F))
      crop_96 "$SUITE_DIR/wanted.png" 80 20 150 30
      check "$name: caption written in a larger font, not stretched" \
        test "$(differing "$SUITE_DIR/t.png" "$SUITE_DIR/wanted.png")" -gt 0
      crop "$shot" "$SUITE_DIR/t.png" 80 120 160 25
      read -r w h < <(text_box "$SUITE_DIR/t.png")
      read -r w1 h1 <<<"$TEXT2_BOX"
      near "$name: default-height caption's strokes ${F}x as high" "$h" $((h1 * F)) $((F + 1))
    fi
  fi

  # The hit area: the pointer just right of the scaled button changes
  # nothing; at the scaled button's far corner (outside where the button
  # lies at 96 DPI) it highlights button 1.
  point_at $((61 * F + 2)) $((49 * F))
  sleep 0.3
  check "$name: beside the scaled button, button 1 stays normal" painted "$shot" "$F0"
  point_at $((60 * F - 2)) $((50 * F - 2))
  if within 10 painted "$shot" "$F2"; then
    pass "$name: the far corner of the scaled button highlights it"
  else
    fail "$name: the far corner of the scaled button highlights it"
  fi
  close_with_escape "$TITLE" "$AUTORUN_PID" || fail "$name: the screen did not close"
  case_end
}

for row in "${CASES[@]}"; do
  eval "run_case $row"
done

suite_end
