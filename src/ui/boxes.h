// SPDX-License-Identifier: MIT
#pragma once
// The window's text boxes as the log needs them: any length of text, and
// one line whatever is typed or pasted.

#include <initializer_list>

class QLineEdit;

namespace taiju {

// Lifts Qt's limit of 32,767 characters, and makes every control character
// typed or pasted into a box a blank at once (the rule of the record writer,
// blankControls), so that the user sees what a save will write.
void prepareBoxes(std::initializer_list<QLineEdit*> boxes);

} // namespace taiju
