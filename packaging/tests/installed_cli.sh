#!/usr/bin/env bash
# The installed velkor-cli from an unrelated folder: do-all finds the installed
# sample vehicle and the installed model loader (nothing beside PREFIX/bin holds assets, so success means
# share/velkor and libexec/velkor were found); send-to-device into a fake device folder and gif
# end with the right status and leave the right files.
set -euo pipefail
cli="$1/bin/velkor-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "FAILED: $*"; exit 1; }
"$cli" do-all car.srf >/dev/null 2>err || { cat err; fail "do-all"; }
"$cli" info car.srf | grep -qx 'checksum.matches: yes' || fail "do-all's SRF"
# The installed model loader renders the installed sample model.
"$cli" do-all model.srf --model "$1/share/velkor/sample/car.glb" >/dev/null 2>err || { cat err; fail "do-all --model"; }
mkdir -p dev/Garmin && echo '<Device/>' >dev/Garmin/GarminDevice.xml
vehicle=dev/Garmin/Vehicle/car.srf

"$cli" send-to-device car.srf --device dev >/dev/null || fail "first send"
cmp -s car.srf "$vehicle" || fail "the copy differs"
"$cli" send-to-device car.srf --device dev | grep -q 'already on the device' || fail "identical file"

head -c -1 car.srf >broken.srf && printf '\x01' >>broken.srf
! "$cli" send-to-device broken.srf --device dev 2>/dev/null || fail "a broken SRF was sent"
[ ! -e dev/Garmin/Vehicle/broken.srf ] || fail "a broken SRF reached the device"

echo different >"$vehicle"
! "$cli" send-to-device car.srf --device dev 2>err || fail "replaced without --force"
grep -q -- '--force' err && [ "$(cat "$vehicle")" = different ] || fail "the different file was not kept"
"$cli" send-to-device car.srf --device dev --force >/dev/null && cmp -s car.srf "$vehicle" || fail "--force"
[ "$(ls -A dev/Garmin/Vehicle)" = car.srf ] || fail "temporary files left on the device"
! "$cli" send-to-device car.srf --device "$work" 2>/dev/null || fail "a folder without Garmin/ taken as a device"
# Nothing goes through a Vehicle (or Garmin) folder that is a link leading out of the device.
mkdir -p away linked/Garmin && echo '<Device/>' >linked/Garmin/GarminDevice.xml && ln -s ../../away linked/Garmin/Vehicle
! "$cli" send-to-device car.srf --device linked 2>/dev/null && [ -z "$(ls -A away)" ] || fail "written out of the device"

"$cli" gif car.srf car.gif >/dev/null || fail "gif"
[ "$(head -c 6 car.gif)" = GIF89a ] || fail "not a GIF"
# Like the viewer, gif reads any file whose records read; a cut one it refuses.
head -c 5000 car.srf >cut.srf
echo old >car.gif
! "$cli" gif cut.srf car.gif 2>/dev/null && [ "$(cat car.gif)" = old ] || fail "gif of a cut SRF"
echo "installed do-all, do-all --model, send-to-device and gif behave"
