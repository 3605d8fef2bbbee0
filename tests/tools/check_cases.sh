#!/usr/bin/env bash
# The checker on small discs, one mistake (or a few of one kind) each: every
# finding must appear at its place with its severity and name, nothing else
# may, and the exit status must follow the errors. Then the demo disc must
# check clean, and a check that cannot run must say so with status 2.
#
#   tests/tools/check_cases.sh PATH-TO-discscreen
set -uo pipefail
TOOL=${1:?usage: check_cases.sh DISCSCREEN}
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
failures=0
ran=0

# A 4-bit picture W by H, built byte by byte so no outside tool is needed.
bitmap() {
  python3 - "$1" "$2" "$3" <<'PY'
import struct, sys
path, w, h = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
stride = (w * 4 + 31) // 32 * 4
bits = bytes(stride * h)
info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 4, 0, len(bits), 0, 0, 0, 0) + bytes(64)
open(path, 'wb').write(b'BM' + struct.pack('<IHHI', 14 + len(info) + len(bits), 0, 0, 14 + len(info)) + info + bits)
PY
}

# A small PE program (ICON-GROUPS, MACHINE as tests/tools/make_pe.py takes them).
program() { python3 "$ROOT/tests/tools/make_pe.py" "$@"; }

# An .ico of one 16x16 image of KIND: bmp8 (8 bits a pixel), bmp32, png.
icon() {
  python3 - "$1" "$2" <<'PY'
import struct, sys
path, kind = sys.argv[1], sys.argv[2]
if kind == 'png':
    image = b'\x89PNG\r\n\x1a\n' + bytes(40)
else:
    bits = 8 if kind == 'bmp8' else 32
    colours = 16 * 16 * bits // 8 + (1024 if bits == 8 else 0)
    image = struct.pack('<IiiHHIIiiII', 40, 16, 32, 1, bits, 0, 0, 0, 0, 0, 0) + bytes(colours + 64)
entry = struct.pack('<BBBBHHII', 16, 16, 0, 0, 1, 8 if kind == 'bmp8' else 32, len(image), 22)
open(path, 'wb').write(struct.pack('<HHH', 0, 1, 1) + entry + image)
PY
}

# A disc whose [BEGIN] has a title and a background, so that only the
# case's own lines can give findings; BODY follows it. The screen's program
# is there too.
disc() {
  DISC=$WORK/$1
  mkdir -p "$DISC"
  program "$DISC/AUTORUN.EXE"
  bitmap "$DISC/BACK.BMP" 64 48
  bitmap "$DISC/STRIP.BMP" 160 30
  : >"$DISC/SETUP.EXE"
  printf '[BEGIN]\r\nTITLE=Case\r\nINTROBITMAP=BACK.BMP\r\n%s' "$2" >"$DISC/AUTORUN.INF"
}

# check NAME STATUS "LINE:COL severity name" ... (CHECK_ARGS go before the disc)
check() {
  local name=$1 status=$2
  shift 2
  ran=$((ran + 1))
  local out got
  # shellcheck disable=SC2086
  out=$("$TOOL" check ${CHECK_ARGS:-} "$DISC")
  got=$?
  local actual expected
  # What the drive reads is said of every disc; tests/tools/shrink_cases.sh checks it.
  actual=$(printf '%s\n' "$out" | grep -v ' \[read-budget\]$' |
    sed -n 's/^[^:]*:\([0-9]*:[0-9]*\): \([a-z]*\): .* \[\([a-z-]*\)\]$/\1 \2 \3/p' | sort)
  expected=$(printf '%s\n' "$@" | sed '/^$/d' | sort)
  if [ "$got" != "$status" ] || [ "$actual" != "$expected" ]; then
    echo "FAIL $name: status $got (want $status)"
    diff <(echo "$expected") <(echo "$actual") | sed 's/^/  /'
    printf '%s\n' "$out" | sed 's/^/  | /'
    failures=$((failures + 1))
  fi
}

B=$'\r\n'
disc moved "[TEXT]${B}TEXT1=Install,7,,3${B}[BUTTON]${B}BUTTON1=PUSHBUTTON,10,10,0,0,NORMAL,NO,STRIP.BMP,,,,SETUP.EXE${B}"
check moved 1 "5:16 error moved-fields" "5:16 note moved-fields" "7:49 error moved-fields" \
  "7:49 note moved-fields" "7:53 error missing-text" "5:1 warning unused-text"
grep -qF 'BUTTON1=PUSHBUTTON,10,10,0,0,NORMAL,NO,STRIP.BMP, , , ,SETUP.EXE [moved-fields]' <<<"$("$TOOL" check "$DISC")" \
  || { echo "FAIL moved: the line as meant"; failures=$((failures + 1)); }

disc names "TITEL=X${B}[TEXT] [GERMAN]${B}TEXT1=A${B}[BUTONS]${B}[BUTTON]${B}BUTTON1=CHEKBOX,1,1,0,0,CHECK,YES,STRIP.BMP,1, , ,SETUP.EXE${B}BUTTON2=CHECK,1,1,0,0,NORMAL,NO,STRIP.BMP${B}[NOTES]${B}"
check names 1 "4:1 error unknown-key" "5:8 error unknown-tag" "7:1 error unknown-section" \
  "9:9 error unknown-keyword" "10:9 warning wrong-keyword" "11:1 warning unknown-section"
grep -qF 'did you mean CHECKBOX?' <<<"$("$TOOL" check "$DISC")" \
  || { echo "FAIL names: no suggestion"; failures=$((failures + 1)); }

disc ranges "FONT32=Arial${B}[TEXT]${B}TEXT0=A${B}TEXT32=B${B}TEXT1=C,16,7,-3,40${B}[BUTTON]${B}BUTTON32=PUSHBUTTON${B}BUTTON1=PUSHBUTTON,1,1,0,0,NORMAL,NO,STRIP.BMP,1${B}[EXTRATEXT]${B}BUTTON1=33${B}"
check ranges 1 "4:5 error out-of-range" "6:5 error out-of-range" "7:5 error out-of-range" \
  "8:9 error out-of-range" "8:14 error out-of-range" "8:17 error out-of-range" \
  "10:7 error out-of-range" "13:9 error out-of-range"

disc files "INTROSOUND=INTRO.WAV,2${B}[BUTTON]${B}BUTTON1=PUSHBUTTON,1,1,0,0,NORMAL,NO,STRIP.BMP, , ,HOVER.WAV,TOOLS\\SETUP.EXE /q${B}BUTTON2=PUSHBUTTON,1,1,0,0,NORMAL,NO,NOPE.BMP, , , ,setup.exe${B}BUTTON3=PUSHBUTTON,1,1,0,0,NORMAL,NO,Lower.bmp, , , ,C:\\WINDOWS\\NOTEPAD.EXE${B}"
bitmap "$DISC/lower.bmp" 40 10
check files 1 "4:12 error missing-file" "6:52 error missing-file" "6:62 error missing-file" \
  "7:38 error missing-file" "7:53 warning name-case" "8:38 warning name-case"

disc pictures "[BUTTON]${B}BUTTON1=PUSHBUTTON,1,1,0,0,NORMAL,NO,BAD.BMP${B}BUTTON2=PUSHBUTTON,1,1,0,0,NORMAL,NO,ODD.BMP${B}BUTTON3=PUSHBUTTON,1,1,0,0,NORMAL,NO,WIDE.BMP${B}"
printf 'MZ this is no picture at all' >"$DISC/BAD.BMP"
bitmap "$DISC/ODD.BMP" 102 10
bitmap "$DISC/WIDE.BMP" 8 8
python3 -c "import sys; p=sys.argv[1]; b=bytearray(open(p,'rb').read()); b[28:30]=(7).to_bytes(2,'little'); open(p,'wb').write(b)" "$DISC/WIDE.BMP"
check pictures 1 "5:38 error bad-picture" "6:38 warning picture-frames" "7:38 error bad-picture"

disc texts "[TEXT]${B}TEXT1=One${B}TEXT1=Again${B}TEXT2=Nobody${B}[BUTTON]${B}BUTTON1=PUSHBUTTON,1,1,0,0,NORMAL,NO,STRIP.BMP,1${B}BUTTON2=PUSHBUTTON,1,1,0,0,NORMAL,NO,STRIP.BMP,3${B}[EXTRATEXT]${B}BUTTON2=4${B}BUTTON9=1${B}"
check texts 1 "6:5 warning first-counts" "7:1 warning unused-text" "10:48 error missing-text" \
  "12:9 error missing-text" "13:7 error no-button"

# A language's own text before the untagged one is how a script translates:
# neither finding may appear for it.
disc languages "[BEGIN] [GER]${B}TITLE=Fall${B}[TEXT] [GER]${B}TEXT1=Eins${B}[TEXT]${B}TEXT1=One${B}[BUTTON]${B}BUTTON1=PUSHBUTTON,1,1,0,0,NORMAL,NO,STRIP.BMP,1${B}[BUTTON] [WIN95]${B}BUTTON2=PUSHBUTTON,1,1,0,0,NORMAL,NO,STRIP.BMP${B}[BEGIN] [FRN] [WIN95]${B}INTROBITMAP=NONE.BMP${B}"
check languages 1 "15:13 error missing-file"
printf '[BEGIN] [JPN]\r\n[END]\r\n[BEGIN]\r\n[BUTTON]\r\nBUTTON1=PUSHBUTTON\r\n' >"$DISC/AUTORUN.INF"
check no-title 1 "1:1 warning no-title" "1:1 error no-screen" "3:1 warning no-title"

disc restart "TRAPREBOOTBUTTONS=1,2,3${B}ALLOWREBOOTBUTTONS=4${B}[BUTTON]${B}BUTTON1=CHECKBOX,1,1,0,0,CHECK,YES,STRIP.BMP, , , ,SETUP.EXE${B}BUTTON2=PUSHBUTTON,1,1,0,0,NORMAL,NO,STRIP.BMP, , , ,SETUP.EXE${B}[RUN]${B}BUTTON4=SETUP.EXE,YES${B}"
check restart 1 "4:21 error restart-list" "4:23 error restart-list"
disc emptyrun "[RUN]${B}WAIT=YES${B}"
check emptyrun 1 "4:1 error empty-run" "5:1 error unknown-key"

disc bytes "[BEGIN] [JPN]${B}TITLE=$(printf 'caf\x81')${B}[BEGIN] [ENG]${B}TITLE=$(printf 'caf\x81')${B}TITLE=$(printf 'ok\x01')${B}"
check bytes 1 "5:10 error code-page" "7:10 error code-page" "8:9 error code-page"

# Saved as UTF-8, read as the program reads it (turned into each system's
# code page); a Ctrl-Z ends the script, so what follows it is no section.
disc utf8 "[BEGIN] [JPN]${B}TITLE=表示${B}[BEGIN] [GER]${B}TITLE=Grüße${B}$(printf '\x1a')[NOTES]${B}X=1${B}"
check utf8 0

# Where the checker once saw otherwise than the program: a drive path among
# a command's arguments, a CR that ends the last line, a language read only
# after another's [END], paths with the currency signs that Far-East tables
# write for a backslash (one the checker's library cannot convert), and a
# later picture that does not load (the earlier one stays).
disc agree "[BUTTON]${B}BUTTON1=PUSHBUTTON,1,1,0,0,NORMAL,NO,STRIP.BMP, , , ,MISSING\\SETUP.EXE /D=C:\\TEMP${B}BUTTON2=PUSHBUTTON,1,1,0,0,NORMAL,NO,STRIP.BMP, , , ,SETUP.EXE /D=C:\\TEMP${B}[END] [ENG]${B}[BEGIN] [GER]${B}INTROSOUND=NONE.WAV${B}[BEGIN] [JPN]${B}INTROBITMAP=PICS¥BACK.BMP${B}[END]$(printf '\r')"
mkdir "$DISC/PICS" && bitmap "$DISC/PICS/BACK.BMP" 64 48
check agree 1 "5:54 error missing-file" "9:12 error missing-file"
disc won "[BEGIN] [KOREAN]${B}INTROBITMAP=PICS₩BACK.BMP${B}"
mkdir "$DISC/PICS" && bitmap "$DISC/PICS/BACK.BMP" 64 48
check won 0
disc background "INTROBITMAP=NONE.BMP${B}"
check background 1 "4:13 error missing-file"

# Windows sees no [autorun] after a byte-order mark.
disc mark ""
printf '\xEF\xBB\xBF[autorun]\r\nopen=AUTORUN.EXE\r\n' | cat - "$DISC/AUTORUN.INF" >"$DISC/MARKED" && mv "$DISC/MARKED" "$DISC/AUTORUN.INF"
check mark 0 "1:1 warning autorun-mark"

# Windows' own section, read as each Windows reads it (check/autorun_facts.cpp
# says where each rule is written down). The issue's broken disc first, then
# a complete one that gives only the notes of what later Windows alone read.
A="[autorun]${B}"
disc autorun-broken "${A}open=SETUPX.EXE${B}icon=MISSING.ICO${B}label=A disc label of fifty-six characters, too long to show${B}shell\\readme\\command=notepad NOPE.TXT${B}shell\\readme=&Read me${B}"
check autorun-broken 1 "5:6 error autorun-missing" "6:6 warning autorun-icon" "7:7 warning autorun-label" \
  "8:22 warning autorun-menu"
disc autorun-complete "${A}open=AUTORUN.EXE${B}icon=AUTORUN.ICO${B}label=Case disc${B}action=Install Case${B}shell\\readme=&Read me${B}shell\\readme\\command=notepad README.TXT${B}shell=readme${B}UseAutoPlay=0${B}CustomEvent=CaseDiscContent${B}[Content]${B}MusicFiles=false${B}[ExclusiveContentPaths]${B}\\DOCS${B}[autorun.amd64]${B}open=AUTORUN.EXE${B}icon=AUTORUN.ICO${B}"
icon "$DISC/AUTORUN.ICO" bmp8
: >"$DISC/README.TXT"
check autorun-complete 0 "8:1 note autorun-later-windows" "12:1 note autorun-later-windows"
# What open= starts: no PE header, a 64-bit program, a document; another
# program than the screen (a note).
disc autorun-programs "${A}open=NOTPE.EXE${B}[autorun.amd64]${B}open=X64.EXE${B}[autorun.ppc]${B}open=README.TXT${B}[autorun.mips]${B}open=\"SETUP.EXE\" /auto${B}[autorun.alpha]${B}open=OLD.EXE${B}"
printf 'MZ but nothing after it' >"$DISC/NOTPE.EXE"
python3 -c "import sys; sys.stdout.buffer.write(b'MZ' + bytes(58) + b'\x40\0\0\0' + b'NE' + bytes(62))" >"$DISC/OLD.EXE"
program "$DISC/X64.EXE" 0 8664
program "$DISC/SETUP.EXE"
: >"$DISC/README.TXT"
check autorun-programs 1 "5:6 error autorun-not-program" "7:6 error autorun-not-program" \
  "9:6 error autorun-not-program" "11:6 note autorun-other-program" "13:6 warning autorun-not-program"
# Icons: an index past the program's icons, the screen's program (no icon
# resource), PNG and 32-bit images only, a format no Windows takes, an index
# into an .ico; a section no Windows reads.
disc autorun-icons "${A}icon=TWO.DLL,2${B}defaulticon=TWO.DLL,-3${B}shell\\x\\command=MISSING.EXE${B}[autorun.alpha]${B}icon=AUTORUN.EXE,0${B}[autorun.mips]${B}icon=PNG.ICO${B}[autorun.ppc]${B}icon=ALPHA.ICO${B}[autorun.amd64]${B}icon=PIC.PNG${B}[autorun.ia64]${B}icon=GOOD.ICO,1${B}[autorun.x86]${B}icon=TWO.DLL,-2${B}"
program "$DISC/TWO.DLL" 2
icon "$DISC/PNG.ICO" png
icon "$DISC/ALPHA.ICO" bmp32
icon "$DISC/GOOD.ICO" bmp8
: >"$DISC/PIC.PNG"
check autorun-icons 1 "4:1 error autorun-no-task" "5:6 warning autorun-icon" "6:13 warning autorun-icon" \
  "7:17 warning autorun-menu" "9:6 warning autorun-icon" "11:6 warning autorun-icon-format" \
  "13:6 warning autorun-icon-format" "15:6 warning autorun-icon-format" "17:6 warning autorun-icon" \
  "18:1 warning autorun-section"
# A bitmap is an icon too; the second group by its number is there.
disc autorun-bitmap-icon "${A}open=AUTORUN.EXE${B}icon=BACK.BMP${B}defaulticon=TWO.DLL,-2${B}"
program "$DISC/TWO.DLL" 2
check autorun-bitmap-icon 0
# Texts and later Windows: a UTF-8 label, action= with no task, UseAutoPlay=1;
# shellexecute= alone, which Windows 95, 98 and NT 4 do not read.
# A label with a tab; action= taking its text from a missing file.
disc autorun-texts "${A}label=Grüße${B}action=Setup${B}UseAutoPlay=1${B}[autorun.amd64]${B}label=Tab$(printf '\t')here${B}"
check autorun-texts 1 "4:1 error autorun-no-task" "5:7 warning autorun-label" "6:1 warning autorun-action" \
  "6:1 note autorun-later-windows" \
  "7:13 warning autorun-useautoplay" "9:7 warning autorun-label"
disc autorun-shellexecute "${A}shellexecute=README.HTM${B}action=@NONE.DLL,-101${B}"
: >"$DISC/README.HTM"
check autorun-shellexecute 0 "5:1 warning autorun-later-windows" "5:14 note autorun-other-program" \
  "6:8 warning autorun-action" "6:1 note autorun-later-windows"
# Keys: the first of two counts, keys and lines no Windows reads, a default
# verb and a menu entry without commands, a second [autorun], a processor's
# section without open=.
disc autorun-keys "${A}open=AUTORUN.EXE${B}Open=SETUP.EXE${B}run=AUTORUN.EXE${B}autorun please${B}shell=install${B}shell\\help=Help${B}[AutoRun]${B}open=AUTORUN.EXE${B}[DeviceInstall]${B}DriverPath=drivers${B}[Content]${B}Music=1${B}[autorun.amd64]${B}label=x64${B}"
check autorun-keys 0 "6:1 warning autorun-duplicate" "7:1 warning autorun-key" "8:1 warning autorun-key" \
  "9:7 warning autorun-shell" "10:1 warning autorun-menu" "11:1 warning autorun-duplicate" \
  "16:1 warning autorun-key" "17:1 warning autorun-processor"
# Windows 95, 98 and ME read the first 64 KB of the file: a section past it.
disc autorun-cut "$(for _ in $(seq 700); do printf '%99s\r\n' ''; done)${B}${A}open=AUTORUN.EXE${B}"
check autorun-cut 1 "705:1 error autorun-cut"
# A renamed script's section is read by no Windows; AUTORUN.INF beside it is,
# and its findings name that file.
disc autorun-renamed ""
mv "$DISC/AUTORUN.INF" "$DISC/SETUP.INF"
printf '%s' "${A}open=SETUP.EXE${B}" >>"$DISC/SETUP.INF"
program "$DISC/SETUP.EXE"
printf '%s' "${A}open=NONE.EXE${B}" >"$DISC/AUTORUN.INF"
CHECK_ARGS="--script SETUP.INF" check autorun-renamed 1 "4:1 warning autorun-elsewhere" "2:6 error autorun-missing"
grep -qF "AUTORUN.INF:2:6: error: open= starts 'NONE.EXE'" <<<"$("$TOOL" check --script SETUP.INF "$DISC")" \
  || { echo "FAIL autorun-renamed: the finding does not name AUTORUN.INF"; failures=$((failures + 1)); }

# A button given twice shows only as the last entry says; a language's own
# section that gives it again is meant, and is no finding.
disc twice "[TEXT]${B}TEXT1=A${B}TEXT2=B${B}[BUTTON]${B}BUTTON2=PUSHBUTTON,1,1,0,0,NORMAL,NO,STRIP.BMP,1${B}BUTTON2=PUSHBUTTON,50,1,0,0,NORMAL,NO,STRIP.BMP,2${B}"
check twice 0 "8:7 warning last-counts" "5:1 warning unused-text"
disc overridden "[BUTTON]${B}BUTTON1=PUSHBUTTON,1,1,0,0,NORMAL,NO,STRIP.BMP${B}[BUTTON] [GER]${B}BUTTON1=PUSHBUTTON,9,1,0,0,NORMAL,NO,STRIP.BMP${B}"
check overridden 0

# A word where the program reads a number reads as 0, in every numeric
# field alike, as an unknown keyword does in a keyword field.
disc words "[TEXT]${B}TEXT1=Install the Editor,red,7, , ,x,5${B}TEXT2=Exit,7,white${B}[BUTTON]${B}BUTTON1=PUSHBUTTON,1,ten,0,0,NORMAL,NO,STRIP.BMP,1${B}BUTTON2=PUSHBUTTON,1,40,0,0,NORMAL,NO,STRIP.BMP,2${B}"
check words 1 "5:26 error unknown-keyword" "5:36 error unknown-keyword" "6:14 error unknown-keyword" \
  "8:22 error unknown-keyword"

# Bit-field pictures: what the checker lets through, the decoder that the
# designer draws with reads too; masks that Windows 95 to ME do not draw
# are a warning.
masked() {  # PATH RED GREEN BLUE: a 32-bit bit-field picture, 8 by 4
  python3 - "$@" <<'PY'
import struct, sys
path, masks = sys.argv[1], [int(m, 16) for m in sys.argv[2:5]]
bits = bytes(8 * 4 * 4)
info = struct.pack('<IiiHHIIiiII', 40, 8, 4, 1, 32, 3, len(bits), 0, 0, 0, 0) + struct.pack('<III', *masks)
open(path, 'wb').write(b'BM' + struct.pack('<IHHI', 14 + len(info) + len(bits), 0, 0, 14 + len(info)) + info + bits)
PY
}
disc bitfields "[BUTTON]${B}BUTTON1=PUSHBUTTON,1,1,0,0,NORMAL,NO,PLAIN.BMP${B}BUTTON2=PUSHBUTTON,1,40,0,0,NORMAL,NO,ODD.BMP${B}"
masked "$DISC/PLAIN.BMP" FF0000 FF00 FF
masked "$DISC/ODD.BMP" FF000000 FF0000 FF00
check bitfields 0 "6:39 warning bad-picture"
for picture in PLAIN ODD; do
  "$TOOL" picture "$DISC/$picture.BMP" -o "$WORK/$picture.out.bmp" >/dev/null \
    || { echo "FAIL bitfields: $picture.BMP passes check but is not decoded"; failures=$((failures + 1)); }
done

# A script without [BEGIN] says so in a whole sentence.
DISC=$WORK/empty
mkdir -p "$DISC"
: >"$DISC/AUTORUN.INF"
check empty 1 "1:1 error no-begin"
grep -qF 'so nothing of the script is read [no-begin]' <<<"$("$TOOL" check "$DISC")" \
  || { echo "FAIL empty: the sentence is cut"; failures=$((failures + 1)); }

disc clean "FONT1=Arial,12,BOLD${B}[TEXT]${B}TEXT1=Install,7, ,3,1${B}[BUTTON]${B}BUTTON1=CHECKBOX,1,1,0,0,CHECK,YES,STRIP.BMP,1, , ,SETUP.EXE /q${B}[autorun]${B}open=AUTORUN.EXE${B}[END]${B}"
check clean 0

# Cannot run: no such path, an unknown option, a folder without the script.
for args in "check $WORK/none" "check --frobnicate $WORK" "check --script OTHER.INF $DISC" "lint $DISC"; do
  # shellcheck disable=SC2086
  "$TOOL" $args >/dev/null 2>&1
  status=$?
  ran=$((ran + 1))
  [ "$status" = 2 ] || { echo "FAIL '$args': status $status (want 2)"; failures=$((failures + 1)); }
done

# The demo disc checks clean.
if [ -z "${SKIP_DEMO_DISC:-}" ]; then
  ran=$((ran + 1))
  if "$ROOT/tools/make-demo-disc.sh" "$WORK/demo" >"$WORK/demo.log" 2>&1; then
    out=$("$TOOL" check "$WORK/demo")
    status=$?
    # Its read budget is a figure of make bench, not a finding.
    out=$(grep -v ' \[read-budget\]$' <<<"$out")
    [ "$status" = 0 ] && [ -z "$out" ] || { echo "FAIL demo disc: status $status"; echo "$out"; failures=$((failures + 1)); }
  else
    echo "FAIL demo disc could not be made"; cat "$WORK/demo.log"; failures=$((failures + 1))
  fi
fi

echo "check_cases: $((ran - failures)) passed, $failures failed"
exit $(( failures > 0 ))
