#!/usr/bin/env bash
# Shows a disc's screen with the built program under Wine on a private Xvfb,
# in a throw-away prefix where the disc is the CD-ROM drive D:, and writes
# a picture of the screen's window. `discscreen preview` runs it with what
# it read from the script for the chosen system:
#
#   preview.sh DISC OUT TITLE SIZE CODEPAGE LC_ALL VERSION [--dpi N] [--states] [BUTTON...]
#
# TITLE is the window's title in the script's bytes, SIZE the background
# picture's WIDTHxHEIGHT (0x0 without one), CODEPAGE the title's code
# page, VERSION the Wine Version value (win95 ... winxp, win98fe for the
# first edition of 98, "" for the prefix's own), N the display's DPI (SIZE
# and the points of the buttons then as the screen is drawn); each BUTTON is
# "NUMBER:KIND:X:Y", KIND push, check (a clear check box) or checked (one
# that starts checked), X and Y a point on its picture in the screen.
# Exits 3 when the screen does not appear, 2 when it cannot run at all.
set -uo pipefail
DISC_IN=$1 OUT=$2 TITLE_BYTES=$3 BACKGROUND=$4 CODEPAGE=$5 LANGUAGE=$6 VERSION=$7
shift 7
DPI=96
if [ "${1:-}" = --dpi ]; then DPI=$2; shift 2; fi
STATES=0
if [ "${1:-}" = --states ]; then STATES=1; shift; fi
BUTTONS=("$@")

source "$(dirname "$0")/../../../tests/wine/lib.sh"
# Room for the screen, scaled as it may be.
SCREEN_WIDTH=$((${BACKGROUND%x*} + 64)) SCREEN_HEIGHT=$((${BACKGROUND#*x} + 64))
[ $SCREEN_WIDTH -ge 1280 ] || SCREEN_WIDTH=1280
[ $SCREEN_HEIGHT -ge 1024 ] || SCREEN_HEIGHT=1024
export XVFB_SCREEN=${SCREEN_WIDTH}x${SCREEN_HEIGHT}x24
ON_TERMINAL=0
[ -t 2 ] && ON_TERMINAL=1
progress() { [ $ON_TERMINAL = 1 ] && printf 'discscreen: %s\n' "$*" >&2; return 0; }
die() { printf 'discscreen: %s\n' "$1" >&2; exit "${2:-2}"; }

[ -f "$DIST/AUTORUN.EXE" ] ||
  die "no built program in $DIST: build it first with 'make route' in $ROOT"
for tool in wine Xvfb xdotool import montage iconv; do
  command -v "$tool" >/dev/null || die "$tool is missing: run $ROOT/tools/install-deps.sh"
done

WORK=""
AUTORUN_PID=""
finish() {
  [ -n "$AUTORUN_PID" ] && kill "$AUTORUN_PID" 2>/dev/null
  if [ -n "$WORK" ] && [ -d "$WORK/prefix" ]; then
    WINEPREFIX=$WORK/prefix wineserver -k 2>/dev/null
    WINEPREFIX=$WORK/prefix wineserver -w 2>/dev/null
  fi
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
  [ -n "$WORK" ] && rm -rf "$WORK"
}
trap finish EXIT
trap 'exit 130' INT TERM

if [ ! -f "$TEMPLATE/.ready" ]; then
  progress "making the Wine prefix that every preview copies (once, about 20 s)"
fi
make_template
mkdir -p "$WINE_WORK"
WORK=$(mktemp -d "$WINE_WORK/preview.XXXXXX")
progress "copying a prefix for this preview"
export WINEPREFIX=$WORK/prefix
cp -a "$TEMPLATE" "$WINEPREFIX"

# The drive: the disc's own files (linked, never copied or changed) beside
# the built program, which stands in for any program the folder holds.
DRIVE=$WORK/drive
mkdir -p "$DRIVE"
for entry in "$DISC_IN"/* "$DISC_IN"/.[!.]*; do
  [ -e "$entry" ] || continue
  case "${entry##*/}" in
    [Aa][Uu][Tt][Oo][Rr][Uu][Nn].[Ee][Xx][Ee] | [Aa][Uu][Tt][Oo][Rr][Uu][Nn]_[9Nn][5Tt].[Dd][Ll][Ll]) continue ;;
  esac
  ln -s "$(cd "$(dirname "$entry")" && pwd)/${entry##*/}" "$DRIVE/"
done
cp "$DIST"/AUTORUN.EXE "$DIST"/AUTORUN_95.DLL "$DIST"/AUTORUN_NT.DLL "$DRIVE"/
# The display comes first: the Wine processes of the prefix share the
# display of the first one (a registry change made without one left the
# screen with no display driver).
start_xvfb || die "no X display could be started"
# The pointer rests in the corner, away from any button.
xdotool mousemove $((SCREEN_WIDTH - 1)) $((SCREEN_HEIGHT - 1))
cdrom_drive "$DRIVE"
[ "$DPI" = 96 ] || wine_reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$DPI" /f

case $VERSION in
  "") ;;
  win98fe)
    wine_reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion' /v CurrentVersion /f
    wine_reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion' /v VersionNumber /d 4.10.1998 /f
    wine_reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion' /v SubVersionNumber /d ' ' /f
    ;;
  *) set_windows_version "$VERSION" ;;
esac


# The title in UTF-8 for messages, and as a pattern that matches only
# itself; X may hold the name in another encoding, so each run of letters
# outside ASCII matches anything.
TITLE=$(printf '%s' "$TITLE_BYTES" | iconv -f "CP$CODEPAGE" -t UTF-8 2>/dev/null) || TITLE=$TITLE_BYTES
PATTERN=$(printf '%s' "$TITLE_BYTES" | LC_ALL=C sed 's/[][\.*^$(){}?+|/]/\\&/g; s/[\x80-\xff]\+/.*/g')

progress "starting the screen '$TITLE'"
LOG=$WORK/wine.log
(cd "$DRIVE" && LC_ALL=$LANGUAGE exec wine 'D:\AUTORUN.EXE') >"$LOG" 2>&1 &
AUTORUN_PID=$!
# The screen is the window of that title and of the background's size
# (give or take its frame); a message box of the same title, or the screen
# shrunk to nothing while a chain runs without it, is not.
screen_window() {
  local w WIDTH HEIGHT
  for w in $(xdotool search --onlyvisible --name "^${PATTERN}\$" 2>/dev/null); do
    read -r _ _ WIDTH HEIGHT < <(window_geometry "$w")
    [ "${WIDTH:-0}" -gt 50 ] && [ "${HEIGHT:-0}" -gt 30 ] || continue
    if [ "$BACKGROUND" != 0x0 ]; then
      [ $((${BACKGROUND%x*} - WIDTH)) -le 16 ] && [ $((WIDTH - ${BACKGROUND%x*})) -le 16 ] &&
        [ $((${BACKGROUND#*x} - HEIGHT)) -le 16 ] && [ $((HEIGHT - ${BACKGROUND#*x})) -le 16 ] || continue
    fi
    echo "$w"
    return 0
  done
  return 1
}
# Waits for the screen while the program runs, at most 40 s.
id=""
end=$((SECONDS + 40))
while [ $SECONDS -lt $end ] && kill -0 "$AUTORUN_PID" 2>/dev/null; do
  id=$(screen_window) && break
  id=""
  sleep 0.3
done
if [ -z "$id" ]; then
  {
    echo "discscreen: the screen '$TITLE' did not appear"
    boxes=$(xdotool search --onlyvisible --name . 2>/dev/null | while read -r w; do xdotool getwindowname "$w"; done | sort -u)
    [ -n "$boxes" ] && printf 'discscreen: windows shown instead: %s\n' "$(echo "$boxes" | paste -sd, -)"
    kill -0 "$AUTORUN_PID" 2>/dev/null || echo "discscreen: the program ended by itself"
  } >&2
  exit 3
fi
eval "$(xdotool getwindowgeometry --shell "$id")"
WX=$X WY=$Y WW=$WIDTH WH=$HEIGHT
# The intro and the first paint of every button settle.
sleep 2

shot() { import -window root -crop "${WW}x${WH}+${WX}+${WY}" +repage "$1"; }

if [ $STATES = 0 ]; then
  shot "$WORK/screen.png" && mv "$WORK/screen.png" "$OUT" || die "could not write $OUT"
  exit 0
fi

shot "$WORK/rest.png"
labels=(-label 'at rest' "$WORK/rest.png")
total=${#BUTTONS[@]}
n=0
for button in "${BUTTONS[@]}"; do
  IFS=: read -r number kind bx by <<<"$button"
  n=$((n + 1))
  progress "button $number ($n of $total)"
  xdotool mousemove $((WX + bx)) $((WY + by))
  sleep 0.6
  if [ "$kind" = check ]; then
    # A clear check box is checked by a click, and cleared again afterwards.
    xdotool click 1
    sleep 0.6
    shot "$WORK/b$number.png"
    labels+=(-label "$number checked" "$WORK/b$number.png")
    xdotool click 1
    sleep 0.3
  else
    shot "$WORK/b$number.png"
    label=$number
    [ "$kind" = checked ] && label="$number checked"
    labels+=(-label "$label" "$WORK/b$number.png")
  fi
  xdotool mousemove $((SCREEN_WIDTH - 1)) $((SCREEN_HEIGHT - 1))
  sleep 0.3
done
montage -font DejaVu-Sans -pointsize 14 "${labels[@]}" -tile 3x -geometry +6+6 -background '#D8D8D8' "$WORK/sheet.png" &&
  mv "$WORK/sheet.png" "$OUT" || die "could not write $OUT"
