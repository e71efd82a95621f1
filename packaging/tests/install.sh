#!/usr/bin/env bash
# Installs the build tree into a fresh scratch prefix for the other install tests.
#   install.sh BUILD_DIR PREFIX
set -euo pipefail
rm -rf "$2"
cmake --install "$1" --prefix "$2" >/dev/null
test -x "$2/bin/velkor-cli" && test -x "$2/bin/velkor" && test -f "$2/share/velkor/Garmin760.bmp"
# The model loader is an internal helper: in libexec, not on the PATH.
test -x "$2/libexec/velkor/velkor-model-loader" && test ! -e "$2/bin/velkor-model-loader"
