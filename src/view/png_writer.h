// SPDX-License-Identifier: MIT
#pragma once

class QIODevice;
class QImage;

namespace taiju::view {

// Writes an opaque picture as an 8-bit RGB PNG, built for speed rather than
// the smallest file: each row is stored as its difference from the row above
// (a chart is mostly rows alike, which become runs of zeros), with no search
// for the best filter, and packed by its runs of repeated bytes alone, with
// no search for matches. A chart of 1200x800 takes about 380 KB. False when
// the device fails to take it.
bool writePng(QIODevice& device, const QImage& image);

} // namespace taiju::view
