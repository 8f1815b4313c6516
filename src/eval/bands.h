// SPDX-License-Identifier: MIT
#pragma once
// The colour bands of the obesity degree and of the BMI, as the legend of the
// window shows them.

#include <cstdint>

namespace taiju {

// Colours are 0xBBGGRR: blue in the high byte, red in the low byte.
using Colour = std::uint32_t;

inline constexpr Colour kLightGreen = 0xC0FFC0;
inline constexpr Colour kLightRed = 0xC0C0FF;
inline constexpr Colour kPureGreen = 0x00FF00;
inline constexpr Colour kSalmonRed = 0x8080FF;
inline constexpr Colour kLightGrey = 0xE0E0E0;

// Band 1 to 4 of an unrounded obesity degree in per cent.
int obesityBand(double degree);
// The BMI at the edges between bands 1|2, 2|3 and 3|4: a BMI below 20 is in
// band 1, below 24 in band 2, up to 26.5 in band 3, above it in band 4.
inline constexpr double kBmiBandEdges[] = {20, 24, 26.5};

// Band 1 to 4 of an unrounded BMI.
int bmiBand(double bmi);
// Background of band 1 to 4 (the rows of the legend, top to bottom).
Colour bandColour(int band);

} // namespace taiju
