#!/usr/bin/env bash
# Builds the tool and starts it. build/bin is its application directory.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh run
cmake -S . -B build -DTAIJU_TESTS=OFF >/dev/null
cmake --build build --target taiju-check -j2
exec build/bin/taiju-check
