// SPDX-License-Identifier: MIT
#include "eval/number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

using taiju::leadingNumber;

namespace {

struct Case {
    const char* name;
    const char16_t* text;
    double value;
};

const Case kCases[] = {
    // The worked examples: a unit after the number, a comma, a blank inside.
    {"unit after the number is ignored", u"1.65m", 1.65},
    {"comma is no decimal point", u"1,65", 1},
    {"blank inside the number is skipped", u"1 65", 165},
    {"empty text is zero", u"", 0},
    // Blanks, tabs and line feeds count nowhere; a CR is an ordinary character.
    {"blanks, tabs and line feeds count nowhere", u" \t\n1\t.\n6 5", 1.65},
    {"CR before the number is no blank", u"\r1", 0},
    {"CR inside the number ends it", u"1\r2", 1},
    {"blanks around the exponent's e", u"1 e 2", 100},
    // Signs.
    {"plus sign", u"+2.5", 2.5},
    {"minus sign", u"-2.5", -2.5},
    {"blank after the minus sign", u"- 3", -3},
    {"two signs are no number", u"+-3", 0},
    {"sign alone is zero", u"-", 0},
    // The point.
    {"point before the digits", u".5", 0.5},
    {"point after the digits", u"5.", 5},
    {"point alone is zero", u".", 0},
    {"second point ends the number", u"1.2.3", 1.2},
    // Exponents, and an "e" that cannot start one.
    {"lower-case exponent", u"1e2", 100},
    {"upper-case exponent with plus sign", u"1E+2", 100},
    {"negative exponent", u"25e-1", 2.5},
    {"e without digits starts no exponent", u"1e", 1},
    {"e and sign without digits start no exponent", u"1e+", 1},
    {"e and sign before a letter start no exponent", u"1e-x", 1},
    {"point in the exponent ends it", u"1e2.5", 100},
    {"e cannot start a number", u"e5", 0},
    // No other number forms: full-width digits, words, hexadecimal.
    {"full-width digits are no number", u"１．６５", 0},
    {"full-width digit ends the number", u"1６", 1},
    {"nan is no number", u"nan", 0},
    {"inf is no number", u"inf", 0},
    {"minus infinity is no number", u"-infinity", 0},
    {"hexadecimal stops at the x", u"0x10", 0},
};

TEST(LeadingNumber, Table) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(leadingNumber(c.text), c.value);
    }
}

TEST(LeadingNumber, BeyondTheRangeOfADouble) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(leadingNumber(u"1e999"), inf);
    EXPECT_EQ(leadingNumber(u"-1e999"), -inf);
    EXPECT_EQ(leadingNumber(u"1e99999999999999999999999"), inf);
    EXPECT_EQ(leadingNumber(u"1e-999"), 0);
    EXPECT_EQ(leadingNumber(u"1e-99999999999999999999999"), 0);
    EXPECT_EQ(leadingNumber(u"0e999"), 0);
    // The magnitude counts the zeros after the point, not only the exponent.
    EXPECT_EQ(leadingNumber(u"0." + std::u16string(400, u'0') + u"1e10"), 0);
    EXPECT_EQ(leadingNumber(u"0.001e310"), 1e307);
}

TEST(LeadingNumber, LongDigitStrings) {
    EXPECT_EQ(leadingNumber(u"1" + std::u16string(300, u'0')), 1e300);
    EXPECT_EQ(leadingNumber(u"1" + std::u16string(400, u'0')),
              std::numeric_limits<double>::infinity());
    EXPECT_EQ(leadingNumber(u"0." + std::u16string(400, u'0') + u"1"), 0);
    // Digits far beyond a double's precision still round correctly.
    EXPECT_EQ(leadingNumber(u"1.65" + std::u16string(500, u'0') + u"1kg"), 1.65);
}

} // namespace
