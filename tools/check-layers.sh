#!/usr/bin/env bash
# The program's folders are layers, and includes point down only:
#   app -> launch -> ui -> win -> script
# A file may include its own folder and any folder below it; what a lower
# layer needs from a higher one is an interface of its own that the higher
# one implements. The wait library stands alone: it includes nothing of
# the program, and the program includes nothing of it.
# A header that brings <windows.h> with it says so in its name: outside
# src/win (the Win32 layer itself), a header that includes <windows.h>, a
# header of src/win or another *_win.h ends in _win.h.
# Prints every include that points the wrong way and every unmarked Win32
# header; fails if there is one.
set -u
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT" || exit 1

rank() {
  case "$1" in
    script) echo 0 ;; win) echo 1 ;; ui) echo 2 ;; launch) echo 3 ;; app) echo 4 ;;
    *) echo "" ;;
  esac
}

wrong=0
checked=0
while IFS= read -r file; do
  folder=${file#src/}
  folder=${folder%%/*}
  own=$(rank "$folder")
  while IFS= read -r included; do
    checked=$((checked + 1))
    target=${included%%/*}
    [ "$target" = "$included" ] && continue  # no folder: resource.h and the like
    theirs=$(rank "$target")
    if [ "$target" = waitlib ] || { [ -n "$theirs" ] && [ "$theirs" -gt "$own" ]; }; then
      echo "upward include: $file includes $included"
      wrong=$((wrong + 1))
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find src -name '*.cpp' -o -name '*.h' | sort)

while IFS= read -r file; do
  while IFS= read -r included; do
    checked=$((checked + 1))
    if [ -n "$(rank "${included%%/*}")" ] && [ "${included%%/*}" != "$included" ]; then
      echo "the wait library includes the program: $file includes $included"
      wrong=$((wrong + 1))
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find waitlib -name '*.cpp' -o -name '*.h' | sort)

unmarked=0
win32_include='^[[:space:]]*#[[:space:]]*include[[:space:]]*(<windows\.h>|"win/[^"]*"|"[^"]*_win\.h")'
while IFS= read -r file; do
  included=$(grep -m1 -E "$win32_include" "$file" | sed -E 's/.*include[[:space:]]*([<"][^>"]*[>"]).*/\1/')
  [ -n "$included" ] || continue
  echo "Win32 header without the _win.h mark: $file includes $included; name it ${file%.h}_win.h"
  unmarked=$((unmarked + 1))
done < <(find src tests tools waitlib -name '*.h' ! -name '*_win.h' ! -path 'src/win/*' | sort)

echo "layers: $checked includes checked, $wrong pointing the wrong way, $unmarked Win32 headers unmarked"
wrong=$((wrong + unmarked))
[ "$wrong" -eq 0 ]
