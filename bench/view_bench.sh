#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Viewer benchmark, side by side in one run, on a log of 100,000 records (a
# record a day for 270 years) made by the save button's own composer:
#  1. taiju-view --csv on it against iconv -f CP932 -t UTF-8 of the same file
#     (the cost of decoding alone); target ratio at most 2;
#  2. start until the window is mapped with that log against the same with a
#     one-record log; target ratio at most 2;
#  3. memory (maximum resident set) for logs of every line shape: --csv on
#     CSV_MB (default 1024) MiB of one endless line of NUL bytes and of
#     3-byte lines ("a" CR LF), target under 64 MiB; the window and --png on
#     WIN_MB (default 100) MiB of the same shapes and on the log of step 1,
#     target at most 3 times the log's size plus 64 MiB; /dev/zero refused
#     (figures in bench/README.md: the window on 100 MiB of 3-byte lines
#     about 300 MiB, --png 250 MiB).
# Each case runs RUNS times (default 7), alternating; medians are compared.
# Elapsed time suffers from other load on the machine, so the CPU time (user
# + system) of the CSV runs is printed beside it.
#
#   bench/view_bench.sh [BUILD_DIR]
#
# Without BUILD_DIR it builds taiju-view and view-log-gen in build/. With
# DISPLAY unset it runs its own Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -n "${DISPLAY:-}" ] || exec scripts/with-display.sh --no-wm --screen 1280x1024x24 bench/view_bench.sh "$@"
runs=${RUNS:-7}
records=${RECORDS:-100000}
csv_mb=${CSV_MB:-1024}
win_mb=${WIN_MB:-100}

if [ $# -ge 1 ]; then
    build=$1
else
    build=build
    cmake --preset default >/dev/null # the tests and benchmarks on, also after start.sh
    cmake --build "$build" --target taiju-view taiju-check view-log-gen -j2 >/dev/null
fi
viewer="$build/bin/taiju-view"
gen="$build/bench/view-log-gen"
template="$build/bin/k体重変化.___"
for f in "$viewer" "$gen" "$template"; do
    [ -e "$f" ] || { echo "view_bench: missing $f" >&2; exit 1; }
done
for t in iconv xev stdbuf xdotool xdpyinfo; do
    command -v "$t" >/dev/null || { echo "view_bench: tool '$t' is missing" >&2; exit 1; }
done

work=$(mktemp -d)
xev_pid="" app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$xev_pid" ] && kill "$xev_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# The viewer in an application directory of its own, with both logs.
mkdir "$work/app" "$work/long" "$work/short"
cp "$viewer" "$template" "$work/app/"
long="$work/long/体重変化.txt"
short="$work/short/体重変化.txt"
"$gen" "$template" "$long" "$records"
"$gen" "$template" "$short" 1
[ "$(stat -c %s "$long")" -eq $((records * 256)) ] || { echo "view_bench: bad log" >&2; exit 1; }

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

# timed COMMAND...: prints "elapsed-µs cpu-µs" of one run, output discarded.
timed() {
    local TIMEFORMAT='%3R %3U %3S'
    { time "$@" >/dev/null 2>&1; } 2>"$work/time"
    awk '{printf "%d %d\n", $1 * 1e6, ($2 + $3) * 1e6}' "$work/time"
}

# 1. CSV against iconv.
lines=$("$work/app/taiju-view" --csv "$long" | wc -l)
[ "$lines" -eq $((records + 1)) ] || { echo "view_bench: CSV has $lines lines" >&2; exit 1; }
: >"$work/csv.txt"
: >"$work/iconv.txt"
for i in $(seq "$runs"); do
    if ((i % 2)); then
        timed "$work/app/taiju-view" --csv "$long" >>"$work/csv.txt"
        timed iconv -f CP932 -t UTF-8 "$long" >>"$work/iconv.txt"
    else
        timed iconv -f CP932 -t UTF-8 "$long" >>"$work/iconv.txt"
        timed "$work/app/taiju-view" --csv "$long" >>"$work/csv.txt"
    fi
done
csv_ms=$(cut -d' ' -f1 "$work/csv.txt" | median)
iconv_ms=$(cut -d' ' -f1 "$work/iconv.txt" | median)
csv_cpu=$(cut -d' ' -f2 "$work/csv.txt" | median)
iconv_cpu=$(cut -d' ' -f2 "$work/iconv.txt" | median)

# 2. Start until the window is mapped.
timeout 5 xdpyinfo >/dev/null 2>&1 || { echo "view_bench: cannot reach $DISPLAY" >&2; exit 1; }
export QT_QPA_PLATFORM=xcb
coproc XEV { exec stdbuf -oL xev -root -event substructure 2>/dev/null; }
xev_pid=$XEV_PID
sleep 0.3

# start LOG: prints the microseconds from starting the viewer on LOG until
# the X server reports its window mapped.
start() {
    local line t0 t1
    while read -r -t 0.1 -u "${XEV[0]}" line; do :; done # events of the run before
    t0=$EPOCHREALTIME
    "$work/app/taiju-view" "$1" >/dev/null 2>&1 &
    app_pid=$!
    while :; do
        read -r -t 30 -u "${XEV[0]}" line || { echo "view_bench: no window" >&2; exit 1; }
        [[ $line == MapNotify* ]] && break
    done
    t1=$EPOCHREALTIME
    sleep 0.3
    [ -n "$(timeout 5 xdotool search --all --pid "$app_pid" --onlyvisible --name '^体重ログ - ' 2>/dev/null)" ] ||
        { echo "view_bench: the mapped window is not the viewer's" >&2; exit 1; }
    kill "$app_pid"
    wait "$app_pid" 2>/dev/null || true
    app_pid=""
    echo "$((${t1//[.,]/} - ${t0//[.,]/}))"
}

start "$short" >/dev/null # warms the caches
: >"$work/long.txt"
: >"$work/short.txt"
for i in $(seq "$runs"); do
    if ((i % 2)); then
        start "$long" >>"$work/long.txt"
        start "$short" >>"$work/short.txt"
    else
        start "$short" >>"$work/short.txt"
        start "$long" >>"$work/long.txt"
    fi
done
long_ms=$(median <"$work/long.txt")
short_ms=$(median <"$work/short.txt")

awk -v c="$csv_ms" -v i="$iconv_ms" -v cc="$csv_cpu" -v ic="$iconv_cpu" -v l="$long_ms" \
    -v s="$short_ms" -v n="$runs" -v r="$records" -v d="$DISPLAY" 'BEGIN {
    printf "log of %d records (%.1f MB), median of %d runs each\n", r, r * 256 / 1e6, n
    printf "CSV of the whole log        elapsed     CPU (user+system)\n"
    printf "  taiju-view --csv        %7.1f ms  %7.1f ms\n", c / 1000, cc / 1000
    printf "  iconv -f CP932          %7.1f ms  %7.1f ms\n", i / 1000, ic / 1000
    printf "  ratio                   %7.2f     %7.2f     (target <= 2: %s)\n", c / i, cc / ic, (c / i <= 2 ? "met" : "MISSED")
    printf "start until the window is mapped (display %s)\n", d
    printf "  %6d records          %7.1f ms\n", r, l / 1000
    printf "       1 record           %7.1f ms\n", s / 1000
    printf "  ratio                   %7.2f     (target <= 2: %s)\n", l / s, (l / s <= 2 ? "met" : "MISSED")
}'

# 3. Memory for logs of every shape, each beside its item file.
# shape NAME MIB KIND: writes $work/mem/NAME.txt, KIND nul (one line of NUL
# bytes) or short (3-byte lines).
mkdir "$work/mem"
shape() {
    local log="$work/mem/$1.txt"
    case $3 in
    nul) head -c $(($2 << 20)) /dev/zero >"$log" ;;
    short) { yes $'a\r' || true; } | head -c $(($2 << 20)) >"$log" ;;
    esac
    cp "$template" "$work/mem/k$1.txt"
}
# kib COMMAND...: the maximum resident set of one run in KiB.
kib() {
    /usr/bin/time -f %M -o "$work/rss" "$@" >/dev/null 2>&1 || true
    tail -n 1 "$work/rss"
}
# window_kib LOG: the same of the window, from start until it shows the log
# (read at start) and one second more.
window_kib() {
    "$work/app/taiju-view" "$1" >/dev/null 2>&1 &
    app_pid=$!
    timeout 120 xdotool search --sync --all --pid "$app_pid" --onlyvisible --name '^体重ログ - ' \
        >/dev/null 2>&1 || { echo "view_bench: no window for $1" >&2; exit 1; }
    sleep 1
    awk '/^VmHWM/ {print $2}' "/proc/$app_pid/status"
    kill "$app_pid"
    wait "$app_pid" 2>/dev/null || true
    app_pid=""
}
# row WHAT MIB KIB LIMIT-KIB
row() {
    awk -v w="$1" -v m="$2" -v k="$3" -v l="$4" 'BEGIN {
        printf "  %-24s %5d MiB log %8.1f MiB  (target < %.0f MiB: %s)\n", w, m, k / 1024, l / 1024,
            (k < l ? "met" : "MISSED")
    }'
}
echo "memory (maximum resident set)"
timeout 10 "$work/app/taiju-view" --csv /dev/zero >/dev/null 2>&1 && status=0 || status=$?
echo "  --csv /dev/zero                      exit $status (target: 1 at once)"
for kind in nul short; do
    shape "csv-$kind" "$csv_mb" "$kind"
    row "--csv, $kind" "$csv_mb" "$(kib "$work/app/taiju-view" --csv "$work/mem/csv-$kind.txt")" $((64 << 10))
    rm "$work/mem/csv-$kind.txt"
    shape "win-$kind" "$win_mb" "$kind"
    limit=$(((3 * win_mb + 64) << 10))
    row "--png, $kind" "$win_mb" \
        "$(kib "$work/app/taiju-view" --png "$work/mem/x.png" "$work/mem/win-$kind.txt")" "$limit"
    row "window, $kind" "$win_mb" "$(window_kib "$work/mem/win-$kind.txt")" "$limit"
    rm "$work/mem/win-$kind.txt"
done
long_mb=$(($(stat -c %s "$long") >> 20))
limit=$(((3 * long_mb + 64) << 10))
row "--png, $records records" "$long_mb" "$(kib "$work/app/taiju-view" --png "$work/mem/x.png" "$long")" "$limit"
row "window, $records records" "$long_mb" "$(window_kib "$long")" "$limit"
