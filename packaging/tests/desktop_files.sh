#!/usr/bin/env bash
# The installed desktop files pass the desktop's own validators; the file
# type database built from our package in a prefix of its own claims a
# Garmin SRF by its signature, whatever its name, and leaves Sony's raw
# photos (also *.srf) alone, asked the way a desktop asks (xdg-mime, both
# its generic and its GNOME way); the man pages render cleanly.
# Exits 77 (skipped) when a validator is not installed.
set -euo pipefail
prefix=$1
share="$prefix/share"
for tool in desktop-file-validate appstreamcli update-mime-database xdg-mime mimetype gio; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed (scripts/setup.sh installs it)"; exit 77; }
done
desktop-file-validate "$share/applications/org.velkor.Velkor.desktop"
appstreamcli validate --no-net "$share/metainfo/org.velkor.Velkor.metainfo.xml"

data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
mkdir -p "$data/mime/packages" "$data/home"
cp "$share/mime/packages/velkor-srf.xml" "$data/mime/packages/"
# It warns that a scratch folder is not on the data path; only failure matters.
update-mime-database "$data/mime" >/dev/null 2>&1 || { echo "update-mime-database failed"; exit 1; }
grep -q '^MimeType=application/x-garmin-srf;$' "$share/applications/org.velkor.Velkor.desktop"
{ printf 'GARMIN BITMAP 01'; head -c 200 /dev/zero; } >"$data/icon.srf"
cp "$data/icon.srf" "$data/icon.bin"
{ printf 'MM\0*\0\0\0\10'; head -c 200 /dev/zero; } >"$data/photo.srf"  # Sony's raw photos are TIFFs
for desktop in "" XDG_CURRENT_DESKTOP=GNOME; do
  for expected in icon.srf:application/x-garmin-srf icon.bin:application/x-garmin-srf photo.srf:image/x-sony-srf; do
    file=${expected%%:*} type=${expected#*:}
    got=$(env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID -u DISPLAY \
          $desktop XDG_DATA_HOME="$data/home" XDG_DATA_DIRS="$data:/usr/share" xdg-mime query filetype "$data/$file")
    [ "$got" = "$type" ] || { echo "${desktop:-generic}: $file is $got, not $type"; exit 1; }
  done
done

for size in 16 32 48 64 128 256; do
  icon="$share/icons/hicolor/${size}x${size}/apps/velkor.png"
  # Width and height of a PNG are the big-endian words at bytes 16 and 20.
  [ "$(od -An -tu4 --endian=big -j16 -N8 "$icon" | tr -s ' ')" = " $size $size" ] || { echo "bad icon $icon"; exit 1; }
done
if command -v groff >/dev/null; then
  for page in velkor velkor-cli; do
    out=$(zcat "$share/man/man1/$page.1.gz" | LC_ALL=C.UTF-8 groff -man -ww -z 2>&1)
    [ -z "$out" ] || { echo "$out"; exit 1; }
  done
fi
echo "desktop entry, metainfo, file type, icons and man pages valid"
