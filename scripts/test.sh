#!/usr/bin/env bash
# Builds the tool and runs every test: core, window (offscreen) and end to
# end (Xvfb); then the same core and window tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, and a short fuzzing run of the item file reader.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test

echo "== build and run all tests"
cmake --preset default >/dev/null
cmake --build --preset default
xvfb_pid=""
if [ -z "${DISPLAY:-}" ]; then
  export DISPLAY=:93
  Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true' EXIT
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi
ctest --preset default

echo "== sanitizer build (address, undefined): core and window tests"
cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan

echo "== fuzzing smoke run of the item file reader"
scripts/fuzz.sh 20
