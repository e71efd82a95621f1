#!/usr/bin/env bash
# Configures and builds the release tree in build/. Extra arguments go to
# CMake (the test script leaves the benchmarks out). Compiles go through
# ccache, with paths taken relative to the checkout and the build folder left
# out of the key, so that another checkout of the same sources finds them in
# the cache.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER_LAUNCHER=ccache "$@" >/dev/null
cmake --build build -j"$(nproc)"
