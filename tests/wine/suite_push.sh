#!/usr/bin/env bash
# Buttons that start programs, clicked with the mouse: each option of a push
# button (screen hidden or visible, waited for or not, restored or closed),
# a second click while a program runs, closing the screen meanwhile, and the
# OK button's chain of check boxes.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/recorder_log.sh"
suite_begin push

TITLE="Push Test"
export RECORDER_LOG='C:\DISC\log.txt'

# ---------------------------------------------------------------------------
# Push button options: what the screen does while the program runs and after.
# The program shows a window while it runs, which tells the suite it started.
push_case() {
  local option=$1 shown_during=$2 waited=$3 after=$4
  case_begin "push_$option"
  setup_disc pictures
  write_inf <<INF
[BUTTON]
BUTTON1=PUSHBUTTON,20,20,0,0,NORMAL,$option,STRIP.BMP, , , ,RECORDER.EXE /tag=prog /window=3000 /title=ProgWindow
[INSTALLMESSAGE]
BUTTON1=Installing the $option program
INF
  if open_screen; then
    click_button 20 20
    if wait_for_window ProgWindow 15 >/dev/null; then
      expect_eq "$option: the screen while the program runs (visible=)" "$(visible)" "$shown_during"
      expect_eq "$option: the install message stays only while the program is waited for" \
        "$(windows_with "Installing the $option" | grep -c "Installing the $option program")" "$waited"
    else
      fail "$option: the program did not start"
    fi
    check "$option: the program ran" within 15 logged prog
    if [ "$after" = closed ]; then
      check "$option: the screen is closed afterwards" process_ends_within "$AUTORUN_PID" 10
    else
      check "$option: the screen is restored afterwards" wait_visible 10
      check "$option: the install message is gone" within 10 negate notice_shown "Installing the $option"
    fi
  fi
  case_end
}
push_case NO 0 1 restored
push_case SHOW 1 1 restored
push_case 7 1 0 restored

# "YES" does not wait: the screen closes while the program still runs.
case_begin push_YES
setup_disc pictures
write_inf <<'INF'
[BUTTON]
BUTTON1=PUSHBUTTON,20,20,0,0,NORMAL,YES,STRIP.BMP, , , ,RECORDER.EXE /tag=prog /sleep=5000
INF
if open_screen; then
  click_button 20 20
  check "YES: the screen is hidden at once" within 10 hidden
  screen_or_program_ended() { process_gone "$AUTORUN_PID" || logged prog; }
  within 15 screen_or_program_ended
  check "YES: the screen closes without waiting for the program" process_gone "$AUTORUN_PID"
  check "YES: the program is still running then" negate logged prog
  check "YES: the program runs to its end" within 15 logged prog
fi
case_end

case_begin push_YES_without_command
setup_disc pictures
write_inf <<'INF'
[BUTTON]
BUTTON1=PUSHBUTTON,20,20,0,0,NORMAL,YES,STRIP.BMP
INF
if open_screen; then
  click_button 20 20
  check "YES with an empty command only closes the screen" process_ends_within "$AUTORUN_PID" 10
  check "nothing was started" test ! -e "$LOG"
fi
case_end

# A "SHOW" screen stays usable: a second click while the program runs is
# refused, and closing the screen hides it at once and ends the program
# only once the program is done. The buttons lie above the install message,
# which is centred over the screen.
case_begin show_second_click_and_close
setup_disc pictures
write_inf <<'INF'
[BUTTON]
BUTTON1=PUSHBUTTON,20,20,0,0,NORMAL,SHOW,STRIP.BMP, , , ,RECORDER.EXE /tag=first /sleep=4000
BUTTON2=PUSHBUTTON,80,20,0,0,NORMAL,SHOW,STRIP.BMP, , , ,RECORDER.EXE /tag=second
BUTTON3=EXITBUTTON,340,20,0,0,NORMAL,NO,STRIP.BMP
[INSTALLMESSAGE]
BUTTON1=Installing the first program
INF
if open_screen; then
  click_button 20 20
  if wait_for_notice 'Installing the first program' 15; then
    click_button 80 20
    click_button 20 20
    click_button 340 20
    check "closing hides the screen at once" within 10 hidden
    check "the screen's process waits for the program" kill -0 "$AUTORUN_PID"
    check "the first program runs to its end" within 15 logged first
    check "then the screen's process ends" process_ends_within "$AUTORUN_PID" 10
    expect_eq "and its install message with it" "$(windows_with 'Installing the first' | wc -l)" 0
    expect_eq "the first program ran once" "$(log_count first)" 1
    expect_eq "clicks while it ran started nothing" "$(log_count second)" 0
  else
    fail "no install message for the first program"
  fi
fi
case_end

# ---------------------------------------------------------------------------
# The OK button's chain: check boxes 2, 5 and 9 in slot order; an unchecked
# box and a push button are skipped.
chain_script() {
  write_inf <<INF
[BUTTON]
BUTTON2=CHECKBOX,20,20,0,0,CHECK,YES,STRIP.BMP, , , ,RECORDER.EXE /tag=two /sleep=1200
BUTTON3=CHECKBOX,20,70,0,0,UNCHECK,YES,STRIP.BMP, , , ,RECORDER.EXE /tag=three
BUTTON4=PUSHBUTTON,20,120,0,0,NORMAL,NO,STRIP.BMP, , , ,RECORDER.EXE /tag=four
BUTTON5=CHECKBOX,70,20,0,0,CHECK,YES,STRIP.BMP, , , ,RECORDER.EXE /tag=five /sleep=800
BUTTON9=CHECKBOX,70,70,0,0,CHECK,NO,STRIP.BMP, , , ,RECORDER.EXE /tag=nine
BUTTON10=OKBUTTON,200,200,0,0,NORMAL,$1,STRIP.BMP
INF
}

case_begin ok_chain_yes
setup_disc pictures
chain_script YES
if open_screen; then
  click_button 200 200
  check "the screen is hidden while the chain runs" within 10 hidden
  check "after an OK button with YES the screen closes" process_ends_within "$AUTORUN_PID" 30
  expect_eq "checked boxes start in slot order; others are skipped" "$(start_order)" "two five nine"
  check "slot 5 waits for slot 2" started_after two five 450
  check "slot 9 waits for slot 5" started_after five nine 450
fi
case_end

case_begin ok_chain_no
setup_disc pictures
chain_script NO
if open_screen; then
  click_button 70 20   # uncheck box 5
  click_button 200 200
  check "the screen is hidden while the chain runs" within 10 hidden
  check "the chain runs" within 20 logged nine
  check "after an OK button with NO the screen is shown again" wait_visible 10
  expect_eq "a box unchecked by a click is skipped" "$(start_order)" "two nine"
fi
case_end

suite_end
