#!/usr/bin/env bash
# The installed desktop files pass the desktop's own validators, and the
# file type database built from our package knows *.srf and its magic.
# Exits 77 (skipped) when a validator is not installed.
set -euo pipefail
prefix=$1
share="$prefix/share"
for tool in desktop-file-validate appstreamcli update-mime-database; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed (scripts/setup.sh installs it)"; exit 77; }
done
desktop-file-validate "$share/applications/org.velkor.Velkor.desktop"
appstreamcli validate --no-net "$share/metainfo/org.velkor.Velkor.metainfo.xml"

mime=$(mktemp -d)
trap 'rm -rf "$mime"' EXIT
mkdir -p "$mime/packages"
cp "$share/mime/packages/velkor-srf.xml" "$mime/packages/"
# It warns that a scratch folder is not on the data path; only failure matters.
update-mime-database "$mime" >/dev/null 2>&1 || { echo "update-mime-database failed"; exit 1; }
grep -q '^application/x-garmin-srf:\*\.srf$' "$mime/globs"
grep -q 'application/x-garmin-srf' "$mime/magic"
grep -q 'GARMIN BITMAP 01' "$mime/magic"
grep -q '^MimeType=application/x-garmin-srf;$' "$share/applications/org.velkor.Velkor.desktop"

for size in 16 32 48 64 128 256; do
  icon="$share/icons/hicolor/${size}x${size}/apps/velkor.png"
  # Width and height of a PNG are the big-endian words at bytes 16 and 20.
  [ "$(od -An -tu4 --endian=big -j16 -N8 "$icon" | tr -s ' ')" = " $size $size" ] || { echo "bad icon $icon"; exit 1; }
done
if command -v groff >/dev/null; then
  for page in velkor velkor-cli; do
    out=$(LC_ALL=C.UTF-8 groff -man -ww -z "$share/man/man1/$page.1" 2>&1)
    [ -z "$out" ] || { echo "$out"; exit 1; }
  done
fi
echo "desktop entry, metainfo, file type, icons and man pages valid"
