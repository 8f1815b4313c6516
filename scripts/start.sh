#!/usr/bin/env bash
# Builds the tool and its viewer and starts the tool. build/bin is their
# application directory.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh run
cmake --preset default -DTAIJU_TESTS=OFF >/dev/null
cmake --build --preset default --target taiju-check taiju-view
exec build/bin/taiju-check
