#!/usr/bin/env bash
# The installed velkor-cli, started from an unrelated folder, finds the
# installed sample vehicle and makes a readable SRF of it. Nothing beside
# PREFIX/bin holds assets, so success means share/velkor was found.
set -euo pipefail
prefix=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$prefix/bin/velkor-cli" do-all out.srf >/dev/null 2>"$work/err" || { cat "$work/err"; exit 1; }
"$prefix/bin/velkor-cli" info out.srf | grep -qx 'checksum.matches: yes'
echo "installed do-all: $(stat -c %s out.srf) bytes"
