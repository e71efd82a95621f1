#!/usr/bin/env bash
# Runs clang-tidy (Debian's, 14) with the checks of .clang-tidy over every
# source file the desktop build compiles of the program itself: the layers
# (jobs/ among them), the window, velkor-cli and the model loader; not
# tests/, bench/ or fuzz/.
# Headers of ours are checked where they are included, third-party headers
# never. Fails on any finding. The compile commands come from a tree that is
# only configured, build-lint/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build-lint -DCMAKE_BUILD_TYPE=Release -DVELKOR_BUILD_BENCH=OFF -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
ours='platform|common|raster|srf|pipeline|convert|render|jobs|ui|cli|app|sample|packaging'
mapfile -t files < <(grep -o '"file": "[^"]*"' build-lint/compile_commands.json | cut -d'"' -f4 |
                     grep -E "^$PWD/($ours)/" | sort -u)
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
status=0
printf '%s\n' "${files[@]}" |
  xargs -P"$(nproc)" -n4 clang-tidy -p build-lint --quiet --header-filter="^$PWD/($ours)/" >"$log" 2>&1 || status=$?
# clang-tidy's counts of what it left out are not findings.
grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$' "$log" || true
if [ "$status" -ne 0 ]; then
  echo "clang-tidy: findings above (the checks, and why some are left out, in .clang-tidy)" >&2
  exit 1
fi
echo "clang-tidy: ${#files[@]} files, no findings"
