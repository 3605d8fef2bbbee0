#!/usr/bin/env bash
# Start-up of the screen: title, keys, centring, the script's language and
# Windows-version sections, the script path, the stop marker, the wait
# library, the single-instance check, and the program's own entry point
# (arguments, show command, exit code) in a probe built the same way.
source "$(dirname "$0")/lib.sh"
suite_begin startup

title_script() {
  write_script "${2:-$DISC/AUTORUN.INF}" <<INF
[BEGIN]
TITLE=  $1  
[END]
INF
}

# Runs the program with optional environment words, reports the title it
# shows (or nothing), then closes it with Escape.
shown_title() { xdotool search --onlyvisible --name '^Title ' getwindowname %@ 2>/dev/null | head -1 | grep .; }
title_shown() {
  local title pid
  (cd "$DISC" && exec env "$@" wine "$DISC_WIN\\AUTORUN.EXE") >>"$SUITE_DIR/$CASE_NAME.log" 2>&1 &
  pid=$!
  title=$(within 20 shown_title)
  echo "$title"
  [ -n "$title" ] && close_with_escape "$title" "$pid" >/dev/null
  kill "$pid" 2>/dev/null
}

case_begin title_and_centre
title_script "Sample Disc"
start_autorun
if id=$(wait_for_window "Sample Disc"); then
  pass "the title comes from the script, trimmed"
  rect=$(probe_value rect "Sample Disc")
  screen=$(probe_value screen "Sample Disc")
  IFS=, read -r l t r b <<<"$rect"
  IFS=, read -r sw sh <<<"$screen"
  expect_eq "the screen is centred horizontally" "$l" $(((sw - (r - l)) / 2))
  expect_eq "the screen is centred vertically" "$t" $(((sh - (b - t)) / 2))
  press_key_in "$id" Return
  # Nothing follows an Enter that is ignored: the key is given a moment.
  sleep 1
  check "Enter leaves the screen open" kill -0 "$AUTORUN_PID"
  xdotool key Escape
  check "Escape ends the program" process_ends_within "$AUTORUN_PID" 10
else
  fail "no window titled 'Sample Disc'"
fi
case_end

case_begin no_script_gives_program_name
start_autorun
check "without a script the title is the program name" wait_for_window AUTORUN
size=$(probe_value size AUTORUN)
[ -n "$size" ] && [ "${size%,*}" -gt 100 ]
check "and the screen keeps the template's size ($size)" test $? -eq 0
case_end

case_begin language_sections
write_script "$DISC/AUTORUN.INF" <<'INF'
[BEGIN]
TITLE=Title Base
[BEGIN] [GER]
TITLE=Title German
[BEGIN] [CHT] // traditional only
TITLE=Title Traditional
[BEGIN] [CHS]
TITLE=Title Simplified
[BEGIN] [BRZ]
TITLE=Title Brazil
[BEGIN] [POR]
TITLE=Title Portugal
[BEGIN] [DEFAULT]
TITLE=Title Default
[END]
INF
for pair in en_US:"Title Base" de_DE:"Title German" zh_TW:"Title Traditional" \
  zh_CN:"Title Simplified" pt_BR:"Title Brazil" pt_PT:"Title Portugal" el_GR:"Title Default"; do
  locale=${pair%%:*}
  expected=${pair#*:}
  expect_eq "language $locale picks its section" "$(title_shown LC_ALL=$locale.UTF-8)" "$expected"
done
case_end

case_begin version_sections
write_script "$DISC/AUTORUN.INF" <<'INF'
[BEGIN]
TITLE=Title Plain
[BEGIN] [WIN95]
TITLE=Title 95
[BEGIN] [WIN98]
TITLE=Title 98
[BEGIN] [WIN98SE]
TITLE=Title 98 SE
[BEGIN] [WINME]
TITLE=Title ME
[BEGIN] [WINNT]
TITLE=Title NT 4
[BEGIN] [WIN2K]
TITLE=Title 2000
[BEGIN] [WIN98]
TITLE=Title Last 98
[END]
INF
# Wine's win98 is the Second Edition; a later system (the prefix's own, or
# win10) reads every version section, so the last one wins there.
for pair in win95:"Title 95" win98:"Title 98 SE" winme:"Title ME" nt40:"Title NT 4" \
  win2k:"Title 2000" winxp:"Title 2000" win10:"Title Last 98"; do
  version=${pair%%:*}
  set_windows_version "$version"
  expect_eq "Windows version $version picks its section" "$(title_shown)" "${pair#*:}"
done
wine_reg delete 'HKCU\Software\Wine\AppDefaults\AUTORUN.EXE' /v Version /f
expect_eq "the prefix's own Windows (code 0) reads every section" "$(title_shown)" "Title Last 98"
case_end

case_begin first_edition_98
write_script "$DISC/AUTORUN.INF" <<'INF'
[BEGIN]
TITLE=Title Plain
[BEGIN] [WIN98SE]
TITLE=Title 98 SE
[BEGIN] [WIN98]
TITLE=Title 98
[END]
INF
wine_reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion' /v CurrentVersion /f
wine_reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion' /v VersionNumber /d 4.10.1998 /f
wine_reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion' /v SubVersionNumber /d ' ' /f
expect_eq "Windows 98 first edition picks [WIN98], not [WIN98SE]" "$(title_shown)" "Title 98"
case_end

case_begin stop_marker
title_script "Marker Disc"
wine_reg add 'HKLM\SOFTWARE\Velqor\Settings' /v SUPPORTDIR /d 'C:\Product Support' /f
mkdir -p "$WINEPREFIX/drive_c/Product Support"
touch "$WINEPREFIX/drive_c/Product Support/Qmstop.txt"
start_autorun
check "the stop marker ends the program without showing the screen" \
  ends_without_window "$AUTORUN_PID" "Marker Disc" 15
rm "$WINEPREFIX/drive_c/Product Support/Qmstop.txt"
mkdir "$WINEPREFIX/drive_c/Product Support/Qmstop.txt"
start_autorun
check "a marker that is a directory does not stop the screen" wait_for_window "Marker Disc"
close_with_escape "Marker Disc" "$AUTORUN_PID"
wine_reg add 'HKLM\SOFTWARE\Velqor\Settings' /v SUPPORTDIR /t REG_DWORD /d 7 /f
start_autorun
check "a support directory value that is no string is ignored" wait_for_window "Marker Disc"
close_with_escape "Marker Disc" "$AUTORUN_PID"
wine_reg add 'HKLM\SOFTWARE\Velqor\Settings' /v SUPPORTDIR /d "C:\\$(printf 'x%.0s' $(seq 700))" /f
start_autorun
check "an overlong support directory value is ignored safely" wait_for_window "Marker Disc"
close_with_escape "Marker Disc" "$AUTORUN_PID"
case_end

case_begin script_on_command_line
mkdir -p "$DISC/My Scripts"
title_script "Command Line Script" "$DISC/My Scripts/Lower Case.inf"
title_script "Default Script"
start_command_line "C:\\DISC\\AUTORUN.EXE   c:\\disc\\my scripts\\lower case.inf   "
check "a lower-case script path with blanks around it is read" wait_for_window "Command Line Script"
close_with_escape "Command Line Script" "$AUTORUN_PID"
start_command_line "C:\\DISC\\AUTORUN.EXE    "
check "a blank command line reads the default script" wait_for_window "Default Script"
close_with_escape "Default Script" "$AUTORUN_PID"
start_command_line "C:\\DISC\\AUTORUN.EXE C:\\DISC\\$(printf 'd%.0s' $(seq 900)).INF"
check "an overlong script path gives an empty screen" wait_for_window AUTORUN
close_with_escape AUTORUN "$AUTORUN_PID"
case_end

case_begin default_script_beside_renamed_program
mv "$DISC/AUTORUN.EXE" "$DISC/SETUP.EXE"
mv "$DISC/AUTORUN_95.DLL" "$DISC/SETUP_95.DLL"
mv "$DISC/AUTORUN_NT.DLL" "$DISC/SETUP_NT.DLL"
title_script "Renamed Disc" "$DISC/SETUP.INF"
title_script "Wrong Script"
(cd "$WINEPREFIX/drive_c" && exec wine 'C:\DISC\SETUP.EXE') >>"$SUITE_DIR/$CASE_NAME.log" 2>&1 &
AUTORUN_PID=$!
check "a renamed program reads its own script from its own directory" wait_for_window "Renamed Disc"
close_with_escape "Renamed Disc" "$AUTORUN_PID"
case_end

case_begin wait_library_per_version
title_script "Library Disc"
rm "$DISC/AUTORUN_95.DLL"
for version in win95 win98 winme win10; do
  set_windows_version "$version"
  start_autorun
  check "$version without the 95 library closes at once" process_ends_within "$AUTORUN_PID" 15
done
for version in nt40 win2k; do
  set_windows_version "$version"
  start_autorun
  check "$version loads the NT library and stays" wait_for_window "Library Disc"
  close_with_escape "Library Disc" "$AUTORUN_PID"
done
cp "$DIST/AUTORUN_95.DLL" "$DISC/"
rm "$DISC/AUTORUN_NT.DLL"
set_windows_version win2k
start_autorun
check "win2k without the NT library closes at once" process_ends_within "$AUTORUN_PID" 15
set_windows_version win98
start_autorun
check "win98 loads the 95 library and stays" wait_for_window "Library Disc"
close_with_escape "Library Disc" "$AUTORUN_PID"
case_end

case_begin single_instance
write_script "$DISC/AUTORUN.INF" <<'INF'
[BEGIN]
INTROSOUND=INTRO.WAV
[END]
INF
write_script "$DISC/MULTI.INF" <<'INF'
[BEGIN]
RUNMULTIPLE=yes
INTROSOUND=MULTI.WAV
[END]
INF
(cd "$DISC" && WINEDEBUG=trace+winmm exec wine "$DISC_WIN\\AUTORUN.EXE") >"$SUITE_DIR/first.log" 2>&1 &
first=$!
if wait_for_window AUTORUN >/dev/null; then
  probe AUTORUN minimize >/dev/null
  expect_eq "the first copy is minimised" "$(probe_value iconic AUTORUN)" 1
  (cd "$DISC" && WINEDEBUG=trace+winmm exec wine "$DISC_WIN\\AUTORUN.EXE") >"$SUITE_DIR/second.log" 2>&1 &
  second=$!
  check "a second copy closes itself" process_ends_within "$second" 15
  check "the first copy played its intro sound" grep -q 'SoundName=L"C:\\\\DISC\\\\INTRO.WAV"' "$SUITE_DIR/first.log"
  check "the second copy did not" bash -c "! grep -q 'SoundName=L\"C:..DISC..INTRO.WAV\"' '$SUITE_DIR/second.log'"
  restored() { [ "$(probe_value iconic AUTORUN)" = 0 ]; }
  check "the first copy is restored" within 10 restored
  expect_eq "and brought to the front" "$(probe_value foreground AUTORUN)" 1
  expect_eq "one screen is left" "$(probe_value count AUTORUN)" 1

  (cd "$DISC" && exec wine "$DISC_WIN\\AUTORUN.EXE" 'C:\DISC\MULTI.INF') >>"$SUITE_DIR/$CASE_NAME.log" 2>&1 &
  multi=$!
  two_screens() { [ "$(probe_value count AUTORUN)" = 2 ]; }
  check "a copy whose script allows several opens its screen" within 20 two_screens
  check "and stays" kill -0 "$multi"
  (cd "$DISC" && exec wine "$DISC_WIN\\AUTORUN.EXE") >>"$SUITE_DIR/$CASE_NAME.log" 2>&1 &
  third=$!
  check "a third copy without it closes itself" process_ends_within "$third" 15
  expect_eq "two screens are left" "$(probe_value count AUTORUN)" 2
  kill "$multi" 2>/dev/null
else
  fail "the first copy shows no screen"
fi
kill "$first" 2>/dev/null
case_end

case_begin own_entry_point
# The probe is built like AUTORUN.EXE; it writes what its WinMain got.
entry_run() {
  rm -f "$DISC/ENTRY.OUT"
  (cd "$DISC" && exec wine "$@") >>"$SUITE_DIR/$CASE_NAME.log" 2>&1
  ENTRY_CODE=$?
  ENTRY_OUT=$(cat "$DISC/ENTRY.OUT" 2>/dev/null)
}
mkdir -p "$DISC/TWO WORDS"
cp "$WINE_BIN/entry_probe.exe" "$DISC/" && cp "$WINE_BIN/entry_probe.exe" "$DISC/TWO WORDS/"
while IFS='|' read -r what program arguments expected code; do
  eval "set -- $arguments"
  entry_run "$program" "$@"
  expect_eq "$what: WinMain's arguments" "$(sed -n 's/^arguments=\[\(.*\)\] show.*/\1/p' <<<"$ENTRY_OUT")" "$expected"
  expect_eq "$what: the exit code is WinMain's result" "$ENTRY_CODE" "$code"
  check "$what: static constructors ran once" grep -q 'constructed=1 ' <<<"$ENTRY_OUT"
  check "$what: 64-bit division is right" grep -q 'divisions=ok$' <<<"$ENTRY_OUT"
  check "$what: exit functions ran" grep -qx 'exit functions ran' <<<"$ENTRY_OUT"
done <<'CASES'
no arguments|C:\DISC\entry_probe.exe|||0
two arguments|C:\DISC\entry_probe.exe|7 "two words"|7 "two words"|7
a program path with blanks|C:\DISC\TWO WORDS\entry_probe.exe|42|42|42
CASES
# The show command comes from the start-up information the starter gave.
for start in "/min 2" "/max 3"; do
  entry_run start /wait ${start% *} 'C:\DISC\entry_probe.exe' 5
  expect_eq "start ${start% *} gives show command ${start#* }" \
    "$(sed -n 's/.* show=\([0-9]*\) .*/\1/p' <<<"$ENTRY_OUT")" "${start#* }"
  expect_eq "and start /wait hands back the exit code" "$ENTRY_CODE" 5
done
title_script "Exit Code"
start_autorun
if close_with_escape "Exit Code" "$AUTORUN_PID"; then
  wait "$AUTORUN_PID"
  expect_eq "AUTORUN.EXE closed with Escape ends with exit code 0" "$?" 0
else
  fail "AUTORUN.EXE showed no screen to close"
fi
case_end

case_begin script_file_reading
# The Windows machine's file reading, through the reader's own line source.
run_win32_test "the file reading test" input_file_test.exe
case_end

suite_end
