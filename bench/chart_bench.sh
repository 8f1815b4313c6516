#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Chart benchmark on logs of 1,000, 100,000 and 1,000,000 records (a record
# a day, made by the save button's own composer):
#  1. the redraw after a change of range (3か月 / 全期間) and after one zoom
#     step, in the window at 1200x800 under the offscreen platform
#     (bench/chart_bench.cpp), against the same at 1,000 records; target
#     ratio at most 2;
#  2. the window's peak memory with the chart shown against the log's size;
#     target below 1;
#  3. taiju-view --png against gnuplot drawing the same series (the weights
#     as points, the standard weight as a line, the BMI below) into a PNG
#     of the same size; target ratio below 1. gnuplot draws it twice: with
#     its cairo terminal (pngcairo), an anti-aliased truecolour picture like
#     ours, which is the comparison of the target; and with its gd terminal
#     (png), 256 colours without anti-aliasing, shown beside it. Below the
#     first size, the floor under any Qt program that draws such a picture
#     (bench/png_floor.cpp: Qt's start, labels and dots, no chart, no file).
# Each timing is the median of RUNS runs (default 5), in CPU time.
#
#   bench/chart_bench.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${RUNS:-5}
sizes=${SIZES:-"1000 100000 1000000"}
if [ $# -ge 1 ]; then
    build=$1
else
    build=build
    cmake --preset default >/dev/null
    cmake --build "$build" --target taiju-view view-log-gen chart-bench png-floor -j2 >/dev/null
fi
for tool in gnuplot; do
    command -v "$tool" >/dev/null || { echo "chart_bench: tool '$tool' is missing" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work/config"
median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
# seconds COMMAND...: CPU seconds (user + system) of one run, output
# discarded; elapsed time suffers from other load on a shared machine.
seconds() {
    local TIMEFORMAT='%3U %3S'
    { time "$@" >/dev/null 2>&1; } 2>"$work/time"
    awk '{print $1 + $2}' "$work/time"
}

printf '%9s %10s %9s %9s %9s %9s %9s %9s %9s %9s %9s\n' records "log MiB" "range ms" \
    "zoom ms" "peak MiB" "peak/log" "png s" "cairo s" "png/cairo" "gd s" "png/gd"
first_range="" first_zoom=""
for n in $sizes; do
    log="$work/$n/体重変化.txt"
    mkdir -p "$work/$n"
    "$build/bench/view-log-gen" resources/k体重変化.___ "$log" "$n"
    read -r range zoom peak < <("$build/bench/chart-bench" "$log" "$runs" 2>/dev/null)
    # The same series for gnuplot: date, weight, standard weight, BMI.
    "$build/bin/taiju-view" --csv "$log" 2>/dev/null |
        awk -F, 'NR > 1 {split($6, d, /[- ]/); print d[3] "-" d[1] "-" d[2], $1, $3, $5}' \
            >"$work/$n/series.dat"
    for terminal in pngcairo png; do
        cat >"$work/$n/$terminal.gp" <<GP
set terminal $terminal size 1200,800
set output "$work/$n/gnuplot.png"
set xdata time
set timefmt "%Y-%m-%d"
set multiplot layout 2,1
plot "$work/$n/series.dat" using 1:2 with points pt 7 ps 0.5 title "weight", \\
     "" using 1:3 with lines title "standard"
plot "$work/$n/series.dat" using 1:4 with lines title "BMI"
unset multiplot
GP
    done
    : >"$work/png.txt"
    : >"$work/cairo.txt"
    : >"$work/gd.txt"
    : >"$work/floor.txt"
    for i in $(seq "$runs"); do
        seconds "$build/bin/taiju-view" --png "$work/$n/view.png" "$log" >>"$work/png.txt"
        seconds gnuplot "$work/$n/pngcairo.gp" >>"$work/cairo.txt"
        seconds gnuplot "$work/$n/png.gp" >>"$work/gd.txt"
        [ -n "$first_range" ] || seconds "$build/bench/png-floor" >>"$work/floor.txt"
    done
    [ -n "$first_range" ] || { first_range=$range; first_zoom=$zoom; }
    png=$(median <"$work/png.txt")
    cairo=$(median <"$work/cairo.txt")
    gd=$(median <"$work/gd.txt")
    awk -v n="$n" -v size="$(stat -c %s "$log")" -v r="$range" -v z="$zoom" -v p="$peak" \
        -v png="$png" -v cairo="$cairo" -v gd="$gd" 'BEGIN {
        printf "%9d %10.1f %9.1f %9.1f %9.1f %9.2f %9.3f %9.3f %9.2f %9.3f %9.2f\n", n,
            size / 1048576, r, z, p / 1024, p * 1024 / size, png, cairo, png / cairo, gd, png / gd }'
    rm -f "$log"
    awk -v r="$range" -v z="$zoom" -v r0="$first_range" -v z0="$first_zoom" 'BEGIN {
        printf "%20s against the first size: range %.2f, zoom %.2f (target <= 2)\n", "", r / r0, z / z0 }'
    if [ -s "$work/floor.txt" ]; then
        awk -v f="$(median <"$work/floor.txt")" -v cairo="$cairo" -v gd="$gd" 'BEGIN {
            printf "%20s Qt floor (start, labels, dots, no file): %.3f s, %.2f of cairo, %.2f of gd\n",
                "", f, f / cairo, f / gd }'
        : >"$work/floor.txt"
    fi
done
