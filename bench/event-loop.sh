#!/usr/bin/env bash
# How long the event loop ever keeps the user waiting, from the start through a whole dictation into an
# application that has stopped answering (SIGSTOP), on a disk that takes a second per flush: runs the
# end-to-end scenario
# (tests/e2e/EventLoopTest.cpp, the program's LUMENO_HEARTBEAT) a few times and prints each longest stall.
#   bench/event-loop.sh [build folder] [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
runs="${2:-3}"

cmake --build "$build" --target lumeno lumeno_e2e_tests
for run in $(seq "$runs"); do
  "$build/tests/e2e/lumeno_e2e_tests" --gtest_filter='EventLoop.*' 2>&1 |
    grep -E '^Longest event-loop stall|FAILED|skipped' | sed "s/^/run $run: /" || true
done
