#!/usr/bin/env bash
# Documents opened from buttons with programs that the project does not
# write: a Windows Installer package built here with wixl and installed by
# Wine's msiexec, at the disc's root and in a folder with a blank; a text
# document in Wine's notepad; associations with and without a default verb,
# a REG_EXPAND_SZ template, and a user's own association over the machine's.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/recorder_log.sh"
suite_begin documents

TITLE="Documents Test"
export RECORDER_LOG='C:\DISC\log.txt'

# The package, built once for the suite: it installs PAYLOAD.TXT into
# "Disc Sample" under Program Files, then runs STAGE.EXE for 2.5 s.
PACKAGE_DIR=$SUITE_DIR/package
mkdir -p "$PACKAGE_DIR"
echo "installed from the disc" >"$PACKAGE_DIR/PAYLOAD.TXT"
cp "$WINE_BIN/recorder.exe" "$PACKAGE_DIR/STAGE.EXE"
if ! (cd "$PACKAGE_DIR" && wixl -o SETUP.MSI "$ROOT/tests/wine/packages/sample.wxs"); then
  fail "wixl could not build the package"
  suite_end
  exit 1
fi

# The installed file: a 32-bit package goes to "Program Files (x86)" in a
# 64-bit prefix.
installed_payload() {
  local dir
  for dir in "Program Files" "Program Files (x86)"; do
    [ -f "$WINEPREFIX/drive_c/$dir/Disc Sample/PAYLOAD.TXT" ] && return 0
  done
  return 1
}

# ---------------------------------------------------------------------------
# A push button opens the package; msiexec installs it while the screen
# waits. Option NO hides the screen meanwhile, SHOW keeps it and shows the
# install message. The screen must come back only after msiexec has ended.
package_case() {
  local name=$1 where=$2 option=$3
  case_begin "$name"
  setup_disc pictures
  mkdir -p "$DISC/$(dirname "$where")"
  cp "$PACKAGE_DIR/SETUP.MSI" "$DISC/$where"
  write_inf <<INF
[BUTTON]
BUTTON1=PUSHBUTTON,20,20,0,0,NORMAL,$option,STRIP.BMP, , , ,${where//\//\\}
[INSTALLMESSAGE]
BUTTON1=Installing the sample package
INF
  open_screen || { case_end; return; }
  click_button 20 20
  # Watched from the click on: the screen and the install message while
  # msiexec runs (its last step, STAGE.EXE, logs when it is done), and the
  # screen once it has run.
  local end=$((SECONDS + 90)) hidden=0 early=0 message=0 back=0
  while [ $SECONDS -lt $end ]; do
    if ! logged stage; then
      if [ "$(visible)" = 0 ]; then hidden=1; elif [ $hidden = 1 ]; then early=1; fi
      notice_shown 'Installing the sample' && message=1
    elif [ "$(visible)" = 1 ]; then
      back=1
      break
    fi
    sleep 0.2
  done
  check "$where: msiexec installs the package and runs its last step" logged stage
  if [ "$option" = NO ]; then
    expect_eq "$where: the screen is hidden while msiexec runs" "$hidden" 1
    expect_eq "$where: and not restored before msiexec is done" "$early" 0
  else
    # Without the wait the message would go as soon as msiexec started.
    expect_eq "$where: the install message stays while msiexec runs" "$message" 1
  fi
  expect_eq "$where: the screen is there after msiexec" "$back" 1
  check "$where: the package installed its file" installed_payload
  check "$where: the install message is gone afterwards" \
    within 10 negate notice_shown 'Installing the sample'
  # msiexec has ended: a box of its own would be showing still.
  # msiexec given anything but its "/i PACKAGE" shows its usage in a box.
  expect_eq "$where: msiexec showed no box (usage or error)" \
    "$(windows_with 'Windows Installer' | wc -l)" 0
  case_end
}
package_case package_at_root SETUP.MSI NO
package_case package_in_folder_with_blank "SETUP FILES/SETUP.MSI" SHOW

# Wine 8's 64-bit prefixes hold the txtfile and htmlfile classes but no .txt
# or .htm key; there the extension is pointed at the prefix's own class.
own_class() {
  wine_reg query "HKCR\\$1" || wine_reg add "HKLM\\Software\\Classes\\$1" /ve /d "$2" /f
}

# ---------------------------------------------------------------------------
# A text document in a folder with a blank opens in Wine's notepad through
# "open" (txtfile names no default verb); the screen waits for notepad.
case_begin text_in_notepad
setup_disc pictures
mkdir -p "$DISC/READ ME"
echo "Read me first." >"$DISC/READ ME/README.TXT"
own_class .txt txtfile
write_inf <<'INF'
[BUTTON]
BUTTON1=PUSHBUTTON,20,20,0,0,NORMAL,NO,STRIP.BMP, , , ,READ ME\README.TXT
INF
if open_screen; then
  click_button 20 20
  if id=$(wait_for_window 'README.TXT - Notepad' 20); then
    pass "notepad shows the document"
    check "the screen stays hidden while notepad runs" within 10 hidden
    press_key_in "$id" alt+F4
    check "notepad closes" window_gone_within 'README.TXT - Notepad' 10
    check "then the screen is restored" wait_visible 10
  else
    fail "notepad did not show README.TXT"
  fi
fi
case_end

# ---------------------------------------------------------------------------
# Associations as the user sees them. The user's own "open" of .htm (a
# REG_EXPAND_SZ template) comes before the machine's; a named default verb
# wins over "open"; a user's class over the machine's one for .lnd, which
# Windows 95 to NT 4 do not know of.
association_case() {
  local name=$1 version=$2 lnd_tag=$3
  case_begin "$name"
  setup_disc pictures
  set_windows_version "$version"
  local tools="$WINEPREFIX/drive_c/Program Files/Launch Tools"
  mkdir -p "$tools" "$DISC/HELP PAGES"
  cp "$WINE_BIN/recorder.exe" "$tools/viewer.exe"
  echo page >"$DISC/HELP PAGES/GUIDE.HTM"
  own_class .htm htmlfile
  echo notes >"$DISC/NOTES.LNC"
  echo notes >"$DISC/NOTES.LND"
  wine_reg add 'HKCU\Software\Classes\htmlfile\shell\open\command' /ve /t REG_EXPAND_SZ \
    /d '"%ProgramFiles%\Launch Tools\viewer.exe" /tag=html "%1"' /f
  wine_reg add 'HKLM\Software\Classes\.lnc' /ve /d lncfile /f
  wine_reg add 'HKLM\Software\Classes\lncfile\shell' /ve /d view /f
  wine_reg add 'HKLM\Software\Classes\lncfile\shell\open\command' /ve \
    /d '"C:\Program Files\Launch Tools\viewer.exe" /tag=open %1' /f
  wine_reg add 'HKLM\Software\Classes\lncfile\shell\view\command' /ve \
    /d '"C:\Program Files\Launch Tools\viewer.exe" /tag=view %1' /f
  wine_reg add 'HKLM\Software\Classes\.lnd' /ve /d lndfile /f
  wine_reg add 'HKLM\Software\Classes\lndfile\shell\open\command' /ve \
    /d '"C:\Program Files\Launch Tools\viewer.exe" /tag=machine %1' /f
  wine_reg add 'HKCU\Software\Classes\lndfile\shell\open\command' /ve \
    /d '"C:\Program Files\Launch Tools\viewer.exe" /tag=user %1' /f
  # Windows 98 would open the page with the machine's browser: not started.
  local page="BUTTON1=HELP PAGES\\GUIDE.HTM /extra,YES"
  [ -n "$version" ] && page=""
  write_inf <<INF
[RUN]
$page
BUTTON2=NOTES.LNC,YES
BUTTON3=NOTES.LND,YES
INF
  start_autorun
  check "$name: the chain of documents ends" process_ends_within "$AUTORUN_PID" 40
  if [ -z "$version" ]; then
    expect_eq "$name: the user's expanded template opens the page, its path as one argument" \
      "$(field html cmd)" '"C:\Program Files\Launch Tools\viewer.exe"  /tag=html  "C:\DISC\HELP PAGES\GUIDE.HTM" /extra'
  fi
  check "$name: a named default verb wins over open" logged view
  expect_eq "$name: open is not used then" "$(log_count open)" 0
  check "$name: .lnd opens with the $lnd_tag association" logged "$lnd_tag"
  expect_eq "$name: and only with it" "$(log_lines)" "$([ -z "$version" ] && echo 3 || echo 2)"
  case_end
}
association_case user_associations "" user
association_case machine_associations_on_98 win98 machine

suite_end
