#!/usr/bin/env bash
# Builds and opens the window on the bundled sample vehicle. Without a display
# it runs the same Do All headless and says where the files went.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec ./build/velkor
fi
out="$PWD/build/sample-output"
mkdir -p "$out"
echo "No display: running Do All on the sample vehicle headless."
./build/velkor-cli do-all "$out/sample.srf"
./build/velkor-cli srf2png "$out/sample.srf" "$out/sample.png"
echo "SRF written to: $out/sample.srf"
echo "PNG of it:      $out/sample.png (the 32-bit BMP beside it)"
