#!/usr/bin/env bash
# The screen as a user sees it: button frames following the pointer, the
# left button and the keyboard; captions and extra texts changing colour;
# check boxes; the exit button; Tab; the launch notice.
source "$(dirname "$0")/lib.sh"
suite_begin screen

SHOT=$SUITE_DIR/shot.png

# Frame colours of the test strip, as RRGGBB: normal, pressed, current,
# disabled. The background is dark grey.
F0=0000FF F1=FFFF00 F2=00FF00 F3=FF00FF BACK=404040

pictures() { make_pictures "#$F0" "#$F1" "#$F2" "#$F3"; }

# Client origin of the screen (the X window covers the client area only).
screen_origin() { read -r OX OY _ < <(window_geometry "$1"); }

repaint_screen() { wine "$WINE_BIN/repaint.exe" "Screen Test" 2>/dev/null; }
# The screen draws after the events that change it: a check looks at the
# last shot and, while it does not hold, at new shots for up to 10 s.
shoot() { import -window root "$SHOT"; }
eventually() {
  local end=$((SECONDS + 10))
  until "$@"; do
    [ $SECONDS -lt $end ] || return 1
    sleep 0.2
    shoot
  done
}
# Colour of one client pixel in the last shot, as RRGGBB.
pixel() { "$CONVERT" "$SHOT" -format "%[hex:p{$((OX + $1)),$((OY + $2))}]" info: | cut -c1-6; }
# How many pixels of a client rectangle in the last shot have one colour.
count_colour() {
  local x=$1 y=$2 w=$3 h=$4 colour=$5
  "$CONVERT" "$SHOT" -crop "${w}x${h}+$((OX + x))+$((OY + y))" +repage -format %c histogram:info:- |
    awk -v c="#$colour" 'toupper($0) ~ toupper(c) { n += $1 + 0 } END { print n + 0 }'
}
# Moves the pointer onto a client point. Moving to where it already is gives
# no mouse message, so come from one pixel beside it.
point_at() {
  xdotool mousemove $((OX + $1 + 1)) $((OY + $2 + 1))
  xdotool mousemove $((OX + $1)) $((OY + $2))
}
pixel_is() { [ "$(pixel "$1" "$2")" = "$3" ]; }
some() { [ "$(count_colour "$@")" -gt 0 ]; }
count_is() { [ "$(count_colour "${@:1:5}")" = "$6" ]; }
# expect_pixel WHAT X Y COLOUR; expect_some / expect_none WHAT X Y W H COLOUR:
# a client pixel, or some (no) pixels of a colour in a client rectangle;
# expect_count WHAT X Y W H COLOUR N: exactly N of them.
expect_pixel() {
  if eventually pixel_is "${@:2}"; then pass "$1"; else fail "$1: got $(pixel "$2" "$3"), expected $4"; fi
}
expect_some() {
  if eventually some "${@:2}"; then pass "$1"; else fail "$1: no #$6 in $2,$3 ${4}x$5"; fi
}
expect_none() {
  if eventually count_is "${@:2}" 0; then pass "$1"; else fail "$1: $(count_colour "${@:2}") px of #$6 in $2,$3 ${4}x$5"; fi
}
expect_count() {
  if eventually count_is "${@:2}"; then pass "$1"; else fail "$1: $(count_colour "${@:2:5}") px, expected $7"; fi
}

# Buttons 40x30 at x=20. Texts: 1 the caption of button 1 (white, red while
# highlighted); 2 a HIDE caption of button 2; 3 the caption of the disabled
# button 3; 6 and 7 HELP texts of buttons 1 and 2 in one rectangle on black.
write_buttons_script() {
  write_script "$DISC/AUTORUN.INF" <<'INF'
[BEGIN]
TITLE=Screen Test
INTROBITMAP=BACK.BMP
[TEXT]
TEXT1=Install now,4,7, ,0,80,20,150,30
TEXT2=Hidden note,4,HIDE, ,0,80,70,150,30
TEXT3=Not yet,4,7, ,0,80,120,150,30
TEXT6=First help text,6,HELP,0,0,200,240,180,30
TEXT7=Second help text,3,HELP,0,0,200,240,180,30
[BUTTON]
BUTTON1=PUSHBUTTON,20,20,0,0,NORMAL,SHOW,STRIP.BMP,1
BUTTON2=PUSHBUTTON,20,70,0,0,NORMAL,SHOW,STRIP.BMP,2
BUTTON3=PUSHBUTTON,20,120,0,0,DISABLE,SHOW,STRIP.BMP,3
BUTTON4=CHECKBOX,20,170,0,0,UNCHECK,NO,STRIP.BMP
BUTTON5=EXITBUTTON,20,220,0,0,NORMAL,NO,STRIP.BMP
[EXTRATEXT]
BUTTON1=6
BUTTON2=7
[END]
INF
}

start_screen() {
  pictures
  write_buttons_script
  start_autorun
  if ! SCREEN_ID=$(wait_for_window "Screen Test"); then
    fail "no window titled 'Screen Test'"
    return 1
  fi
  screen_origin "$SCREEN_ID"
  # Park the pointer on the background, away from every button.
  xdotool mousemove $((OX + 300)) $((OY + 10))
  shoot
}

# The frames and texts of each state as drawn are the drawing test's (case
# drawing); here the pointer, the buttons and the repaints move between them.
case_begin frames_and_texts
if start_screen; then
  point_at 40 35
  shoot
  expect_pixel "pointer on button 1: frame 2" 40 35 $F2
  expect_some "caption 1 turns red" 80 20 150 30 FF0000
  expect_none "caption 1 has no white while highlighted" 80 20 150 30 FFFFFF
  expect_some "help text 1 on black" 200 240 180 30 000000
  expect_some "help text 1 in yellow" 200 240 180 30 FFFF00

  point_at 40 85
  shoot
  expect_pixel "pointer on button 2: frame 2" 40 85 $F2
  expect_pixel "button 1 back to frame 0" 40 35 $F0
  expect_some "caption 1 white again" 80 20 150 30 FFFFFF
  expect_none "caption 1 no longer red" 80 20 150 30 FF0000
  expect_some "HIDE caption shows while highlighted" 80 70 150 30 FF0000
  expect_some "help text 2 replaces help text 1" 200 240 180 30 00FFFF
  expect_none "help text 1 is gone" 200 240 180 30 FFFF00

  point_at 40 135
  shoot
  expect_some "disabled button's caption highlights" 80 120 150 30 FF0000
  expect_pixel "disabled button still frame 3 when current" 40 135 $F3
  expect_none "HIDE caption wiped after leaving" 80 70 150 30 FF0000
  expect_count "HIDE caption area back to the background" 80 70 150 30 $BACK 4500
  expect_some "the last help text stays" 200 240 180 30 00FFFF
  expect_pixel "button 2 back to frame 0" 40 85 $F0

  point_at 300 10
  # Nothing shows that the pointer has left: it is given a moment.
  sleep 0.5
  shoot
  expect_pixel "leaving a button changes nothing" 40 135 $F3
  expect_some "leaving keeps the disabled caption red" 80 120 150 30 FF0000

  # A full repaint: frames from the state, the focus button highlighted
  # with its texts, the help area back to the background.
  point_at 40 185
  repaint_screen
  shoot
  expect_count "a repaint clears the help area" 200 240 180 30 $BACK 5400
  expect_pixel "after a repaint the focus button is highlighted" 40 185 $F1
  expect_pixel "after a repaint other buttons are normal" 40 35 $F0
  expect_some "after a repaint captions show their normal colour" 80 20 150 30 FFFFFF

  point_at 40 35
  xdotool mousedown 1
  shoot
  expect_pixel "left button held on button 1: frame 1" 40 35 $F1
  xdotool mousemove $((OX + 300)) $((OY + 10))
  repaint_screen
  shoot
  expect_pixel "a redraw while held outside the button shows frame 0" 40 35 $F0
  xdotool mouseup 1
  expect_some "button 1's help text came back with the repaint" 200 240 180 30 FFFF00
  point_at 46 41
  xdotool click 1
  shoot
  expect_pixel "released on the button: drawn current again" 40 35 $F2
  # Drawn after the release elsewhere, which has been handled by now.
  check "released elsewhere: no activation" kill -0 "$AUTORUN_PID"
fi
case_end

case_begin check_box
if start_screen; then
  point_at 40 185
  shoot
  expect_pixel "check box current and unchecked: frame 1" 40 185 $F1
  xdotool click 1
  shoot
  expect_pixel "click checks it: frame 3" 40 185 $F3
  # Each click lands a few pixels from the one before: two clicks on one
  # spot within the double-click time are a double click.
  point_at 46 191
  xdotool click 1
  shoot
  expect_pixel "second click unchecks it: frame 1" 40 185 $F1
  point_at 40 185
  xdotool click 1
  point_at 40 35
  shoot
  expect_pixel "checked and no longer current: frame 2" 40 185 $F2
  point_at 40 185
  xdotool key space
  shoot
  expect_pixel "Space unchecks it: frame 1" 40 185 $F1
  xdotool key space
  shoot
  expect_pixel "Space checks it again: frame 3" 40 185 $F3
  xdotool key Return
  shoot
  expect_pixel "Enter toggles it too: frame 1" 40 185 $F1
  check "Enter does not close the screen" kill -0 "$AUTORUN_PID"
fi
case_end

case_begin keyboard_and_exit
if start_screen; then
  point_at 40 35
  shoot
  expect_pixel "button 1 current" 40 35 $F2
  xdotool key Tab
  shoot
  expect_pixel "Tab: button 1 back to frame 0" 40 35 $F0
  expect_pixel "Tab: button 2 current" 40 85 $F2
  xdotool key Tab
  shoot
  expect_pixel "Tab: on to the disabled button 3" 40 135 $F3
  expect_some "Tab: button 3's caption highlights" 80 120 150 30 FF0000
  xdotool key Tab
  shoot
  expect_pixel "Tab: on to the check box" 40 185 $F1
  xdotool key shift+Tab
  shoot
  expect_pixel "Shift+Tab: the check box is left" 40 185 $F0
  expect_some "Shift+Tab: back to button 3" 80 120 150 30 FF0000
  # Tab after Enter: once the check box is current, Enter has been handled.
  xdotool key Return Tab
  shoot
  expect_pixel "Tab after Enter: on to the check box" 40 185 $F1
  check "Enter on the disabled button does nothing" kill -0 "$AUTORUN_PID"
  point_at 40 235
  xdotool click 1
  check "the exit button closes the screen" process_ends_within "$AUTORUN_PID" 10
fi
case_end

case_begin exit_by_keyboard
if start_screen; then
  point_at 40 235
  xdotool key Return
  check "Enter on the exit button closes the screen" process_ends_within "$AUTORUN_PID" 10
fi
case_end

case_begin sounds
# PlaySoundA reports every request on Wine's winmm trace channel: a request
# to play names its file, a stop has a null sound.
pictures
for name in INTRO HOVER1 HOVER2; do
  sox -n -r 8000 -b 16 -c 1 "$DISC/$name.WAV" synth 0.2 sine 440 2>/dev/null
done
write_script "$DISC/AUTORUN.INF" <<'INF'
[BEGIN]
TITLE=Screen Test
INTROBITMAP=BACK.BMP
INTROSOUND=intro.wav, 8
[BUTTON]
BUTTON1=PUSHBUTTON,20,20,0,0,NORMAL,SHOW,STRIP.BMP, , ,HOVER1.WAV
BUTTON2=PUSHBUTTON,20,70,0,0,NORMAL,SHOW,STRIP.BMP, , ,HOVER2.WAV
BUTTON5=EXITBUTTON,20,220,0,0,NORMAL,NO,STRIP.BMP, , ,HOVER1.WAV
[END]
INF
WINEDEBUG=trace+winmm start_autorun
now_ms() { date +%s%3N; }
plays() { grep -a -c -F "SoundName=L\"C:\\\\DISC\\\\$1\"" "$SUITE_DIR/$CASE_NAME.log"; }
plays_is() { [ "$(plays "$1")" = "$2" ]; }
# A null sound name: Wine's trace prints a pointer in 8 or 16 digits.
stops() { grep -a -c -E "MULTIMEDIA_PlaySound pszSound='0{8}(0{8})?'" "$SUITE_DIR/$CASE_NAME.log"; }
stops_are() { [ "$(stops)" = "$1" ]; }
# The lock is timed from the intro's request, seen in the trace as it is made.
check "the intro sound plays, found beside the program" within 20 plays_is INTRO.WAV 1
intro_ms=$(now_ms)
if SCREEN_ID=$(wait_for_window "Screen Test"); then
  screen_origin "$SCREEN_ID"
  point_at 40 35
  sleep 0.3
  point_at 40 85
  hovered_after=$(($(now_ms) - intro_ms))
  if [ "$hovered_after" -ge 6000 ]; then
    fail "the screen appeared $hovered_after ms after the intro, too near the end of its 8 s lock to test it"
  fi
  # An interval on purpose: until the lock has ended. It is counted in whole
  # seconds of the clock, so 8 s last up to 9.
  sleep "$(awk "BEGIN {t = ($intro_ms + 10000 - $(now_ms)) / 1000; print (t > 0 ? t : 0)}")"
  point_at 40 35
  # Input paced, so that the entry is seen before the moves inside the button.
  sleep 0.3
  point_at 30 30
  point_at 50 40
  check "after the lock a hover sound plays" within 10 plays_is HOVER1.WAV 1
  point_at 40 85
  check "the next button plays its own" within 10 plays_is HOVER2.WAV 1
  before=$(stops)
  xdotool click 1
  check "a push button stops the sound" within 10 stops_are $((before + 1))
  # The stop comes after every hover above, so their requests are logged.
  expect_eq "hovers inside the intro's lock time are refused; each entry plays once" \
    "$(plays HOVER1.WAV),$(plays HOVER2.WAV)" 1,1
  point_at 40 235
  xdotool click 1
  check "the exit button closes the screen" process_ends_within "$AUTORUN_PID" 10
else
  fail "no window titled 'Screen Test'"
fi
case_end

case_begin button_windows
# Each button is a transparent owner-drawn BUTTON child with a tab stop and
# id 0, sized to its hit area.
pictures
"$CONVERT" -size 400x50 xc:"#$F0" BMP3:"$DISC/WIDE.BMP"
write_script "$DISC/AUTORUN.INF" <<'INF'
[BEGIN]
TITLE=Screen Test
INTROBITMAP=BACK.BMP
[TEXT]
TEXT1=Caption beside,4,7, ,0, , ,60,20
[BUTTON]
BUTTON1=PUSHBUTTON,20,20,0,0,NORMAL,NO,STRIP.BMP,1
BUTTON2=PUSHBUTTON,20,70,0,0,NORMAL,NO,MISSING.BMP
BUTTON3=CHECKBOX,20,120,0,0,UNCHECK,NO,STRIP.BMP
BUTTON4=OKBUTTON,20,170,0,0,NORMAL,NO,WIDE.BMP
BUTTON3=CHECKBOX,200,120,0,0,UNCHECK,NO,STRIP.BMP
[END]
INF
start_autorun
if SCREEN_ID=$(wait_for_window "Screen Test") && TITLE="Screen Test" wait_visible 10; then
  children=$(wine "$WINE_BIN/childwindows.exe" "Screen Test" 2>/dev/null | tr -d '\r')
  log "$children"
  expect_eq "one window per button entry slot" "$(grep -c . <<<"$children")" 4
  expect_eq "every button: BUTTON class, owner-drawn tab stop, transparent, id 0" \
    "$(grep -c 'class=Button style=[45]001000B exstyle=00000020 id=0 ' <<<"$children")" 4
  # 40x30 frame, caption 60x20 placed right: half = 15, width 40 + 15 + 60.
  check "a caption without a position widens the hit area to the right" \
    grep -q 'rect=20,20,135,50 visible=1' <<<"$children"
  check "a button without a picture keeps its entry size 0 by 0 and is hidden" \
    grep -q 'rect=20,70,20,70 visible=0' <<<"$children"
  check "a later entry for a slot moves its window" grep -q 'rect=200,120,240,150 visible=1' <<<"$children"
  check "a 400 by 50 picture gives a 100 by 50 hit area" grep -q 'rect=20,170,120,220 visible=1' <<<"$children"
  screen_origin "$SCREEN_ID"
  shoot
  expect_pixel "the moved check box draws at its new place" 220 135 $F0
  expect_pixel "and not at its first place" 40 135 $BACK
  expect_pixel "a frame of the wide picture is drawn" 70 195 $F0
fi
case_end

# A text without a font is written in the system font: sized without a
# size, it is measured in that font too, so it shows as whole as the same
# text given a generous rectangle.
case_begin text_without_font
pictures
write_script "$DISC/AUTORUN.INF" <<'INF'
[BEGIN]
TITLE=Screen Test
INTROBITMAP=BACK.BMP
[TEXT]
TEXT1=Install now.,7,7, , ,60,20
TEXT2=Install now.,7,7, , ,60,80,300,40
[BUTTON]
BUTTON1=PUSHBUTTON,20,20,10,10,NORMAL,SHOW, ,1
BUTTON2=PUSHBUTTON,20,80,10,10,NORMAL,SHOW, ,2
[END]
INF
start_autorun
if SCREEN_ID=$(wait_for_window "Screen Test"); then
  screen_origin "$SCREEN_ID"
  xdotool mousemove $((OX + 300)) $((OY + 250))
  shoot
  # Width of the white text inside a client rectangle.
  text_width() {
    "$CONVERT" "$SHOT" -crop "300x40+$((OX + $1))+$((OY + $2))" +repage -fill black \
      +opaque '#FFFFFF' -trim -format '%w' info:
  }
  both_drawn() { [ "$(text_width 60 80)" -gt 40 ] && [ "$(text_width 60 20)" -gt 1 ]; }
  eventually both_drawn
  whole=$(text_width 60 80)
  check "the text in a generous rectangle is drawn ($whole px wide)" test "$whole" -gt 40
  expect_eq "the measured text is as wide as the whole text" "$(text_width 60 20)" "$whole"
else
  fail "no window titled 'Screen Test'"
fi
case_end

# The screen's drawing without a display: the program's own screen code,
# in a test program that the disc's buttons script starts under its own
# name, prints the screen and each button in each state into a memory
# bitmap.
case_begin drawing
pictures
write_buttons_script
cp "$WINE_BIN/screen_drawing_test.exe" "$DISC/DRAWING.EXE"
cp "$DISC/AUTORUN.INF" "$DISC/DRAWING.INF"
cp "$DISC/AUTORUN_NT.DLL" "$DISC/DRAWING_NT.DLL"
cp "$DISC/AUTORUN_95.DLL" "$DISC/DRAWING_95.DLL"
WINE_BIN=$DISC run_win32_test "the drawing test" DRAWING.EXE
case_end

case_begin launch_notice
run_win32_test "the launch notice test" launch_notice_test.exe
case_end

# The window classes forget windows that die with the screen and never act
# on them afterwards.
case_begin window_lifetime
run_win32_test "the window lifetime test" window_lifetime_test.exe
case_end

# The buttons' and the dialog's message sequences for presses, clicks,
# keys, focus changes and destruction, and what the buttons then start.
case_begin button_messages
run_win32_test "the button message test" button_messages_test.exe
case_end

# The screen as a screen reader and a keyboard user meet it: the buttons'
# names through the accessibility layer, then Tab, Shift+Tab and Space
# alone. Slot 2's entry comes after slot 3's; slot 3 has only an extra
# text, slot 4 no text at all; the exit button's caption holds "&".
case_begin names_and_keyboard
pictures
write_script "$DISC/AUTORUN.INF" <<'INF'
[BEGIN]
TITLE=Read Aloud
INTROBITMAP=BACK.BMP
[TEXT]
TEXT1=Install the\r\nviewer,4,7, ,0,80,20,150,30
TEXT2=Not yet,4,7, ,0,80,70,150,30
TEXT4=Shows the tools,4,HIDE, ,0,80,120,150,30
TEXT5=Keep the samples,4,7, ,0,80,220,150,30
TEXT6=Leave & close,4,7, ,0,80,270,150,30
[BUTTON]
BUTTON1=PUSHBUTTON,20,20,0,0,FOCUS,SHOW,STRIP.BMP,1
BUTTON3=PUSHBUTTON,20,120,0,0,NORMAL,SHOW,STRIP.BMP
BUTTON2=PUSHBUTTON,20,70,0,0,DISABLE,SHOW,STRIP.BMP,2
BUTTON4=PUSHBUTTON,20,170,0,0,NORMAL,SHOW,STRIP.BMP
BUTTON5=CHECKBOX,20,220,0,0,UNCHECK,NO,STRIP.BMP,5
BUTTON6=EXITBUTTON,20,270,0,0,NORMAL,NO,STRIP.BMP,6
[EXTRATEXT]
BUTTON3=4
[END]
INF
start_autorun
if wait_for_window "Read Aloud" >/dev/null; then
  run_win32_test "the accessible names test" accessible_names_test.exe "Read Aloud"
  check "the screen has ended" process_ends_within "$AUTORUN_PID" 10
else
  fail "no window titled 'Read Aloud'"
fi
case_end

suite_end
