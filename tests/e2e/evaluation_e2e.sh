#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# First start in an empty application directory writes the settings file;
# an evaluation paints the band colours; a height out of range is refused in
# a message box, and afterwards the height box holds the focus with its
# text selected.
. "$(dirname "$0")/lib.sh"
e2e_setup "${1:-}"
e2e_start

# The settings file: the application directory in its Windows form and the
# default log file name, Shift_JIS, CR LF.
e2e_expect_settings "$APP_DIR/ostrel" "$APP_DIR" "settings file written at first start"

# Both green buttons are painted wholly in their colour, not in a style's
# gradient.
for button in Command1 Command2; do
    e2e_inner_corner "$button"
    e2e_expect_pixel "$PX" "$PY" "192,255,192" "$button's face" 1
done

# Before any evaluation the result boxes have the edit colour.
e2e_inner_right Text2
e2e_expect_pixel "$PX" "$PY" "255,255,255" "Text2 before the evaluation" 1

e2e_click Text3
e2e_type 65.5
e2e_click Text4
e2e_type 1.65
e2e_click Command1
# 65.5 kg at 1.65 m: obesity degree 9.358 (band 2), BMI 24.059 (band 3).
e2e_inner_right Text2
e2e_expect_pixel "$PX" "$PY" "0,255,0" "Text2 after 65.5 kg, 1.65 m"
e2e_inner_right Text5
e2e_expect_pixel "$PX" "$PY" "255,192,192" "Text5 after 65.5 kg, 1.65 m"

# A height in centimetres is refused with a modal message box.
e2e_click Text4
e2e_key ctrl+a
e2e_type 165
e2e_click Command1
e2e_wait_window '入力ミス' 5
e2e_key Return
e2e_wait_gone '入力ミス' 5
# The refusal leaves the previous colours.
e2e_inner_right Text5
e2e_expect_pixel "$PX" "$PY" "255,192,192" "Text5 after the refused height" 1

# The height box now has the focus with its whole text selected, so typing
# replaces it: 65.5 kg at 1.7 m is accepted (a leftover "165" would make
# "1651.7" and a second refusal) and gives BMI 22.664, band 2.
e2e_type 1.7
e2e_click Command1
e2e_inner_right Text5
e2e_expect_pixel "$PX" "$PY" "0,255,0" "Text5 after retyping the height as 1.7"
[ -z "$(e2e_window_id '入力ミス')" ] || e2e_fail "the retyped height 1.7 was refused"

e2e_pass
