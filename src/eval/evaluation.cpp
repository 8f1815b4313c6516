// SPDX-License-Identifier: MIT
#include "eval/evaluation.h"

#include "eval/layout.h"
#include "eval/number.h"

#include <cstdio>

namespace taiju {

std::variant<Results, Refusal> evaluate(std::u16string_view weightText,
                                        std::u16string_view heightText) {
    const double h = leadingNumber(heightText);
    if (!(h >= 0.5 && h <= 2.5))
        return Refusal{Box::Height, kHeightMessage};
    const double w = leadingNumber(weightText);
    if (!(w >= 3 && w <= 200))
        return Refusal{Box::Weight, kWeightMessage};

    const double h2 = h * h;
    const double b = w / h2;
    const double s = h2 * 22;
    const double d = (w / s - 1) * 100;
    const int obesity = obesityBand(d), bmi = bmiBand(b);
    return Results{layoutResult(s),
                   layoutResult(d),
                   layoutResult(b),
                   bandColour(obesity),
                   bandColour(bmi),
                   obesity,
                   bmi};
}

std::u16string dateStamp(int month, int day, int year, int hour, int minute, int second) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d-%02d-%04d %02d:%02d:%02d", month, day, year, hour, minute,
                  second);
    std::string s(buf);
    return std::u16string(s.begin(), s.end());
}

} // namespace taiju
