#!/usr/bin/env bash
# Restart requests during a chain, delivered by Wine's own end-session
# query (ExitWindowsEx from an installer starts `wineboot --end-session`):
# trapped until the chain ends, or allowed after the resume script and its
# run-once value are written, and the resumed run after the restart.
# A "sentinel" window started after the screen refuses every query it gets:
# it stops a shutdown right after the screen, so that the suite can look at
# the prefix before the restart goes through, and its log tells whether a
# restart was asked for after the screen had answered.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/recorder_log.sh"
suite_begin restart


restart_case() {
  case_begin "$1"
  cp "$WINE_BIN"/recorder.exe "$WINE_BIN"/restart_asker.exe "$DISC"/
  CHAIN_LOG=$WINEPREFIX/drive_c/chain.log
  ASK_LOG=$WINEPREFIX/drive_c/ask.log
  SENTINEL_LOG=$WINEPREFIX/drive_c/sentinel.log
  within 60 ask_temp_dir || log "   the temporary directory could not be asked"
  log "   temporary directory $TEMP_WIN = $TEMP_UNIX"
}

# A Wine process started on a loaded machine now and then prints nothing;
# asked again, it answers.
ask_temp_dir() {
  TEMP_WIN=$(wine cmd /c echo %TEMP% 2>/dev/null | tr -d '\r' | tail -1)
  case $TEMP_WIN in [A-Za-z]:\\*) ;; *) return 1 ;; esac
  TEMP_UNIX=$(winepath -u "$TEMP_WIN" 2>/dev/null | tail -1)
  [ -n "$TEMP_UNIX" ]
}

start_sentinel() {  # title of the screen it must come after
  (cd "$DISC" && exec wine "$DISC_WIN\\restart_asker.exe" 'C:\sentinel.log' sentinel refuse passive \
    sleep=120000 "after=${1:-Restart Disc}") >>"$SUITE_DIR/$CASE_NAME.log" 2>&1 &
  SENTINEL_PID=$!
  within 20 log_has "$SENTINEL_LOG" "sentinel watching" || log "   the sentinel did not start"
}

stop_sentinel() { kill "${SENTINEL_PID:-}" 2>/dev/null; }


tagged() { local n; n=$(grep -c "tag=$1	" "$CHAIN_LOG" 2>/dev/null); echo "${n:-0}"; }
# The resume scripts in the temporary directory, and its files of name $1.
files_named() { find "$TEMP_UNIX" -maxdepth 1 -regextype egrep -regex ".*/$1" -printf '%f\n' 2>/dev/null; }
resume_files() { files_named 'AUTORUN[0-9]+\.INF'; }
resume_left() { [ -n "$(resume_files)" ]; }
runonce_value() { wine reg query "$RUNONCE" /v AUTORUN 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p'; }
lacks() { ! log_has "$@"; }

chain_script() {  # extra [BEGIN] lines on stdin
  {
    echo '[BEGIN]'
    echo 'TITLE=Restart Disc'
    echo 'FINALREBOOT=Restart the computer now?'
    cat
    echo '[RUN]'
    echo 'BUTTON1=recorder.exe /tag=one /log=C:\chain.log,YES'
    echo 'BUTTON2=restart_asker.exe C:\ask.log two sleep=4000,YES'
    echo 'BUTTON3=recorder.exe /tag=three /log=C:\chain.log,YES'
    echo '[END]'
  } | write_script "$DISC/AUTORUN.INF"
}

restart_case trap_with_ok
chain_script <<'INF'
TRAPREBOOTMODE=OK
TRAPREBOOT=Setup asks for a restart.\r\nIt comes at the end.
TRAPREBOOTBUTTONS=2
INF
start_autorun
start_sentinel
check "the trap message is shown with its two lines" wait_for_box "Restart Disc" "Setup asks for a restart.|It comes at the end."
check "the installer that asked keeps running" log_has "$ASK_LOG" "two asked"
check "the sentinel was never asked: the screen refused the restart" lacks "$SENTINEL_LOG" queried
check "the box 'It comes at the end' is answered" answer_box "Restart Disc" "It comes at the end" Return
check "the final restart question comes after the chain" wait_for_box "Restart Disc" "Restart the computer now"
check "the installer ended by itself" log_has "$ASK_LOG" "two ended"
expect_eq "the chain went on after the trapped restart" "$(tagged three)" 1
check "the box 'Restart the computer now' is answered" answer_box "Restart Disc" "Restart the computer now" y
check "Yes restarts the machine: the session is asked to end"  \
  within 12 log_has "$SENTINEL_LOG" queried
check "and the screen is gone" process_ends_within "$AUTORUN_PID" 15
expect_eq "nothing was registered to run once" "$(runonce_value)" ""
stop_sentinel
case_end

restart_case trap_yes_no
chain_script <<'INF'
TRAPREBOOTMODE=YESNO
TRAPREBOOT=Restart now, before the rest?
TRAPREBOOTBUTTONS=2
INF
start_autorun
start_sentinel
check "the box 'Restart now, before the rest' is answered" answer_box "Restart Disc" "Restart now, before the rest" n
check "No: the final question comes after the chain" wait_for_box "Restart Disc" "Restart the computer now"
expect_eq "and the chain went on" "$(tagged three)" 1
check "the box 'Restart the computer now' is answered" answer_box "Restart Disc" "Restart the computer now" n
check "No at the end: the screen ends without a restart" process_ends_within "$AUTORUN_PID" 15
check "nothing asked the session to end" lacks "$SENTINEL_LOG" queried
# A fresh sentinel after the new screen: the shutdown visits processes in
# the order of their ids, and the one left running would refuse first.
stop_sentinel
rm -f "$CHAIN_LOG" "$ASK_LOG" "$SENTINEL_LOG"
start_autorun
start_sentinel
check "the question is asked again" answer_box "Restart Disc" "Restart now, before the rest" y
check "Yes: the machine restarts before the next member"  \
  within 12 log_has "$SENTINEL_LOG" queried
check "and the screen is ended by it" process_ends_within "$AUTORUN_PID" 15
expect_eq "so the rest of the chain is not run" "$(tagged three)" 0
stop_sentinel
case_end

expected_resume() {  # the resume script after a restart during slot 2
  printf '%s\r\n' '[BEGIN]' 'TITLE=Restart Disc' 'TRAPREBOOTMODE=OK' 'TRAPREBOOT=' \
    'FINALREBOOT=Restart the computer now?' "ALLOWREBOOT=$1" 'TRAPREBOOTBUTTONS=' \
    'ALLOWREBOOTBUTTONS= 4,' '' '[REBOOTED]' 'BUTTON3=recorder.exe /tag=three /log=C:\chain.log,1' \
    '' '[IGNOREWAITPROCESS]' 'BUTTON3=' '' '[INSTALLMESSAGE]' 'BUTTON3=' '' '[MESSAGE]' 'BUTTON3=' \
    '' '[END]'
}

restart_case allow_without_message
chain_script <<'INF'
TRAPREBOOTMODE=OK
ALLOWREBOOTBUTTONS=2,4
INF
start_autorun
start_sentinel
check "the screen lets the restart through and is ended by it" process_ends_within "$AUTORUN_PID" 20
check "the sentinel was asked next" log_has "$SENTINEL_LOG" "sentinel queried"
file=$(resume_files | head -1)
check "a resume script lies in the temporary directory" test -n "$file"
if [ -n "$file" ]; then
  expected_resume "" >"$SUITE_DIR/expected.inf"
  check "its content is exactly the rest of the chain" cmp "$SUITE_DIR/expected.inf" "$TEMP_UNIX/$file"
  expect_eq "the run-once value starts the program on it" "$(runonce_value)" "C:\\DISC\\AUTORUN $TEMP_WIN\\$file"
fi
# The machine restarts: every process of the prefix ends, and Wine's own
# run-once processing starts the registered command.
stop_sentinel
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
wine wineboot -r >/dev/null 2>&1
check "Wine's run-once processing resumes the chain: the member after the restart ran" \
  test "$(tagged three)" = 1
expect_eq "the member before it did not run again" "$(tagged one)" 1
check "the resume script is gone" test -z "$(resume_files)"
expect_eq "and so is the run-once value" "$(runonce_value)" ""
case_end

# A resume script that cannot be written (no temporary directory) leaves
# nothing behind; the restart still goes.
restart_case allow_write_fails
chain_script <<'INF'
ALLOWREBOOTBUTTONS=2
INF
rm -rf "$TEMP_UNIX"
start_autorun
start_sentinel
check "no temporary directory: the restart still passes" process_ends_within "$AUTORUN_PID" 20
check "the session went on to end" log_has "$SENTINEL_LOG" "sentinel queried"
expect_eq "no resume script or partial file is left" "$(files_named 'AUTORUN[0-9]+\.(INF|TMP)')" ""
expect_eq "nothing is registered" "$(runonce_value)" ""
stop_sentinel
case_end

# A restart that does not come after the resume script was written: the
# chain goes on in this session and takes the script back, so that the next
# restart does not run the same installers again.
restart_case restart_does_not_come
# Under NT 4 the program restarts through InitiateSystemShutdownA, which
# does nothing under Wine: the nearest thing to a refused restart.
set_windows_version nt40
chain_script <<'INF'
ALLOWREBOOT=The computer restarts now.
ALLOWREBOOTBUTTONS=2
INF
start_autorun
check "the allow box is answered" answer_box "Restart Disc" "The computer restarts now" Return
check "the resume script is written and registered" within 15 resume_left
expect_eq "the run-once value names it" "$(runonce_value)" "C:\\DISC\\AUTORUN $TEMP_WIN\\$(resume_files | head -1)"
check "the restart does not come: the chain goes on after its grace" within 45 log_has "$CHAIN_LOG" tag=three
expect_eq "without the resume script" "$(resume_files)" ""
expect_eq "and without the run-once value" "$(runonce_value)" ""
# The restart is still owed: the chain's end calls for it again, and ends
# the screen after that call's grace.
check "the screen ends with its chain" process_ends_within "$AUTORUN_PID" 40
case_end

# The restart the screen called for is asked about, and another program
# holds the session's end (its "Save changes?" box) for longer than the
# call's grace before the session goes on after all: the chain starts
# nothing until then, and the script stays registered until then. (When
# the question comes before the chain's own call, in the pause after the
# member, that call follows once the session goes on, and its grace runs
# out before the next member.)
restart_case own_restart_answered_late
set_windows_version nt40
chain_script <<'INF'
ALLOWREBOOT=The computer restarts now.
ALLOWREBOOTBUTTONS=2
INF
cp "$WINE_BIN"/session_refused.exe "$DISC"/
start_autorun
check "the allow box is answered" answer_box "Restart Disc" "The computer restarts now" Return
check "the resume script is written" within 10 resume_left
check "the member that asked ends" within 20 log_has "$ASK_LOG" "two ended"
(cd "$DISC" && exec wine "$DISC_WIN\\session_refused.exe" "Restart Disc" hold=25000) \
  >"$SUITE_DIR/held.out" 2>/dev/null &
check "the screen agrees to end the session" within 10 grep -q "answer=1" "$SUITE_DIR/held.out"
check "the session goes on after all" within 40 grep -q "refused=" "$SUITE_DIR/held.out"
refused=$(tr -d '\r' <"$SUITE_DIR/held.out" | sed -n 's/^refused=//p')
check "the next member runs" within 45 log_has "$CHAIN_LOG" tag=three
check "only after the session went on" test "$(LOG=$CHAIN_LOG field three start)" -ge "${refused:-0}"
expect_eq "the script is taken back" "$(resume_files)|$(runonce_value)" "|"
case_end

# A chain whose allowed second member is running when Windows asks the
# screen and then another program refuses the end of the session; the
# screen's answer to the query is left in $answer.
run_chain_into_refused_session() {
  {
    printf '%s\n' '[BEGIN]' 'TITLE=Restart Disc' 'ALLOWREBOOTBUTTONS=2' '[RUN]' \
      'BUTTON1=recorder.exe /tag=one /log=C:\chain.log,YES' \
      'BUTTON2=restart_asker.exe C:\ask.log two passive sleep=5000,YES' \
      'BUTTON3=recorder.exe /tag=three /log=C:\chain.log,YES' '[END]'
  } | write_script "$DISC/AUTORUN.INF"
  cp "$WINE_BIN"/session_refused.exe "$DISC"/
  start_autorun
  check "the second member runs" within 20 log_has "$ASK_LOG" "two watching"
  answer=$(cd "$DISC" && wine "$DISC_WIN\\session_refused.exe" "Restart Disc" 2>/dev/null | tr -d '\r')
}

# Windows asks the screen, the screen writes the resume script and agrees,
# then another program refuses: the session goes on (WM_ENDSESSION FALSE).
restart_case session_refused_after_write
run_chain_into_refused_session
expect_eq "the screen agreed to end the session" "$answer" "answer=1"
expect_eq "the session goes on: the resume script is taken back" "$(resume_files)" ""
expect_eq "and so is the run-once value" "$(runonce_value)" ""
check "the chain goes on in this session" within 20 log_has "$CHAIN_LOG" tag=three
case_end

# Windows asks every program before it ends any: while another program
# holds the end of the session, the screen that agreed starts nothing.
# When the session goes on after all, the script is taken back, and the
# restart that the member needed is owed: the chain's end makes it.
restart_case session_held_then_refused
{
  printf '%s\n' '[BEGIN]' 'TITLE=Restart Disc' 'ALLOWREBOOTBUTTONS=2' '[RUN]' \
    'BUTTON1=recorder.exe /tag=one /log=C:\chain.log,YES' \
    'BUTTON2=restart_asker.exe C:\ask.log two passive sleep=3000,YES' \
    'BUTTON3=recorder.exe /tag=three /log=C:\chain.log,YES' '[END]'
} | write_script "$DISC/AUTORUN.INF"
cp "$WINE_BIN"/session_refused.exe "$DISC"/
start_autorun
start_sentinel
check "the second member runs" within 20 log_has "$ASK_LOG" "two watching"
(cd "$DISC" && exec wine "$DISC_WIN\\session_refused.exe" "Restart Disc" hold=8000) \
  >"$SUITE_DIR/held.out" 2>/dev/null &
check "the screen writes its script and agrees" within 10 grep -q "answer=1" "$SUITE_DIR/held.out"
check "the member ends while the session's end is held" within 10 log_has "$ASK_LOG" "two ended"
check "the session goes on after all" within 20 grep -q "refused=" "$SUITE_DIR/held.out"
refused=$(tr -d '\r' <"$SUITE_DIR/held.out" | sed -n 's/^refused=//p')
check "the next member runs" within 20 log_has "$CHAIN_LOG" tag=three
check "only after the session went on" test "$(LOG=$CHAIN_LOG field three start)" -ge "${refused:-0}"
check "the owed restart is made at the chain's end" within 30 log_has "$SENTINEL_LOG" "sentinel queried"
check "and ends the screen" process_ends_within "$AUTORUN_PID" 15
expect_eq "nothing is left registered" "$(resume_files)|$(runonce_value)" "|"
expect_eq "every member ran once" "$(tagged one),$(grep -c watching "$ASK_LOG"),$(tagged three)" "1,1,1"
stop_sentinel
case_end

# The installer ends; the chain then restarts the machine itself. The
# sentinel holds the restart after the screen has ended, so that the files
# and the registry are looked at before Wine's run-once processing.
restart_case allow_with_message
chain_script <<'INF'
ALLOWREBOOT=The computer restarts now.\r\nSetup goes on afterwards.
ALLOWREBOOTBUTTONS=2
INF
start_autorun
start_sentinel
check "the allow message is shown" wait_for_box "Restart Disc" "The computer restarts now.|Setup goes on afterwards."
check "nothing is written while it is shown" test -z "$(resume_files)"
check "the box 'The computer restarts now' is answered" answer_box "Restart Disc" "The computer restarts now" Return
check "after it, the program restarts the machine and is ended by it" process_ends_within "$AUTORUN_PID" 30
check "the resume script was written" resume_left
check "and registered" test -n "$(runonce_value)"
expect_eq "the rest of the chain waits for the restart" "$(tagged three)" 0
stop_sentinel
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
wine wineboot -r >/dev/null 2>&1
check "after the restart the resumed screen ran the rest of the chain" test "$(tagged three)" = 1
check "and left no resume script behind" test -z "$(resume_files)"
case_end

restart_case requests_that_pass
chain_script <<'INF'
TRAPREBOOTBUTTONS=3
INF
start_autorun
start_sentinel
check "a member without a policy: the restart passes" process_ends_within "$AUTORUN_PID" 20
check "the session went on to end" log_has "$SENTINEL_LOG" "sentinel queried"
check "nothing was written" test -z "$(resume_files)"
expect_eq "nothing was registered" "$(runonce_value)" ""
expect_eq "the chain was lost" "$(tagged three)" 0
stop_sentinel
{
  printf '%s\n' '[BEGIN]' 'TITLE=Restart Disc' 'TRAPREBOOTBUTTONS=2' '[RUN]' \
    'BUTTON1=recorder.exe /tag=one /log=C:\chain.log,YES' \
    'BUTTON2=restart_asker.exe C:\ask.log two sleep=4000,YES' '[END]'
} | write_script "$DISC/AUTORUN.INF"
rm -f "$SENTINEL_LOG"
start_autorun
start_sentinel
check "a trapped member that is the chain's last: the restart passes" process_ends_within "$AUTORUN_PID" 20
check "nothing was written for it" test -z "$(resume_files)"
stop_sentinel
printf '%s\n' '[BEGIN]' 'TITLE=Idle Disc' 'TRAPREBOOTBUTTONS=1' '[END]' | write_script "$DISC/AUTORUN.INF"
rm -f "$SENTINEL_LOG"
start_autorun
wait_for_window "Idle Disc" >/dev/null
start_sentinel "Idle Disc"
(cd "$DISC" && exec wine "$DISC_WIN\\restart_asker.exe" 'C:\ask.log' outside sleep=3000) >/dev/null 2>&1 &
check "no chain running: the restart passes and ends the screen" process_ends_within "$AUTORUN_PID" 20
check "nothing was written without a chain" test -z "$(resume_files)"
stop_sentinel
case_end

# While Wine's shutdown runs the resumed screen from RunOnce, every program
# started from outside with `wine` waits for it; the resumed run is watched
# through X, the logs and the files.

restart_case resumed_run_meets_restarts
{
  printf '%s\n' '[BEGIN]' 'TITLE=Restart Disc' 'TRAPREBOOTMODE=OK' 'TRAPREBOOT=Held back again.' \
    'FINALREBOOT=Restart the computer now?' 'ALLOWREBOOTBUTTONS=2' 'TRAPREBOOTBUTTONS=3' '[RUN]' \
    'BUTTON1=recorder.exe /tag=one /log=C:\chain.log,YES' \
    'BUTTON2=restart_asker.exe C:\ask.log two sleep=4000,YES' \
    'BUTTON3=restart_asker.exe C:\ask.log three sleep=2000,YES' \
    'BUTTON4=recorder.exe /tag=four /log=C:\chain.log,YES' '[END]'
} | write_script "$DISC/AUTORUN.INF"
start_autorun
# Member two's restart is allowed without a message: it goes through, and
# Wine's shutdown starts the resumed screen from RunOnce.
check "the resumed run starts the member after the restart" within 60 log_has "$ASK_LOG" "three asked"
check "and traps the restart that member asks for" x_message_box "Restart Disc" 20
check "the first run was ended by the restart" lacks "$ASK_LOG" "two ended"
expect_eq "the first screen's members did not run again" "$(tagged one)" 1
check "the resume script was deleted when it was read" within 10 negate resume_left
check "the member that asked ends by itself" within 10 log_has "$ASK_LOG" "three ended"
expect_eq "the next member waits for the trap box" "$(tagged four)" 0
check "the trap box is answered" answer_x_box "Restart Disc" Return
check "then the last member runs" within 20 log_has "$CHAIN_LOG" tag=four
check "and the final question comes" x_message_box "Restart Disc" 20
check "the final question is answered No" answer_x_box "Restart Disc" n
check "the resumed run ends and Wine's run-once processing with it" runonce_done 60
expect_eq "no run-once value is left" "$(runonce_value)" ""
expect_eq "no resume script is left" "$(resume_files)" ""
case_end

restart_case resumed_run_writes_again
{
  printf '%s\n' '[BEGIN]' 'TITLE=Restart Disc' 'ALLOWREBOOTBUTTONS=2,3' '[RUN]' \
    'BUTTON1=recorder.exe /tag=one /log=C:\chain.log,YES' \
    'BUTTON2=restart_asker.exe C:\ask.log two sleep=4000,YES' \
    'BUTTON3=restart_asker.exe C:\ask.log three sleep=4000,YES' \
    'BUTTON4=recorder.exe /tag=four /log=C:\chain.log,YES' '[END]'
} | write_script "$DISC/AUTORUN.INF"
start_autorun
# Two restarts go through: the first run is ended at member two, its resume
# is ended at member three after writing a script of its own, and the
# second resume runs member four.
check "the chain's last member runs after two restarts"  \
  within 60 log_has "$CHAIN_LOG" tag=four
check "each restarting member ran once" test "$(grep -c asked "$ASK_LOG")" = 2
check "both were asked for" log_has "$ASK_LOG" "three asked"
check "Wine's run-once processing finished: both resumed runs ended" runonce_done 60
expect_eq "members one and four ran once each" "$(tagged one),$(tagged four)" "1,1"
expect_eq "no run-once value is left" "$(runonce_value)" ""
expect_eq "no resume script is left" "$(resume_files)" ""
case_end

# The demo disc's own chain: the first item's restart is trapped, the
# second item's is allowed with a message, and the third is installed by the
# resumed run after the restart.
restart_case demo_disc
DIST="$DIST" "$ROOT/tools/make-demo-disc.sh" "$DISC" >>"$SUITE_DIR/$CASE_NAME.log" 2>&1
start_autorun
id=$(wait_for_window "discscreen Demo Disc" 30)
check "the demo screen opens" test -n "$id"
read -r x y _ < <(window_geometry "$id")
xdotool mousemove $((x + 115)) $((y + 424)) click 1  # "Install selected"
check "the first item's restart is trapped" wait_for_box "discscreen Demo Disc" \
  "The Demo Viewer asks to restart the computer.|The restart waits" 30
check "the trap box is answered" answer_box "discscreen Demo Disc" "The Demo Viewer asks" Return
check "the second item's restart is allowed with a message" wait_for_box "discscreen Demo Disc" \
  "The Sample Fonts need a restart" 30
check "the allow box is answered" answer_box "discscreen Demo Disc" "The Sample Fonts need" Return
check "after the restart the resumed run installs the third item" \
  within 90 bash -c "xdotool search --onlyvisible --name '^Extra Tools Setup\$' >/dev/null"
check "the resumed run ends and Wine's run-once processing with it" runonce_done 60
expect_eq "no resume script is left" "$(resume_files)" ""
case_end

USER_RUNONCE='HKCU\Software\Microsoft\Windows\CurrentVersion\RunOnce'
user_runonce_value() {
  wine reg query "$USER_RUNONCE" /v AUTORUN 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p'
}
# Windows runs HKEY_CURRENT_USER's RunOnce values when the user logs on;
# Wine's wineboot runs only HKEY_LOCAL_MACHINE's (programs/wineboot), so the
# log-on is played here: the value is deleted and its command started as
# it stands, the way the shell does it.
user_logs_on() {
  local command
  command=$(user_runonce_value)
  [ -n "$command" ] || return 1
  wine_reg delete "$USER_RUNONCE" /v AUTORUN /f
  (cd "$DISC" && RAW_COMMAND_LINE=$command wine "$WINE_BIN/rawstart.exe") >/dev/null 2>&1
}

# Real installers, built here with NSIS: silent, each appends "tag=TAG" to
# C:\chain.log, then ends with an exit code or restarts the computer the
# way NSIS does it (ExitWindowsEx, then the installer quits at once). The
# x86-64 route, whose Wine runs no 32-bit program, takes the suite's own
# helper instead.
real_installers() { [ "$WINE_ROUTE" = 32 ] && command -v makensis >/dev/null; }
installer() {  # name, tag, "exit=CODE" or "reboot"; prints the script's command
  local name=$1 tag=$2 action=$3 body
  if ! real_installers; then
    case $action in
      reboot) echo "restart_asker.exe C:\\ask.log $tag sleep=3000" ;;
      *) echo "restart_asker.exe C:\\ask.log $tag passive sleep=500 $action" ;;
    esac
    return
  fi
  case $action in
    reboot) body='Reboot' ;;
    *) body="SetErrorLevel ${action#exit=}" ;;
  esac
  printf '%s\n' 'Unicode false' "Name \"$tag\"" "OutFile \"$DISC/$name.exe\"" \
    'RequestExecutionLevel user' 'SilentInstall silent' 'Section' \
    '  FileOpen $0 "C:\chain.log" a' '  FileSeek $0 0 END' "  FileWrite \$0 \"tag=$tag\$\\t\$\\r\$\\n\"" \
    '  FileClose $0' "  $body" 'SectionEnd' >"$SUITE_DIR/$name.nsi"
  makensis -V1 "$SUITE_DIR/$name.nsi" >>"$SUITE_DIR/$CASE_NAME.log" 2>&1
  echo "$name.exe"
}
ran() {  # tag: how often that installer started
  local n m
  n=$(grep -c "tag=$1	" "$CHAIN_LOG" 2>/dev/null)
  m=$(grep -cE "^$1 (asked|watching) " "$ASK_LOG" 2>/dev/null)
  echo $((${n:-0} + ${m:-0}))
}

# Where HKEY_LOCAL_MACHINE's RunOnce key cannot be written (a user without
# administrator rights; here the key is missing), the value goes under the
# user's own RunOnce key, which Windows runs at that user's next log-on.
restart_case user_key_when_machine_key_closed
wine_reg delete "$RUNONCE" /f
chain_script <<'INF'
ALLOWREBOOTBUTTONS=2
INF
start_autorun
start_sentinel
check "the screen lets the restart through and is ended by it" process_ends_within "$AUTORUN_PID" 20
file=$(resume_files | head -1)
check "the resume script is written" test -n "$file"
expect_eq "it is registered under the user's RunOnce key" "$(user_runonce_value)" \
  "C:\\DISC\\AUTORUN $TEMP_WIN\\$file"
stop_sentinel
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
check "at the user's log-on the chain is resumed" user_logs_on
expect_eq "the member after the restart ran once, the one before it was not repeated" \
  "$(tagged one),$(tagged three)" "1,1"
expect_eq "the resume script is gone" "$(resume_files)" ""
# Taken back from the user's key as well when the session goes on.
rm -f "$CHAIN_LOG" "$ASK_LOG"
run_chain_into_refused_session
expect_eq "the screen wrote its script and agreed" "$answer" "answer=1"
expect_eq "the session goes on: the user's value is taken back" "$(user_runonce_value)" ""
expect_eq "and so is the script" "$(resume_files)" ""
check "the chain goes on in this session" within 20 log_has "$CHAIN_LOG" tag=three
case_end

# A disc copied to a folder with a blank, a real installer that restarts
# the computer: the run-once command quotes the program's path, and the
# resumed run finds its script.
restart_case program_folder_with_blank
DISC=$WINEPREFIX/drive_c/Program\ Files/Sample\ Disc
DISC_WIN='C:\Program Files\Sample Disc'
mkdir -p "$DISC"
cp "$DIST"/AUTORUN.EXE "$DIST"/AUTORUN_95.DLL "$DIST"/AUTORUN_NT.DLL \
  "$WINE_BIN"/recorder.exe "$WINE_BIN"/restart_asker.exe "$DISC"/
{
  printf '%s\n' '[BEGIN]' 'TITLE=Restart Disc' 'ALLOWREBOOTBUTTONS=2' '[RUN]' \
    'BUTTON1=recorder.exe /tag=one /log=C:\chain.log,YES' \
    "BUTTON2=$(installer tools_setup tools reboot),YES" \
    'BUTTON3=recorder.exe /tag=three /log=C:\chain.log,YES' '[END]'
} | write_script "$DISC/AUTORUN.INF"
start_autorun
start_sentinel
check "the installer's restart goes through and ends the screen" process_ends_within "$AUTORUN_PID" 20
file=$(resume_files | head -1)
check "a resume script is written" test -n "$file"
expect_eq "the run-once value quotes the program's path" "$(runonce_value)" \
  "\"C:\\Program Files\\Sample Disc\\AUTORUN\" $TEMP_WIN\\$file"
stop_sentinel
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
wine wineboot -r >/dev/null 2>&1
check "Wine's run-once processing resumes the chain from the folder with a blank" \
  test "$(tagged three)" = 1
expect_eq "nothing ran twice" "$(tagged one),$(ran tools)" "1,1"
expect_eq "the resume script is gone" "$(resume_files)" ""
expect_eq "and so is the run-once value" "$(runonce_value)" ""
case_end

# The screen's own restart does not come (under NT 4 it restarts through
# InitiateSystemShutdownA, which Wine leaves undone). Restart requests that
# come afterwards are handled again: a trapped member's by its trap, one
# from a member without a policy (the same as the late restart arriving
# while it runs) is held back until that member has ended and then made
# with the script for the members after it.
restart_case late_requests_after_restart_that_did_not_come
set_windows_version nt40
{
  printf '%s\n' '[BEGIN]' 'TITLE=Restart Disc' 'TRAPREBOOTMODE=OK' 'TRAPREBOOT=Held back again.' \
    'ALLOWREBOOT=The computer restarts now.' 'FINALREBOOT=Restart the computer now?' \
    'ALLOWREBOOTBUTTONS=2' 'TRAPREBOOTBUTTONS=3' '[RUN]' \
    'BUTTON1=recorder.exe /tag=one /log=C:\chain.log,YES' \
    'BUTTON2=restart_asker.exe C:\ask.log two sleep=2000,YES' \
    'BUTTON3=restart_asker.exe C:\ask.log three sleep=2000,YES' \
    'BUTTON4=restart_asker.exe C:\ask.log four sleep=3000,YES' \
    'BUTTON5=recorder.exe /tag=five /log=C:\chain.log,YES' '[END]'
} | write_script "$DISC/AUTORUN.INF"
start_autorun
check "the allow box is answered" answer_box "Restart Disc" "The computer restarts now" Return
check "the resume script is written" within 10 resume_left
check "the restart does not come: after its grace the chain goes on" within 45 log_has "$ASK_LOG" "three asked"
expect_eq "without the resume script" "$(resume_files)" ""
expect_eq "and without the run-once value" "$(runonce_value)" ""
check "the trapped member's own request is trapped" wait_for_box "Restart Disc" "Held back again"
check "the trap box is answered" answer_box "Restart Disc" "Held back again" Return
check "the next member asks" within 20 log_has "$ASK_LOG" "four asked"
check "its request is held back: the screen stays" kill -0 "$AUTORUN_PID"
check "once it has ended, a resume script is written" within 10 resume_left
file=$(resume_files | head -1)
if [ -n "$file" ]; then
  resume=$(tr -d '\r' <"$TEMP_UNIX/$file")
  expect_eq "for the last member alone" \
    "$(grep -o '^BUTTON[0-9]*=' <<<"$resume" | sort -u | tr -d '\n')|$(grep -A1 '^\[REBOOTED\]' <<<"$resume" | tail -1)" \
    'BUTTON5=|BUTTON5=recorder.exe /tag=five /log=C:\chain.log,1'
  expect_eq "and registered" "$(runonce_value)" "C:\\DISC\\AUTORUN $TEMP_WIN\\$file"
fi
check "that restart does not come either: the last member runs" within 45 log_has "$CHAIN_LOG" tag=five
expect_eq "and nothing is left registered" "$(resume_files)|$(runonce_value)" "|"
check "the final question comes for the trapped request" wait_for_box "Restart Disc" "Restart the computer now"
check "it is answered No" answer_box "Restart Disc" "Restart the computer now" n
check "the screen ends" process_ends_within "$AUTORUN_PID" 15
expect_eq "every member ran once" "$(tagged one),$(grep -c asked "$ASK_LOG"),$(tagged five)" "1,3,1"
case_end

# Installers that report a needed restart by their exit code (3010, 1641)
# instead of asking for one: a trapped member's is held back with the trap
# box and offered at the end, an allowed member's is made by the program
# after the allow box, with the rest of the chain resumed afterwards; a
# member without a policy is left alone.
restart_case exit_codes
for round in 3010,1641 1641,3010; do
  trapped=${round%,*}
  allowed=${round#*,}
  rm -f "$CHAIN_LOG" "$ASK_LOG"
  {
    printf '%s\n' '[BEGIN]' 'TITLE=Restart Disc' 'TRAPREBOOTMODE=OK' 'TRAPREBOOT=Setup needs a restart later.' \
      'ALLOWREBOOT=The computer restarts now.' 'FINALREBOOT=Restart the computer now?' \
      'TRAPREBOOTBUTTONS=1' 'ALLOWREBOOTBUTTONS=3' '[RUN]' \
      "BUTTON1=$(installer trap_setup trapped$trapped exit=$trapped),YES" \
      'BUTTON2=recorder.exe /tag=two /log=C:\chain.log,YES' \
      "BUTTON3=$(installer allow_setup allowed$allowed exit=$allowed),YES" \
      "BUTTON4=$(installer plain_setup plain exit=3010),YES" \
      'BUTTON5=recorder.exe /tag=five /log=C:\chain.log,YES' '[END]'
  } | write_script "$DISC/AUTORUN.INF"
  start_autorun
  check "trapped $trapped: the trap box" wait_for_box "Restart Disc" "Setup needs a restart later"
  expect_eq "trapped $trapped: the chain waits for it" "$(tagged two)" 0
  check "trapped $trapped: the box is answered" answer_box "Restart Disc" "Setup needs a restart later" Return
  check "allowed $allowed: the allow box, after the member between" wait_for_box "Restart Disc" "The computer restarts now"
  expect_eq "allowed $allowed: the member between ran" "$(tagged two)" 1
  check "allowed $allowed: the box is answered" answer_box "Restart Disc" "The computer restarts now" Return
  # The program restarts the computer; Wine's shutdown ends the screen and
  # runs the resumed screen from RunOnce.
  check "allowed $allowed: after the restart the resumed run ends the chain" within 60 log_has "$CHAIN_LOG" tag=five
  check "allowed $allowed: the resumed run ends, without a question" runonce_done 60
  expect_eq "allowed $allowed: every installer ran once" \
    "$(ran trapped$trapped),$(tagged two),$(ran allowed$allowed),$(ran plain),$(tagged five)" "1,1,1,1,1"
  expect_eq "allowed $allowed: nothing is left registered" "$(resume_files)|$(runonce_value)" "|"
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
done
case_end

# A trapped installer that asks for a restart and then ends with 1641 (its
# restart is under way) has asked once: one trap box, then the final
# question.
restart_case asked_then_1641
{
  printf '%s\n' '[BEGIN]' 'TITLE=Restart Disc' 'TRAPREBOOTMODE=OK' 'TRAPREBOOT=Setup asks for a restart.' \
    'FINALREBOOT=Restart the computer now?' 'TRAPREBOOTBUTTONS=2' '[RUN]' \
    'BUTTON1=recorder.exe /tag=one /log=C:\chain.log,YES' \
    'BUTTON2=restart_asker.exe C:\ask.log two sleep=2000 exit=1641,YES' \
    'BUTTON3=recorder.exe /tag=three /log=C:\chain.log,YES' '[END]'
} | write_script "$DISC/AUTORUN.INF"
start_autorun
check "the trap box is answered" answer_box "Restart Disc" "Setup asks for a restart" Return
check "the member ends with 1641" within 20 log_has "$ASK_LOG" "two ended"
check "the chain goes on without a second trap box" within 20 log_has "$CHAIN_LOG" tag=three
check "the final question comes" wait_for_box "Restart Disc" "Restart the computer now"
check "it is answered No" answer_box "Restart Disc" "Restart the computer now" n
check "the screen ends" process_ends_within "$AUTORUN_PID" 15
case_end

# A resumed screen that must close at once (here: its wait library is
# missing) keeps its resume script and registers it again, so that the
# chain runs at the next start once the cause is gone.
restart_case resumed_screen_that_must_close
chain_script <<'INF'
ALLOWREBOOTBUTTONS=2
INF
start_autorun
start_sentinel
check "the restart goes through after the script is written" process_ends_within "$AUTORUN_PID" 20
file=$(resume_files | head -1)
command=$(runonce_value)
check "a resume script is registered" test -n "$file" -a -n "$command"
stop_sentinel
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
mkdir -p "$SUITE_DIR/waitlib"
mv "$DISC"/AUTORUN_95.DLL "$DISC"/AUTORUN_NT.DLL "$SUITE_DIR/waitlib"/
wine wineboot -r >/dev/null 2>&1
expect_eq "without its wait library the resumed screen ran nothing" "$(tagged three)" 0
expect_eq "its resume script is kept" "$(resume_files)" "$file"
check "and registered again" test -n "$(runonce_value)"
mv "$SUITE_DIR/waitlib"/*.DLL "$DISC"/
wine wineboot -r >/dev/null 2>&1
check "at the next start the chain is resumed" test "$(tagged three)" = 1
expect_eq "nothing ran twice" "$(tagged one)" 1
expect_eq "nothing is left" "$(resume_files)|$(runonce_value)" "|"
case_end

suite_end
