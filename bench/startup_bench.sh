#!/usr/bin/env bash
# Start-up benchmark: time from starting the program until its window is
# mapped, and its peak resident memory, for taiju-check (in a temporary copy
# of the application directory) and for the bare Qt window minimal-window,
# side by side in alternating runs.
#
#   bench/startup_bench.sh [BUILD_DIR]
#
# Without BUILD_DIR it builds both targets in build/. With DISPLAY unset it
# runs its own Xvfb. RUNS=n changes the number of timed runs of each (10).
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${RUNS:-10}

if [ $# -ge 1 ]; then
    build=$1
else
    build=build
    [ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" >/dev/null
    cmake --build "$build" --target taiju-check minimal-window -j2 >/dev/null
fi
tool="$build/bin/taiju-check"
minimal="$build/bench/minimal-window"
for f in "$tool" "$minimal" "$build/bin/k体重変化.___"; do
    [ -e "$f" ] || { echo "startup_bench: missing $f" >&2; exit 1; }
done
for t in xev stdbuf xdotool xdpyinfo; do
    command -v "$t" >/dev/null || { echo "startup_bench: tool '$t' is missing" >&2; exit 1; }
done

work=$(mktemp -d)
xvfb_pid="" xev_pid="" app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$xev_pid" ] && kill "$xev_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
    # -displayfd: the server picks a free display number and reports it.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
    [ -s "$work/display" ] || { echo "startup_bench: Xvfb did not start" >&2; exit 1; }
    export DISPLAY=":$(head -n 1 "$work/display")"
fi
timeout 5 xdpyinfo >/dev/null 2>&1 || { echo "startup_bench: cannot reach $DISPLAY" >&2; exit 1; }
export QT_QPA_PLATFORM=xcb

mkdir "$work/app" "$work/minimal"
cp "$tool" "$build/bin/k体重変化.___" "$work/app/"
cp "$minimal" "$work/minimal/"

# Map events of every top-level window arrive from xev as they happen, so
# the wait costs no polling interval.
coproc XEV { exec stdbuf -oL xev -root -event substructure 2>/dev/null; }
xev_pid=$XEV_PID
sleep 0.3

# run DIR PROGRAM: starts the program in DIR; prints the microseconds until
# its window was mapped and its peak resident set (VmHWM) in KiB after the
# window has settled for half a second.
run() {
    local dir=$1 program=$2 line t0 t1 hwm
    while read -r -t 0.1 -u "${XEV[0]}" line; do :; done # events of the run before
    t0=$EPOCHREALTIME
    (cd "$dir" && exec "./$program") >/dev/null 2>&1 &
    app_pid=$!
    while :; do
        read -r -t 10 -u "${XEV[0]}" line || { echo "startup_bench: no window from $program" >&2; exit 1; }
        [[ $line == MapNotify* ]] && break
    done
    t1=$EPOCHREALTIME
    sleep 0.5
    [ -n "$(timeout 5 xdotool search --all --pid "$app_pid" --onlyvisible --name . 2>/dev/null)" ] ||
        { echo "startup_bench: the mapped window is not $program's" >&2; exit 1; }
    hwm=$(awk '/^VmHWM:/ {print $2}' "/proc/$app_pid/status")
    kill "$app_pid"
    wait "$app_pid" 2>/dev/null || true
    app_pid=""
    echo "$((${t1//[.,]/} - ${t0//[.,]/})) $hwm"
}

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

# One start of each first: it writes the settings file and warms the caches.
run "$work/app" taiju-check >/dev/null
run "$work/minimal" minimal-window >/dev/null
: >"$work/tool.txt"
: >"$work/minimal.txt"
for i in $(seq "$runs"); do
    if ((i % 2)); then
        run "$work/app" taiju-check >>"$work/tool.txt"
        run "$work/minimal" minimal-window >>"$work/minimal.txt"
    else
        run "$work/minimal" minimal-window >>"$work/minimal.txt"
        run "$work/app" taiju-check >>"$work/tool.txt"
    fi
done

tool_ms=$(cut -d' ' -f1 "$work/tool.txt" | median)
minimal_ms=$(cut -d' ' -f1 "$work/minimal.txt" | median)
tool_kib=$(cut -d' ' -f2 "$work/tool.txt" | sort -n | tail -n 1)
minimal_kib=$(cut -d' ' -f2 "$work/minimal.txt" | sort -n | tail -n 1)
awk -v t="$tool_ms" -v m="$minimal_ms" -v tk="$tool_kib" -v mk="$minimal_kib" -v n="$runs" -v d="$DISPLAY" 'BEGIN {
    r = t / m
    printf "start-up until the window is mapped, median of %d runs each (display %s)\n", n, d
    printf "  taiju-check     %7.1f ms\n  minimal-window  %7.1f ms\n", t / 1000, m / 1000
    printf "  ratio           %7.2f   (target <= 1.3: %s)\n", r, (r <= 1.3 ? "met" : "MISSED")
    printf "peak resident memory (VmHWM), largest of the runs\n"
    printf "  taiju-check     %7.1f MiB (target < 40 MiB: %s)\n", tk / 1024, (tk < 40 * 1024 ? "met" : "MISSED")
    printf "  minimal-window  %7.1f MiB\n", mk / 1024
}'
