# shellcheck shell=bash
# Shared by the Wine suites: a private Xvfb display, throw-away Wine prefixes
# copied from one template, the disc folder inside the prefix, and checks.
# Source it from a suite; call suite_begin first and suite_end last.
# Every process started here is ended by its own pid or by `wineserver -k`
# of its own prefix.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$ROOT/tools/wine-route.sh"
WINE_BIN=${WINE_BIN:-$WIN_BUILD/wine-bin}
TEMPLATE=$WINE_WORK/template
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

PASSED=0
FAILED=0
SUITE=""
XVFB_PID=""
CASE_NAME=""

log() { printf '%s\n' "$*" >&2; }

# One template prefix per machine, made once; parallel suites wait for it.
make_template() {
  mkdir -p "$WINE_WORK"
  (
    flock 9
    if [ ! -f "$TEMPLATE/.ready" ]; then
      rm -rf "$TEMPLATE"
      WINEPREFIX=$TEMPLATE wineboot -i >/dev/null 2>&1
      WINEPREFIX=$TEMPLATE wineserver -w
      touch "$TEMPLATE/.ready"
    fi
  ) 9>"$WINE_WORK/template.lock"
}

# The display has XVFB_DEPTH bits per pixel (24 unless set; 8 gives a
# 256-colour palette display).
start_xvfb() {
  local n
  for n in $(seq 90 160); do
    # A display whose lock file is elsewhere (a server in another root) can
    # still answer on its abstract socket: skip any display that answers.
    [ -e "/tmp/.X$n-lock" ] && continue
    display_answers "$n" && continue
    Xvfb ":$n" -screen 0 "${XVFB_SCREEN:-1024x768x${XVFB_DEPTH:-24}}" -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    if within 10 xvfb_settled "$n" && kill -0 "$XVFB_PID" 2>/dev/null; then
      export DISPLAY=":$n"
      return 0
    fi
    kill "$XVFB_PID" 2>/dev/null
  done
  log "no free X display"
  return 1
}

# True once our Xvfb has made its socket and display $1 answers, or once it
# has ended (another server took that number).
display_answers() { xwininfo -root -display ":$1" >/dev/null 2>&1; }
xvfb_settled() {
  ! kill -0 "$XVFB_PID" 2>/dev/null || { [ -S "/tmp/.X11-unix/X$1" ] && display_answers "$1"; }
}

# Ends the suite's display and starts another of $1 bits per pixel.
restart_xvfb() {
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  XVFB_PID=""
  XVFB_DEPTH=$1 start_xvfb
}

suite_begin() {
  SUITE=$1
  make_template
  start_xvfb || exit 1
  SUITE_DIR=$WINE_WORK/$SUITE
  rm -rf "$SUITE_DIR"
  mkdir -p "$SUITE_DIR"
  trap 'suite_abort' EXIT
}

suite_abort() {
  [ -n "$CASE_NAME" ] && case_end
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
  XVFB_PID=""
}

suite_end() {
  trap - EXIT
  suite_abort
  printf '%s: %d passed, %d failed\n' "$SUITE" "$PASSED" "$FAILED"
  [ "$FAILED" -eq 0 ]
}

# A fresh prefix for one case, with the built disc in C:\DISC.
case_begin() {
  CASE_NAME=$1
  export WINEPREFIX=$SUITE_DIR/$CASE_NAME
  rm -rf "$WINEPREFIX"
  cp -a "$TEMPLATE" "$WINEPREFIX"
  DISC=$WINEPREFIX/drive_c/DISC
  DISC_WIN='C:\DISC'
  mkdir -p "$DISC"
  cp "$DIST"/AUTORUN.EXE "$DIST"/AUTORUN_95.DLL "$DIST"/AUTORUN_NT.DLL "$DISC"/
  log "-- $SUITE/$CASE_NAME"
}

case_end() {
  [ -n "${AUTORUN_PID:-}" ] && kill "$AUTORUN_PID" 2>/dev/null
  AUTORUN_PID=""
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
  [ "${KEEP_PREFIXES:-0}" = 1 ] || rm -rf "$WINEPREFIX"
  CASE_NAME=""
}

# Gives the prefix a CD-ROM drive D: that holds folder $1, as a disc in
# the drive would.
cdrom_drive() {
  ln -sfn "$1" "$WINEPREFIX/dosdevices/d:"
  wine_reg add 'HKLM\Software\Wine\Drives' /v d: /d cdrom /f
}

# Writes standard input to a file with CR LF line ends.
write_script() { sed 's/$/\r/' >"$1"; }

wine_reg() { wine reg "$@" >/dev/null 2>&1; }

# The Windows version that the program sees (win95, win98, winme, nt40,
# win2k, winxp, or "" for the prefix's own).
set_windows_version() {
  local exe=${2:-AUTORUN.EXE}
  if [ -n "$1" ]; then
    wine_reg add "HKCU\\Software\\Wine\\AppDefaults\\$exe" /v Version /d "$1" /f
  fi
}

# Starts the program in the background with the arguments given;
# AUTORUN_PID is its pid.
# shellcheck disable=SC2120
start_autorun() {
  (cd "$DISC" && exec wine "$DISC_WIN\\AUTORUN.EXE" "$@") >>"$SUITE_DIR/$CASE_NAME.log" 2>&1 &
  AUTORUN_PID=$!
}

# within SECONDS COMMAND...: true once the command succeeds, tried every
# 0.3 s until the time is up (and once at least).
within() {
  local end=$((SECONDS + $1))
  shift
  until "$@"; do
    [ $SECONDS -lt $end ] || return 1
    sleep 0.3
  done
}
negate() { ! "$@"; }
log_has() { grep -qa "$2" "$1" 2>/dev/null; }  # file, pattern

# Prints the X window of a visible top-level window titled exactly $1,
# waiting up to $2 seconds for one.
x_window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 | grep .; }
wait_for_window() { within "${2:-20}" x_window "$1"; }
window_gone_within() { within "${2:-10}" negate x_window "$1"; }

# "X Y WIDTH HEIGHT" of X window $1 on the screen.
window_geometry() {
  xdotool getwindowgeometry --shell "$1" 2>/dev/null |
    awk -F= '{ v[$1] = $2 } END { print v["X"], v["Y"], v["WIDTH"], v["HEIGHT"] }'
}

# True once process $1 has ended, within $2 seconds.
process_gone() { ! kill -0 "$1" 2>/dev/null; }
process_ends_within() { within "${2:-15}" process_gone "$1"; }

# True when process $1 ends within $3 seconds and no window titled $2 is
# ever visible meanwhile.
ends_without_window() {
  local pid=$1 title=$2 end=$((SECONDS + ${3:-15}))
  while [ $SECONDS -lt $end ]; do
    if x_window "$title" >/dev/null; then
      log "   (window '$title' appeared)"
      return 1
    fi
    process_gone "$pid" && return 0
    sleep 0.1
  done
  return 1
}

# Visible windows whose title or texts contain $1 (from inside Wine), and a
# wait of up to $2 seconds for one (a notice, a message box).
windows_with() { wine "$WINE_BIN/winlist.exe" "$1" 2>/dev/null | tr -d '\r'; }
notice_shown() { windows_with "$1" | grep -q .; }
wait_for_notice() { within "${2:-15}" notice_shown "$1"; }
# Facts about a top-level window from inside Wine, as key=value lines:
# found, rect, client, visible, iconic, foreground (see helpers/winprobe.cpp).
probe() { wine "$WINE_BIN/winprobe.exe" "$@" 2>/dev/null | tr -d '\r'; }
probe_value() { probe "${@:2}" | sed -n "s/^$1=//p"; }

# Prints the X window of a message box titled $1, waiting up to $2 seconds.
# A screen of the same title may be mapped too while it is shrunk to
# nothing, so only a window of some size counts. Works while Wine's
# shutdown runs RunOnce commands, when `wine` programs wait.
x_box() {
  local id x y width height
  for id in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
    read -r x y width height < <(window_geometry "$id")
    if [ "${width:-0}" -gt 50 ] && [ "${height:-0}" -gt 30 ]; then
      echo "$id"
      return 0
    fi
  done
  return 1
}
x_message_box() { within "${2:-20}" x_box "$1"; }

# Clicks into X window $1 (at its top left corner, away from any button)
# to make it Wine's foreground window, and presses key $2 there. Without a
# window manager X gives the keys to the window under the pointer, and
# Wine handles the click before the key.
press_key_in() {
  local x y
  read -r x y _ < <(window_geometry "$1")
  xdotool mousemove --sync $((x + 2)) $((y + 2)) click 1 key "$2"
}
x_window_shown() { xdotool search --onlyvisible --name "^$2\$" 2>/dev/null | grep -qx "$1"; }
# Answers the message box titled $1 with key $2 once it shows (within $3
# seconds): true once the box is gone. A key lost on a loaded machine is
# pressed again.
answer_x_box() {
  local id try
  id=$(x_message_box "$1" "${3:-20}") || return 1
  for try in 1 2 3; do
    press_key_in "$id" "$2"
    within 10 negate x_window_shown "$id" "$1" && return 0
    log "   (box $id still shown after key $2, try $try)"
  done
  return 1
}
# answer_box TITLE TEXT KEY: the same for the box that shows TEXT.
answer_box() { wait_for_box "$1" "$2" && answer_x_box "$1" "$3" 5; }

# run_win32_test WHAT EXE [ARG...]: runs a Win32 test program of the
# helpers in the disc's folder and counts each "ok ..." or "FAIL ..." line it
# prints (CHECK of tests/wine/win32/kit/check.h) as a check; it must report something and end with status 0. Its
# notes, indented by four blanks, go to the log.
run_win32_test() {
  local what=$1 exe=$2 out status verdict line
  shift 2
  out=$SUITE_DIR/$CASE_NAME.verdicts
  (cd "$DISC" && exec wine "$WINE_BIN/$exe" "$@") 2>&1 | tr -d '\r' >"$out"
  status=${PIPESTATUS[0]}
  grep -E '^    ' "$out" >&2
  while read -r verdict line; do
    if [ "$verdict" = ok ]; then pass "$line"; else fail "$line"; fi
  done < <(grep -E '^(ok|FAIL) ' "$out")
  grep -qE '^(ok|FAIL) ' "$out" || fail "$what reported nothing"
  expect_eq "$what ran to its end" "$status" 0
}

pass() { PASSED=$((PASSED + 1)); log "   ok   $*"; }
fail() { FAILED=$((FAILED + 1)); log "   FAIL $*"; }
# check "what" command...: passes when the command succeeds.
check() {
  local what=$1
  shift
  if "$@" >/dev/null; then pass "$what"; else fail "$what"; fi
}
expect_eq() {
  if [ "$2" = "$3" ]; then pass "$1"; else fail "$1: got '$2', expected '$3'"; fi
}

# Starts a raw Windows command line, as written, in the background.
start_command_line() {
  (cd "$DISC" && RAW_COMMAND_LINE=$1 exec wine "$WINE_BIN/rawstart.exe") \
    >>"$SUITE_DIR/$CASE_NAME.log" 2>&1 &
  AUTORUN_PID=$!
}

RUNONCE='HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce'

# True once a message box titled $1 shows a text containing $2 (an extended
# regular expression), within $3 seconds.
box_shows() { probe "$1" box | grep -qE "^text=.*$2"; }
wait_for_box() { within "${3:-30}" box_shows "$1" "$2"; }

# Wine's run-once processing has finished once a registry query returns.
runonce_done() { timeout "$1" wine reg query "$RUNONCE" >/dev/null 2>&1; }

# Closes the screen titled $1 with Escape and waits for process $2 to end;
# a key lost on a loaded machine is pressed again.
close_with_escape() {
  local id try
  id=$(wait_for_window "$1" 5) || return 1
  for try in 1 2 3; do
    press_key_in "$id" Escape
    process_ends_within "$2" 10 && return 0
    log "   (screen still open after Escape, try $try)"
  done
  return 1
}

# A disc with buttons: BACK.BMP, a plain background, and STRIP.BMP, a
# button strip of four 40x30 frames in the four colours given.
CONVERT=/usr/bin/convert
[ -x "$CONVERT" ] || CONVERT=convert
make_pictures() {
  "$CONVERT" -size 40x30 xc:"$1" xc:"$2" xc:"$3" xc:"$4" \
    +append BMP3:"$DISC/STRIP.BMP"
  "$CONVERT" -size 400x300 xc:'#404040' BMP3:"$DISC/BACK.BMP"
}

# The disc's programs are recorders (RECORDER.EXE) logging to LOG, which
# is C:\DISC\log.txt; with "pictures" the disc has a background and a
# strip of blue, yellow, lime and magenta frames too.
setup_disc() {
  LOG=$DISC/log.txt
  rm -f "$LOG"
  cp "$WINE_BIN/recorder.exe" "$DISC/RECORDER.EXE"
  if [ "${1:-}" = pictures ]; then make_pictures blue yellow lime magenta; fi
}

# The disc's script: [BEGIN] with $TITLE and BACK.BMP, then the sections
# given on standard input.
write_inf() {
  { printf '[BEGIN]\nTITLE=%s\nINTROBITMAP=BACK.BMP\n' "$TITLE"; cat; printf '[END]\n'; } |
    write_script "$DISC/AUTORUN.INF"
}

# The screen titled $TITLE: whether it is visible (from inside Wine), and a
# wait of up to $1 seconds for it to be.
visible() { probe_value visible "$TITLE"; }
shown() { [ "$(visible)" = 1 ]; }
hidden() { [ "$(visible)" = 0 ]; }
wait_visible() { within "${1:-5}" shown; }

# Opens the screen and notes its client origin in OX, OY once Wine shows it.
open_screen() {
  local width height
  start_autorun
  if SCREEN_ID=$(wait_for_window "$TITLE" 20) && wait_visible 10; then
    read -r OX OY width height < <(window_geometry "$SCREEN_ID")
    return 0
  fi
  fail "no screen titled '$TITLE'"
  return 1
}
# Clicks the button whose picture lies at client X, Y (coming from beside it,
# so that it gets a mouse move first).
click_button() {
  xdotool mousemove --sync $((OX + $1 + 5)) $((OY + $2 + 5))
  xdotool mousemove --sync $((OX + $1 + 10)) $((OY + $2 + 10)) click 1
}
