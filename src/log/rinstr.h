// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string_view>

namespace taiju {

// 1-based position of the last occurrence of `m` in `n`, 0 when there is
// none or `n` is empty. Positions count UTF-16 units.
std::size_t rinstr(std::u16string_view n, std::u16string_view m);

} // namespace taiju
