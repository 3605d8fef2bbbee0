#!/usr/bin/env bash
# Start-up of the screen: title, keys, centring, script path, stop marker,
# wait library, single instance.
source "$(dirname "$0")/lib.sh"
suite_begin startup

basic_script() {
  write_script "$DISC/AUTORUN.INF" <<'INF'
[BEGIN]
TITLE=  Sample Disc  
[END]
INF
}

case_begin title_and_centre
basic_script
start_autorun
if id=$(wait_for_window "Sample Disc"); then
  pass "the title comes from the script, trimmed"
  eval "$(probe "Sample Disc" | grep -E '^(rect|screen)=' | sed 's/=\(.*\)/="\1"/')"
  IFS=, read -r l t r b <<<"$rect"
  IFS=, read -r sw sh <<<"$screen"
  expect_eq "the screen is centred horizontally" $(((sw - (r - l)) / 2)) "$l"
  expect_eq "the screen is centred vertically" $(((sh - (b - t)) / 2)) "$t"
else
  fail "no window titled 'Sample Disc'"
fi
case_end

case_begin enter_does_not_close_escape_does
basic_script
start_autorun
if id=$(wait_for_window "Sample Disc"); then
  press_key_in "$id" Return
  sleep 1
  check "the screen is still there after Enter" kill -0 "$AUTORUN_PID"
  xdotool key Escape
  check "Escape ends the program" process_ends_within "$AUTORUN_PID" 10
else
  fail "no window"
fi
case_end

suite_end
