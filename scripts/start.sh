#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the tool and its viewer (and their icons and manual pages, so that
# `cmake --install build` can follow) and starts the tool. build/bin is
# their application directory.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh run
cmake --preset default -DTAIJU_TESTS=OFF >/dev/null
cmake --build --preset default
exec build/bin/taiju-check
