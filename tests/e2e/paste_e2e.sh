#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# A line break pasted into a box: the comment box gets "walk", CR LF and a
# second line from the X clipboard by Ctrl+V. The box shows blanks where the
# control characters were, and the save writes one record of 256 bytes, one
# line, with the same text in its comment column.
. "$(dirname "$0")/lib.sh"
e2e_setup "${1:-}"
command -v xclip >/dev/null || e2e_fail "tool 'xclip' is missing"
e2e_start

log="$APP_DIR/$LOG_NAME"
clip_pid=""
stop_clip() { [ -z "$clip_pid" ] || kill "$clip_pid" 2>/dev/null; clip_pid=""; }
trap 'stop_clip; e2e_cleanup' EXIT

e2e_evaluate_example
# xclip keeps serving the clipboard in the background until it is stopped
# or another program takes the clipboard.
printf 'walk\r\nW99\tINJECTED\x7fLINE' | timeout 60 xclip -selection clipboard -quiet 2>/dev/null &
clip_pid=$!
for _ in $(seq 50); do
    [ "$(x xclip -selection clipboard -o 2>/dev/null | od -An -c | tr -d ' \n')" = 'walk\r\nW99\tINJECTED177LINE' ] && break
    sleep 0.1
done
e2e_click Text7
e2e_key ctrl+a ctrl+v
stop_clip

# What the box holds, copied back out: blanks, no line break.
e2e_key ctrl+a ctrl+c
shown=""
for _ in $(seq 50); do
    shown=$(x xclip -selection clipboard -o 2>/dev/null)
    [ "$shown" = 'walk  W99 INJECTED LINE' ] && break
    sleep 0.1
done
[ "$shown" = 'walk  W99 INJECTED LINE' ] || e2e_fail "the comment box holds '$shown'"

e2e_click Command2
e2e_wait_size "$log" 256 "log file after the save"
stamp=$(dd if="$log" bs=1 skip=56 count=19 2>/dev/null)
e2e_example_record "$stamp" 'walk  W99 INJECTED LINE' >"$BASE/record.expected"
e2e_expect_bytes "$log" "$BASE/record.expected" "the record of the pasted comment"
e2e_pass
