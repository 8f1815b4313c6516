// SPDX-License-Identifier: MIT
#include "log/rinstr.h"

namespace taiju {

std::size_t rinstr(std::u16string_view n, std::u16string_view m) {
    if (n.empty())
        return 0;
    if (m.empty())
        return n.size();
    std::size_t found = n.rfind(m);
    return found == std::u16string_view::npos ? 0 : found + 1;
}

} // namespace taiju
