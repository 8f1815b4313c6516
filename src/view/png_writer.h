// SPDX-License-Identifier: MIT
#pragma once

class QIODevice;
class QImage;

namespace taiju::view {

// Writes an opaque picture as an 8-bit RGB PNG, built for speed rather than
// the smallest file: each row is stored as its difference from the row above
// (a chart is mostly rows alike, which become zeros), with no search for the
// best filter, and packed by zlib at its fastest level. False when the device
// fails to take it.
bool writePng(QIODevice& device, const QImage& image);

} // namespace taiju::view
