#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Statistics benchmark, on logs made by the save button's own composer (a
# record a day):
#  1. taiju-view --summary against taiju-view --csv of the same log of
#     1,000,000 records (256 MB); target ratio at most 1;
#  2. bringing the 統計 tab to front against opening the window, on a log of
#     100,000 records, under the offscreen platform; target ratio at most 0.1.
# Each case runs RUNS times (default 5), alternating; medians are compared.
# Not a test: the times depend on the machine and its load.
#
#   bench/stats_bench.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${RUNS:-5}
build=${1:-build}
if [ $# -eq 0 ]; then
    cmake --build "$build" --target taiju-view view-log-gen stats-view-bench -j2 >/dev/null
fi
viewer="$build/bin/taiju-view"
gen="$build/bench/view-log-gen"
probe="$build/bench/stats-view-bench"
for f in "$viewer" "$gen" "$probe"; do
    [ -x "$f" ] || { echo "stats_bench: missing $f" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" # no goal of the user's
"$gen" resources/k体重変化.___ "$work/million.txt" "${MILLION:-1000000}"
"$gen" resources/k体重変化.___ "$work/hundred.txt" "${HUNDRED:-100000}"

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
# timed COMMAND...: "elapsed-ms cpu-ms" of one run, output discarded. On a
# shared machine the elapsed time is mostly waiting; the CPU time (user +
# system) is compared too.
timed() {
    local TIMEFORMAT='%3R %3U %3S'
    { time "$@" >/dev/null 2>&1; } 2>"$work/time"
    awk '{printf "%d %d\n", $1 * 1000, ($2 + $3) * 1000}' "$work/time"
}

for _ in $(seq "$runs"); do
    timed "$viewer" --csv "$work/million.txt" >>"$work/csv.txt"
    timed "$viewer" --summary "$work/million.txt" >>"$work/summary.txt"
    QT_QPA_PLATFORM=offscreen "$probe" "$work/hundred.txt" >>"$work/window.txt"
done
csv=$(cut -d' ' -f1 "$work/csv.txt" | median)
summary=$(cut -d' ' -f1 "$work/summary.txt" | median)
csv_cpu=$(cut -d' ' -f2 "$work/csv.txt" | median)
summary_cpu=$(cut -d' ' -f2 "$work/summary.txt" | median)
open=$(cut -d' ' -f1 "$work/window.txt" | median)
stats=$(cut -d' ' -f2 "$work/window.txt" | median)
open_cpu=$(cut -d' ' -f3 "$work/window.txt" | median)
stats_cpu=$(cut -d' ' -f4 "$work/window.txt" | median)
awk -v c="$csv" -v s="$summary" -v cc="$csv_cpu" -v sc="$summary_cpu" -v o="$open" -v t="$stats" -v oc="$open_cpu" -v tc="$stats_cpu" -v n="$runs" \
    -v m="${MILLION:-1000000}" -v h="${HUNDRED:-100000}" 'BEGIN {
    printf "median of %d runs each\n", n
    printf "--summary %d ms, --csv %d ms (%d records): ratio %.2f (target <= 1)\n", s, c, m, s / c
    printf "  CPU time: --summary %d ms, --csv %d ms: ratio %.2f\n", sc, cc, sc / cc
    printf "統計 tab %.1f ms, window open %.1f ms (%d records): ratio %.2f (target <= 0.1)\n", t, o, h, t / o
    printf "  CPU time: 統計 tab %.1f ms, window open %.1f ms: ratio %.2f\n", tc, oc, tc / oc
}'
