#!/usr/bin/env bash
# Runs the installed thumbnailer's own Exec line the way a file manager does:
# on a good SRF it writes a PNG that fits the size asked; on hostile files it
# fails at once and writes nothing.
set -euo pipefail
prefix=$1
export PATH="$prefix/bin:$PATH"
exec_line=$(sed -n 's/^Exec=//p' "$prefix/share/thumbnailers/velkor.thumbnailer")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# thumbnail IN OUT SIZE: the Exec line with its %i %o %s filled in.
thumbnail() {
  local cmd=${exec_line//%i/\'$1\'}
  cmd=${cmd//%o/\'$2\'}
  cmd=${cmd//%s/$3}
  timeout 10 bash -c "$cmd" 2>/dev/null
}
png_size() { od -An -tu4 --endian=big -j16 -N8 "$1" | tr -s ' '; }

(cd "$work" && velkor-cli do-all good.srf >/dev/null 2>&1)
# The sample's frames are 80 pixels: enlarged by whole steps, or shrunk to fit.
for case in "256 240 240" "128 80 80" "64 64 64" "16 16 16"; do
  read -r size w h <<<"$case"
  thumbnail "$work/good.srf" "$work/good.png" "$size"
  [ "$(png_size "$work/good.png")" = " $w $h" ] || { echo "size $size gave $(png_size "$work/good.png")"; exit 1; }
done
rm "$work/good.png"

head -c 0 /dev/null >"$work/empty.srf"
head -c 5000 /dev/urandom >"$work/noise.srf"
head -c 3000 "$work/good.srf" >"$work/cut.srf"
truncate -s 2G "$work/huge.srf"
mkfifo "$work/fifo.srf"
mkdir "$work/folder.srf"
for bad in empty:128 noise:128 cut:128 huge:128 fifo:128 folder:128 missing:128 good:0 good:99999 good:x; do
  size=${bad#*:} bad=${bad%:*}
  start=$(date +%s)
  if thumbnail "$work/$bad.srf" "$work/$bad.png" "$size"; then echo "$bad $size: succeeded"; exit 1; fi
  [ ! -e "$work/$bad.png" ] || { echo "$bad: left an output file"; exit 1; }
  [ $(( $(date +%s) - start )) -le 2 ] || { echo "$bad: too slow"; exit 1; }
done
[ -z "$(ls -A "$work" | grep '^\.')" ] || { echo "temporary files left behind"; exit 1; }
echo "thumbnailer: good file fits every size; hostile files and sizes refused"
