#!/usr/bin/env bash
# Formats our C++ sources with .clang-format (Debian's clang-format 14): the
# files git tracks, never a build folder or third-party code. With --check it
# changes nothing: it names each place that differs and fails when there is
# one (clang-format --dry-run -Werror).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
mapfile -t files < <(git ls-files -- '*.cpp' '*.h' ':(exclude,glob)**/third_party/**' ':(exclude,glob)**/node_modules/**')
if [ "${1:-}" = --check ]; then
  if ! clang-format --dry-run -Werror "${files[@]}"; then
    echo "Not formatted as .clang-format says: run bash scripts/format.sh" >&2
    exit 1
  fi
  echo "${#files[@]} files formatted as .clang-format says"
  exit 0
fi
clang-format -i "${files[@]}"
