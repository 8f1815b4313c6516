#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds and runs the save benchmark: the median time of one press of the
# save button with an empty log and with a log of 100,000 records, and their
# ratio. BUILD names the build directory (default build).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
# The benchmark is built with the tests, whose window fixture it uses.
cmake -S . -B "$BUILD" -DTAIJU_TESTS=ON >/dev/null
cmake --build "$BUILD" --target save-bench -j2 >/dev/null
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$BUILD/bench/save-bench" 2> >(grep -v '^QStandardPaths' >&2)
