# SPDX-License-Identifier: MIT
# shellcheck shell=bash
# Shared functions of the end-to-end tests: the built taiju-check runs in a
# fresh application directory on the X display named by $DISPLAY and is
# driven with xdotool; results are read back from screenshots and files.
# Every wait is bounded, so a script fails instead of hanging.
#
# Usage in a script:  . "$(dirname "$0")/lib.sh"; e2e_setup "$1"; e2e_start
# Afterwards: $APP_DIR (the application directory), $BASE (scratch space
# outside it), $WIN (the main window), $APP_PID (the program).

set -u

E2E_NAME=$(basename "$0" .sh)
MAIN_TITLE='体重チェック'
TEMPLATE_NAME='k体重変化.___'
LOG_NAME='体重変化.txt'
BASE=""
APP_DIR=""
APP_PID=""
WIN=""

e2e_fail() {
    echo "FAIL [$E2E_NAME]: $*" >&2
    if [ -n "$BASE" ] && [ -s "$BASE/program.log" ]; then
        echo "--- output of taiju-check:" >&2
        tail -n 20 "$BASE/program.log" >&2
    fi
    exit 1
}

e2e_pass() {
    echo "PASS [$E2E_NAME] in $((SECONDS))s"
    exit 0
}

# Every X client call goes through here: a dead or stuck X server ends the
# call after a few seconds.
x() { timeout 10 "$@"; }

e2e_cleanup() {
    if [ -n "$APP_PID" ] && kill -0 "$APP_PID" 2>/dev/null; then
        kill "$APP_PID" 2>/dev/null
        for _ in $(seq 20); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.1; done
        kill -9 "$APP_PID" 2>/dev/null
    fi
    [ -n "$BASE" ] && rm -rf "$BASE"
}

# e2e_setup BINARY: checks the tools and the display, makes the scratch
# space and an application directory with the program and the template
# item file from the binary's folder. The application directory's name has
# kanji and half-width katakana, so its Windows form in the settings file
# exercises the Shift_JIS conversion of both.
e2e_setup() {
    local binary=${1:-}
    [ -n "${DISPLAY:-}" ] || e2e_fail "DISPLAY is not set (run under Xvfb, e.g. via scripts/test.sh)"
    [ -n "$binary" ] && [ -x "$binary" ] || e2e_fail "no executable taiju-check given as \$1 (got '$binary')"
    local tool
    for tool in xdotool xwininfo xdpyinfo import convert iconv cmp od timeout; do
        command -v "$tool" >/dev/null || e2e_fail "tool '$tool' is missing"
    done
    x xdpyinfo >/dev/null 2>&1 || e2e_fail "cannot reach the X display $DISPLAY"
    # The expected bytes are made with iconv: its CP932 must be Microsoft's.
    [ "$(printf '～' | iconv -f UTF-8 -t CP932 | od -An -tx1 | tr -d ' \n')" = 8160 ] ||
        e2e_fail "iconv's CP932 does not map U+FF5E to 81 60"
    local template
    template="$(dirname "$binary")/$TEMPLATE_NAME"
    [ -f "$template" ] || e2e_fail "template item file missing beside the binary: $template"

    trap e2e_cleanup EXIT
    BASE=$(realpath "$(mktemp -d)") || e2e_fail "cannot make a temporary directory"
    APP_DIR="$BASE/体重ﾁｪｯｸ"
    mkdir "$APP_DIR" && cp "$binary" "$APP_DIR/taiju-check" && cp "$template" "$APP_DIR/" ||
        e2e_fail "cannot fill the application directory $APP_DIR"
    export QT_QPA_PLATFORM=xcb
    unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS
}

# e2e_windows_path NATIVE: the path as the tool writes it (Z: and "\").
e2e_windows_path() {
    printf 'Z:%s' "${1//\//\\}"
}

# e2e_window_id TITLE: the visible window of the program with exactly that
# title, or nothing.
e2e_window_id() {
    x xdotool search --all --pid "$APP_PID" --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1
}

# e2e_wait_window TITLE [SECONDS]: waits until the window is mapped; its id
# is left in FOUND.
e2e_wait_window() {
    local title=$1 limit=${2:-10} deadline=$((SECONDS + ${2:-10}))
    FOUND=""
    while [ "$SECONDS" -le "$deadline" ]; do
        kill -0 "$APP_PID" 2>/dev/null || e2e_fail "taiju-check ended while waiting for window '$title'"
        FOUND=$(e2e_window_id "$title")
        [ -n "$FOUND" ] && return 0
        sleep 0.1
    done
    e2e_fail "window '$title' did not appear within ${limit}s"
}

# e2e_wait_gone TITLE [SECONDS]: waits until no window of that title shows.
e2e_wait_gone() {
    local title=$1 limit=${2:-5} deadline=$((SECONDS + ${2:-5}))
    while [ "$SECONDS" -le "$deadline" ]; do
        [ -z "$(e2e_window_id "$title")" ] && return 0
        sleep 0.1
    done
    e2e_fail "window '$title' is still shown after ${limit}s"
}

# e2e_start: runs the program in its application directory and waits until
# its window is mapped and painted (the output panel shows its light green).
# With E2E_FILE_LIMIT set (KiB), the program runs under that file-size limit
# (ulimit -f).
# A start that fails only because the X connection was refused (seen now
# and then on a busy shared Xvfb) is tried again, at most three times.
e2e_start() {
    # shellcheck disable=SC2016
    e2e_launch bash -c 'cd "$1" && { [ -z "$2" ] || ulimit -f "$2"; } && exec ./taiju-check' \
        taiju-check "$APP_DIR" "${E2E_FILE_LIMIT:-}"
}

# e2e_origin ID: the window's absolute top-left corner on the screen, left
# in OX and OY.
e2e_origin() {
    read -r OX OY < <(x xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $NF}
                                                /Absolute upper-left Y/ {y = $NF} END {print x, y}')
    [ -n "$OX" ] && [ -n "$OY" ] || e2e_fail "cannot find the position of window $1"
}

# e2e_geometry NAME: Left Top Width Height of a control in twips, as the
# window's layout places it, left in GL GT GW GH.
e2e_geometry() {
    case $1 in
    Text3) set -- 1200 360 1695 375 ;;
    Text4) set -- 3240 360 1575 375 ;;
    Command1) set -- 5160 240 1695 615 ;;
    Text1) set -- 1320 1440 1095 375 ;;
    Text2) set -- 1320 2280 1095 375 ;;
    Text5) set -- 1320 3000 1095 375 ;;
    Text7) set -- 1320 4560 5535 270 ;;
    Command3) set -- 3600 5520 735 735 ;;
    Command2) set -- 4440 5520 2295 735 ;;
    *) e2e_fail "no geometry known for control '$1'" ;;
    esac
    GL=$1 GT=$2 GW=$3 GH=$4
}

# e2e_centre NAME: the control's centre in window pixels (15 twips a
# pixel), left in PX and PY.
e2e_centre() {
    e2e_geometry "$1"
    PX=$(((GL + GW / 2) / 15)) PY=$(((GT + GH / 2) / 15))
}

# e2e_inner_right NAME: a point inside the control near its right inner
# edge at mid height, away from its left-aligned text; left in PX and PY.
e2e_inner_right() {
    e2e_geometry "$1"
    PX=$(((GL + GW) / 15 - 5)) PY=$(((GT + GH / 2) / 15))
}

# e2e_inner_corner NAME: a point 6 pixels inside the control's top-left
# corner, clear of its border and of a centred caption; left in PX and PY.
e2e_inner_corner() {
    e2e_geometry "$1"
    PX=$((GL / 15 + 6)) PY=$((GT / 15 + 6))
}

# e2e_move X Y: puts the pointer at a screen position and waits until it is
# there (xdotool's own --sync never returns when the pointer does not move).
e2e_move() {
    x xdotool mousemove "$1" "$2" || e2e_fail "xdotool mousemove failed"
    for _ in $(seq 50); do
        [ "$(x xdotool getmouselocation | awk '{print $1, $2}')" = "x:$1 y:$2" ] && return 0
        sleep 0.02
    done
    e2e_fail "the pointer did not reach $1,$2"
}

# e2e_click NAME: a left click at the centre of a control of the main window.
e2e_click() {
    e2e_centre "$1"
    e2e_origin "$WIN"
    e2e_move $((OX + PX)) $((OY + PY))
    x xdotool click 1 || e2e_fail "click on $1 failed"
    sleep 0.1
}

e2e_type() {
    x xdotool type --delay 25 -- "$1" || e2e_fail "xdotool type '$1' failed"
    sleep 0.1
}

e2e_key() {
    x xdotool key --delay 25 -- "$@" || e2e_fail "xdotool key $* failed"
    sleep 0.1
}

# e2e_evaluate_example: types 65.5 kg and 1.65 m, presses Command1 and
# checks that the BMI box turned light red (band 3).
e2e_evaluate_example() {
    e2e_click Text3
    e2e_type 65.5
    e2e_click Text4
    e2e_type 1.65
    e2e_click Command1
    e2e_inner_right Text5
    e2e_expect_pixel "$PX" "$PY" "255,192,192" "Text5 after the evaluation"
}

# e2e_shot FILE: a screenshot of the whole screen.
e2e_shot() {
    x import -window root "$1" 2>/dev/null || e2e_fail "screenshot failed"
}

# e2e_pixel FILE X Y: the colour "r,g,b" at a window position in a shot,
# left in COLOUR.
e2e_pixel() {
    e2e_origin "$WIN"
    COLOUR=$(x convert "$1" -crop "1x1+$((OX + $2))+$((OY + $3))" -depth 8 txt:- |
        sed -n 's/^0,0: *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p')
}

# e2e_expect_pixel X Y RGB WHAT [SECONDS]: waits until the window shows that
# colour at the position; fails naming WHAT and the colour last seen.
e2e_expect_pixel() {
    local deadline=$((SECONDS + ${5:-5})) shot="$BASE/shot.png" kept
    while :; do
        e2e_shot "$shot"
        e2e_pixel "$shot" "$1" "$2"
        [ "$COLOUR" = "$3" ] && return 0
        [ "$SECONDS" -ge "$deadline" ] && break
        sleep 0.1
    done
    kept="${TMPDIR:-/tmp}/${E2E_NAME}-failed.png"
    cp "$shot" "$kept" 2>/dev/null && echo "screenshot kept: $kept" >&2
    e2e_fail "$4: colour at window $1,$2 is '$COLOUR', expected $3"
}

# e2e_cp932 TEXT: the text in code page 932, written to standard output.
e2e_cp932() {
    printf '%s' "$1" | iconv -f UTF-8 -t CP932 || e2e_fail "iconv cannot convert '$1'"
}

# e2e_expect_bytes ACTUAL EXPECTED WHAT: the two files are equal byte for
# byte; otherwise fails showing both.
e2e_expect_bytes() {
    [ -f "$1" ] || e2e_fail "$3: file $1 does not exist"
    if ! cmp -s "$1" "$2"; then
        echo "--- actual ($1):" >&2
        od -An -c "$1" | head -n 20 >&2
        echo "--- expected:" >&2
        od -An -c "$2" | head -n 20 >&2
        e2e_fail "$3: $(cmp "$1" "$2" 2>&1 | head -n 1)"
    fi
}

# e2e_expect_settings ACTUAL FOLDER WHAT: the settings file ACTUAL names
# FOLDER in its Windows form and the default log name, Shift_JIS, CR LF.
e2e_expect_settings() {
    {
        e2e_cp932 "$(e2e_windows_path "$2")"
        printf '\r\n'
        e2e_cp932 "$LOG_NAME"
        printf '\r\n'
    } >"$BASE/ostrel.expected"
    e2e_expect_bytes "$1" "$BASE/ostrel.expected" "$3"
}

# e2e_example_record STAMP COMMENT: the record that saving the example
# evaluation writes under the template's columns: blank column 0 (6), five
# right-aligned numbers (10 each), the stamp and a blank (20), the comment
# (40), fill (138), CR LF.
e2e_example_record() {
    printf '%6s' ""
    printf '%10s' 65.5 1.65 59.895 9.358 24.059
    printf '%-20s%-40s%138s\r\n' "$1" "$2" ""
}

# e2e_wait_size FILE BYTES WHAT [SECONDS]: waits until the file exists with
# that size.
e2e_wait_size() {
    local size="" deadline=$((SECONDS + ${4:-5}))
    while [ "$SECONDS" -le "$deadline" ]; do
        size=$(stat -c %s "$1" 2>/dev/null) && [ "$size" = "$2" ] && return 0
        sleep 0.1
    done
    e2e_fail "$3: $1 has size '${size:-missing}', expected $2 bytes"
}

# e2e_launch COMMAND [ARG...]: as e2e_start, for a program that the command
# starts: an installed program, a program run as another user. The command
# must become the program (exec), so that its pid is the program's.
e2e_launch() {
    local attempt deadline
    for attempt in 1 2 3; do
        "$@" >"$BASE/program.log" 2>&1 &
        APP_PID=$!
        deadline=$((SECONDS + 10))
        while kill -0 "$APP_PID" 2>/dev/null && [ "$SECONDS" -le "$deadline" ]; do
            WIN=$(e2e_window_id "$MAIN_TITLE")
            [ -n "$WIN" ] && break 2
            sleep 0.1
        done
        kill -0 "$APP_PID" 2>/dev/null && e2e_fail "window '$MAIN_TITLE' did not appear within 10s"
        grep -q 'could not connect to display' "$BASE/program.log" && [ "$attempt" -lt 3 ] ||
            e2e_fail "taiju-check ended before its window '$MAIN_TITLE' appeared"
        echo "note [$E2E_NAME]: taiju-check could not connect to $DISPLAY (attempt $attempt)" >&2
        sleep 0.5
    done
    e2e_expect_pixel 40 300 "192,255,192" "the output panel Label29 after start" 5
}
