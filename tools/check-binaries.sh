#!/usr/bin/env bash
# Checks the disc's binaries: they import only system DLLs, declare
# subsystem version 4.0, and the wait libraries export WaitForProcess
# undecorated. Ends with a size report against the budgets (not a test).
set -u
dir=${1:-dist}
objdump=i686-w64-mingw32-objdump
allowed='^(KERNEL32|USER32|GDI32|ADVAPI32|SHELL32|WINMM|MSVCRT)\.DLL$'
passed=0
failed=0
result() {
  if [ "$1" = ok ]; then passed=$((passed + 1)); echo "   ok   $2"; else failed=$((failed + 1)); echo "   FAIL $2"; fi
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

echo "size report (budget: AUTORUN.EXE 96 KB, each wait library 32 KB, stripped):"
for file in AUTORUN.EXE AUTORUN_95.DLL AUTORUN_NT.DLL; do
  [ -f "$dir/$file" ] || continue
  bytes=$(stat -c %s "$dir/$file")
  budget=$((32 * 1024)); [ "$file" = AUTORUN.EXE ] && budget=$((96 * 1024))
  printf '  %-15s %7d bytes  %3d%% of %d KB\n' "$file" "$bytes" $((bytes * 100 / budget)) $((budget / 1024))
done
echo "binaries: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
