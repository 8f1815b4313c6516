#include "eval/number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

using taiju::leadingNumber;

namespace {

struct Case {
    const char16_t* text;
    double value;
};

const Case kCases[] = {
    // The worked examples: a unit after the number, a comma, a blank inside.
    {u"1.65m", 1.65},
    {u"1,65", 1},
    {u"1 65", 165},
    {u"", 0},
    // Blanks, tabs and line feeds count nowhere; a CR is an ordinary character.
    {u" \t\n1\t.\n6 5", 1.65},
    {u"\r1", 0},
    {u"1\r2", 1},
    {u"1 e 2", 100},
    // Signs.
    {u"+2.5", 2.5},
    {u"-2.5", -2.5},
    {u"- 3", -3},
    {u"+-3", 0},
    {u"-", 0},
    // The point.
    {u".5", 0.5},
    {u"5.", 5},
    {u".", 0},
    {u"1.2.3", 1.2},
    // Exponents, and an "e" that cannot start one.
    {u"1e2", 100},
    {u"1E+2", 100},
    {u"25e-1", 2.5},
    {u"1e", 1},
    {u"1e+", 1},
    {u"1e-x", 1},
    {u"1e2.5", 100},
    {u"e5", 0},
    // No other number forms: full-width digits, words, hexadecimal.
    {u"１．６５", 0},
    {u"1６", 1},
    {u"nan", 0},
    {u"inf", 0},
    {u"-infinity", 0},
    {u"0x10", 0},
};

TEST(LeadingNumber, Table) {
    for (const Case& c : kCases) {
        std::u16string text(c.text);
        EXPECT_EQ(leadingNumber(text), c.value)
            << "text #" << (&c - kCases) << " of length " << text.size();
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
