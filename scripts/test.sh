#!/usr/bin/env bash
# Builds the tool and runs every test: core, window (offscreen) and end to
# end (Xvfb); then the same core and window tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, and a short fuzzing run of the item file reader.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
jobs=2

echo "== build and run all tests"
cmake -S . -B build -DTAIJU_TESTS=ON >/dev/null
cmake --build build -j$jobs
xvfb_pid=""
if [ -z "${DISPLAY:-}" ]; then
  export DISPLAY=:93
  Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true' EXIT
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi
(cd build && ctest --output-on-failure -j$jobs)

echo "== sanitizer build (address, undefined): core and window tests"
cmake -S . -B build-asan -DTAIJU_SANITIZE=ON -DTAIJU_TESTS=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-asan -j$jobs
(cd build-asan && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j$jobs -L 'core|window')

echo "== fuzzing smoke run of the item file reader"
scripts/fuzz.sh 20
