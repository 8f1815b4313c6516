#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs a command on an X display with a window manager, as on a desktop: a
# new window gets the keyboard focus and a frame. With DISPLAY set the command
# runs there as it is; otherwise a private Xvfb (a free display number) and
# openbox are started for it and stopped afterwards.
# Usage: scripts/with-display.sh [--no-wm] [--screen WxHxD] COMMAND [ARG...]
#   --no-wm          no window manager (the start-up benchmarks time a bare
#                    X server, as the programs meet it before any desktop)
#   --screen WxHxD   the size of the private screen (1024x768x24)
set -euo pipefail
wm=openbox screen=1024x768x24
while [ $# -gt 0 ]; do
  case $1 in
  --no-wm) wm="" ; shift ;;
  --screen) screen=$2 ; shift 2 ;;
  *) break ;;
  esac
done
if [ -n "${DISPLAY:-}" ]; then
  exec "$@"
fi
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xvfb_pid=$!
read -r -t 10 number <"$fifo" || { echo "with-display: Xvfb did not start" >&2; exit 1; }
rm -f "$fifo"
export DISPLAY=":$number"
wm_pid=""
cleanup() {
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
if [ -n "$wm" ]; then
  openbox --sm-disable >/dev/null 2>&1 &
  wm_pid=$!
  # The window manager is up once it has claimed the root window.
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.05
  done
fi
"$@"
