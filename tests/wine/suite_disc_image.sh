#!/usr/bin/env bash
# The demo disc as a disc image made by `discscreen image`: its files in a
# read-only CD-ROM drive D:, the program started from there as AutoPlay
# starts it, the screen and the "Install selected" chain with its restart,
# and the drive unchanged afterwards; the image's pictures are shrunk and its
# program and libraries signed with a certificate made here. Then
# `discscreen preview` of the same disc in two languages and at 192 DPI
# against what the program shows here, and of a disc with 24-bit pictures
# against its shrunk copy.
source "$(dirname "$0")/lib.sh"
TOOL=$ROOT/build/bin/discscreen
suite_begin disc_image

TITLE="discscreen Demo Disc"
DEMO=$SUITE_DIR/demo
IMAGE=$SUITE_DIR/demo.iso
DRIVE=$SUITE_DIR/drive
# The files of the drive, each with its checksum, and nothing else.
drive_listing() { (cd "$DRIVE" && find . -type f -print0 | sort -z | xargs -0 sha256sum && find . | sort); }
within_x() { within "$1" bash -c "xdotool search --onlyvisible --name '^$2\$' >/dev/null"; }

if [ ! -x "$TOOL" ]; then
  fail "build/bin/discscreen is missing: make tools builds it"
  suite_end
  exit 1
fi
DIST="$DIST" "$ROOT/tools/make-demo-disc.sh" "$DEMO" >"$SUITE_DIR/make-demo-disc.log" 2>&1
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$SUITE_DIR/key.pem" -out "$SUITE_DIR/cert.pem" -days 2 \
  -subj "/CN=discscreen test publisher" >"$SUITE_DIR/openssl.log" 2>&1
"$TOOL" image "$DEMO" -o "$IMAGE" --shrink --sign "$SUITE_DIR/cert.pem" "$SUITE_DIR/key.pem" >"$SUITE_DIR/image.log" 2>&1
check "discscreen image makes the demo disc's image" test -s "$IMAGE"
check "and adds an [autorun] section to the image's copy of the script" grep -q 'added \[autorun\]' "$SUITE_DIR/image.log"
expect_eq "the folder's own script is left without one" "$(grep -ci '^\[autorun\]' "$DEMO/AUTORUN.INF")" 0
xorriso -osirrox on -indev "$IMAGE" -extract / "$DRIVE" >"$SUITE_DIR/extract.log" 2>&1
chmod -R a-w "$DRIVE"
drive_listing >"$SUITE_DIR/drive.before"
OPEN=$(tr -d '\r' <"$DRIVE/AUTORUN.INF" | sed -n '/^\[autorun\]/I,/^\[/s/^open=//Ip' | head -1)
expect_eq "the image's script tells AutoPlay to open the program" "$OPEN" AUTORUN.EXE
for file in AUTORUN.EXE AUTORUN_95.DLL AUTORUN_NT.DLL; do
  check "the image's $file is signed" osslsigncode verify -CAfile "$SUITE_DIR/cert.pem" -in "$DRIVE/$file"
done
check "the image's button pictures are shrunk" test "$(stat -c %s "$DRIVE/PUSH1.BMP")" -lt "$(stat -c %s "$DEMO/PUSH1.BMP")"

case_begin from_cdrom
cdrom_drive "$DRIVE"
TEMP_WIN=$(wine cmd /c echo %TEMP% 2>/dev/null | tr -d '\r' | tail -1)
TEMP_UNIX=$(winepath -u "$TEMP_WIN" 2>/dev/null | tail -1)
# AutoPlay runs open= from the drive's root, without arguments.
(cd "$DRIVE" && exec wine "D:\\$OPEN") >>"$SUITE_DIR/$CASE_NAME.log" 2>&1 &
AUTORUN_PID=$!
id=$(wait_for_window "$TITLE" 40)
check "the screen opens from the CD-ROM drive" test -n "$id"
eval "$(xdotool getwindowgeometry --shell "${id:-0}")"
SCREEN_SIZE=${WIDTH}x${HEIGHT}
xdotool mousemove $((X + 115)) $((Y + 424)) click 1  # "Install selected"
check "the first item's restart is trapped" wait_for_box "$TITLE" "The Demo Viewer asks to restart" 30
check "the trap box is answered" answer_box "$TITLE" "The Demo Viewer asks" Return
check "the second item's restart is allowed with a message" wait_for_box "$TITLE" "The Sample Fonts need a restart" 30
check "the allow box is answered" answer_box "$TITLE" "The Sample Fonts need" Return
check "after the restart the screen resumed from D: installs the third item" within_x 90 "Extra Tools Setup"
check "the resumed run ends and Wine's run-once processing with it" runonce_done 60
expect_eq "no resume script is left" "$(find "$TEMP_UNIX" -maxdepth 1 -regex '.*/AUTORUN[0-9]+\.INF' 2>/dev/null | wc -l)" 0
case_end
drive_listing >"$SUITE_DIR/drive.after"
check "the drive's files are unchanged, and no file was added" cmp "$SUITE_DIR/drive.before" "$SUITE_DIR/drive.after"
chmod -R u+w "$DRIVE"

# The preview: the screen's window as the program shows it, whatever the
# language and Windows; the background's top left corner lies at the
# window's, with no button near it.
BACK_PIXEL=$(convert "$DEMO/BACK.BMP" -format '%[pixel:p{4,4}]' info:)
for system in "de later" "fr 95"; do
  read -r lang windows <<<"$system"
  shot=$SUITE_DIR/preview-$lang.png
  "$TOOL" preview "$DEMO" -o "$shot" --lang "$lang" --windows "$windows" >>"$SUITE_DIR/preview.log" 2>&1
  expect_eq "preview --lang $lang --windows $windows: a picture of the screen's size" \
    "$(identify -format '%wx%h' "$shot" 2>/dev/null)" "$SCREEN_SIZE"
  expect_eq "preview --lang $lang --windows $windows: the background at its place" \
    "$(convert "$shot" -format '%[pixel:p{4,4}]' info: 2>/dev/null)" "$BACK_PIXEL"
done
# At 192 DPI: the screen twice as large (the frame as thick), pixels repeated.
"$TOOL" preview "$DEMO" -o "$SUITE_DIR/preview-192.png" --dpi 192 >>"$SUITE_DIR/preview.log" 2>&1
expect_eq "preview --dpi 192: the screen twice as large" "$(identify -format '%wx%h' "$SUITE_DIR/preview-192.png")" \
  "$(identify -format "%[fx:w+${SCREEN_SIZE%x*}]x%[fx:h+${SCREEN_SIZE#*x}]" "$DEMO/BACK.BMP")"
convert "$SUITE_DIR/preview-de.png" -crop 40x40+0+0 +repage -scale 200% "$SUITE_DIR/c96.png"
convert "$SUITE_DIR/preview-192.png" -crop 80x80+0+0 +repage "$SUITE_DIR/c192.png"
expect_eq "preview --dpi 192: the background's corner, pixels repeated" \
  "$(compare -metric AE "$SUITE_DIR/c96.png" "$SUITE_DIR/c192.png" null: 2>&1)" 0
# The demo disc with 24-bit pictures, and that disc shrunk: the same screen,
# pixel for pixel.
WIDE=$SUITE_DIR/wide
cp -r "$DEMO" "$WIDE"
for picture in "$WIDE"/*.BMP; do convert "$picture" -type TrueColor BMP3:"$picture"; done
"$TOOL" shrink "$WIDE" -o "$SUITE_DIR/shrunk" >"$SUITE_DIR/shrink.log" 2>&1
check "shrink makes the 24-bit pictures smaller" grep -q 'BACK.BMP: .* every pixel the same' "$SUITE_DIR/shrink.log"
"$TOOL" preview "$WIDE" -o "$SUITE_DIR/wide.png" >>"$SUITE_DIR/preview.log" 2>&1
"$TOOL" preview "$SUITE_DIR/shrunk" -o "$SUITE_DIR/shrunk.png" >>"$SUITE_DIR/preview.log" 2>&1
expect_eq "the shrunk disc's screen is the 24-bit disc's" \
  "$(compare -metric AE "$SUITE_DIR/wide.png" "$SUITE_DIR/shrunk.png" null: 2>&1)" 0

# A script whose screen never appears: the preview says so, with the
# checker's finding, and writes nothing.
mkdir -p "$SUITE_DIR/no-screen"
printf '[BEGIN]\r\nTITLE=Chain Only\r\n[RUN]\r\nBUTTON1=NOPE.EXE,YES\r\n' >"$SUITE_DIR/no-screen/AUTORUN.INF"
"$TOOL" preview "$SUITE_DIR/no-screen" -o "$SUITE_DIR/none.png" >"$SUITE_DIR/no-screen.log" 2>&1
expect_eq "preview of a disc without a screen fails" "$?" 1
check "saying that the screen did not appear" grep -q "the screen 'Chain Only' did not appear" "$SUITE_DIR/no-screen.log"
check "with the checker's finding" grep -q 'AUTORUN.INF:4:9: error: .*\[missing-file\]' "$SUITE_DIR/no-screen.log"
check "and without a picture" test ! -e "$SUITE_DIR/none.png"
check "the previews left no prefix behind" test -z "$(ls -d "$WINE_WORK"/preview.* 2>/dev/null)"

suite_end
