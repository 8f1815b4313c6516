#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the libFuzzer targets (build-fuzz, clang: every tests/*/*_fuzz.cpp)
# and runs each of them in turn.
#
#   scripts/fuzz.sh                  every target briefly, the build included
#                                    within about 2 minutes (as CI runs it)
#   scripts/fuzz.sh SECONDS          every target for SECONDS (a deep run)
#   scripts/fuzz.sh SECONDS NAME...  only the named targets (e.g. cp932)
#
# A target starts from its seeds in tests/fuzz-corpus/<name>/ and collects
# what it finds in a temporary folder, so that the repository's corpus stays
# small. One line per target: runs, seconds, result. On a crash or a broken
# property: the fuzzer's log and the input kept in build-fuzz/fuzz/; the
# script goes on with the other targets and exits non-zero at the end.
set -u
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$ROOT/build-fuzz
BUDGET=75 # seconds for the default run, build included
start=$SECONDS

mkdir -p "$BUILD"
(cd "$ROOT" && cmake --preset fuzz >/dev/null 2>&1) || { echo "fuzz: cannot configure build-fuzz"; exit 2; }
(cd "$ROOT" && cmake --build --preset fuzz) >"$BUILD/build.log" 2>&1 || { cat "$BUILD/build.log"; exit 2; }

names=("${@:2}")
if [ ${#names[@]} -eq 0 ]; then
    for bin in "$BUILD"/fuzz/*_fuzz; do
        [ -x "$bin" ] && names+=("$(basename "$bin" _fuzz)")
    done
fi
[ ${#names[@]} -gt 0 ] || { echo "fuzz: no targets built in $BUILD/fuzz"; exit 2; }

if [ $# -ge 1 ]; then
    seconds=$1
else
    # What the build left of the budget, shared by the targets (each also
    # takes about a second to start and to end).
    seconds=$(((BUDGET - (SECONDS - start)) / ${#names[@]} - 1))
    [ "$seconds" -ge 3 ] || seconds=3
    [ "$seconds" -le 20 ] || seconds=20
fi

failed=0
for name in "${names[@]}"; do
    bin=$BUILD/fuzz/${name}_fuzz
    log=$BUILD/fuzz/$name.log
    [ -x "$bin" ] || { echo "fuzz: $name: no such target ($bin)"; failed=1; continue; }
    work=$(mktemp -d)
    seeds=$ROOT/tests/fuzz-corpus/$name
    [ -d "$seeds" ] || seeds=""
    began=$SECONDS
    "$bin" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
        -print_final_stats=1 -artifact_prefix="$BUILD/fuzz/$name-" "$work" ${seeds:+"$seeds"} \
        >"$log" 2>&1
    rc=$?
    rm -rf "$work"
    runs=$(grep -o 'Done [0-9]* runs' "$log" | tail -1 | cut -d' ' -f2)
    if [ $rc -ne 0 ]; then
        tail -n 40 "$log"
        echo "fuzz: $name: FAILED (exit $rc) after $((SECONDS - began))s; log $log, input in $BUILD/fuzz/"
        failed=1
    else
        echo "fuzz: $name: ${runs:-?} runs in $((SECONDS - began))s, ok"
    fi
done
echo "fuzz: ${#names[@]} targets, $((SECONDS - start))s in all, build included"
exit $failed
