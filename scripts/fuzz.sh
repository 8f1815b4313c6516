#!/usr/bin/env bash
# Runs the item file fuzzer for SECONDS (default 20) on a fresh corpus seeded
# with the shipped template item file, in its own bytes and as UTF-16 text.
# Builds build-fuzz with clang first (configuring it when it is missing).
# Prints one line; on a crash, the fuzzer's log, and exits non-zero.
set -u
SECONDS_TO_RUN=${1:-20}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$ROOT/build-fuzz
LOG=$BUILD/fuzz.log
TEMPLATE=$ROOT/resources/k体重変化.___

(cd "$ROOT" && cmake --preset fuzz >/dev/null) || exit 2
(cd "$ROOT" && cmake --build --preset fuzz) >"$BUILD/build.log" 2>&1 || { cat "$BUILD/build.log"; exit 2; }

CORPUS=$(mktemp -d)
trap 'rm -rf "$CORPUS"' EXIT
cp "$TEMPLATE" "$CORPUS/template"
# Input opening with 0xFF is read as UTF-16LE: the names in their own script.
{ printf '\377'; iconv -f CP932 -t UTF-16LE "$TEMPLATE"; } >"$CORPUS/template-utf16"
printf "100  ',,, 0\r\n1000 ',\r\n2000 ' 6\r\n" >"$CORPUS/single-item"

"$BUILD/itemfile_fuzz" -max_total_time="$SECONDS_TO_RUN" -max_len=8192 -artifact_prefix="$BUILD/" \
    "$CORPUS" >"$LOG" 2>&1
rc=$?
if [ $rc -ne 0 ]; then
    cat "$LOG"
    echo "fuzz: FAILED (exit $rc) after at most ${SECONDS_TO_RUN}s; log $LOG, input in $BUILD/"
    exit 1
fi
echo "fuzz: ok, $(grep -o 'Done [0-9]* runs' "$LOG" | tail -1 | cut -d' ' -f2) runs in ${SECONDS_TO_RUN}s, no crash"
