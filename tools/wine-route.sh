# Chooses the Wine that runs the Windows binaries, by what this machine's
# kernel can run. Source it; it sets and exports:
#   WINE_ROUTE  32: the shipped i686 build under 32-bit Wine
#               64: the same sources built for x86-64 under 64-bit Wine, for
#                   kernels without 32-bit execution
#   WIN_BUILD   the build folder of that route (its wine-bin/ holds the helpers)
#   DIST        the folder holding AUTORUN.EXE and the wait libraries
#   WINE_WORK   where prefixes go
#   WIN_TRIPLE  the cross tools' prefix of that build (objdump, g++)
# A WINE_ROUTE already set (WINE_ROUTE=64 make check) is kept.

WINE_ROUTE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Runs a 90-byte i386 Linux program that only exits: it fails with "Exec
# format error" where the kernel has 32-bit emulation switched off.
can_run_32bit() {
  local probe
  probe=$(mktemp) || return 1
  printf '\177\105\114\106\001\001\001\000\000\000\000\000\000\000\000\000\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010\133\000\000\000\133\000\000\000\005\000\000\000\000\020\000\000\061\333\061\300\100\315\200' >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null
  local status=$?
  rm -f "$probe"
  return $status
}

if [ -z "${WINE_ROUTE:-}" ]; then
  if can_run_32bit; then WINE_ROUTE=32; else WINE_ROUTE=64; fi
fi
case $WINE_ROUTE in
  32)
    WIN_BUILD=$WINE_ROUTE_ROOT/build/win
    DIST=${DIST:-$WINE_ROUTE_ROOT/dist}
    WINE_WORK=${WINE_WORK:-$WINE_ROUTE_ROOT/build/wine}
    WIN_TRIPLE=i686-w64-mingw32
    export WINEARCH=win32
    ;;
  64)
    WIN_BUILD=$WINE_ROUTE_ROOT/build/win64
    DIST=${DIST:-$WIN_BUILD/dist}
    WINE_WORK=${WINE_WORK:-$WINE_ROUTE_ROOT/build/wine64}
    WIN_TRIPLE=x86_64-w64-mingw32
    export WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64
    # Debian's wine and wineboot pick the 32-bit loader whenever it is
    # installed, even where it cannot run: these call the 64-bit one.
    case ":$PATH:" in
      *":$WINE_ROUTE_ROOT/tools/wine64:"*) ;;
      *) PATH=$WINE_ROUTE_ROOT/tools/wine64:$PATH ;;
    esac
    export PATH
    ;;
  *)
    echo "WINE_ROUTE must be 32 or 64, not '$WINE_ROUTE'" >&2
    return 1 2>/dev/null || exit 1
    ;;
esac
export WINE_ROUTE WIN_BUILD DIST WINE_WORK WIN_TRIPLE

# One line for the summary: which build the Wine suites ran on.
wine_route_line() {
  case $WINE_ROUTE in
    32) echo "wine route: i686 build (dist/) under 32-bit Wine" ;;
    64) echo "wine route: x86-64 build of the same sources under 64-bit Wine (this kernel cannot run 32-bit programs, or WINE_ROUTE=64)" ;;
  esac
}
