#!/usr/bin/env bash
# Installs what the build and the suites need on a Debian 12 machine, and
# nothing when it is all there already.
set -euo pipefail

need=()
have() { command -v "$1" >/dev/null 2>&1; }
have cmake || need+=(cmake)
have g++ || need+=(g++)
have clang++ || need+=(clang)
have i686-w64-mingw32-g++-win32 || need+=(g++-mingw-w64-i686-win32)
have i686-w64-mingw32-objdump || need+=(binutils-mingw-w64-i686)
have Xvfb || need+=(xvfb)
have xdotool || need+=(xdotool)
have xwininfo || need+=(x11-utils)
have sox || need+=(sox)
have python3 || need+=(python3)
# wixl (from msitools) builds the Windows Installer package of the documents suite.
have wixl || need+=(wixl)
# Disc images (discscreen image), and the typeface of the demo disc's
# pictures and the preview's contact sheets.
have xorriso || need+=(xorriso)
[ -f /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf ] || need+=(fonts-dejavu-core)
# Real installers for the restart suite are built with NSIS.
have makensis || need+=(nsis)
# The real ImageMagick (some machines carry a stand-in named convert).
[ -x /usr/bin/convert ] && /usr/bin/convert -version 2>/dev/null | grep -q ImageMagick || need+=(imagemagick)
[ -f /usr/include/gtest/gtest.h ] || need+=(libgtest-dev)
# Locale sources, built into a private folder by the encoding suite.
{ have localedef && [ -f /usr/share/i18n/locales/ja_JP ]; } || need+=(locales)
[ -d /usr/lib/llvm-14/lib/clang/14.0.6/lib/linux ] && ls /usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 || need+=(libclang-rt-14-dev)
# The Wine of the route the suites take (tools/wine-route.sh): 32-bit Wine
# for the shipped build, or 64-bit Wine and the x86-64 cross compiler where
# this kernel cannot run 32-bit programs.
source "$(dirname "$0")/wine-route.sh"
if [ "$WINE_ROUTE" = 32 ]; then
  { have wine && dpkg -s wine32:i386 >/dev/null 2>&1; } || need+=(wine wine32:i386)
else
  [ -x /usr/lib/wine/wine64 ] || need+=(wine64)
  have x86_64-w64-mingw32-g++-win32 || need+=(g++-mingw-w64-x86-64-win32)
  have x86_64-w64-mingw32-objdump || need+=(binutils-mingw-w64-x86-64)
fi

[ ${#need[@]} -eq 0 ] && exit 0

echo "install-deps: installing ${need[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
if [ "$WINE_ROUTE" = 32 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}"
