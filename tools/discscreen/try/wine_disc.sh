# shellcheck shell=bash
# The Wine side shared by `discscreen preview` and `discscreen try`: a
# throw-away prefix copied from the suites' template, with no drive that
# reaches the rest of this machine, and the disc as its CD-ROM drive D:, a
# private copy of the author's folder mounted read-only, so that nothing the
# program or an installer does reaches the author's files. Source it after
# the caller's die() and progress().

source "$(dirname "${BASH_SOURCE[0]}")/../../../tests/wine/lib.sh"

require_tools() {
  local tool
  [ -f "$DIST/AUTORUN.EXE" ] ||
    die "no built program in $DIST: build it first with 'make route' in $ROOT"
  for tool in wine Xvfb unshare "$@"; do
    command -v "$tool" >/dev/null || die "$tool is missing: run $ROOT/tools/install-deps.sh"
  done
}

# Runs this script again, with its arguments, in a mount namespace of its
# own (and a user namespace where it is not root), where the drive's
# read-only mount is seen by this script and the Wine it starts alone.
in_private_mounts() {
  [ "${DISCSCREEN_PRIVATE_MOUNTS:-}" = 1 ] && return 0
  local as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(--map-root-user)
  DISCSCREEN_PRIVATE_MOUNTS=1 exec unshare --mount --propagation private "${as_root[@]}" bash "$0" "$@"
}

# A prefix of its own in $1/prefix (WINEPREFIX), without the z: drive.
make_disc_prefix() {
  if [ ! -f "$TEMPLATE/.ready" ]; then
    progress "making the Wine prefix that every run copies (once, about 20 s)"
  fi
  make_template
  export WINEPREFIX=$1/prefix
  cp -a "$TEMPLATE" "$WINEPREFIX"
  rm -f "$WINEPREFIX/dosdevices/z:" "$WINEPREFIX/dosdevices/z::"
}

# The drive in folder $2: a copy of disc folder $1 where the built program
# stands in for any program of that name the folder holds, mounted
# read-only over itself, and D: of the prefix (a CD-ROM drive once
# import_disc_settings has run).
make_disc_drive() {
  local entry
  mkdir -p "$2"
  for entry in "$1"/* "$1"/.[!.]*; do
    [ -e "$entry" ] || continue
    case "${entry##*/}" in
      [Aa][Uu][Tt][Oo][Rr][Uu][Nn].[Ee][Xx][Ee] | [Aa][Uu][Tt][Oo][Rr][Uu][Nn]_[9Nn][5Tt].[Dd][Ll][Ll]) continue ;;
    esac
    cp -R --preserve=timestamps "$entry" "$2/" || die "cannot copy ${entry##*/} of the disc"
  done
  cp "$DIST"/AUTORUN.EXE "$DIST"/AUTORUN_95.DLL "$DIST"/AUTORUN_NT.DLL "$2"/
  mount --bind "$2" "$2" && mount -o remount,bind,ro "$2" "$2" ||
    die "cannot mount the disc's copy read-only"
  ln -sfn "$2" "$WINEPREFIX/dosdevices/d:"
}

# The registry settings of the prefix (a REGEDIT4 file's text, the drive's
# type first, then any given on standard input), in one import.
import_disc_settings() {
  # On C:, as the prefix has no drive for the rest of the machine.
  local file=$WINEPREFIX/drive_c/disc-settings.reg
  { printf 'REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Drives]\n"d:"="cdrom"\n\n'; cat; } >"$file"
  wine reg import 'C:\disc-settings.reg' >/dev/null 2>&1 || die "cannot set up the prefix's registry"
  rm -f "$file"
}

# Undoes make_disc_drive's mount, so that the copy can be removed.
release_disc_drive() { umount "$1" 2>/dev/null; }

# The Windows version the program sees: win95 ... winxp, win98fe for the
# first edition of 98, "" for the prefix's own.
set_disc_windows() {
  case $1 in
    "") ;;
    win98fe)
      wine_reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion' /v CurrentVersion /f
      wine_reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion' /v VersionNumber /d 4.10.1998 /f
      wine_reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion' /v SubVersionNumber /d ' ' /f
      ;;
    *) set_windows_version "$1" ;;
  esac
}

# One checksum of every file of folder $1 with its name.
folder_digest() {
  (cd "$1" && find . -type f -print0 | LC_ALL=C sort -z | xargs -0 -r sha256sum | sha256sum | cut -d' ' -f1)
}
