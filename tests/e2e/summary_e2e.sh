#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The figures of a log the tool wrote: taiju-check saves two records through
# its window, then taiju-view --summary gives its key<TAB>value lines for
# them, reads the goal from no settings file that does not read (a folder),
# writes nothing, sums up a log out of date order, and fails as --csv does
# on a missing log.
# Usage: summary_e2e.sh TAIJU_CHECK [TAIJU_VIEW]  (default: taiju-view beside it)
. "$(dirname "$0")/lib.sh"
e2e_setup "${1:-}"
viewer=${2:-$(dirname "${1:-}")/taiju-view}
[ -x "$viewer" ] || e2e_fail "no executable taiju-view at '$viewer'"
e2e_start

log="$APP_DIR/$LOG_NAME"
e2e_evaluate_example
e2e_click Command2
e2e_wait_size "$log" 256 "log file after the first save"
e2e_click Command2
e2e_wait_size "$log" 512 "log file after the second save"
stamp=$(dd if="$log" bs=1 skip=56 count=19 2>/dev/null) # MM-DD-YYYY HH:MM:SS
day="${stamp:6:4}-${stamp:0:2}-${stamp:3:2}"

# The settings path is a folder: the goal is the standard weight 59.895.
export XDG_CONFIG_HOME="$BASE/config"
mkdir -p "$XDG_CONFIG_HOME/taiju-check/taiju-view.conf" || e2e_fail "cannot make the folder"
printf '%s\t%s\n' records 2 first "$day" last "$day" latest 65.5 trend 65.5 change_7d '' \
    change_30d '' change_365d '' rate_per_week '' min 65.5 min_date "$day" max 65.5 \
    max_date "$day" mean 65.5 outliers 0 goal 59.9 goal_remaining 5.6 goal_date '' \
    >"$BASE/summary.expected"
"$viewer" --summary "$log" >"$BASE/summary.actual" 2>"$BASE/summary.err" ||
    e2e_fail "taiju-view --summary failed: $(cat "$BASE/summary.err")"
[ ! -s "$BASE/summary.err" ] || e2e_fail "--summary said: $(cat "$BASE/summary.err")"
e2e_expect_bytes "$BASE/summary.actual" "$BASE/summary.expected" "summary of the two records"
[ -z "$(ls -A "$XDG_CONFIG_HOME/taiju-check/taiju-view.conf")" ] ||
    e2e_fail "--summary wrote into the settings folder"

# A copy of the first record dated back by hand, at the log's end: out of date
# order, the log is read again and its records put in order.
{ head -c 56 "$log"; printf '01-01-2000 07:00:00'; head -c 256 "$log" | tail -c +76; } >>"$BASE/line"
cat "$BASE/line" >>"$log"
printf '%s\t%s\n' records 3 first 2000-01-01 last "$day" latest 65.5 trend 65.5 change_7d 0.0 \
    change_30d 0.0 change_365d 0.0 rate_per_week 0.00 min 65.5 min_date 2000-01-01 max 65.5 \
    max_date 2000-01-01 mean 65.5 outliers 0 goal 59.9 goal_remaining 5.6 goal_date '' \
    >"$BASE/unordered.expected"
"$viewer" --summary "$log" >"$BASE/unordered.actual" 2>"$BASE/summary.err" ||
    e2e_fail "taiju-view --summary of the log out of order failed: $(cat "$BASE/summary.err")"
e2e_expect_bytes "$BASE/unordered.actual" "$BASE/unordered.expected" "summary of the log out of order"

# Exit statuses as for --csv: 1 with one line for a missing log, 2 for two modes.
"$viewer" --summary "$BASE/missing.txt" >"$BASE/out" 2>"$BASE/err"
rc=$?
[ $rc -eq 1 ] && [ "$(wc -l <"$BASE/err")" -eq 1 ] && [ ! -s "$BASE/out" ] ||
    e2e_fail "missing log: exit $rc, stderr '$(cat "$BASE/err")'"
"$viewer" --summary --csv "$log" >/dev/null 2>&1
rc=$?
[ $rc -eq 2 ] || e2e_fail "--summary with --csv: exit $rc, expected 2"

e2e_pass
