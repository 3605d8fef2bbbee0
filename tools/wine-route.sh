# shellcheck shell=bash
# Chooses the Wine that runs the Windows binaries, by what this machine's
# kernel can run and what it could install. Source it; it sets and exports:
#   WINE_ROUTE  32: the shipped i686 build under 32-bit Wine
#               64: the same sources built for x86-64 under 64-bit Wine, for
#                   kernels without 32-bit execution or machines where
#                   32-bit Wine could not be installed
#   WINE_ROUTE_WHY  why the route was taken, for the route line
#   WIN_BUILD   the build folder of that route (its wine-bin/ holds the helpers)
#   DIST        the folder holding AUTORUN.EXE and the wait libraries
#   WINE_WORK   where prefixes go
#   WIN_TRIPLE  the cross tools' prefix of that build (objdump, g++)
# A WINE_ROUTE already set (WINE_ROUTE=64 make check) is kept.

WINE_ROUTE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# Written by tools/install-deps.sh when 32-bit Wine could not be installed:
# one line, the reason. Runs after it take the x86-64 route until 32-bit Wine
# is installed or the file is removed (make clean).
WINE_ROUTE_RECORD=$WINE_ROUTE_ROOT/build/wine32-not-installed

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

wine32_installed() { [ -x /usr/lib/wine/wine ] && dpkg -s wine32:i386 >/dev/null 2>&1; }

if [ -n "${WINE_ROUTE:-}" ]; then
  WINE_ROUTE_WHY=${WINE_ROUTE_WHY:-WINE_ROUTE=$WINE_ROUTE}
elif ! can_run_32bit; then
  WINE_ROUTE=64 WINE_ROUTE_WHY="this kernel cannot run 32-bit programs"
elif ! wine32_installed && [ -s "$WINE_ROUTE_RECORD" ]; then
  WINE_ROUTE=64 WINE_ROUTE_WHY="32-bit Wine could not be installed: $(head -1 "$WINE_ROUTE_RECORD")"
else
  WINE_ROUTE=32 WINE_ROUTE_WHY="this kernel runs 32-bit programs"
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
export WINE_ROUTE WINE_ROUTE_WHY WIN_BUILD DIST WINE_WORK WIN_TRIPLE

# One line for the summary: which build the Wine suites ran on, and why.
wine_route_line() {
  case $WINE_ROUTE in
    32) echo "wine route: i686 build (dist/) under 32-bit Wine ($WINE_ROUTE_WHY)" ;;
    64) echo "wine route: x86-64 build of the same sources under 64-bit Wine ($WINE_ROUTE_WHY)" ;;
  esac
}

# A Wine step that cannot run here: tools/fresh-machine.sh alone sets
# FRESH_WINE_LEFT_OUT (the reason), in a fresh root of route 32 on a kernel
# that cannot run 32-bit programs, where route 32's packages install but its
# Wine cannot run. Then prints "left out: STEP: REASON" and succeeds;
# otherwise fails, and the step runs.
wine_left_out() {
  [ -n "${FRESH_WINE_LEFT_OUT:-}" ] || return 1
  echo "left out: $1: $FRESH_WINE_LEFT_OUT"
}
