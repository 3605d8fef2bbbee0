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
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 "${XVFB_SCREEN:-1024x768x${XVFB_DEPTH:-24}}" -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    sleep 1
    if kill -0 "$XVFB_PID" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then
      export DISPLAY=":$n"
      return 0
    fi
  done
  log "no free X display"
  return 1
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

# Starts the program in the background; AUTORUN_PID is its pid.
start_autorun() {
  (cd "$DISC" && exec wine "$DISC_WIN\\AUTORUN.EXE" "$@") >>"$SUITE_DIR/$CASE_NAME.log" 2>&1 &
  AUTORUN_PID=$!
}

# Starts a program of the disc with a raw command line after its name.
start_raw() {
  local line=$1
  (cd "$DISC" && exec wine "$line") >>"$SUITE_DIR/$CASE_NAME.log" 2>&1 &
  AUTORUN_PID=$!
}

# Prints the X window of a visible top-level window titled exactly $1.
wait_for_window() {
  local title=$1 timeout=${2:-20} end id
  end=$((SECONDS + timeout))
  while [ $SECONDS -lt $end ]; do
    id=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -1)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.3
  done
  return 1
}

# True when no visible window titled $1 shows up within $2 seconds.
no_window_within() {
  ! wait_for_window "$1" "${2:-5}" >/dev/null
}

# True once process $1 has ended, within $2 seconds.
process_ends_within() {
  local pid=$1 timeout=${2:-15} end
  end=$((SECONDS + timeout))
  while [ $SECONDS -lt $end ]; do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.3
  done
  return 1
}

# True when process $1 ends within $3 seconds and no window titled $2 is
# ever visible meanwhile.
ends_without_window() {
  local pid=$1 title=$2 timeout=${3:-15} end
  end=$((SECONDS + timeout))
  while [ $SECONDS -lt $end ]; do
    if xdotool search --onlyvisible --name "^${title}\$" >/dev/null 2>&1; then
      log "   (window '$title' appeared)"
      return 1
    fi
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.1
  done
  return 1
}

# Facts about a top-level window from inside Wine, as key=value lines:
# found, rect, client, visible, iconic, foreground (see helpers/winprobe.cpp).
# Visible windows whose title or texts contain $1 (from inside Wine), and a
# wait of up to $2 seconds for one (a notice, a message box).
windows_with() { wine "$WINE_BIN/winlist.exe" "$1" 2>/dev/null | tr -d '\r'; }
wait_for_notice() {
  local end=$((SECONDS + ${2:-15}))
  while [ $SECONDS -lt $end ]; do
    windows_with "$1" | grep -q . && return 0
    sleep 0.3
  done
  return 1
}
probe() { wine "$WINE_BIN/winprobe.exe" "$@" 2>/dev/null | tr -d '\r'; }
probe_value() { probe "${@:2}" | sed -n "s/^$1=//p"; }

click_at() { xdotool mousemove "$1" "$2" click 1; }
# Clicks into the window (to give it the keyboard) and presses a key.
# Prints the X window of a message box titled $1, waiting up to $2 seconds
# (looked at once at least). A screen of the same title may be mapped too
# while it is shrunk to nothing, so only a window of some size counts. Works
# while Wine's shutdown runs RunOnce commands, when `wine` programs wait.
x_message_box() {
  local title=$1 end=$((SECONDS + ${2:-20})) id WIDTH HEIGHT X Y SCREEN WINDOW
  while :; do
    for id in $(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null); do
      eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)"
      if [ "${WIDTH:-0}" -gt 50 ] && [ "${HEIGHT:-0}" -gt 30 ]; then
        echo "$id"
        return 0
      fi
    done
    [ $SECONDS -lt $end ] || return 1
    sleep 0.3
  done
}
press_key_in() {
  local id=$1 key=$2 x y
  eval "$(xdotool getwindowgeometry --shell "$id")"
  xdotool mousemove $((X + 2)) $((Y + 2)) click 1
  sleep 0.3
  xdotool key "$key"
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

# True once a message box titled $1 shows a text containing $2; BOX_RECT
# is then its rectangle on the screen.
wait_for_box() {
  local title=$1 text=$2 end=$((SECONDS + ${3:-30})) facts
  while [ $SECONDS -lt $end ]; do
    facts=$(probe "$title" box)
    if echo "$facts" | grep -q "^text=.*$text"; then
      BOX_RECT=$(echo "$facts" | sed -n 's/^rect=//p')
      return 0
    fi
    sleep 0.5
  done
  return 1
}

# Clicks into the box (beside its icon, away from the buttons) and presses a key.
answer_box() {  # title, text, key
  wait_for_box "$1" "$2" || return 1
  local l t r b
  IFS=, read -r l t r b <<<"$BOX_RECT"
  xdotool mousemove $((l + 12)) $((t + 36)) click 1
  sleep 0.3
  xdotool key "$3"
}

within() {  # seconds, command...: true once the command succeeds
  local end=$((SECONDS + $1))
  shift
  while [ $SECONDS -lt $end ]; do
    "$@" && return 0
    sleep 0.3
  done
  return 1
}

# Wine's run-once processing has finished once a registry query returns.
runonce_done() { timeout "$1" wine reg query "$RUNONCE" >/dev/null 2>&1; }

# Closes the screen titled $1 with Escape and waits for process $2 to end.
close_with_escape() {
  local id
  id=$(wait_for_window "$1" 5) || return 1
  press_key_in "$id" Escape
  process_ends_within "$2" 10
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
wait_visible() {
  local end=$((SECONDS + ${1:-5}))
  while [ $SECONDS -lt $end ]; do
    [ "$(visible)" = 1 ] && return 0
    sleep 0.3
  done
  return 1
}

# Opens the screen and notes its client origin in OX, OY.
open_screen() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  start_autorun
  if SCREEN_ID=$(wait_for_window "$TITLE" 20); then
    eval "$(xdotool getwindowgeometry --shell "$SCREEN_ID")"
    OX=$X OY=$Y
    sleep 0.5
    return 0
  fi
  fail "no screen titled '$TITLE'"
  return 1
}
# Clicks the button whose picture lies at client X, Y (coming from beside it,
# so that it gets a mouse move first).
click_button() {
  xdotool mousemove $((OX + $1 + 5)) $((OY + $2 + 5))
  sleep 0.2
  xdotool mousemove $((OX + $1 + 10)) $((OY + $2 + 10)) click 1
}
