#!/usr/bin/env bash
# Whole-process figures of velkor-cli as a user runs it: a cold process per
# run, warm file cache, medians of 15 runs (wall time, child's minor faults
# and system time) and the largest peak memory (ru_maxrss). Several binaries
# are measured interleaved, e.g. a build of the previous commit against this
# one:  bash bench/whole_process.sh /tmp/before/velkor-cli build/velkor-cli
# --batch 100 adds vehicles per second for 100 do-all runs, 1 and 2 at a time.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -eq 0 ]; then set -- build/velkor-cli; fi
exec python3 bench/whole_process.py "$@"
