# shellcheck shell=bash
# The wait libraries' test bed, shared by suite_waitlib.sh and
# tools/bench-waiting.sh: the recorder and the wait driver in C:\T of the
# case's prefix, and a measurement of what waiting costs.

T_WIN='C:\T'
LOG_WIN='C:\T\log.txt'

# Copies the helpers into C:\T of the case's prefix.
setup_helpers() {
  T=$WINEPREFIX/drive_c/T
  LOG=$T/log.txt
  mkdir -p "$T"
  cp "$WINE_BIN/recorder.exe" "$WINE_BIN/waitdriver.exe" "$T/"
  cp "$WINE_BIN/recorder.exe" "$T/ignored.exe"
  cp "$WINE_BIN/recorder.exe" "$T/Stage Two.exe"
  rm -f "$LOG"
}

# CPU ticks of this prefix's wineserver: what the snapshots cost on the
# server's side. It works in a directory named after the prefix's device and
# inode.
server_ticks() {
  local p dir device inode
  read -r device inode < <(stat -c '%d %i' "$WINEPREFIX")
  dir=$(printf 'server-%x-%x' "$device" "$inode")
  for p in $(pgrep -x 'wineserver(32|64)?'); do
    if [ "$(basename "$(readlink "/proc/$p/cwd")")" = "$dir" ]; then
      awk '{print $14 + $15}' "/proc/$p/stat"
      return
    fi
  done
  echo 0
}

# measure_wait_cost MS: both flavours wait side by side for a program of MS
# milliseconds and its child of as long; each driver reports the CPU time it
# spent inside the wait. Sets WAIT_CPU[flavour] and WAIT_WALL[flavour] (ms,
# empty when the driver reported nothing) and SERVER_MS, the wineserver's CPU
# time over the middle of the waits (from 3 s to 2 s before the end).
# shellcheck disable=SC2034  # the results, read by the files that source this one
declare -A WAIT_CPU WAIT_WALL
# shellcheck disable=SC2034
measure_wait_cost() {
  local ms=$1 flavour started returned before after
  local -A driver
  for flavour in 95 NT; do
    (cd "$T" && RECORDER_LOG=$LOG_WIN timeout $((ms / 1000 + 60)) wine "$T_WIN\\waitdriver.exe" \
      "/dll=$DISC_WIN\\AUTORUN_$flavour.DLL" "$T_WIN\\recorder.exe /tag=long$flavour /sleep=$ms /child $T_WIN\\recorder.exe /tag=kid$flavour /sleep=$ms" \
      2>/dev/null | tr -d '\r' >"$T/cpu$flavour.txt") &
    driver[$flavour]=$!
  done
  # An interval measured on purpose, while both waits run.
  sleep 3
  before=$(server_ticks)
  sleep $((ms / 1000 - 5))
  after=$(server_ticks)
  SERVER_MS=$(((after - before) * 1000 / $(getconf CLK_TCK)))
  for flavour in 95 NT; do wait "${driver[$flavour]}"; done
  for flavour in 95 NT; do
    WAIT_CPU[$flavour]=$(sed -n 's/^cpu=//p' "$T/cpu$flavour.txt")
    started=$(sed -n 's/^started=//p' "$T/cpu$flavour.txt")
    returned=$(sed -n 's/^returned=//p' "$T/cpu$flavour.txt")
    WAIT_WALL[$flavour]=""
    [ -n "$started" ] && [ -n "$returned" ] && WAIT_WALL[$flavour]=$((returned - started))
  done
}
