#!/usr/bin/env bash
# Builds the release tree in build/ and runs every benchmark: the peak memory
# and process time of velkor-cli do-all first, then each stage and command on
# the bundled sample vehicle as medians of 9 runs. Extra arguments go to
# velkor-bench, e.g. --benchmark_filter=DoAll or --benchmark_repetitions=20.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh -DVELKOR_BUILD_BENCH=ON
exec ./build/velkor-bench "$@"
