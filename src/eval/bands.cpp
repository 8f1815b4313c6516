// SPDX-License-Identifier: MIT
#include "eval/bands.h"

namespace taiju {

int obesityBand(double d) {
    if (d < -10)
        return 1;
    if (d <= 10)
        return 2;
    if (d <= 20)
        return 3;
    return 4;
}

int bmiBand(double b) {
    if (b < kBmiBandEdges[0])
        return 1;
    if (b < kBmiBandEdges[1])
        return 2;
    if (b <= kBmiBandEdges[2])
        return 3;
    return 4;
}

Colour bandColour(int band) {
    switch (band) {
    case 2:
        return kPureGreen;
    case 4:
        return kSalmonRed;
    default:
        return kLightRed;
    }
}

} // namespace taiju
