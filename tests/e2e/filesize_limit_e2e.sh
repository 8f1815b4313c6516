#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# A save under a file-size limit (ulimit -f) that the log has almost reached:
# the record of 512 bytes fits only half. The write fails instead of the
# kernel's SIGXFSZ ending the program; the window shows "記入エラー", the
# program lives on and the log keeps its bytes, without half a record.
. "$(dirname "$0")/lib.sh"
e2e_setup "${1:-}"

log="$APP_DIR/$LOG_NAME"
# Item file: the template with a comment column of 180 bytes, so that a
# record is 2 × 256 bytes long.
LC_ALL=C sed "s/2007 ' 40/2007 ' 180/" "$APP_DIR/$TEMPLATE_NAME" >"$APP_DIR/k$LOG_NAME"
grep -q "2007 ' 180" "$APP_DIR/k$LOG_NAME" || e2e_fail "cannot make the item file"
# 15 earlier records of 256 bytes: 3840 bytes, 256 below the limit of 4 KiB.
for i in $(seq 15); do printf "%254s\r\n" "record $i"; done >"$log"
cp "$log" "$BASE/log.before"
E2E_FILE_LIMIT=4
e2e_start

e2e_evaluate_example
e2e_click Command2
e2e_wait_window '記入エラー' 10
box=$FOUND
kill -0 "$APP_PID" 2>/dev/null || e2e_fail "taiju-check ended during the save"
e2e_expect_bytes "$log" "$BASE/log.before" "the log after the failed save"

# OK closes the box; the window is still there for the next try.
[ "$(x xdotool getwindowfocus)" = "$box" ] || x xdotool windowfocus "$box"
e2e_key Return
e2e_wait_gone '記入エラー' 5
kill -0 "$APP_PID" 2>/dev/null || e2e_fail "taiju-check ended after the message"
[ -n "$(e2e_window_id "$MAIN_TITLE")" ] || e2e_fail "the main window is gone"
e2e_expect_bytes "$log" "$BASE/log.before" "the log after the message"

e2e_pass
