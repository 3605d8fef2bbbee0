#!/usr/bin/env bash
# Starting programs under Wine with real processes: chains from a [RUN]
# section in slot order with their waits, failed members and their box,
# documents through associations in the registry, the install message,
# the current directory, refused overlong lines, both wait libraries.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/recorder_log.sh"
suite_begin launch

TITLE="Launch Test"
export RECORDER_LOG='C:\DISC\log.txt'

# A screen script without background: [BEGIN] with the title, then the given sections.
write_plain_inf() {
  { printf '[BEGIN]\nTITLE=%s\n' "$TITLE"; cat; printf '[END]\n'; } | write_script "$DISC/AUTORUN.INF"
}

# ---------------------------------------------------------------------------
case_begin run_chain_in_slot_order
setup_disc
write_plain_inf <<'INF'
[RUN]
BUTTON9=RECORDER.EXE /tag=nine /sleep=300,YES
BUTTON5=RECORDER.EXE /tag=five /sleep=1200,YES
BUTTON2=RECORDER.EXE /tag=two /sleep=1500,YES
BUTTON7=RECORDER.EXE /tag=seven /sleep=1000,NO
BUTTON8=RECORDER.EXE /tag=eight,YES
[END]
INF
start_autorun
# Hidden, or shown by the dialog manager after the worker hid it: either way
# it has no size. The probe finds the window once the program has made it.
screen_facts() { probe "$TITLE" | grep -E '^(visible|size)=' | tr '\n' ' ' | grep .; }
seen=$(within 30 screen_facts)
case "$seen" in
  *visible=0*|*size=0,0*) pass "the screen of a [RUN] script stays out of sight ($seen)" ;;
  *) fail "the screen of a [RUN] script is in sight: $seen" ;;
esac
check "the program ends after its [RUN] chain" process_ends_within "$AUTORUN_PID" 40
expect_eq "members start in slot order" "$(start_order)" "two five seven eight nine"
check "slot 5 starts after the waited slot 2 ended and the pause" started_after two five 450
check "slot 7 starts after the waited slot 5 ended" started_after five seven 450
check "slot 8 starts while slot 7, not waited for, still runs" started_before_end seven eight
check "slot 9 starts after the waited slot 8" started_after eight nine 450
case_end

# ---------------------------------------------------------------------------
# A resume script after a restart: its [REBOOTED] entries and a box that the
# script left checked run in slot order, out of sight, and the program ends.
case_begin rebooted_chain
setup_disc
RESUME="$WINEPREFIX/drive_c/windows/temp/AUTORUN4711.INF"
write_script "$RESUME" <<'INF'
[BEGIN]
TITLE=Launch Test
[REBOOTED]
BUTTON3=RECORDER.EXE /tag=three /sleep=600,1
BUTTON1=RECORDER.EXE /tag=one /sleep=600,1
[BUTTON]
BUTTON2=CHECKBOX,20,20,40,30,CHECK,YES, , , , ,RECORDER.EXE /tag=two /sleep=600
[END]
INF
start_autorun 'c:\windows\temp\autorun4711.inf'
check "the resumed program ends after its chain" process_ends_within "$AUTORUN_PID" 40
expect_eq "entries and the checked box run in slot order" "$(start_order)" "one two three"
check "each waits for the one before" started_after two three 450
check "the resume script is gone" test ! -e "$RESUME"
case_end

# ---------------------------------------------------------------------------
# A failing first member: each answer to its box, and no box at all.
failing_chain() {
  setup_disc
  write_plain_inf <<INF
[RUN]
BUTTON1=MISSING.EXE /tag=missing,YES
BUTTON2=RECORDER.EXE /tag=second,YES
[MESSAGE]
BUTTON1=$1
INF
}

case_begin failed_member_retry
failing_chain "Cannot start the first program."
start_autorun
if id=$(x_message_box "$TITLE" 20); then
  pass "the failure message appears in a box titled like the screen"
  expect_eq "the box shows the failure message" \
    "$(windows_with 'Cannot start the first' | grep -c 'Cannot start the first program.')" 1
  cp "$WINE_BIN/recorder.exe" "$DISC/MISSING.EXE"
  press_key_in "$id" r
  check "Retry starts the file that has appeared" process_ends_within "$AUTORUN_PID" 30
  check "the retried member ran" logged missing
  check "the next member follows it" started_after missing second 450
else
  fail "no failure box"
fi
case_end

case_begin failed_member_abort
failing_chain "Cannot start the first program."
start_autorun
if answer_x_box "$TITLE" a; then
  check "after Abort the [RUN] program ends" process_ends_within "$AUTORUN_PID" 20
  check "Abort starts nothing more" no_log
else
  fail "no failure box"
fi
case_end

case_begin failed_member_ignore
failing_chain "Cannot start the first program."
start_autorun
if answer_x_box "$TITLE" i; then
  check "after Ignore the chain ends" process_ends_within "$AUTORUN_PID" 20
  check "Ignore goes on with the next member" logged second
else
  fail "no failure box"
fi
case_end

case_begin failed_member_silent
failing_chain ""
start_autorun
check "a failure without a message ends the chain" process_ends_within "$AUTORUN_PID" 20
check "it is passed over: the next member runs" logged second
case_end

# ---------------------------------------------------------------------------
case_begin documents_and_associations
setup_disc
VIEWER_DIR="$WINEPREFIX/drive_c/Program Files/Launch Tools"
mkdir -p "$VIEWER_DIR"
cp "$WINE_BIN/recorder.exe" "$VIEWER_DIR/viewer.exe"
cp "$WINE_BIN/recorder.exe" "$WINEPREFIX/drive_c/windows/lnview.exe"
echo notes >"$DISC/README.LNA"
echo notes >"$DISC/GUIDE.LNB"
wine_reg add 'HKLM\Software\Classes\.lna' /ve /d lnafile /f
wine_reg add 'HKLM\Software\Classes\lnafile\shell' /ve /d open /f
wine_reg add 'HKLM\Software\Classes\lnafile\shell\open\command' /ve \
  /d '"C:\Program Files\Launch Tools\viewer.exe" /tag=viewer "%1" /ignored' /f
wine_reg add 'HKLM\Software\Classes\.lnb' /ve /d lnbfile /f
wine_reg add 'HKLM\Software\Classes\lnbfile\shell' /ve /d view /f
wine_reg add 'HKLM\Software\Classes\lnbfile\shell\view\command' /ve /d '%SystemRoot%\lnview.exe /tag=lnview %1' /f
write_plain_inf <<'INF'
[RUN]
BUTTON1=README.LNA /extra,YES
BUTTON2=GUIDE.LNB,YES
BUTTON3=RECORDER.EXE /tag=plain /S /X,YES
INF
start_autorun
check "the chain of documents ends" process_ends_within "$AUTORUN_PID" 40
# Wine quotes an unquoted program path that holds blanks in the command line
# that the child sees; the blanks around the document are those of the template.
expect_eq "a quoted template with blanks starts its program with the document" \
  "$(field viewer cmd)" '"C:\Program Files\Launch Tools\viewer.exe"  /tag=viewer  C:\DISC\README.LNA /extra'
expect_eq "%SystemRoot% at the start of a template is the Windows directory" \
  "$(field lnview cmd)" 'C:\windows\lnview.exe /tag=lnview C:\DISC\GUIDE.LNB'
expect_eq "a program with arguments is started as itself through FindExecutableA" \
  "$(field plain cmd)" 'C:\DISC\RECORDER.EXE /tag=plain /S /X'
case_end

# ---------------------------------------------------------------------------
case_begin current_directory
setup_disc
mkdir -p "$DISC/TOOLS" "$DISC/SETUP FILES"
cp "$WINE_BIN/recorder.exe" "$DISC/TOOLS/TOOL.EXE"
# A shorter program that the folder's name begins with: the recorders log
# under their own file names.
cp "$WINE_BIN/recorder.exe" "$DISC/SETUP.EXE"
cp "$WINE_BIN/recorder.exe" "$DISC/SETUP FILES/INSTALL.EXE"
write_plain_inf <<'INF'
[RUN]
BUTTON1=RECORDER.EXE /tag=slash /D=C:\windows\temp,YES
BUTTON2=TOOLS\TOOL.EXE /tag=tool,YES
BUTTON3=SETUP FILES\INSTALL.EXE /S,YES
BUTTON4=RECORDER.EXE /tag=plain,YES
INF
# Started from another folder than the disc.
(cd "$WINEPREFIX/drive_c" && exec wine "$DISC_WIN\\AUTORUN.EXE") >>"$SUITE_DIR/$CASE_NAME.log" 2>&1 &
AUTORUN_PID=$!
check "the chain ends" process_ends_within "$AUTORUN_PID" 40
expect_eq "a backslash in the arguments of the first member: it starts in the program's directory" \
  "$(field slash cwd)" 'C:\DISC'
expect_eq "a program starts in its own directory" "$(field tool cwd)" 'C:\DISC\TOOLS'
expect_eq "a program in a folder with a blank is the one that starts, in that folder" \
  "$(field INSTALL.EXE cwd)" 'C:\DISC\SETUP FILES'
expect_eq "the shorter program that the folder's name begins with does not" "$(log_count SETUP.EXE)" 0
expect_eq "the program's directory is current again after each start" "$(field plain cwd)" 'C:\DISC'
case_end

# ---------------------------------------------------------------------------
case_begin overlong_line_is_refused
setup_disc
long=$(printf 'x%.0s' $(seq 1 520))
write_plain_inf <<INF
[RUN]
BUTTON1=RECORDER.EXE /tag=long /$long,YES
BUTTON2=RECORDER.EXE /tag=after,YES
[MESSAGE]
BUTTON1=The command line is too long.
INF
start_autorun
if answer_x_box "$TITLE" i; then
  pass "a line longer than 519 characters fails to start, with the failure box"
  check "the chain goes on after Ignore" process_ends_within "$AUTORUN_PID" 20
  check "nothing started for the overlong line" not_logged long
  check "the next member ran" logged after
else
  fail "no failure box for an overlong line"
fi
case_end

# ---------------------------------------------------------------------------
case_begin install_message
setup_disc
write_plain_inf <<'INF'
[RUN]
BUTTON1=RECORDER.EXE /tag=slow /sleep=5000,YES
BUTTON2=RECORDER.EXE /tag=quick /sleep=3000,NO
[INSTALLMESSAGE]
BUTTON1=Installing the sample program
BUTTON2=Starting the quick one
INF
start_autorun
check "the install message shows while a waited program runs" wait_for_notice 'Installing the sample program' 15
check "its program is still running then" not_logged slow
check "the waited program ends" within 20 logged slow
check "its notice is gone after it" within 10 negate notice_shown 'Installing the sample'
expect_eq "a program that is not waited for leaves no notice behind" \
  "$(windows_with 'Starting the quick' | wc -l)" 0
check "the program ends" process_ends_within "$AUTORUN_PID" 20
case_end

# ---------------------------------------------------------------------------
# Each flavour of the wait library waits for a grandchild that outlives its
# parent. Only that flavour's file is on the disc: loading the other one
# would close the screen before anything starts.
flavour_case() {
  local version=$1 keep=$2 drop=$3
  case_begin "wait_flavour_$keep"
  setup_disc
  rm -f "$DISC/AUTORUN_$drop.DLL"
  set_windows_version "$version"
  write_plain_inf <<'INF'
[RUN]
BUTTON1=RECORDER.EXE /tag=parent /child C:\DISC\RECORDER.EXE /tag=grandchild /sleep=2500,YES
BUTTON2=RECORDER.EXE /tag=after,YES
INF
  start_autorun
  check "$version: the chain ends" process_ends_within "$AUTORUN_PID" 40
  check "$version: the parent ran and exited at once" started_before_end grandchild parent
  check "$version loads AUTORUN_$keep.DLL, which waits for the grandchild" \
    started_after grandchild after 450
  case_end
}
flavour_case win98 95 NT
flavour_case win2k NT 95

suite_end
