// SPDX-License-Identifier: MIT
#pragma once
// How a result is shown in its box: the layout "###.000".

#include <string>

namespace taiju {

// Lays out `value` (finite) with three decimals: the value is first written as
// its decimal text of at most 15 significant digits, and that text is rounded
// to the nearest thousandth, a half going away from zero. The integer part has
// no leading zeros and is left out when it is 0 (0.48 gives ".480"); a
// negative value is preceded by "-" unless it rounds to zero (-0.0004 gives
// ".000").
std::u16string layoutResult(double value);

} // namespace taiju
