#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the tool and runs every test: core, window (offscreen) and end to
# end (Xvfb); then the same core and window tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, a short run of every fuzz target, and the core
# built for Windows (MinGW-w64) with its tests run under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test

echo "== build and run all tests"
cmake --preset default >/dev/null
cmake --build --preset default
# The end-to-end tests need an X display with a window manager.
scripts/with-display.sh ctest --preset default

echo "== sanitizer build (address, undefined): core and window tests"
cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan

echo "== fuzzing: every target briefly"
scripts/fuzz.sh

echo "== the core for Windows (MinGW-w64): its tests under Wine"
cmake --preset windows-core >/dev/null
cmake --build --preset windows-core
ctest --preset windows-core
