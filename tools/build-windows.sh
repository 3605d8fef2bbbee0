#!/usr/bin/env bash
# Cross-builds the Windows binaries: the program, the wait libraries and the
# helper programs of the Wine suites.
#
#   tools/build-windows.sh i686     the product: build/win, dist/
#   tools/build-windows.sh x86_64   the suites' 64-bit route: build/win64, build/win64/dist/
#   tools/build-windows.sh route    whichever the Wine suites run on this machine
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
arch=${1:?usage: build-windows.sh i686|x86_64|route}
if [ "$arch" = route ]; then
  source "$ROOT/tools/wine-route.sh"
  arch=i686
  [ "$WINE_ROUTE" = 64 ] && arch=x86_64
fi
case $arch in
  i686) build=$ROOT/build/win dist=$ROOT/dist ;;
  x86_64) build=$ROOT/build/win64 dist=$ROOT/build/win64/dist ;;
  *) echo "build-windows: unknown architecture $arch" >&2; exit 2 ;;
esac
mkdir -p "$build"
cmake -S "$ROOT" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-$arch.cmake" \
  -DCMAKE_BUILD_TYPE=MinSizeRel -DDIST_DIR="$dist" >"$build/cmake.log" 2>&1 \
  || { cat "$build/cmake.log"; exit 1; }
cmake --build "$build" -j"${JOBS:-2}"
