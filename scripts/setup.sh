#!/usr/bin/env bash
# Installs what the build needs with apt, and does nothing when all is there.
set -euo pipefail

# The formatter and the linter (scripts/format.sh, scripts/lint.sh).
tools=(clang-format clang-tidy)
packages=(cmake g++ make ccache qt6-base-dev libfreeimage-dev libassimp-dev libgtest-dev libgmock-dev zlib1g-dev libcli11-dev
          libgif-dev libbenchmark-dev fonts-liberation xvfb xauth
          desktop-file-utils appstream shared-mime-info groff-base dpkg-dev file
          lintian xdg-utils libfile-mimeinfo-perl libglib2.0-bin
          emscripten libstb-dev chromium nodejs)
missing=()
for p in "${packages[@]}" "${tools[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# npm comes with some builds of Node and as a package of its own with Debian's.
command -v npm >/dev/null || missing+=(npm)
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
