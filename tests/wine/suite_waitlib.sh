#!/usr/bin/env bash
# The wait libraries under Wine: AUTORUN_95.DLL and AUTORUN_NT.DLL wait for a
# started program and everything it starts, leave out ignored programs and
# theirs, return promptly, and cost little CPU while they wait. The recorder
# that stands in for installers is checked first.
source "$(dirname "$0")/lib.sh"
suite_begin waitlib

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

# A field of the log line of tag $1: field TAG NAME
field() {
  tr -d '\r' <"$LOG" 2>/dev/null | grep -a "^tag=$1	" | head -1 | tr '\t' '\n' | sed -n "s/^$2=//p"
}
logged() { grep -qa "^tag=$1	" "$LOG" 2>/dev/null; }
# The latest end time in the log.
last_end() { tr '\t' '\n' <"$LOG" | sed -n 's/^end=//p' | sort -n | tail -1; }

# Runs the wait driver with a flavour's DLL: drive FLAVOUR [/ignore=...] LINE.
# Leaves its output in DRIVEN; DRIVE_OK=0 when it did not finish in time.
drive() {
  local flavour=$1
  shift
  DRIVE_OK=1
  DRIVEN=$(cd "$T" && {
    RECORDER_LOG=$LOG_WIN timeout 90 wine "$T_WIN\\waitdriver.exe" \
      "/dll=$DISC_WIN\\AUTORUN_$flavour.DLL" "$@" 2>/dev/null | tr -d '\r'
    exit "${PIPESTATUS[0]}"
  }) || DRIVE_OK=0
}
driven() { sed -n "s/^$1=//p" <<<"$DRIVEN"; }

# The wait returned after the last logged end, and within a second of it.
returned_after_last() {
  local what=$1 returned last
  returned=$(driven returned)
  last=$(last_end)
  if [ "$DRIVE_OK" != 1 ] || [ -z "$returned" ] || [ -z "$last" ]; then
    fail "$what: no result (driver ok=$DRIVE_OK returned='$returned' last end='$last')"
  elif [ "$returned" -lt "$last" ]; then
    fail "$what: returned $((last - returned)) ms before the last process ended"
  elif [ $((returned - last)) -gt 1000 ]; then
    fail "$what: returned $((returned - last)) ms after the last process ended"
  else
    pass "$what (returned $((returned - last)) ms after the last end)"
  fi
}

R="$T_WIN\\recorder.exe"

# ---------------------------------------------------------------------------
# The files themselves: size, imports, the one export.
for flavour in 95 NT; do
  dll=$DIST/AUTORUN_$flavour.DLL
  size=$(stat -c %s "$dll" 2>/dev/null || echo 0)
  check "AUTORUN_$flavour.DLL is at most 16 KB ($size bytes)" test "$size" -gt 0 -a "$size" -le 16384
  dump=$($WIN_TRIPLE-objdump -p "$dll" 2>/dev/null)
  expect_eq "AUTORUN_$flavour.DLL imports KERNEL32 alone" \
    "$(sed -n 's/^\s*DLL Name: //p' <<<"$dump" | tr 'a-z' 'A-Z' | sort -u | tr '\n' ' ')" "KERNEL32.DLL "
  check "AUTORUN_$flavour.DLL exports WaitForProcess undecorated" \
    grep -qE '^\s+\[ *0\] WaitForProcess$' <<<"$dump"
done

# ---------------------------------------------------------------------------
case_begin recorder
setup_helpers
# Lines are passed on verbatim: quoted program path, quoted argument with a
# blank, nested children; the log path comes from the option here.
(cd "$T" && timeout 30 wine "$T_WIN\\waitdriver.exe" \
  "\"$T_WIN\\Stage Two.exe\" /log=$LOG_WIN /tag=top /sleep=300 /exit=7 /copies=2 /child $R /tag=\"mid one\" /log=$LOG_WIN /child \"$R\" /log=$LOG_WIN /tag=leaf /sleep=200 \"quoted arg\"" \
  >/dev/null 2>&1)
sleep 1.5
expect_eq "the exit code is logged" "$(field top exit)" 7
expect_eq "the child line is logged as started" "$(field top child)" OK
expect_eq "the current directory is logged" "$(field top cwd)" "$T_WIN"
expect_eq "the whole command line is logged" "$(field top cmd)" \
  "\"$T_WIN\\Stage Two.exe\" /log=$LOG_WIN /tag=top /sleep=300 /exit=7 /copies=2 /child $R /tag=\"mid one\" /log=$LOG_WIN /child \"$R\" /log=$LOG_WIN /tag=leaf /sleep=200 \"quoted arg\""
start=$(field top start)
end=$(field top end)
check "the sleep is between start and end ($start..$end)" test $((end - start)) -ge 290 -a $((end - start)) -lt 3000
expect_eq "the child gets the rest of the line verbatim" "$(field "mid one" cmd)" \
  "$R /tag=\"mid one\" /log=$LOG_WIN /child \"$R\" /log=$LOG_WIN /tag=leaf /sleep=200 \"quoted arg\""
expect_eq "the child is started as many times as asked" "$(grep -ac "^tag=mid one	" "$LOG")" 2
expect_eq "a grandchild runs with its quotes kept" "$(field leaf cmd)" \
  "\"$R\" /log=$LOG_WIN /tag=leaf /sleep=200 \"quoted arg\""
check "a child that cannot start is logged as FAILED" bash -c \
  "cd '$T' && RECORDER_LOG='$LOG_WIN' timeout 30 wine '$T_WIN\\recorder.exe' /tag=broken /child 'C:\\nowhere.exe' >/dev/null 2>&1; grep -qa 'child=FAILED' '$LOG'"
# The default tag is the program's file name; the log path may come from the
# environment; a window shows its title for the time asked.
(cd "$T" && RECORDER_LOG=$LOG_WIN wine "$T_WIN\\ignored.exe" "/title=Recorder Window" /window=2500 \
  >/dev/null 2>&1) &
win_pid=$!
check "the window appears with its title" wait_for_window "Recorder Window" 15
check "and goes when its time is up" process_ends_within "$win_pid" 15
check "the default tag is the file name, the log from the environment" logged ignored.exe
case_end

# ---------------------------------------------------------------------------
# The cases of one flavour, under the Windows version that selects it.
tree_cases() {
  local flavour=$1 version=$2
  case_begin "tree_$flavour"
  setup_helpers
  set_windows_version "$version" waitdriver.exe
  wine_reg add "HKCU\\Software\\Wine\\AppDefaults\\recorder.exe" /v Version /d "$version" /f

  drive "$flavour" "$R /tag=alone /sleep=700"
  check "$flavour: the library loads and exports WaitForProcess" test "$(driven loaded)" = 1
  returned_after_last "$flavour: waits for a program without children"

  rm -f "$LOG"
  drive "$flavour" "$R /tag=parent /child $R /tag=child /sleep=2000"
  check "$flavour: the parent ended long before the child" \
    test $(($(field child end) - $(field parent end))) -gt 1500
  returned_after_last "$flavour: waits for a child that outlives its parent"

  rm -f "$LOG"
  drive "$flavour" "$R /tag=a /child $R /tag=b /child \"$T_WIN\\Stage Two.exe\" /tag=c /child $R /tag=d /sleep=1500"
  check "$flavour: every stage of the chain ran" logged d
  returned_after_last "$flavour: follows stages that each start the next and exit at once"

  # Several copies, so that snapshots also meet them while Wine still sets
  # them up (listed without a name then).
  rm -f "$LOG"
  drive "$flavour" "/ignore=setup.exe" "/ignore=IGNORED.EXE" \
    "$R /tag=root /sleep=500 /copies=6 /child $T_WIN\\ignored.exe /tag=skipped /sleep=6000 /child $R /tag=under /sleep=6000"
  local returned root
  returned=$(driven returned)
  root=$(field root end)
  check "$flavour: does not wait for an ignored program nor its children (returned $((returned - root)) ms after the root)" \
    test -n "$returned" -a -n "$root" -a $((returned - root)) -ge 0 -a $((returned - root)) -lt 1000
  sleep 6.5
  expect_eq "$flavour: the ignored programs and their children did run" "$(grep -ac '^tag=under	' "$LOG")" 6

  rm -f "$LOG"
  drive "$flavour" "/ignore=  ignored  " "$R /tag=root2 /sleep=300 /child $T_WIN\\ignored.exe /tag=skipped2 /sleep=5000"
  returned=$(driven returned)
  root=$(field root2 end)
  check "$flavour: a listed name without extension stands for any extension" \
    test -n "$returned" -a -n "$root" -a $((returned - root)) -lt 1000
  sleep 5

  rm -f "$LOG"
  drive "$flavour" "/ignore=ignored.exe" "$R /tag=many /copies=70 /child $R /tag=one /sleep=3000"
  expect_eq "$flavour: 70 children ran at once" "$(grep -ac '^tag=one	' "$LOG")" 70
  returned_after_last "$flavour: waits for more children than one wait call can hold"
  case_end
}

tree_cases 95 win98
tree_cases NT win2k

# ---------------------------------------------------------------------------
# CPU cost: both flavours wait side by side for a 20 s program and its 20 s
# child; each driver reports the CPU time it spent inside the wait.
case_begin cpu
setup_helpers
# The wineserver of this prefix: its CPU time is logged beside the waits'
# own, as what the snapshots cost on the server's side (both waits together).
# It works in a directory named after the prefix's device and inode.
server_ticks() {
  local p dir
  dir=$(printf 'server-%x-%x' $(stat -c '%d %i' "$WINEPREFIX"))
  for p in $(pgrep -x 'wineserver(32|64)?'); do
    if [ "$(basename "$(readlink "/proc/$p/cwd")")" = "$dir" ]; then
      awk '{print $14 + $15}' "/proc/$p/stat"
      return
    fi
  done
  echo 0
}
declare -A out
for flavour in 95 NT; do
  (cd "$T" && RECORDER_LOG=$LOG_WIN timeout 90 wine "$T_WIN\\waitdriver.exe" \
    "/dll=$DISC_WIN\\AUTORUN_$flavour.DLL" "$R /tag=long$flavour /sleep=20000 /child $R /tag=kid$flavour /sleep=20000" \
    2>/dev/null | tr -d '\r' >"$T/cpu$flavour.txt") &
  out[$flavour]=$!
done
# Measured from 3 s to 18 s, once the programs have started.
sleep 3
ticks_before=$(server_ticks)
sleep 15
ticks_after=$(server_ticks)
log "   wineserver: $(((ticks_after - ticks_before) * 1000 / $(getconf CLK_TCK))) ms of CPU in 15 s of both waits"
for flavour in 95 NT; do wait "${out[$flavour]}"; done
for flavour in 95 NT; do
  cpu=$(sed -n 's/^cpu=//p' "$T/cpu$flavour.txt")
  started=$(sed -n 's/^started=//p' "$T/cpu$flavour.txt")
  returned=$(sed -n 's/^returned=//p' "$T/cpu$flavour.txt")
  wall=$((${returned:-0} - ${started:-0}))
  log "   $flavour: cpu ${cpu:-?} ms over $wall ms"
  check "$flavour: the wait lasted the program's 20 s ($wall ms)" test "$wall" -ge 19500 -a "$wall" -lt 25000
  check "$flavour: at most 1% of one core (${cpu:-?} ms in $wall ms)" \
    test -n "$cpu" -a "$((cpu * 100))" -le "$wall"
done
case_end

suite_end
