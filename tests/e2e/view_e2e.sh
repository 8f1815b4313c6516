#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The viewer reads what the tool wrote: taiju-check saves two records through
# its window, then taiju-view (beside it, finding the log through the
# settings file) gives them as CSV and draws a 1200x800 chart, leaving every
# file of the tool as it was. Also its exit codes and the template standing
# in for a missing item file.
# Usage: view_e2e.sh TAIJU_CHECK [TAIJU_VIEW]  (default: taiju-view beside it)
. "$(dirname "$0")/lib.sh"
e2e_setup "${1:-}"
viewer_binary=${2:-$(dirname "${1:-}")/taiju-view}
[ -x "$viewer_binary" ] || e2e_fail "no executable taiju-view at '$viewer_binary'"
for tool in identify sha256sum; do
    command -v "$tool" >/dev/null || e2e_fail "tool '$tool' is missing"
done
cp "$viewer_binary" "$APP_DIR/taiju-view" || e2e_fail "cannot copy taiju-view"
viewer="$APP_DIR/taiju-view"
e2e_start

log="$APP_DIR/$LOG_NAME"
e2e_evaluate_example
e2e_click Text7
e2e_type 'walk, "fast"'
e2e_click Command2
e2e_wait_size "$log" 256 "log file after the first save"
e2e_click Command2
e2e_wait_size "$log" 512 "log file after the second save"
stamp=$(dd if="$log" bs=1 skip=56 count=19 2>/dev/null)

tool_files=("$log" "$APP_DIR/k$LOG_NAME" "$APP_DIR/$TEMPLATE_NAME" "$APP_DIR/ostrel")
sha256sum "${tool_files[@]}" >"$BASE/files.sha" || e2e_fail "a file of the tool is missing"

# --csv without LOG: the log named by the settings file, as UTF-8 CSV.
line="65.5,1.65,59.895,9.358,24.059,$stamp,\"walk, \"\"fast\"\"\""
printf '%s\r\n' '体重(Kg),身長(m),標準体重,肥満度,BMI,日付,コメント' "$line" "$line" >"$BASE/csv.expected"
(cd "$BASE" && "$viewer" --csv >"$BASE/csv.actual" 2>"$BASE/csv.err") ||
    e2e_fail "taiju-view --csv failed: $(cat "$BASE/csv.err")"
e2e_expect_bytes "$BASE/csv.actual" "$BASE/csv.expected" "CSV of the two saved records"

# --png FILE without a display: a 1200x800 picture with the chart, nothing
# on standard output.
png="$BASE/chart.png"
(cd "$BASE" && env -u DISPLAY -u QT_QPA_PLATFORM "$viewer" --png "$png" "$log" \
    >"$BASE/png.out" 2>"$BASE/png.err") ||
    e2e_fail "taiju-view --png failed: $(cat "$BASE/png.err")"
[ ! -s "$BASE/png.out" ] || e2e_fail "taiju-view --png wrote to standard output"
[ "$(identify -format '%wx%h' "$png" 2>/dev/null)" = 1200x800 ] ||
    e2e_fail "the picture is not 1200x800: $(identify "$png" 2>&1)"
colours=$(convert "$png" -format %k info:)
[ "$colours" -gt 50 ] || e2e_fail "the picture looks blank: $colours colours"
convert "$png" -format %c histogram:info:- | grep -qi '#00FF00' ||
    e2e_fail "the picture has no BMI band in pure green"

# --png of a range: a log of 60 days made from the saved record, 74 kg down
# to 68 kg with the typo 7.05 on day 30. The weights' markers (#285AC8)
# fill the weight plot's height, not a sliver over an axis stretched down by
# the typo, and the typo stands at the axis' edge as 外れ値 (#E67800).
mkdir "$BASE/range" || e2e_fail "cannot make a folder"
ranged="$BASE/range/$LOG_NAME"
cp "$APP_DIR/k$LOG_NAME" "$BASE/range/k$LOG_NAME" || e2e_fail "cannot copy the item file"
dd if="$log" of="$BASE/mid" bs=1 skip=16 count=40 2>/dev/null
dd if="$log" of="$BASE/tail" bs=1 skip=75 count=181 2>/dev/null
for i in $(seq 0 59); do
    weight=$(awk -v i="$i" 'BEGIN { printf "%.1f", 74 - i * 0.1 }')
    [ "$i" -eq 30 ] && weight=7.05
    { printf '%16s' "$weight"; cat "$BASE/mid"
      date -u -d "2026-01-01 +$i day" '+%m-%d-%Y 07:30:00' | tr -d '\n'; cat "$BASE/tail"; } >>"$ranged"
done
[ "$(stat -c %s "$ranged")" -eq $((60 * 256)) ] || e2e_fail "the ranged log is not 60 records"
# band PNG: the height in pixels of the weights and the trend in the weight
# chart.
band() {
    convert "$1" txt:- | grep -Ei '#285AC8|#C81E1E' |
        awk -F'[,:]' '$2 < 430 { if (min == "" || $2 < min) min = $2; if ($2 > max) max = $2 }
                      END { print max - min }'
}
for args in "--range all" "--range 1m" "--from 2026-01-20 --to 2026-02-10"; do
    out="$BASE/ranged.png"
    rm -f "$out"
    # shellcheck disable=SC2086
    env -u DISPLAY -u QT_QPA_PLATFORM "$viewer" --png "$out" $args "$ranged" 2>"$BASE/ranged.err" ||
        e2e_fail "taiju-view --png $args failed: $(cat "$BASE/ranged.err")"
    height=$(band "$out")
    [ "$height" -gt 250 ] || e2e_fail "--png $args: the weights span $height pixels, not the plot"
    if [ "$args" != "--range 1m" ]; then
        convert "$out" txt:- | grep -qi '#E67800' || e2e_fail "--png $args: the typo is not drawn as 外れ値"
    fi
done
# A goal of one's own for the ranged log (kept as the viewer keeps it, its
# path percent-encoded, and the "%" again by the settings file) is drawn
# dotted in its colour (#7828AA).
goal_key=$(printf %s "$(readlink -f "$ranged")" | od -An -tu1 -v | tr -s ' ' '\n' | awk 'NF {
    n = $1 + 0
    kept = (n >= 48 && n <= 57) || (n >= 65 && n <= 90) || (n >= 97 && n <= 122) ||
           n == 45 || n == 46 || n == 95 || n == 126
    printf "%s", kept ? sprintf("%c", n) : sprintf("%%25%02X", n) }')
mkdir -p "$BASE/config/taiju-check" &&
    printf '[goal]\n%s=70.0\n' "$goal_key" >"$BASE/config/taiju-check/taiju-view.conf" ||
    e2e_fail "cannot write the settings"
XDG_CONFIG_HOME="$BASE/config" env -u DISPLAY -u QT_QPA_PLATFORM "$viewer" --png "$BASE/goal.png" \
    "$ranged" 2>"$BASE/goal.err" || e2e_fail "taiju-view --png with a goal failed: $(cat "$BASE/goal.err")"
convert "$BASE/goal.png" txt:- | grep -qi '#7828AA' || e2e_fail "--png: the goal is not drawn"
convert "$BASE/ranged.png" txt:- | grep -qi '#7828AA' && e2e_fail "--png: a goal drawn where none is set"
# Malformed ranges are usage errors; a range without records writes nothing.
# One line each (Qt's own note on a missing XDG_RUNTIME_DIR aside).
lines() { grep -vc '^QStandardPaths:' "$1"; }
for args in "--range 2w" "--from 2026-02-30 --to 2026-03-01" "--from 2026-02-01" \
    "--from 2026-03-01 --to 2026-02-01" "--range 1m --from 2026-01-01 --to 2026-01-02"; do
    # shellcheck disable=SC2086
    env -u DISPLAY -u QT_QPA_PLATFORM "$viewer" --png "$BASE/bad.png" $args "$ranged" >/dev/null 2>"$BASE/bad.err"
    rc=$?
    [ $rc -eq 2 ] && [ "$(lines "$BASE/bad.err")" -eq 1 ] && [ ! -e "$BASE/bad.png" ] ||
        e2e_fail "--png $args: exit $rc, stderr '$(cat "$BASE/bad.err")', expected 2 and one line"
done
env -u DISPLAY -u QT_QPA_PLATFORM "$viewer" --png "$BASE/none.png" --from 2025-01-01 --to 2025-12-31 "$ranged" \
    >/dev/null 2>"$BASE/none.err"
rc=$?
[ $rc -eq 1 ] && [ "$(lines "$BASE/none.err")" -eq 1 ] && [ ! -e "$BASE/none.png" ] ||
    e2e_fail "a range without records: exit $rc, stderr '$(cat "$BASE/none.err")'"

# The tool's files are untouched by reading and drawing.
sha256sum --quiet -c "$BASE/files.sha" || e2e_fail "taiju-view changed a file of the tool"

# Without its item file the log is read by the template's columns, said once.
mkdir "$BASE/copy" && cp "$log" "$BASE/copy/x.txt" || e2e_fail "cannot copy the log"
"$viewer" --csv "$BASE/copy/x.txt" >"$BASE/copy.csv" 2>"$BASE/copy.err" ||
    e2e_fail "taiju-view --csv without item file failed: $(cat "$BASE/copy.err")"
e2e_expect_bytes "$BASE/copy.csv" "$BASE/csv.expected" "CSV read by the template's columns"
[ "$(wc -l <"$BASE/copy.err")" -eq 1 ] && grep -q '雛形' "$BASE/copy.err" ||
    e2e_fail "no one-line notice of the template: $(cat "$BASE/copy.err")"
[ ! -e "$BASE/copy/kx.txt" ] || e2e_fail "taiju-view provisioned an item file"

# Exit codes: 1 with one line naming the file for a log that cannot be read,
# 2 for a usage error.
"$viewer" --csv "$BASE/missing.txt" >"$BASE/out" 2>"$BASE/err"
rc=$?
[ $rc -eq 1 ] && [ "$(wc -l <"$BASE/err")" -eq 1 ] && grep -q "$BASE/missing.txt" "$BASE/err" &&
    [ ! -s "$BASE/out" ] || e2e_fail "missing log: exit $rc, stderr '$(cat "$BASE/err")'"
"$viewer" --no-such-option >/dev/null 2>&1
rc=$?
[ $rc -eq 2 ] || e2e_fail "unknown option: exit $rc, expected 2"
"$viewer" --csv --png "$BASE/x.png" "$log" >/dev/null 2>&1
rc=$?
[ $rc -eq 2 ] || e2e_fail "--csv with --png: exit $rc, expected 2"

e2e_pass
