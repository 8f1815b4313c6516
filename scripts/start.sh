#!/usr/bin/env bash
# Builds the tool and starts it. build/bin is its application directory.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh run
cmake --preset default -DTAIJU_TESTS=OFF >/dev/null
cmake --build --preset default --target taiju-check
exec build/bin/taiju-check
