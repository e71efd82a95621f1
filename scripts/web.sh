#!/usr/bin/env bash
# Builds the web page (the engine as WebAssembly with Debian's emscripten, the
# page's files and the parts of three.js it uses) into build-web/page/, a
# folder any static host can serve, and serves it on 127.0.0.1 with the
# address printed. --build-only stops after the build. PORT picks the port
# (default 8026).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
# Debian's emscripten runs its JavaScript tools with the system's Node, which
# finds Debian's Node packages here.
export NODE_PATH=/usr/share/nodejs
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
# The npm packages as locked, installed again only when the lock changed.
if ! cmp -s web/package-lock.json web/node_modules/.velkor-installed-lock; then
  (cd web && npm ci --no-audit --no-fund --loglevel=error && cp package-lock.json node_modules/.velkor-installed-lock)
fi
# giflib's Debian source, at the version of the library the desktop links.
giflib="$(bash web/tools/debian-source.sh libgif-dev build-web/third_party)"
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
  -DCMAKE_C_COMPILER_LAUNCHER=ccache -DGIFLIB_SOURCE_DIR="$PWD/$giflib" >/dev/null
cmake --build build-web -j2
[ "${1:-}" = --build-only ] && exit 0
exec node web/tools/serve.mjs build-web/page "${PORT:-8026}"
