#!/usr/bin/env bash
# The wait libraries under Wine: AUTORUN_95.DLL and AUTORUN_NT.DLL wait for a
# started program and everything it starts, leave out ignored programs and
# theirs, return once the last program has ended, and do not spin while they
# wait (what a wait costs and how soon it returns are figures of make bench:
# tools/bench-waiting.sh). The recorder that stands in for installers is
# checked first.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/recorder_log.sh"
source "$(dirname "$0")/waiting.sh"
suite_begin waitlib

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

# The wait returned after the last logged end (how soon after is a figure of
# make bench).
returned_after_last() {
  local what=$1 returned last
  returned=$(driven returned)
  last=$(last_end)
  if [ "$DRIVE_OK" != 1 ] || [ -z "$returned" ] || [ -z "$last" ]; then
    fail "$what: no result (driver ok=$DRIVE_OK returned='$returned' last end='$last')"
  elif [ "$returned" -lt "$last" ]; then
    fail "$what: returned $((last - returned)) ms before the last process ended"
  else
    pass "$what (returned $((returned - last)) ms after the last end)"
  fi
}

# The wait returned after program $1 ended / before it ended.
returned_after_last_of() {
  local returned end
  returned=$(driven returned)
  end=$(field "$1" end)
  check "$2" test -n "$returned" -a -n "$end" -a "${returned:-0}" -ge "${end:-0}"
}
returned_before_end_of() {
  local returned end
  returned=$(driven returned)
  end=$(field "$1" end)
  check "$2 (returned $((${end:-0} - ${returned:-0})) ms before it ended)" \
    test -n "$returned" -a -n "$end" -a "${returned:-0}" -lt "${end:-0}"
}
log_count_is() { [ "$(log_count "$1")" = "$2" ]; }

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
within 15 logged leaf
expect_eq "the exit code is logged" "$(field top exit)" 7
expect_eq "the child line is logged as started" "$(field top child)" OK
expect_eq "the current directory is logged" "$(field top cwd)" "$T_WIN"
expect_eq "the whole command line is logged" "$(field top cmd)" \
  "\"$T_WIN\\Stage Two.exe\" /log=$LOG_WIN /tag=top /sleep=300 /exit=7 /copies=2 /child $R /tag=\"mid one\" /log=$LOG_WIN /child \"$R\" /log=$LOG_WIN /tag=leaf /sleep=200 \"quoted arg\""
start=$(field top start)
end=$(field top end)
check "the sleep lies between start and end ($start..$end)" test $((end - start)) -ge 290
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
  check "$flavour: the parent ended before the child" \
    test "$(field child end)" -gt "$(field parent end)"
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
  returned_after_last_of root "$flavour: waits for the program itself"
  check "$flavour: the ignored programs and their children did run" within 30 log_count_is under 6
  returned_before_end_of under "$flavour: does not wait for an ignored program nor its children"

  rm -f "$LOG"
  drive "$flavour" "/ignore=  ignored  " "$R /tag=root2 /sleep=300 /child $T_WIN\\ignored.exe /tag=skipped2 /sleep=5000"
  within 30 logged skipped2
  returned_before_end_of skipped2 "$flavour: a listed name without extension stands for any extension"

  rm -f "$LOG"
  drive "$flavour" "/ignore=ignored.exe" "$R /tag=many /copies=70 /child $R /tag=one /sleep=3000"
  expect_eq "$flavour: 70 children ran at once" "$(grep -ac '^tag=one	' "$LOG")" 70
  returned_after_last "$flavour: waits for more children than one wait call can hold"
  case_end
}

tree_cases 95 win98
tree_cases NT win2k

# ---------------------------------------------------------------------------
# The waiters do not spin: both flavours wait side by side for an 8 s
# program and its 8 s child, and each stays far below the half core that
# polling in a loop would take (the 1% budget is measured by make bench).
case_begin cpu
setup_helpers
measure_wait_cost 8000
for flavour in 95 NT; do
  cpu=${WAIT_CPU[$flavour]} wall=${WAIT_WALL[$flavour]}
  log "   $flavour: cpu ${cpu:-?} ms over ${wall:-?} ms"
  check "$flavour: the wait lasted until the program and its child ended (${wall:-?} ms)" \
    test -n "$wall" -a "${wall:-0}" -ge 8000
  check "$flavour: the waiter does not spin (${cpu:-?} ms of CPU in ${wall:-?} ms)" \
    test -n "$cpu" -a -n "$wall" -a "$((${cpu:-0} * 4))" -lt "${wall:-0}"
done
case_end

suite_end
