#!/usr/bin/env bash
# Runs a disc's program under Wine for `discscreen try`, live: a throw-away
# prefix where a read-only copy of the disc is the CD-ROM drive D:, the
# program started from it on a private Xvfb, and x11vnc serving that display
# on a Unix socket in a private folder. `discscreen try` runs it as
#
#   try.sh DISC WORK LC_ALL VERSION
#
# WORK is the run's own folder (mode 0700): the socket is WORK/vnc/screen.sock,
# Wine's trace of the run goes to WORK/trace.log, the prefix is WORK/prefix.
# VERSION is the Wine Version value (see set_disc_windows). It runs until
# it gets SIGTERM or SIGINT, then ends every process it started, and exits 4
# when the disc folder's files changed meanwhile, 2 when it could not run.
set -uo pipefail
ARGUMENTS=("$@")
DISC_IN=$1 WORK=$2 LANGUAGE=$3 VERSION=$4
progress() { printf 'discscreen: %s\n' "$*" >&2; }
die() { printf 'discscreen: %s\n' "$1" >&2; exit "${2:-2}"; }
source "$(dirname "$0")/wine_disc.sh"
require_tools x11vnc
in_private_mounts "${ARGUMENTS[@]}"

SCREEN_WIDTH=1024 SCREEN_HEIGHT=768
export XVFB_SCREEN=${SCREEN_WIDTH}x${SCREEN_HEIGHT}x24
DRIVE=$WORK/drive
SOCKET=$WORK/vnc/screen.sock
# What the run's log is read from: the processes started, waits, exits,
# the registry values written and taken back, sounds, the restart request
# and the end-session questions (relay of these calls, and the process,
# shell-start and sound channels).
TRACED_CALLS='RegOpenKeyExA;CreateProcessA;ShellExecuteExA;SetCurrentDirectoryA;GetProcAddress;ExitProcess;RegSetValueExA;RegDeleteValueA;ExitWindowsEx'
TRACE_CHANNELS=+process,+exec,+relay,+winmm

AUTORUN_PID="" VNC_PID="" PAUSE_PID=""
finish() {
  [ -n "$PAUSE_PID" ] && kill "$PAUSE_PID" 2>/dev/null
  [ -n "$AUTORUN_PID" ] && kill "$AUTORUN_PID" 2>/dev/null
  if [ -d "$WINEPREFIX" ]; then
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
  fi
  [ -n "$VNC_PID" ] && kill "$VNC_PID" 2>/dev/null && wait "$VNC_PID" 2>/dev/null
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
  release_disc_drive "$DRIVE"
  rm -rf "$WINEPREFIX" "$DRIVE" "$WORK/vnc"
  local after
  after=$(folder_digest "$DISC_IN")
  if [ "$after" != "$BEFORE" ]; then
    printf 'discscreen: the disc folder changed during the run (checksum %s, before %s)\n' "$after" "$BEFORE" >&2
    exit 4
  fi
  printf 'discscreen: the disc folder is unchanged (checksum %s)\n' "$after" >&2
}
export WINEPREFIX=$WORK/prefix
BEFORE=$(folder_digest "$DISC_IN")
trap finish EXIT
trap 'exit 0' INT TERM

make_disc_prefix "$WORK"
start_xvfb || die "no X display could be started"
# The display is served while Wine starts; the page joins it once the
# socket is there.
mkdir -m 0700 "$WORK/vnc"
x11vnc -display "$DISPLAY" -unixsock "$SOCKET" -rfbport 0 -forever -shared -nopw -q \
  -o "$WORK/x11vnc.log" >/dev/null 2>&1 &
VNC_PID=$!
make_disc_drive "$DISC_IN" "$DRIVE"
# Text and web documents open as on Windows, where these extensions always
# name their classes (Wine's prefix holds the classes alone). Calls between
# the system's own libraries are traced too: the document's program is
# started by the shell, and the end-session answer comes back through user32.
import_disc_settings <<REG
[HKEY_LOCAL_MACHINE\Software\Classes\.txt]
@="txtfile"

[HKEY_LOCAL_MACHINE\Software\Classes\.htm]
@="htmlfile"

[HKEY_LOCAL_MACHINE\Software\Classes\.html]
@="htmlfile"

[HKEY_CURRENT_USER\Software\Wine\Debug]
"RelayInclude"="$TRACED_CALLS"
"RelayFromExclude"="winex11.drv"
REG
set_disc_windows "$VERSION"

(cd "$DRIVE" && LC_ALL=$LANGUAGE WINEDEBUG=$TRACE_CHANNELS exec wine 'D:\AUTORUN.EXE') >"$WORK/trace.log" 2>&1 &
AUTORUN_PID=$!
within 20 test -S "$SOCKET" || die "x11vnc did not start (see $WORK/x11vnc.log)"
# The run goes on after the program ends (a restart starts it again) until
# the tool ends it.
while :; do
  sleep infinity &
  PAUSE_PID=$!
  wait "$PAUSE_PID" || true
done
