// SPDX-License-Identifier: MIT
#pragma once
// A label whose size the window's description gives in fractions of a point
// (the headings' 15.75 pt, the small print's 8.25 pt). A layout file's font
// property holds whole points only; this one takes the size as it is given,
// so that form1.ui describes every font of the window and no control is
// given a second font after it is made.

#include <QLabel>

namespace taiju {

class Caption : public QLabel {
  public:
    using QLabel::QLabel;

    // The label's font (its own or the inherited one) at `points`.
    void setPointSizeF(double points);
};

} // namespace taiju
