#!/usr/bin/env bash
# Configures and builds the release tree in build/. Extra arguments go to
# CMake (the test script leaves the benchmarks out). Compiles go through
# ccache, with paths taken relative to the checkout so that another checkout
# of the same sources finds them in the cache.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
export CCACHE_BASEDIR="$PWD"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER_LAUNCHER=ccache "$@" >/dev/null
cmake --build build -j"$(nproc)"
