// SPDX-License-Identifier: MIT
#pragma once
// Reading the number at the start of a text, the way every number box and
// every numeric field of the item file is read.

#include <string_view>

namespace taiju {

// Takes the number at the start of `text`: blanks, tabs and line feeds are
// ignored wherever they stand; an optional sign, digits with at most one "."
// and an optional exponent (E or e, optional sign, digits) follow. The scan
// stops at the first character that cannot continue the number. A text that
// does not begin with a number reads as 0. A number beyond the range of a
// double reads as an infinity of its sign, a number too small for it as 0.
// Only ASCII digits count; full-width digits end the number.
double leadingNumber(std::u16string_view text);

} // namespace taiju
