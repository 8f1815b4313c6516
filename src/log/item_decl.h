// SPDX-License-Identifier: MIT
#pragma once
// The item declaration state: the columns of the log as its item file
// declares them. Sizes are fixed; the arrays are never resized.

#include <array>
#include <string>

namespace taiju {

struct ItemDeclarations {
    double jcount = 0;                        // highest item index declared
    std::array<std::u16string, 257> jname{};  // item names
    std::array<std::u16string, 101> jalign{}; // alignment flags, "R"/"r" right
    std::array<double, 257> jwidth{};         // column widths in bytes
    std::array<double, 257> jwidth2{};        // second copy of the widths
    double jrecw = 0;                         // record length in 256-byte units
    double jrec = 0;                          // accepted record length
};

} // namespace taiju
