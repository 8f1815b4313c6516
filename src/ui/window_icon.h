// SPDX-License-Identifier: MIT
#pragma once

class QIcon;

namespace taiju {

// The window's icon in its two sizes, 16 and 32 pixels, from the pixels the
// compiler decoded from its XPM drawings.
QIcon windowIcon16And32();

} // namespace taiju
