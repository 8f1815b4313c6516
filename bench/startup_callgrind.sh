#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Start-up in instructions: valgrind's callgrind counts the instructions each
# program executes from its start to its first painted frame (the programs
# *-first-frame end there), for taiju-check, the yardstick window, the form
# window (form1.ui alone) and the bare window. Unlike times, the counts hardly change with the load on the
# machine, so they show where a difference lies.
#
#   bench/startup_callgrind.sh [BUILD_DIR]
#
# Without BUILD_DIR it builds the targets in build/. Qt's offscreen platform
# by default (no display needed); PLATFORM=xcb uses the X display in DISPLAY.
# COMPARE=path/to/taiju-check-first-frame adds another build of the tool.
# OUT=dir keeps the callgrind files there (callgrind_annotate --inclusive=yes
# dir/taiju-check.out shows where the instructions go).
set -euo pipefail
cd "$(dirname "$0")/.."
command -v valgrind >/dev/null || { echo "startup_callgrind: valgrind is missing" >&2; exit 1; }
if [ $# -ge 1 ]; then
    build=$1
else
    build=build
    cmake --preset default >/dev/null # the tests and benchmarks on, also after start.sh
    cmake --build "$build" --target taiju-check taiju-check-first-frame yardstick-first-frame \
        form-first-frame minimal-first-frame -j2 >/dev/null
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
out=${OUT:-$work}
mkdir -p "$out"
export QT_QPA_PLATFORM=${PLATFORM:-offscreen}
export XDG_RUNTIME_DIR=$work/runtime
# The caller's session bus if it has one; else none, and none autolaunched.
export DBUS_SESSION_BUS_ADDRESS=${DBUS_SESSION_BUS_ADDRESS:-disabled:}
mkdir -m 700 "$XDG_RUNTIME_DIR"

names=(taiju-check yardstick form minimal)
declare -A program=([taiju-check]="$build/bench/taiju-check-first-frame"
    [yardstick]="$build/bench/yardstick-first-frame" [form]="$build/bench/form-first-frame"
    [minimal]="$build/bench/minimal-first-frame")
if [ -n "${COMPARE:-}" ]; then
    names+=(compare)
    program[compare]=$COMPARE
fi
declare -A count
for n in "${names[@]}"; do
    [ -x "${program[$n]}" ] || { echo "startup_callgrind: missing ${program[$n]}" >&2; exit 1; }
    # Each in a folder of its own, the tool with its template item file;
    # one run first writes the settings file, as a user's first start does.
    mkdir "$work/$n"
    cp "${program[$n]}" "$work/$n/program"
    cp "$build/bin/k体重変化.___" "$work/$n/"
    (cd "$work/$n" && ./program >/dev/null 2>&1) ||
        { echo "startup_callgrind: $n did not start" >&2; exit 1; }
    count[$n]=$(cd "$work/$n" && valgrind --tool=callgrind --callgrind-out-file="$out/$n.out" \
        ./program 2>&1 | awk '/Collected/ {print $4}')
done

echo "instructions from start to the first frame ($QT_QPA_PLATFORM platform, callgrind)"
for n in "${names[@]}"; do
    awk -v n="$n" -v c="${count[$n]}" 'BEGIN { printf "  %-12s %7.1f M\n", n, c / 1e6 }'
done
for other in yardstick form minimal ${COMPARE:+compare}; do
    awk -v o="$other" -v t="${count[taiju-check]}" -v c="${count[$other]}" \
        'BEGIN { printf "  taiju-check / %-9s %.3f\n", o, t / c }'
done
