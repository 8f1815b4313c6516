#!/usr/bin/env bash
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
