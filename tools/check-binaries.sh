#!/usr/bin/env bash
# Checks the disc's binaries: they import only system DLLs that Windows 95
# as sold has, and from them only functions that both Windows 95 retail and
# Windows NT 4.0 RTM export (the lists in tools/exports/<system>/<DLL>.txt);
# they declare subsystem version 4.0, and the wait libraries export
# WaitForProcess undecorated. Ends with a size report against the budgets
# (not a test).
set -u
dir=${1:-dist}
export_lists=$(cd "$(dirname "$0")" && pwd)/exports
objdump=i686-w64-mingw32-objdump
allowed='^(KERNEL32|USER32|GDI32|ADVAPI32|SHELL32|WINMM)\.DLL$'
systems='win95 nt4'
passed=0
failed=0
result() {
  if [ "$1" = ok ]; then passed=$((passed + 1)); echo "   ok   $2"; else failed=$((failed + 1)); echo "   FAIL $2"; fi
}

# "DLL FUNCTION" a line for every import of a binary (objdump -p text on
# stdin); an import by ordinal shows as "DLL #ORDINAL".
imports_of() {
  awk '/^\tDLL Name: / { dll = toupper($3); sub(/\.DLL$/, "", dll); next }
       /^$/ { dll = "" }
       dll && /^\t[0-9a-f]+\t/ { print dll, (NF >= 3 ? $3 : "#" $2) }'
}

# The imports (on stdin) that a system's export lists do not hold.
missing_on() {
  local system=$1 dll name
  while read -r dll name; do
    grep -qx -- "$name" "$export_lists/$system/$dll.txt" 2>/dev/null || echo "$dll.$name"
  done
}

for file in AUTORUN.EXE AUTORUN_95.DLL AUTORUN_NT.DLL; do
  path=$dir/$file
  if [ ! -f "$path" ]; then
    result fail "$file is missing"
    continue
  fi
  headers=$($objdump -p "$path")
  dlls=$(echo "$headers" | sed -n 's/^\tDLL Name: //p' | tr 'a-z' 'A-Z')
  bad=$(echo "$dlls" | grep -v -E "$allowed" | tr '\n' ' ')
  [ -z "$bad" ] && result ok "$file imports only system DLLs ($(echo $dlls))" \
    || result fail "$file imports $bad"
  imports=$(echo "$headers" | imports_of)
  for system in $systems; do
    missing=$(echo "$imports" | missing_on "$system" | tr '\n' ' ')
    [ -z "$missing" ] && result ok "$file imports only what $system exports ($(echo "$imports" | wc -l) functions)" \
      || result fail "$file imports what $system does not export: $missing"
  done
  major=$(echo "$headers" | awk '/^MajorSubsystemVersion/ {print $2}')
  minor=$(echo "$headers" | awk '/^MinorSubsystemVersion/ {print $2}')
  [ "$major.$minor" = 4.0 ] && result ok "$file has subsystem version 4.0" \
    || result fail "$file has subsystem version $major.$minor"
  case $file in
    *.DLL)
      exports=$(echo "$headers" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n 's/^\t\[ *[0-9]*\] //p')
      [ "$exports" = WaitForProcess ] && result ok "$file exports WaitForProcess undecorated" \
        || result fail "$file exports: $exports"
      ;;
  esac
done

# The program's manifest: a malformed one keeps Windows XP and later from
# starting it at all; without asInvoker, Vista and later guess from the
# name whether it is an installer and ask for administrator rights.
manifest=$(${objdump%objdump}windres -J coff -i "$dir/AUTORUN.EXE" -O rc 2>/dev/null |
  sed -n '/^1 24 /,/^END/p' | sed -n 's/^ *"\(.*\)"$/\1/p' | sed 's/""/"/g; s/\\n$//' | tr -d '\n')
if [ -z "$manifest" ]; then
  result fail "AUTORUN.EXE carries no manifest (resource 1 of type 24)"
elif ! printf '%s' "$manifest" | python3 -c 'import sys, xml.dom.minidom; xml.dom.minidom.parseString(sys.stdin.buffer.read())' 2>/dev/null; then
  result fail "AUTORUN.EXE's manifest is not well-formed XML"
else
  oses=$(printf '%s' "$manifest" | grep -o '<supportedOS Id=' | wc -l)
  printf '%s' "$manifest" | grep -q 'requestedExecutionLevel level="asInvoker"' && [ "$oses" -eq 5 ] &&
    result ok "AUTORUN.EXE's manifest asks for asInvoker and names $oses Windows from Vista on" ||
    result fail "AUTORUN.EXE's manifest lacks asInvoker or the five supported Windows ($oses)"
  # System-DPI-aware: Vista and later then leave the screen's pixels to the
  # program, which scales them sharply, instead of stretching its window.
  dpi_setting='<application xmlns="urn:schemas-microsoft-com:asm.v3"> *<windowsSettings> *<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">true</dpiAware>'
  printf '%s' "$manifest" | grep -q "$dpi_setting" &&
    result ok "AUTORUN.EXE's manifest declares it DPI-aware (asm.v3 windowsSettings)" ||
    result fail "AUTORUN.EXE's manifest does not declare it DPI-aware"
fi

echo "size report (budget: AUTORUN.EXE 64 KB, each wait library 16 KB, stripped):"
for file in AUTORUN.EXE AUTORUN_95.DLL AUTORUN_NT.DLL; do
  [ -f "$dir/$file" ] || continue
  bytes=$(stat -c %s "$dir/$file")
  budget=$((16 * 1024)); [ "$file" = AUTORUN.EXE ] && budget=$((64 * 1024))
  printf '  %-15s %7d bytes  %3d%% of %d KB\n' "$file" "$bytes" $((bytes * 100 / budget)) $((budget / 1024))
done
echo "binaries: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
