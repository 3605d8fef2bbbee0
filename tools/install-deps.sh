#!/usr/bin/env bash
# Installs what the build and the suites need on a Debian 12 machine, and
# nothing when it is all there already.
#
# A package index that cannot be fetched (a mirror in the middle of a sync)
# is only a warning: what counts is whether the packages then install. Where
# the kernel runs 32-bit programs but 32-bit Wine cannot be installed, the
# suites take the x86-64 route instead, and the route line says why; a route
# forced with WINE_ROUTE that cannot be had fails with the reason.
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
forced_route=${WINE_ROUTE:-}
source "$HERE/wine-route.sh"

have() { command -v "$1" >/dev/null 2>&1; }
say() { echo "install-deps: $*" >&2; }
die() { say "$*"; exit 1; }

# What every route needs.
common_packages() {
  have cmake || echo cmake
  have g++ || echo g++
  have clang++ || echo clang
  have make || echo make
  have i686-w64-mingw32-g++-win32 || echo g++-mingw-w64-i686-win32
  have i686-w64-mingw32-objdump || echo binutils-mingw-w64-i686
  have Xvfb || echo xvfb
  have xdotool || echo xdotool
  have shellcheck || echo shellcheck
  have xwininfo || echo x11-utils
  have sox || echo sox
  have python3 || echo python3
  # pgrep: the wait benchmark finds its prefix's wineserver.
  have pgrep || echo procps
  # wixl (from msitools) builds the Windows Installer package of the documents suite.
  have wixl || echo wixl
  # Disc images (discscreen image), and the typeface of the demo disc's
  # pictures and the preview's contact sheets.
  have xorriso || echo xorriso
  # Signing the image's programs (discscreen image --sign), and the test
  # certificate the tool cases make.
  have osslsigncode || echo osslsigncode
  have openssl || echo openssl
  [ -f /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf ] || echo fonts-dejavu-core
  # Real installers for the restart suite are built with NSIS.
  have makensis || echo nsis
  # The real ImageMagick (some machines carry a stand-in named convert).
  { [ -x /usr/bin/convert ] && /usr/bin/convert -version 2>/dev/null | grep -q ImageMagick; } || echo imagemagick
  [ -f /usr/include/gtest/gtest.h ] || echo libgtest-dev
  # Locale sources, built into a private folder by the encoding suite.
  { have localedef && [ -f /usr/share/i18n/locales/ja_JP ]; } || echo locales
  ls /usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 || echo libclang-rt-14-dev
  # The designer (discscreen design): its web server, JSON and PNG, and the
  # browser and node that its page's tests run in.
  [ -f /usr/include/httplib.h ] || echo libcpp-httplib-dev
  [ -f /usr/include/nlohmann/json.hpp ] || echo nlohmann-json3-dev
  [ -f /usr/include/png.h ] || echo libpng-dev
  # discscreen new and picture: styles drawn with Cairo, pictures read as JPEG and GIF, installers named by exiftool and msiinfo.
  for p in libcairo2-dev libjpeg62-turbo-dev libgif-dev msitools libimage-exiftool-perl; do dpkg -s "$p" >/dev/null 2>&1 || echo "$p"; done
  have pkg-config || echo pkg-config
  have chromium || echo chromium
  # The machine's certificate store, which the npm packages are fetched with.
  [ -f /etc/ssl/certs/ca-certificates.crt ] || echo ca-certificates
  have node || echo nodejs
  have npm || echo npm
}

# What route $1 needs besides: 32-bit Wine for the shipped build, or 64-bit
# Wine and the x86-64 cross compiler.
route_packages() {
  if [ "$1" = 32 ]; then
    { have wine && wine32_installed; } || echo wine wine32:i386
  else
    [ -x /usr/lib/wine/wine64 ] || echo wine64
    have x86_64-w64-mingw32-g++-win32 || echo g++-mingw-w64-x86-64-win32
    have x86_64-w64-mingw32-objdump || echo binutils-mingw-w64-x86-64
  fi
}

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
apt_get() { DEBIAN_FRONTEND=noninteractive $SUDO apt-get -o Acquire::Retries=3 "$@"; }

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
  die "WINE_ROUTE=32 cannot be had: this kernel cannot run 32-bit programs"
fi

mapfile -t common < <(common_packages | tr ' ' '\n')
mapfile -t route < <(route_packages "$WINE_ROUTE" | tr ' ' '\n')
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
  mapfile -t route < <(route_packages 64 | tr ' ' '\n')
  if [ ${#route[@]} -gt 0 ]; then
    say "installing ${route[*]} (Wine route 64)"
    failure=$(install_packages "${route[@]}") || die "cannot install $failure"
  fi
fi
