#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# "ﾌｫﾙﾀﾞ変更" with Qt's file dialog: a file name that does not exist yet, in
# an empty folder, chooses that folder. The next save goes there (item file
# provisioned there too); the application directory gets no log, the chosen
# file is not created and the settings file is not rewritten.
. "$(dirname "$0")/lib.sh"
e2e_setup "${1:-}"
e2e_start

cp "$APP_DIR/ostrel" "$BASE/ostrel.before" || e2e_fail "no settings file after start"
folder="$BASE/new logs"
mkdir "$folder" || e2e_fail "cannot make $folder"
pick="$folder/pick.txt"

e2e_click Command3
e2e_wait_window 'フォルダを指定してください' 10
dialog=$FOUND
# The file name field has the focus with the preset name selected; keep the
# keyboard on the dialog even without a window manager.
[ "$(x xdotool getwindowfocus)" = "$dialog" ] || x xdotool windowfocus "$dialog"
e2e_key ctrl+a
e2e_type "$pick"
e2e_key Return
e2e_wait_gone 'フォルダを指定してください' 5

e2e_evaluate_example
e2e_click Command2
e2e_wait_size "$folder/$LOG_NAME" 256 "log file in the chosen folder"

# Its record holds the evaluation (the date column, bytes 57 to 76, aside).
printf '%6s%10s%10s%10s%10s%10s' "" 65.5 1.65 59.895 9.358 24.059 >"$BASE/head.expected"
head -c 56 "$folder/$LOG_NAME" >"$BASE/head.actual"
e2e_expect_bytes "$BASE/head.actual" "$BASE/head.expected" "start of the record in the chosen folder"
e2e_expect_bytes "$folder/k$LOG_NAME" "$APP_DIR/$TEMPLATE_NAME" "item file provisioned in the chosen folder"

[ ! -e "$pick" ] || e2e_fail "the file named in the dialog was created: $pick"
[ "$(ls -A "$folder" | LC_ALL=C sort | tr '\n' '|')" = "k$LOG_NAME|$LOG_NAME|" ] ||
    e2e_fail "unexpected files in the chosen folder: $(ls -A "$folder" | tr '\n' ' ')"
[ ! -e "$APP_DIR/$LOG_NAME" ] || e2e_fail "a log file was written in the application directory"
[ ! -e "$APP_DIR/k$LOG_NAME" ] || e2e_fail "an item file was written in the application directory"
e2e_expect_bytes "$APP_DIR/ostrel" "$BASE/ostrel.before" "settings file after the folder change"

e2e_pass
