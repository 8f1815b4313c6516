#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The viewer reads regular files only and never waits on one: a pipe, a
# device and a folder are refused at once with one line and exit 1, by
# --csv, --png and the window; a window started on a pipe shows itself and
# quits with Ctrl+Q. A log of one endless line is read in bounded memory.
# Usage: view_files_e2e.sh TAIJU_CHECK [TAIJU_VIEW]  (default: taiju-view beside it)
. "$(dirname "$0")/lib.sh"
e2e_setup "${1:-}"
viewer_binary=${2:-$(dirname "${1:-}")/taiju-view}
[ -x "$viewer_binary" ] || e2e_fail "no executable taiju-view at '$viewer_binary'"
cp "$viewer_binary" "$APP_DIR/taiju-view" || e2e_fail "cannot copy taiju-view"
viewer="$APP_DIR/taiju-view"

fifo="$BASE/pipe.txt"
mkfifo "$fifo" || e2e_fail "cannot make a pipe"
mkdir "$BASE/folder.txt"

# refused WHAT FILE ARGS...: the viewer ends within 10 s with exit 1 and one
# line of its own on standard error that names FILE.
refused() {
    local what=$1 file=$2 rc
    shift 2
    timeout 10 "$@" >"$BASE/out" 2>"$BASE/err"
    rc=$?
    [ $rc -ne 124 ] || e2e_fail "$what: the viewer hung"
    [ $rc -eq 1 ] && [ "$(grep -c "^taiju-view:" "$BASE/err")" -eq 1 ] &&
        grep -qF "$file" "$BASE/err" ||
        e2e_fail "$what: exit $rc, stderr '$(cat "$BASE/err")'"
}
refused "--csv on a pipe" "$fifo" "$viewer" --csv "$fifo"
grep -q 'パイプ' "$BASE/err" || e2e_fail "the pipe is not named as such: $(cat "$BASE/err")"
refused "--png on a pipe" "$fifo" env -u DISPLAY -u QT_QPA_PLATFORM "$viewer" --png "$BASE/x.png" "$fifo"
refused "--csv on /dev/zero" /dev/zero "$viewer" --csv /dev/zero
refused "--csv on a folder" "$BASE/folder.txt" "$viewer" --csv "$BASE/folder.txt"

# The window on a pipe: shown with the reason in its status bar, and Ctrl+Q
# ends it.
"$viewer" "$fifo" >"$BASE/program.log" 2>&1 &
APP_PID=$!
e2e_wait_window '体重ログ - pipe\.txt \(.*\)'
grep -qF "$fifo" "$BASE/program.log" || e2e_fail "no reason for the pipe: $(cat "$BASE/program.log")"
x xdotool windowactivate --sync "$FOUND" >/dev/null 2>&1
e2e_key ctrl+q
for _ in $(seq 50); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.1; done
! kill -0 "$APP_PID" 2>/dev/null || e2e_fail "the window on a pipe does not quit"
APP_PID=""

# One line of 256 MiB of NUL bytes: CSV in bounded memory, the line counted
# as irregular.
long="$BASE/long.txt"
head -c $((256 << 20)) /dev/zero >"$long"
cp "$APP_DIR/$TEMPLATE_NAME" "$BASE/klong.txt"
/usr/bin/time -f %M -o "$BASE/rss" timeout 60 "$viewer" --csv "$long" >"$BASE/long.csv" 2>"$BASE/err" ||
    e2e_fail "--csv on one long line failed: $(cat "$BASE/err")"
grep -q '不規則な行 1 行: 1 行目' "$BASE/err" || e2e_fail "the long line is not irregular: $(cat "$BASE/err")"
[ "$(wc -l <"$BASE/long.csv")" -eq 2 ] || e2e_fail "CSV of the long line: $(wc -l <"$BASE/long.csv") lines"
rss=$(cat "$BASE/rss")
[ "$rss" -lt $((64 << 10)) ] || e2e_fail "--csv on a 256 MiB line took $rss KiB"

e2e_pass
