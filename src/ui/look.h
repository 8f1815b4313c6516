// SPDX-License-Identifier: MIT
#pragma once
// The look of the window on any desktop: a light palette whose dark text
// stays readable on the window's fixed light colours, and captions that fit
// their boxes whatever Japanese font stands in for the one the layout names.

#include "eval/bands.h"
#include "platform/colour.h"

#include <QColor>
#include <QPalette>
#include <QString>

class QFont;
class QLabel;
class QSize;

namespace taiju {

using platform::toQColor;

// The palette the window uses: the desktop's own when its texts are dark on
// its light surfaces and readable on every fixed colour of the window (at
// least 4.5:1), otherwise `light`, the style's standard light palette.
QPalette readablePalette(const QPalette& desktop, const QPalette& light);

// Narrows the label's font (horizontal stretch) just enough that its caption
// fits its box; a caption that fits already is left as it is.
void fitCaption(QLabel* label);

} // namespace taiju
