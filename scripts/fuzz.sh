#!/usr/bin/env bash
# Builds one libFuzzer target with clang in build-fuzz/ and runs it for the
# given number of seconds, starting from seeds the target writes itself.
#   bash scripts/fuzz.sh fuzz_srf_reader 600
# Targets: fuzz_srf_reader fuzz_asrf_reader fuzz_preview_loader fuzz_frame_loader fuzz_scene_decoder
# Findings land in build-fuzz/findings/TARGET/; the grown corpus in
# build-fuzz/corpus/TARGET/ is kept between runs. To replay a finding:
#   build-fuzz/TARGET build-fuzz/findings/TARGET/crash-...
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?usage: fuzz.sh TARGET SECONDS}
seconds=${2:?usage: fuzz.sh TARGET SECONDS}
build=${VELKOR_FUZZ_BUILD:-build-fuzz}

CXX=clang++ CC=clang cmake -S . -B "$build" -DVELKOR_FUZZ=ON -DVELKOR_BUILD_TESTS=OFF -DVELKOR_BUILD_GUI=OFF \
  -DVELKOR_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"${VELKOR_FUZZ_JOBS:-$(nproc)}" --target "$target"

corpus="$build/corpus/$target"
findings="$build/findings/$target"
mkdir -p "$corpus" "$findings"
VELKOR_FUZZ_SEEDS="$corpus" "$build/$target"

# Huge allocations come back as null rather than ending the run, so that a
# loader's own handling of a failed allocation is what gets tested.
export ASAN_OPTIONS=${ASAN_OPTIONS:-allocator_may_return_null=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
exec "$build/$target" -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=65536 -timeout=20 \
  -artifact_prefix="$findings/" -print_final_stats=1 "$corpus"
