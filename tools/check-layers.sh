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
# The authors' tool (tools/discscreen) is layered the same way, from the
# bottom:
#   reading -> check -> pictures -> image -> new -> try -> design -> main.cpp
# Its files include their own folder, the folders below it, and the
# program's portable headers (src/, none of its Win32 ones); main.cpp only
# dispatches. A strict order of folders leaves no room for a cycle.
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

TOOL=tools/discscreen
tool_rank() {
  case "$1" in
    reading) echo 0 ;; check) echo 1 ;; pictures) echo 2 ;; image) echo 3 ;; new) echo 4 ;;
    try) echo 5 ;; design) echo 6 ;; .) echo 7 ;;
    *) echo "" ;;
  esac
}
while IFS= read -r file; do
  folder=${file#"$TOOL"/}
  [ "$folder" = "${folder%/*}" ] && folder=. || folder=${folder%%/*}
  own=$(tool_rank "$folder")
  if [ -z "$own" ] || { [ "$folder" = . ] && [ "$file" != "$TOOL/main.cpp" ]; }; then
    echo "tool source outside the layers: $file (folders: reading check pictures image new try design)"
    wrong=$((wrong + 1))
    continue
  fi
  while IFS= read -r included; do
    checked=$((checked + 1))
    target=${included%%/*}
    theirs=$(tool_rank "$target")
    if [ "$target" = "$included" ] || [ "$target" = . ]; then
      echo "include without its folder: $file includes $included"
    elif [ -n "$(rank "$target")" ]; then
      case $included in
        win/* | *_win.h) echo "the tool includes a Win32 header: $file includes $included" ;;
        *) continue ;;
      esac
    elif [ -z "$theirs" ]; then
      echo "the tool includes an unknown folder: $file includes $included"
    elif [ "$theirs" -le "$own" ]; then
      continue
    else
      echo "upward include: $file includes $included"
    fi
    wrong=$((wrong + 1))
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find "$TOOL" -name '*.cpp' -o -name '*.h' | sort)

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
