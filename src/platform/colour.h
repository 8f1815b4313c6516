// SPDX-License-Identifier: MIT
#pragma once
// The tool's fixed colours (0xBBGGRR, eval/bands.h) as Qt's colours, for
// both windows.

#include "eval/bands.h"

#include <QColor>

namespace taiju::platform {

inline QColor toQColor(Colour c) {
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

} // namespace taiju::platform
