#!/usr/bin/env bash
# discscreen new on a folder of 8 items (five NSIS installers, a Windows
# Installer package and two documents): the time from `new` to a written
# ISO (budget 5 s), and for each style what the drive reads before the new
# disc's screen appears, as `discscreen check` counts it (budget 200 KB).
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
TOOL=$ROOT/build/bin/discscreen
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
if [ ! -x "$TOOL" ] || [ ! -f "$ROOT/dist/AUTORUN.EXE" ] || ! command -v makensis >/dev/null; then
  echo "new disc: needs build/bin/discscreen, dist/ and makensis (make tools dist)"
  exit 0
fi
export DISCSCREEN_DIST=$ROOT/dist

# The folder, made once; each run works on a copy.
SOURCE=$WORK/source
for name in EDITOR VIEWER FONTS DRIVERS TOOLS; do
  mkdir -p "$SOURCE/$name"
  printf '%s\n' 'Unicode true' "Name \"$name\"" "OutFile \"$SOURCE/$name/SETUP.EXE\"" 'SilentInstall silent' \
    'VIProductVersion "1.0.0.0"' "VIAddVersionKey \"ProductName\" \"Bench $name\"" 'VIAddVersionKey "FileVersion" "1.0"' \
    'Section' 'SectionEnd' >"$WORK/$name.nsi"
  makensis -V1 "$WORK/$name.nsi" >/dev/null || { echo "new disc: makensis failed"; exit 0; }
done
mkdir -p "$SOURCE/EXTRAS" "$WORK/msi"
echo payload >"$WORK/msi/PAYLOAD.TXT"
cat >"$WORK/msi/p.wxs" <<'WXS'
<?xml version="1.0" encoding="utf-8"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="*" Name="Bench Extras" Language="1033" Version="1.0.0" Manufacturer="Bench" UpgradeCode="3A6B2C4E-2B51-4B8A-9E0D-3C1A7B5D2E12">
    <Package InstallerVersion="200" Compressed="yes"/>
    <Media Id="1" Cabinet="p.cab" EmbedCab="yes"/>
    <Directory Id="TARGETDIR" Name="SourceDir"><Directory Id="ProgramFilesFolder"><Directory Id="D" Name="Bench">
      <Component Id="C" Guid="4E3E4B7A-8C21-4F5E-9A6B-1C2D3E4F5A6D"><File Id="F" Name="PAYLOAD.TXT" Source="PAYLOAD.TXT" KeyPath="yes"/></Component>
    </Directory></Directory></Directory>
    <Feature Id="Main" Level="1"><ComponentRef Id="C"/></Feature>
  </Product>
</Wix>
WXS
(cd "$WORK/msi" && wixl -o "$SOURCE/EXTRAS/EXTRAS.MSI" p.wxs) || { echo "new disc: wixl failed"; exit 0; }
echo "read me" >"$SOURCE/README.TXT"
echo "licence" >"$SOURCE/LICENSE.TXT"

best=""
for _ in 1 2 3; do
  rm -rf "$WORK/disc" "$WORK/disc.iso"
  cp -r "$SOURCE" "$WORK/disc"
  start=$(date +%s%N)
  if ! "$TOOL" new "$WORK/disc" >/dev/null || ! "$TOOL" image "$WORK/disc" -o "$WORK/disc.iso" >/dev/null 2>&1; then
    echo "new disc: new or image failed"; exit 0
  fi
  elapsed=$(($(date +%s%N) - start))
  if [ -z "$best" ] || [ "$elapsed" -lt "$best" ]; then best=$elapsed; fi
done
items=$(grep -c '^BUTTON[0-9]*=\(CHECKBOX\|PUSHBUTTON\)' "$WORK/disc/AUTORUN.INF")
printf 'new disc of %d items to a written ISO: %d.%02d s, the best of 3 (budget 5 s)\n' "$items" \
  $((best / 1000000000)) $((best / 10000000 % 100))

for style in dark light classic; do
  rm -rf "$WORK/disc"
  cp -r "$SOURCE" "$WORK/disc"
  "$TOOL" new "$WORK/disc" --style "$style" >/dev/null || continue
  "$TOOL" check "$WORK/disc" | sed -n 's/.* the drive reads \([0-9,]*\) bytes: .* \([0-9.]*\) s at 4x.*\[read-budget\]$/\1 \2/p' |
    tr -d , | sort -n | tail -1 | {
    read -r bytes seconds || { echo "new disc, $style: no screen"; continue; }
    printf 'new disc, %s style, read before the screen appears: %d KB, %s s at 4x (budget 200 KB)\n' \
      "$style" $(((bytes + 1023) / 1024)) "$seconds"
  }
done
