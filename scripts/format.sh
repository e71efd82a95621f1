#!/usr/bin/env bash
# Formats every C++ file of the repository with .clang-format (clang-format
# 14, Debian's). With --check it changes nothing: it lists each place that
# differs from the format and fails when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh clang-format
mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
if [ "${1:-}" = --check ]; then
  if ! clang-format --dry-run -Werror "${files[@]}"; then
    echo "Not formatted: run bash scripts/format.sh" >&2
    exit 1
  fi
  echo "${#files[@]} files formatted as .clang-format says"
  exit 0
fi
clang-format -i "${files[@]}"
