#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The licence: LICENSE holds the MIT licence of "the taiju-check authors",
# and every source, script and build file carries the line
# "SPDX-License-Identifier: MIT" in its first lines (the REUSE convention).
# Runs without a display.
set -u
root=$(realpath "$(dirname "$0")/../..")
fail() { echo "FAIL [licence]: $*" >&2; exit 1; }
grep -q '^MIT License$' "$root/LICENSE" && grep -q 'the taiju-check authors' "$root/LICENSE" ||
    fail "LICENSE is not the MIT licence of the taiju-check authors"
missing=$(cd "$root" && git ls-files -co --exclude-standard -- \
    '*.cpp' '*.h' '*.sh' '*.cmake' '*CMakeLists.txt' '*.ui' '*.qrc' '*.in' '*.desktop' '*.svg' \
    '*.1' '*.py' 'debian/rules' 'debian/control' 'scripts/*' '.ci/*' 'tests/e2e/*.pending' |
    while IFS= read -r f; do
        [ -f "$f" ] && ! head -n 5 "$f" | grep -q 'SPDX-License-Identifier: MIT' && echo "$f"
    done)
[ -z "$missing" ] || fail "files without 'SPDX-License-Identifier: MIT' in their first 5 lines:
$missing"
echo "PASS [licence]"
