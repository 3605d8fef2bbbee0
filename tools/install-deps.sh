#!/usr/bin/env bash
# Installs what the build and the suites need on a Debian 12 machine, and
# nothing when it is all there already.
#
#   tools/install-deps.sh            installs what this machine's route lacks
#   tools/install-deps.sh --list R   prints route R's (32 or 64) full package
#                                    list, installing nothing
#
# The routes differ in Wine alone: every other package is on every route.
# A package index that cannot be fetched (a mirror in the middle of a sync)
# is only a warning: what counts is whether the packages then install. Where
# the kernel runs 32-bit programs but 32-bit Wine cannot be installed, the
# suites take the x86-64 route instead, and the route line says why; a route
# forced with WINE_ROUTE that cannot be had fails with the reason.
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
forced_route=${WINE_ROUTE:-}

say() { echo "install-deps: $*" >&2; }
die() { say "$*"; exit 1; }

# Every route's packages, one a line: the Debian package and, where a machine
# may have it from elsewhere, the command (or absolute file) that then stands
# for it. Adding a package is adding a line here.
common_packages() {
  grep -v '^#' <<'EOF'
cmake
g++
clang
make
# The cross compilers with their objdump: the i686 product, and the x86-64
# build of the same sources (the 64-bit route's suites; the message tables'
# compile-time refusals on every route).
g++-mingw-w64-i686-win32
binutils-mingw-w64-i686
g++-mingw-w64-x86-64-win32
binutils-mingw-w64-x86-64
xvfb
xdotool
shellcheck
x11-utils
sox
python3
# pgrep: the wait benchmark finds its prefix's wineserver.
procps
# wixl builds the Windows Installer package of the documents suite.
wixl
# Disc images (discscreen image), and the typeface of the demo disc's
# pictures and the preview's contact sheets.
xorriso
fonts-dejavu-core
# Signing the image's programs (discscreen image --sign), and the test
# certificate the tool cases make.
osslsigncode
openssl
# Real installers for the restart suite are built with NSIS.
nsis
imagemagick
libgtest-dev
# Locale sources, built into a private folder by the encoding suite.
locales
libclang-rt-14-dev
# The designer (discscreen design): its web server, JSON and PNG, and the
# browser and node that its page's tests run in.
libcpp-httplib-dev
nlohmann-json3-dev
libpng-dev
pkg-config
chromium
# The machine's certificate store, which the npm packages are fetched with.
ca-certificates
nodejs                      node
npm                         npm
# discscreen new and picture: styles drawn with Cairo, pictures read as
# JPEG and GIF, installers named by exiftool and msiinfo.
libcairo2-dev
libjpeg62-turbo-dev
libgif-dev
msitools
libimage-exiftool-perl
# The designer draws texts as Wine does (FreeType, the typefaces Wine finds;
# the Oblique face is Wine's italic).
libfreetype-dev
fonts-wine
fonts-dejavu-extra
# discscreen try: the run's display served to its page (x11vnc on a Unix
# socket, websockify, noVNC).
x11vnc
websockify
novnc
EOF
}

# Wine's own packages, the one thing a route decides: route 32 runs the
# shipped i686 build under 32-bit Wine, route 64 the x86-64 build under
# 64-bit Wine.
wine_packages() {
  case $1 in
    32) printf '%s\n' wine wine32:i386 ;;
    64) printf '%s\n' wine64 ;;
    *) die "a route is 32 or 64, not '$1'" ;;
  esac
}

installed() { [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" = "install ok installed" ]; }
stands_in() {
  case $1 in
    '') return 1 ;;
    /*) [ -e "$1" ] ;;
    *) command -v "$1" >/dev/null 2>&1 ;;
  esac
}

# The packages of a list ($@: the function that prints it, and its arguments)
# that this machine lacks.
missing() {
  local pkg standin
  "$@" | while read -r pkg standin; do
    installed "$pkg" || stands_in "$standin" || echo "$pkg"
  done
}

if [ "${1:-}" = --list ]; then
  route=${2:?usage: install-deps.sh --list 32|64}
  wine_packages "$route" >/dev/null
  { common_packages; wine_packages "$route"; } | awk '{ print $1 }'
  exit 0
fi

source "$HERE/wine-route.sh"

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
# Other sessions on the machine may hold dpkg's lock: wait for it.
apt_get() {
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get -o Acquire::Retries=3 -o DPkg::Lock::Timeout=600 "$@"
}
# A few tries with a pause; an index that still fails is a warning, since the
# packages may well install from the indices that were fetched.
update_indices() {
  local try
  for try in 1 2 3; do
    if apt_get update -qq 2>"$UPDATE_ERRORS"; then return 0; fi
    [ "$try" = 3 ] || sleep $((try * 10))
  done
  say "warning: some package indices could not be fetched; going on with the rest:"
  grep -E '^(E|W):' "$UPDATE_ERRORS" | head -3 | sed 's/^/  /' >&2
}

# One line: the first package of $@ that cannot be installed, and why.
why_not_installable() {
  local pkg out reason
  for pkg in "$@"; do
    if ! out=$(apt_get install -s -qq --no-install-recommends "$pkg" 2>&1); then
      reason=$(grep -E '^ +[^ ]+ : |^E: ' <<<"$out" | grep -v 'held broken packages' | head -1 |
        sed -E 's/^ +[^ ]+ : //; s/^E: //; s/ +/ /g')
      echo "$pkg: ${reason:-apt-get cannot install it}"
      return
    fi
  done
  echo "$*: apt-get failed while installing them"
}

# Installs $@ (a second try after a fresh update, for downloads that failed
# mid-sync); on failure prints one line naming the package and the reason.
install_packages() {
  apt_get install -y -qq --no-install-recommends "$@" >"$INSTALL_LOG" 2>&1 && return 0
  update_indices
  apt_get install -y -qq --no-install-recommends "$@" >"$INSTALL_LOG" 2>&1 && return 0
  why_not_installable "$@"
  return 1
}

if [ "$forced_route" = 32 ] && ! can_run_32bit; then
  # A fresh root of tools/fresh-machine.sh alone: 32-bit Wine installs on
  # such a kernel, only running it does not, and its steps say they are
  # left out.
  [ -n "${FRESH_WINE_LEFT_OUT:-}" ] ||
    die "WINE_ROUTE=32 cannot be had: this kernel cannot run 32-bit programs"
fi

mapfile -t common < <(missing common_packages)
mapfile -t route < <(missing wine_packages "$WINE_ROUTE")
[ ${#common[@]} -eq 0 ] && [ ${#route[@]} -eq 0 ] && exit 0

UPDATE_ERRORS=$(mktemp)
INSTALL_LOG=$(mktemp)
trap 'rm -f "$UPDATE_ERRORS" "$INSTALL_LOG"' EXIT

if [ ${#route[@]} -gt 0 ] && [ "$WINE_ROUTE" = 32 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
update_indices

if [ ${#common[@]} -gt 0 ]; then
  say "installing ${common[*]}"
  failure=$(install_packages "${common[@]}") || die "cannot install $failure"
fi

if [ ${#route[@]} -gt 0 ]; then
  say "installing ${route[*]} (Wine route $WINE_ROUTE)"
  if failure=$(install_packages "${route[@]}"); then
    [ "$WINE_ROUTE" = 32 ] && rm -f "$WINE_ROUTE_RECORD"
    exit 0
  fi
  [ "$WINE_ROUTE" = 64 ] && die "cannot install $failure"
  [ -n "$forced_route" ] && die "WINE_ROUTE=32 cannot be had: 32-bit Wine could not be installed: $failure"
  mkdir -p "$(dirname "$WINE_ROUTE_RECORD")"
  echo "$failure" >"$WINE_ROUTE_RECORD"
  say "32-bit Wine could not be installed ($failure): the suites take the x86-64 route"
  mapfile -t route < <(missing wine_packages 64)
  if [ ${#route[@]} -gt 0 ]; then
    say "installing ${route[*]} (Wine route 64)"
    failure=$(install_packages "${route[@]}") || die "cannot install $failure"
  fi
fi
