#!/usr/bin/env bash
# Builds everything and runs every test: first the release tree in build/ and
# lintian on the Debian package made from it, then the web page (scripts/web.sh)
# and its browser tests against the release tree, then the same suite built
# with AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/ (the Qt
# window's tests included; the benchmarks left out). Any sanitizer report
# fails its test. Both builds stop on any warning in our code (VELKOR_WERROR).
# VELKOR_SKIP_SANITIZE=1 runs the release suite only.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="$(nproc)"
# A format difference fails in seconds, before any build.
bash scripts/format.sh --check

bash scripts/build.sh -DVELKOR_BUILD_BENCH=OFF -DVELKOR_WERROR=ON
(cd build && ctest -j"$jobs" --output-on-failure)

# The Debian package as users get it: lintian finds no error and no warning.
echo "== Debian package (lintian)"
(cd build && rm -f velkor_*.deb && cpack -G DEB >/dev/null && lintian --fail-on error,warning velkor_*.deb)

echo "== web page (build-web) in headless Chromium"
bash scripts/web.sh --build-only
node --test web/tests/

[ "${VELKOR_SKIP_SANITIZE:-0}" = 1 ] && exit 0

echo "== sanitizer build (build-asan)"
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVELKOR_SANITIZE=ON -DVELKOR_BUILD_GUI=ON \
  -DVELKOR_BUILD_BENCH=OFF -DVELKOR_WERROR=ON -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >/dev/null
cmake --build build-asan -j"$jobs"
# Leaks count as findings; UBSan stops at its first report (the build also
# passes -fno-sanitize-recover), so a report ends its test with a failure.
export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1:strict_init_order=1:abort_on_error=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
(cd build-asan && ctest -j"$jobs" --output-on-failure)
