#!/usr/bin/env bash
# Scripts as editors save them: UTF-8 with or without a byte-order mark,
# shown in the system's own code page; a Ctrl-Z that ends the script;
# Japanese folder names whose second byte in code page 932 is a backslash;
# and the yen and won signs that other systems' tables write for it.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/recorder_log.sh"
suite_begin encoding

export RECORDER_LOG='C:\DISC\log.txt'
BOM=$'\xEF\xBB\xBF'
CTRL_Z=$'\x1A'
crlf() { sed 's/$/\r/'; }

# Wine takes the system language from LC_ALL even when that locale is not
# installed, but then reads Unix file names as ASCII and cuts every byte to
# seven bits: a folder named 表 is seen as "h!(". The locales are built into
# a private directory once (LOCPATH), so the machine's own stay untouched.
LOCALES=$WINE_WORK/locales
make_locales() {
  (
    flock 9
    local name
    for name in de_DE ja_JP ko_KR; do
      [ -d "$LOCALES/$name.UTF-8" ] || localedef -i "$name" -f UTF-8 "$LOCALES/$name.UTF-8" || exit 1
    done
  ) 9>"$WINE_WORK/locales.lock"
}
mkdir -p "$LOCALES"
make_locales || { log "cannot build the locales"; exit 1; }
export LOCPATH=$LOCALES

# Starts the program with LC_ALL=$1 (the system language and code page) and
# the rest of the command line, from C:\ so that nothing is found by chance
# in the current directory.
start_in_language() {
  local language=$1 program=$2
  shift 2
  (cd "$WINEPREFIX/drive_c" && exec env LC_ALL="$language" wine "$program" "$@") \
    >>"$SUITE_DIR/$CASE_NAME.log" 2>&1 &
  AUTORUN_PID=$!
}

# The texts of the visible windows that hold $3, seen by a program that runs
# with LC_ALL=$1 and so writes them in its code page $2.
texts_in() {
  LC_ALL=$1 windows_with "$3" | iconv -f "$2" -t UTF-8 | sed -n 's/.*\ttexts=\([^\t]*\).*/\1/p'
}

# Prints the X window of a visible window of some size named exactly $1,
# waiting up to $2 seconds. `xdotool search --name` matches the X name that
# Wine writes in ASCII, with look-alikes and "?" for the rest; the UTF-8 name
# that getwindowname prints is the window's own text.
window_named() {
  local title=$1 end=$((SECONDS + ${2:-30})) id width height
  while :; do
    for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
      [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$title" ] || continue
      read -r _ _ width height < <(window_geometry "$id")
      if [ "${width:-0}" -gt 50 ] && [ "${height:-0}" -gt 30 ]; then
        echo "$id"
        return 0
      fi
    done
    [ $SECONDS -lt $end ] || return 1
    sleep 0.3
  done
}

# A screen titled $1 appears; it is closed again with Escape.
shows_title() {
  local id
  id=$(window_named "$1" 30) || { log "   (seen: $(visible_names))"; return 1; }
  press_key_in "$id" Escape
  process_ends_within "$AUTORUN_PID" 10
}
visible_names() {
  xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | tr '\n' '|'
}

# A failure box titled $3 shows the text $4 (under LC_ALL=$1, code page $2);
# Ignore closes it.
failure_box_shows() {
  local language=$1 codepage=$2 title=$3 text=$4 id
  id=$(window_named "$title" 30) || { log "   (no box titled '$title'; seen: $(visible_names))"; return 1; }
  local shown
  shown=$(texts_in "$language" "$codepage" "$text")
  press_key_in "$id" i
  case "$shown" in *"$text"*) return 0 ;; esac
  log "   (the box shows '$shown')"
  return 1
}

# ---------------------------------------------------------------------------
case_begin german_utf8_with_mark
{
  printf '%s' "$BOM"
  crlf <<'INF'
[BEGIN]
TITLE=Grüße aus Köln ā
[BEGIN] [ENG]
TITLE=Greetings
INF
  printf '%s' "$CTRL_Z"
  crlf <<'INF'
[BEGIN]
TITLE=Nach dem Dateiende
[END]
INF
} >"$DISC/AUTORUN.INF"
{
  printf '%s' "$BOM"
  crlf <<'INF'
[BEGIN]
TITLE=Prüfung läuft
[RUN]
BUTTON1=FEHLT.EXE,YES
[MESSAGE]
BUTTON1=Die Datei für Größenänderungen fehlt.
[END]
INF
} >"$DISC/RUN.INF"
start_in_language de_DE.UTF-8 'C:\DISC\AUTORUN.EXE'
# "ā" is not in code page 1252: it becomes "?", not a look-alike "a".
check "a UTF-8 title with a byte-order mark shows in German, up to the Ctrl-Z" \
  shows_title "Grüße aus Köln ?"
start_in_language de_DE.UTF-8 'C:\DISC\AUTORUN.EXE' 'C:\DISC\RUN.INF'
check "a UTF-8 failure message shows in its box" \
  failure_box_shows de_DE.UTF-8 CP1252 "Prüfung läuft" "Die Datei für Größenänderungen fehlt."
process_ends_within "$AUTORUN_PID" 15  # after Ignore
case_end

# ---------------------------------------------------------------------------
case_begin japanese_utf8_without_mark
write_script "$DISC/AUTORUN.INF" <<'INF'
[BEGIN]
TITLE=Setup Disc
[BEGIN] [JPN]
TITLE=セットアップ表示
[END]
INF
write_script "$DISC/RUN.INF" <<'INF'
[BEGIN] [JPN]
TITLE=インストール表示
[RUN] [JPN]
BUTTON1=ない.EXE,YES
[MESSAGE] [JPN]
BUTTON1=ファイルが見つかりません。
[END]
INF
start_in_language ja_JP.UTF-8 'C:\DISC\AUTORUN.EXE'
check "a UTF-8 title shows in Japanese, from the [JPN] section" shows_title "セットアップ表示"
start_in_language ja_JP.UTF-8 'C:\DISC\AUTORUN.EXE' 'C:\DISC\RUN.INF'
check "a UTF-8 failure message shows in its box" \
  failure_box_shows ja_JP.UTF-8 CP932 "インストール表示" "ファイルが見つかりません。"
process_ends_within "$AUTORUN_PID" 15  # after Ignore
case_end

# ---------------------------------------------------------------------------
# The program lies in C:\DISC\表 (0x95 0x5C in code page 932), its script is
# written in code page 932, and it starts programs one folder up and in the
# folder ソ (0x83 0x5C) below its own.
case_begin japanese_folders_code_page_932
HERE=$DISC/表
mkdir -p "$HERE/ソ"
mv "$DISC"/AUTORUN.EXE "$DISC"/AUTORUN_95.DLL "$DISC"/AUTORUN_NT.DLL "$HERE"/
cp "$WINE_BIN/recorder.exe" "$DISC/RECORDER.EXE"
cp "$WINE_BIN/recorder.exe" "$HERE/ソ/RECORDER.EXE"
LOG=$DISC/log.txt
iconv -f UTF-8 -t CP932 <<'INF' | write_script "$HERE/AUTORUN.INF"
[BEGIN]
TITLE=表示テスト
[RUN]
BUTTON1=..\RECORDER.EXE /tag=up,YES
BUTTON2=ソ\RECORDER.EXE /tag=down,YES
BUTTON3=ソ\ない.EXE,YES
[MESSAGE]
BUTTON3=表示できません
[END]
INF
start_in_language ja_JP.UTF-8 'C:\DISC\表\AUTORUN.EXE'
check "a code page 932 title and failure message show" \
  failure_box_shows ja_JP.UTF-8 CP932 "表示テスト" "表示できません"
process_ends_within "$AUTORUN_PID" 15  # after Ignore
expect_eq "..\\ climbs out of the folder 表 to C:\\DISC" "$(field up cwd | iconv -f CP932 -t UTF-8)" 'C:\DISC'
expect_eq "ソ\\ is the folder below the program's" "$(field down cwd | iconv -f CP932 -t UTF-8)" 'C:\DISC\表\ソ'

# The screen's own sound, from the same folders: the name is made absolute
# before the sound is asked for (a name taken for a server path would be
# looked for in the current directory, C:\).
iconv -f UTF-8 -t CP932 <<'INF' | write_script "$HERE/SOUND.INF"
[BEGIN]
TITLE=表示テスト
INTROSOUND=ソ\INTRO.WAV
[END]
INF
WINEDEBUG=trace+winmm start_in_language ja_JP.UTF-8 'C:\DISC\表\AUTORUN.EXE' 'C:\DISC\表\SOUND.INF'
check "a code page 932 screen script shows its title" shows_title "表示テスト"
check "its intro sound is asked for by its full path" \
  grep -a -q -F 'SoundName=L"C:\\DISC\\\8868\\\30bd\\INTRO.WAV"' "$SUITE_DIR/$CASE_NAME.log"
case_end

# ---------------------------------------------------------------------------
# Two files saved with a byte-order mark each and joined, the second's paths
# written with the yen sign (Japanese) or the won sign (Korean) for the
# backslash: the screen takes its picture from PICS\BACK.BMP on both systems.
screen_size_is() { [ "$(probe_value size "$1")" = "$2" ]; }
case_begin far_east_currency_signs_joined
mkdir -p "$DISC/PICS"
convert -size 320x240 xc:'#336699' BMP3:"$DISC/PICS/BACK.BMP"
for sign in '¥:ja_JP.UTF-8:Yen Path' '₩:ko_KR.UTF-8:Won Path'; do
  IFS=: read -r mark_sign language title <<<"$sign"
  {
    printf '%s' "$BOM"
    crlf <<<'[autorun]'
    crlf <<<'open=AUTORUN.EXE'
    printf '%s' "$BOM"
    crlf <<INF
[BEGIN]
TITLE=$title
INTROBITMAP=PICS${mark_sign}BACK.BMP
[END]
INF
  } >"$DISC/AUTORUN.INF"
  start_in_language "$language" 'C:\DISC\AUTORUN.EXE'
  if id=$(wait_for_window "$title" 30); then
    check "$language: the screen is the picture's size" within 10 screen_size_is "$title" 320,240
    press_key_in "$id" Escape
    process_ends_within "$AUTORUN_PID" 10
  else
    fail "$language: no screen titled '$title' (seen: $(visible_names))"
  fi
done
case_end

suite_end
