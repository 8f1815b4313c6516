// SPDX-License-Identifier: MIT
#include "eval/layout.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <string>

namespace taiju {

std::u16string layoutResult(double value) {
    // d.dddddddddddddde±x: exactly 15 significant digits.
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    std::string text(buf, res.ptr);
    bool negative = !text.empty() && text[0] == '-';
    if (negative)
        text.erase(0, 1);
    std::size_t e = text.find('e');
    std::string digits = text.substr(0, 1) + text.substr(2, e - 2); // 15 digits
    int exponent = std::atoi(text.c_str() + e + 1);

    // Place the decimal point: the value is 0.digits × 10^(exponent + 1).
    int pointPos = exponent + 1; // digits before the point
    std::string integerPart;
    std::string fraction;
    if (pointPos <= 0) {
        fraction = std::string(static_cast<std::size_t>(-pointPos), '0') + digits;
    } else if (pointPos >= static_cast<int>(digits.size())) {
        integerPart = digits + std::string(pointPos - digits.size(), '0');
    } else {
        integerPart = digits.substr(0, pointPos);
        fraction = digits.substr(pointPos);
    }
    fraction.resize(std::max<std::size_t>(fraction.size(), 4), '0');

    // Round the decimal text to three decimals, half away from zero.
    std::string kept = integerPart + fraction.substr(0, 3);
    if (fraction[3] >= '5') {
        int i = static_cast<int>(kept.size()) - 1;
        while (i >= 0 && kept[i] == '9') {
            kept[i] = '0';
            --i;
        }
        if (i >= 0)
            ++kept[i];
        else
            kept.insert(kept.begin(), '1');
    }
    std::string intDigits = kept.substr(0, kept.size() - 3);
    std::string decimals = kept.substr(kept.size() - 3);
    std::size_t firstNonZero = intDigits.find_first_not_of('0');
    intDigits = firstNonZero == std::string::npos ? std::string() : intDigits.substr(firstNonZero);

    bool zero = intDigits.empty() && decimals == "000";
    std::string out = (negative && !zero ? "-" : "") + intDigits + "." + decimals;
    return std::u16string(out.begin(), out.end());
}

} // namespace taiju
