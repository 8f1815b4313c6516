#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The window under GNOME's dark style (Qt's GTK platform theme, Adwaita
# dark): the window keeps its light design, every caption dark on its light
# colour; Qt's file dialog follows the dark desktop and speaks Japanese (its
# delete question is titled 「削除」), refuses a folder that does not exist
# and takes a new name in an existing one.
. "$(dirname "$0")/lib.sh"
e2e_setup "${1:-}"
export QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark
e2e_start

# lowest_contrast SHOT X Y W H: the contrast between the colour covering most
# of the area and the pixel that stands out most from it, left in CONTRAST.
lowest_contrast() {
    e2e_origin "$WIN"
    CONTRAST=$(x convert "$1" -crop "${4}x${5}+$((OX + $2))+$((OY + $3))" -depth 8 txt:- |
        sed -n 's/^[0-9]*,[0-9]*: *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p' | awk '
        function lin(c) { c /= 255; return c <= 0.04045 ? c / 12.92 : ((c + 0.055) / 1.055) ^ 2.4 }
        {
            key = $1 "," $2 "," $3
            n[key]++
            lum[key] = 0.2126 * lin($1) + 0.7152 * lin($2) + 0.0722 * lin($3)
        }
        END {
            for (k in n) if (n[k] > most) { most = n[k]; bg = lum[k] }
            best = 1
            for (k in n) {
                hi = lum[k] > bg ? lum[k] : bg; lo = lum[k] > bg ? bg : lum[k]
                r = (hi + 0.05) / (lo + 0.05); if (r > best) best = r
            }
            printf "%.2f", best
        }')
}

# Captions on every fixed colour and on the face: at least 4.5:1.
shot="$BASE/dark.png"
e2e_shot "$shot"
while read -r what X Y W H; do
    lowest_contrast "$shot" "$X" "$Y" "$W" "$H"
    awk -v c="$CONTRAST" 'BEGIN { exit !(c >= 4.5) }' ||
        { cp "$shot" "${TMPDIR:-/tmp}/look_e2e-dark.png"; e2e_fail "$what: contrast $CONTRAST:1 under the dark theme"; }
done <<'EOF'
Label26(face) 16 24 49 25
Label28(panel) 16 88 49 25
Label6(light-red) 200 120 73 17
Label7(green) 200 144 73 17
Label9(salmon) 200 192 73 17
Label16(light-red) 368 168 73 17
Command1(green-button) 350 25 100 25
Command2(green-button) 300 375 145 35
lblFOLDER(grey) 104 368 137 49
EOF
e2e_inner_corner Command3
e2e_pixel "$shot" "$PX" "$PY"
lum=$(awk -F, '{ print int(0.3 * $1 + 0.59 * $2 + 0.11 * $3) }' <<<"$COLOUR")
[ "$lum" -ge 180 ] || e2e_fail "Command3 is not light under the dark theme: $COLOUR"

# A log to select in the dialog.
e2e_evaluate_example
e2e_click Command2
e2e_wait_size "$APP_DIR/$LOG_NAME" 256 "first record"

title='フォルダを指定してください'
e2e_click Command3
e2e_wait_window "$title" 10
dialog=$FOUND
# focus_dialog: the keyboard on the dialog again, once it has it.
focus_dialog() {
    for _ in $(seq 30); do
        [ "$(x xdotool getwindowfocus)" = "$dialog" ] && return 0
        x xdotool windowfocus "$dialog" 2>/dev/null
        sleep 0.1
    done
    e2e_fail "the file dialog does not take the keyboard focus"
}
focus_dialog
# The dialog follows the dark desktop.
e2e_shot "$shot"
read -r DX DY DW DH < <(x xwininfo -id "$dialog" | awk '/Absolute upper-left X/ {x = $NF}
    /Absolute upper-left Y/ {y = $NF} /Width:/ {w = $NF} /Height:/ {h = $NF} END {print x, y, w, h}')
dark=$(x convert "$shot" -crop "1x1+$((DX + 4))+$((DY + DH - 4))" -depth 8 txt:- |
    sed -n 's/^0,0: *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p' | awk '{ print int(0.3 * $1 + 0.59 * $2 + 0.11 * $3) }')
[ -n "$dark" ] && [ "$dark" -lt 100 ] || e2e_fail "the file dialog is not dark under the dark theme (grey $dark)"

# Qt's own words in Japanese: from the file list (the log is selected in
# it), Delete asks its question in a window titled 「削除」; Esc answers no.
e2e_key shift+Tab
e2e_key Delete
e2e_wait_window '削除' 5
e2e_key Escape
e2e_wait_gone '削除' 5
[ -f "$APP_DIR/$LOG_NAME" ] || e2e_fail "the log was deleted"

# A folder that does not exist: the dialog says so and stays open.
focus_dialog
e2e_key alt+n # the file name, by its label's access key
e2e_key ctrl+a
e2e_type "$BASE/no such folder/x.txt"
e2e_key Return
deadline=$((SECONDS + 5))
while [ "$(x xdotool search --all --pid "$APP_PID" --onlyvisible --name "^$title\$" | wc -l)" -lt 2 ]; do
    [ "$SECONDS" -le "$deadline" ] || e2e_fail "no message for a folder that does not exist"
    sleep 0.1
done
e2e_key Return # closes the message
deadline=$((SECONDS + 5))
while [ "$(x xdotool search --all --pid "$APP_PID" --onlyvisible --name "^$title\$" | wc -l)" -gt 1 ]; do
    [ "$SECONDS" -le "$deadline" ] || e2e_fail "the message about the missing folder did not close"
    sleep 0.1
done
[ -n "$(e2e_window_id "$title")" ] || e2e_fail "the dialog closed on a folder that does not exist"

# A new name in an existing folder is taken: the next save goes there.
folder="$BASE/empty folder"
mkdir "$folder"
focus_dialog
e2e_key alt+n
e2e_key ctrl+a
e2e_type "$folder/new.txt"
e2e_key Return
e2e_wait_gone "$title" 5
e2e_click Command2
e2e_wait_size "$folder/$LOG_NAME" 256 "record in the chosen folder"
[ ! -e "$BASE/no such folder" ] || e2e_fail "the missing folder was created"

e2e_pass
