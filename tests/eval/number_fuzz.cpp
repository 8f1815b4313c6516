// SPDX-License-Identifier: MIT
// Leading-number reading on arbitrary text, and on plain decimal texts built
// from the input, where it must equal strtod. Blanks inside the number and a
// tail that cannot continue it change nothing.

#include "eval/number.h"
#include "support/fuzz.h"

#include <cmath>
#include <cstdlib>
#include <string>

using taiju::fuzz::require;

namespace {

bool same(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

// A plain decimal text: optional sign, digits with at most one point (at
// least one digit), optional exponent. Shapes and digits come from the input.
std::string plainDecimal(taiju::fuzz::Input& in) {
    const uint8_t shape = in.byte();
    std::string s;
    if (shape & 1)
        s += shape & 2 ? '-' : '+';
    const int before = in.byte() % 40, after = shape & 4 ? in.byte() % 40 : 0;
    for (int i = 0; i < before; ++i)
        s += static_cast<char>('0' + in.byte() % 10);
    if (shape & 4)
        s += '.';
    for (int i = 0; i < after; ++i)
        s += static_cast<char>('0' + in.byte() % 10);
    if (before + after == 0)
        s += static_cast<char>('0' + in.byte() % 10);
    if (shape & 8) {
        s += shape & 16 ? 'e' : 'E';
        if (shape & 32)
            s += shape & 64 ? '-' : '+';
        const int digits = 1 + in.byte() % 6;
        for (int i = 0; i < digits; ++i)
            s += static_cast<char>('0' + in.byte() % 10);
    }
    return s;
}

std::u16string wide(const std::string& s) {
    return std::u16string(s.begin(), s.end());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    taiju::fuzz::Input in(data, size);
    const std::string plain = plainDecimal(in);
    const double value = taiju::leadingNumber(wide(plain));
    require(same(value, std::strtod(plain.c_str(), nullptr)));

    // Blanks, tabs and line feeds anywhere, and a tail that cannot continue
    // the number, are ignored.
    std::u16string spaced;
    for (char c : plain) {
        if (in.byte() & 1)
            spaced += u" \t\n"[in.byte() % 3];
        spaced += static_cast<char16_t>(c);
    }
    const char16_t tails[] = {u'm', u',', u'x', u'/', u'\r', u'\u3000', u'\uFF10', u'-'};
    spaced += tails[in.byte() % 8];
    const std::u16string rest = in.restAsUtf16();
    require(same(taiju::leadingNumber(spaced + rest), value));

    // Arbitrary text: some number, never NaN.
    require(!std::isnan(taiju::leadingNumber(rest)));
    return 0;
}
