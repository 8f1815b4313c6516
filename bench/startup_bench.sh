#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Start-up benchmark: time from starting the program until its window is
# mapped and until its first frame is painted, and its peak resident memory,
# for taiju-check (in a temporary copy of the application directory), the
# yardstick window (one Japanese label and one text box in the tool's fonts),
# the form window (the tool's form1.ui alone) and the bare Qt window, side by
# side in alternating runs, without a session bus (none found and none
# started: DBUS_SESSION_BUS_ADDRESS=disabled:) and with one (dbus-launch).
#
#   bench/startup_bench.sh [BUILD_DIR]
#
# Without BUILD_DIR it builds the targets in build/. With DISPLAY unset it
# runs its own Xvfb (no window manager). RUNS=n changes the number of timed
# runs of each program in each setting (10). COMPARE=path/to/taiju-check
# adds another build of the tool to the same runs (for example the one
# before a change), with the template item file beside it.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -n "${DISPLAY:-}" ] || exec scripts/with-display.sh --no-wm bench/startup_bench.sh "$@"
runs=${RUNS:-10}

if [ $# -ge 1 ]; then
    build=$1
else
    build=build
    cmake --preset default >/dev/null # the tests and benchmarks on, also after start.sh
    cmake --build "$build" --target taiju-check minimal-window yardstick-window form-window \
        startup-probe -j2 >/dev/null
fi
tool="$build/bin/taiju-check"
probe=$(realpath "$build/bench/startup-probe")
for f in "$tool" "$build/bench/minimal-window" "$build/bench/yardstick-window" \
    "$build/bench/form-window" "$probe" "$build/bin/k体重変化.___"; do
    [ -e "$f" ] || { echo "startup_bench: missing $f" >&2; exit 1; }
done
for t in xdpyinfo dbus-launch; do
    command -v "$t" >/dev/null || { echo "startup_bench: tool '$t' is missing" >&2; exit 1; }
done

work=$(mktemp -d)
bus_pid=""
cleanup() {
    [ -n "$bus_pid" ] && kill "$bus_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

timeout 5 xdpyinfo >/dev/null 2>&1 || { echo "startup_bench: cannot reach $DISPLAY" >&2; exit 1; }
export QT_QPA_PLATFORM=xcb

# Each program in a folder of its own: name, folder, program.
names=(taiju-check yardstick form minimal)
mkdir "$work/tool" "$work/yardstick" "$work/form" "$work/minimal"
cp "$tool" "$build/bin/k体重変化.___" "$work/tool/"
cp "$build/bench/yardstick-window" "$work/yardstick/"
cp "$build/bench/form-window" "$work/form/"
cp "$build/bench/minimal-window" "$work/minimal/"
declare -A dir=([taiju-check]="$work/tool" [yardstick]="$work/yardstick" [form]="$work/form"
    [minimal]="$work/minimal")
declare -A program=([taiju-check]=taiju-check [yardstick]=yardstick-window [form]=form-window
    [minimal]=minimal-window)
if [ -n "${COMPARE:-}" ]; then
    [ -x "$COMPARE" ] || { echo "startup_bench: COMPARE=$COMPARE is not a program" >&2; exit 1; }
    mkdir "$work/compare"
    cp "$COMPARE" "$work/compare/taiju-check"
    cp "$(dirname "$COMPARE")/k体重変化.___" "$work/compare/" 2>/dev/null ||
        cp "$build/bin/k体重変化.___" "$work/compare/"
    names+=(compare)
    dir[compare]="$work/compare"
    program[compare]=taiju-check
fi

# run SETTING NAME: one start; appends "MAP_US FRAME_US PEAK_KIB CPU_US".
run() {
    (cd "${dir[$2]}" && "$probe" 500 "./${program[$2]}") 2>"$work/stderr" >>"$work/$1-$2.txt" ||
        { echo "startup_bench: $2 did not start ($1): $(grep startup-probe "$work/stderr")" >&2; exit 1; }
}

# Both settings, each program once untimed first (settings file, caches),
# then in rotating order so that none always follows the same one.
for setting in nobus bus; do
    if [ "$setting" = bus ]; then
        eval "$(dbus-launch --sh-syntax)"
        bus_pid=$DBUS_SESSION_BUS_PID
    else
        # No bus at all: without an address libdbus would autolaunch one
        # (dbus-launch --autolaunch) on the X display at every start.
        export DBUS_SESSION_BUS_ADDRESS=disabled:
    fi
    for n in "${names[@]}"; do run warm "$n"; done
    for i in $(seq "$runs"); do
        for k in $(seq 0 $((${#names[@]} - 1))); do
            run "$setting" "${names[$(((i + k) % ${#names[@]}))]}"
        done
    done
    if [ "$setting" = bus ]; then
        kill "$bus_pid" 2>/dev/null || true
        bus_pid=""
        unset DBUS_SESSION_BUS_ADDRESS DBUS_SESSION_BUS_PID
    fi
done

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

echo "start-up on display $DISPLAY, median of $runs runs each; peak memory the largest (VmHWM);"
echo "cpu: processor time of the program until its first frame (steadier than the clock on a busy machine)"
for setting in nobus bus; do
    [ "$setting" = bus ] && echo "with a session bus (dbus-launch)" ||
        echo "without a session bus (DBUS_SESSION_BUS_ADDRESS=disabled:)"
    printf '  %-12s %9s %9s %9s %10s\n' program mapped frame cpu peak
    declare -A map=() frame=() cpu=()
    for n in "${names[@]}"; do
        f="$work/$setting-$n.txt"
        map[$n]=$(cut -d' ' -f1 "$f" | median)
        frame[$n]=$(cut -d' ' -f2 "$f" | median)
        cpu[$n]=$(cut -d' ' -f4 "$f" | median)
        kib=$(cut -d' ' -f3 "$f" | sort -n | tail -n 1)
        awk -v n="$n" -v m="${map[$n]}" -v f="${frame[$n]}" -v c="${cpu[$n]}" -v k="$kib" \
            'BEGIN { printf "  %-12s %6.1f ms %6.1f ms %6.1f ms %6.1f MiB%s\n", n, m / 1000, f / 1000, c / 1000, k / 1024,
                     (n == "taiju-check" ? (k <= 32 * 1024 ? "  (target <= 32: met)" : "  (target <= 32: MISSED)") : "") }'
    done
    for other in yardstick form minimal ${COMPARE:+compare}; do
        awk -v o="$other" -v tm="${map[taiju-check]}" -v om="${map[$other]}" \
            -v tf="${frame[taiju-check]}" -v of="${frame[$other]}" \
            -v tc="${cpu[taiju-check]}" -v oc="${cpu[$other]}" 'BEGIN {
            rm = tm / om; rf = tf / of; rc = tc / oc
            printf "  taiju-check / %-9s mapped %.2f  frame %.2f  cpu %.2f", o, rm, rf, rc
            # The target against the yardstick is the mapped window: its first
            # frame paints the 30 captions of the form against one label, which the
            # form window measures apart.
            if (o == "yardstick")
                printf "   (target mapped <= 1.10: %s)", (rm <= 1.10 ? "met" : "MISSED")
            if (o == "form")
                printf "   (target <= 1.05: %s)", (rm <= 1.05 && rf <= 1.05 ? "met" : "MISSED")
            printf "\n" }'
    done
done
