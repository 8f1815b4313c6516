// SPDX-License-Identifier: MIT
#include "ui/caption.h"

namespace taiju {

void Caption::setPointSizeF(double points) {
    QFont f = font();
    f.setPointSizeF(points);
    setFont(f);
}

} // namespace taiju
