#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The first save: evaluation, a comment, "｢体重変化.TXT｣ に記入". The log file
# is created with one 256-byte record laid out by the template's columns, the
# item file is provisioned from the template, and a second press appends an
# identical record.
. "$(dirname "$0")/lib.sh"
e2e_setup "${1:-}"
e2e_start

log="$APP_DIR/$LOG_NAME"
before=$(date +%s)
e2e_evaluate_example
e2e_click Text7
e2e_type walk
[ ! -e "$log" ] || e2e_fail "the log file exists before the first save"
e2e_click Command2
e2e_wait_size "$log" 256 "log file after the first save"
after=$(date +%s)

# The date stamp, bytes 57 to 75: MM-DD-YYYY HH:MM:SS of the evaluation.
stamp=$(dd if="$log" bs=1 skip=56 count=19 2>/dev/null)
[[ $stamp =~ ^([0-9]{2})-([0-9]{2})-([0-9]{4})\ ([0-9]{2}:[0-9]{2}:[0-9]{2})$ ]] ||
    e2e_fail "date column holds '$stamp', not MM-DD-YYYY HH:MM:SS"
when=$(date -d "${BASH_REMATCH[3]}-${BASH_REMATCH[1]}-${BASH_REMATCH[2]} ${BASH_REMATCH[4]}" +%s 2>/dev/null) ||
    e2e_fail "date column '$stamp' is no valid local date and time"
[ "$when" -ge $((before - 1)) ] && [ "$when" -le $((after + 1)) ] ||
    e2e_fail "date column '$stamp' is not the time of the evaluation"

# The rest of the record, with the comment.
e2e_example_record "$stamp" walk >"$BASE/record.expected"
e2e_expect_bytes "$log" "$BASE/record.expected" "the first record"
e2e_expect_bytes "$APP_DIR/k$LOG_NAME" "$APP_DIR/$TEMPLATE_NAME" "item file provisioned from the template"

# A second press without changes appends the same record again.
e2e_click Command2
e2e_wait_size "$log" 512 "log file after the second save"
cat "$BASE/record.expected" "$BASE/record.expected" >"$BASE/log.expected"
e2e_expect_bytes "$log" "$BASE/log.expected" "log file after two saves"

e2e_pass
