// SPDX-License-Identifier: MIT
#include "eval/bands.h"
#include "eval/evaluation.h"
#include "eval/layout.h"
#include "eval/number.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <initializer_list>
#include <string>

using namespace taiju;

namespace {

std::string ascii(const std::u16string& s) {
    std::string out;
    for (char16_t c : s)
        out.push_back(c < 0x80 ? static_cast<char>(c) : '#');
    return out;
}

double above(double x) {
    return std::nextafter(x, 1e9);
}
double below(double x) {
    return std::nextafter(x, -1e9);
}

TEST(LayoutResult, Table) {
    struct {
        const char* name;
        double value;
        const char* text;
    } cases[] = {
        {"no zero before the point", 0.48, ".480"},
        {"three decimals always", 137.5, "137.500"},
        {"negative degree", (3 / 137.5 - 1) * 100, "-97.818"},
        {"zero", 0, ".000"},
        {"negative zero has no sign", -0.0, ".000"},
        {"four digits before the point", (200 / 5.5 - 1) * 100, "3536.364"},
        {"whole number", 800, "800.000"},
        {"negative below one has no zero", -0.48, "-.480"},
        {"one digit before the point", 5, "5.000"},
        {"huge value written in full", 1e20, "100000000000000000000.000"},
        {"tiny value rounds to zero", 1.5e-9, ".000"},
        // Rounding works on the 15-digit text: 1.2345 is 1.23449999... in
        // binary, but its text is 1.23450000000000, which rounds up.
        {"half rounds up on the 15-digit text", 1.2345, "1.235"},
        {"half after zeros rounds up", 1.0005, "1.001"},
        {"negative half rounds away from zero", -1.2345, "-1.235"},
        {"half below one rounds up", 0.0005, ".001"},
        {"just below half rounds down", 1.23449999, "1.234"},
        {"rounding carries to a fourth digit", 999.9996, "1000.000"},
        {"half carries to a second digit", 9.9995, "10.000"},
        {"negative rounding carries to a fourth digit", -999.9996, "-1000.000"},
        {"negative below half rounds to unsigned zero", -0.0004, ".000"},
        {"negative half below one rounds away from zero", -0.0005, "-.001"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ascii(layoutResult(c.value)), c.text);
    }
}

TEST(Bands, Bounds) {
    EXPECT_EQ(obesityBand(below(-10)), 1);
    EXPECT_EQ(obesityBand(-10), 2);
    EXPECT_EQ(obesityBand(10), 2);
    EXPECT_EQ(obesityBand(above(10)), 3);
    EXPECT_EQ(obesityBand(20), 3);
    EXPECT_EQ(obesityBand(above(20)), 4);

    EXPECT_EQ(bmiBand(below(20)), 1);
    EXPECT_EQ(bmiBand(20), 2);
    EXPECT_EQ(bmiBand(below(24)), 2);
    EXPECT_EQ(bmiBand(24), 3);
    EXPECT_EQ(bmiBand(26.5), 3);
    EXPECT_EQ(bmiBand(above(26.5)), 4);

    EXPECT_EQ(bandColour(1), 0xC0C0FFu);
    EXPECT_EQ(bandColour(2), 0x00FF00u);
    EXPECT_EQ(bandColour(3), 0xC0C0FFu);
    EXPECT_EQ(bandColour(4), 0x8080FFu);
}

TEST(Evaluate, Results) {
    const Colour red = 0xC0C0FF, green = 0x00FF00, salmon = 0x8080FF;
    struct {
        const char* name;
        const char16_t* weight;
        const char16_t* height;
        const char* standard;
        const char* degree;
        const char* bmi;
        Colour degreeColour;
        Colour bmiColour;
    } cases[] = {
        {"worked example", u"65.5", u"1.65", "59.895", "9.358", "24.059", green, red},
        {"unit after the height", u"65.5", u"1.65m", "59.895", "9.358", "24.059", green, red},
        {"lightest and tallest", u"3", u"2.5", "137.500", "-97.818", ".480", red, red},
        {"heaviest and shortest", u"200", u"0.5", "5.500", "3536.364", "800.000", salmon, salmon},
        {"standard weight exactly", u"22", u"1", "22.000", ".000", "22.000", green, green},
        {"comma in the height", u"22", u"1,65", "22.000", ".000", "22.000", green, green},
        {"BMI 20 is normal", u"20", u"1", "22.000", "-9.091", "20.000", green, green},
        {"BMI 24 is above normal", u"24", u"1", "22.000", "9.091", "24.000", green, red},
        {"BMI 26.5 is not yet obese", u"26.5", u"1", "22.000", "20.455", "26.500", salmon, red},
        {"BMI > 26.5", u"26.500000000000004", u"1", "22.000", "20.455", "26.500", salmon, salmon},
        // The band follows the unrounded value, not the text shown.
        {"band follows unrounded BMI", u"19.9996", u"1", "22.000", "-9.093", "20.000", green, red},
        {"lightest and shortest", u"3", u"0.5", "5.500", "-45.455", "12.000", red, red},
        {"heaviest and tallest", u"200", u"2.5", "137.500", "45.455", "32.000", salmon, salmon},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto r = evaluate(c.weight, c.height);
        ASSERT_TRUE(std::holds_alternative<Results>(r));
        const Results& res = std::get<Results>(r);
        EXPECT_EQ(ascii(res.standardWeight), c.standard);
        EXPECT_EQ(ascii(res.obesityDegree), c.degree);
        EXPECT_EQ(ascii(res.bmi), c.bmi);
        EXPECT_EQ(res.obesityColour, c.degreeColour);
        EXPECT_EQ(res.bmiColour, c.bmiColour);
        // The band numbers are those the colours come from.
        EXPECT_EQ(bandColour(res.obesityBand), res.obesityColour);
        EXPECT_EQ(bandColour(res.bmiBand), res.bmiColour);
    }
}

TEST(Evaluate, Refusals) {
    const std::u16string metres = u"メートル単位で入力してください(cf.1.65)";
    const std::u16string kilograms = u"キログラム単位で入力してください(cf65.5)";
    struct {
        const char* name;
        const char16_t* weight;
        const char16_t* height;
        bool accepted;
        Box box;
    } cases[] = {
        {"shortest height accepted", u"65", u"0.5", true, Box::Height},
        {"tallest height accepted", u"65", u"2.5", true, Box::Height},
        {"height below 0.5 refused", u"65", u"0.49", false, Box::Height},
        {"height above 2.5 refused", u"65", u"2.51", false, Box::Height},
        {"lightest weight accepted", u"3", u"1.65", true, Box::Weight},
        {"heaviest weight accepted", u"200", u"1.65", true, Box::Weight},
        {"weight below 3 refused", u"2.9", u"1.65", false, Box::Weight},
        {"weight above 200 refused", u"200.1", u"1.65", false, Box::Weight},
        {"both wrong: the height is named", u"1000", u"165", false, Box::Height},
        {"height in centimetres refused", u"65", u"165", false, Box::Height},
        {"empty height refused", u"65", u"", false, Box::Height},
        {"blank inside the height makes 165", u"65", u"1 65", false, Box::Height},
        {"empty weight refused", u"", u"1.65", false, Box::Weight},
        {"negative weight refused", u"-65", u"1.65", false, Box::Weight},
        {"negative height refused", u"65", u"-1.65", false, Box::Height},
        {"infinite height refused", u"65", u"1e999", false, Box::Height},
        {"minus infinite height refused", u"65", u"-1e999", false, Box::Height},
        {"infinite weight refused", u"1e999", u"1.65", false, Box::Weight},
        {"height that rounds to zero refused", u"65", u"1e-999", false, Box::Height},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto r = evaluate(c.weight, c.height);
        if (c.accepted) {
            EXPECT_TRUE(std::holds_alternative<Results>(r));
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<Refusal>(r));
        const Refusal& refusal = std::get<Refusal>(r);
        EXPECT_EQ(refusal.box, c.box);
        EXPECT_TRUE(refusal.message == (c.box == Box::Height ? metres : kilograms));
    }
    EXPECT_EQ(std::u16string(kInputErrorTitle), u"入力ミス");
}

TEST(DateStamp, FixedForm) {
    EXPECT_EQ(ascii(dateStamp(5, 1, 2003, 7, 30, 0)), "05-01-2003 07:30:00");
    EXPECT_EQ(ascii(dateStamp(12, 31, 999, 23, 59, 59)), "12-31-0999 23:59:59");
    EXPECT_EQ(dateStamp(1, 2, 2024, 0, 0, 9).size(), 19u);
}

// Switches the C and C++ locales for one test and puts them back afterwards.
class LocaleTest : public ::testing::Test {
  protected:
    // Switches to the first of `names` that the system has.
    bool use(std::initializer_list<const char*> names) {
        for (const char* name : names) {
            if (std::setlocale(LC_ALL, name))
                return true;
        }
        return false;
    }
    void SetUp() override { saved_ = std::setlocale(LC_ALL, nullptr); }
    void TearDown() override { std::setlocale(LC_ALL, saved_.c_str()); }

  private:
    std::string saved_;
};

TEST_F(LocaleTest, OtherDigitsStayAscii) {
    // POSIX names, then Windows' names of the same locales.
    if (!use({"ar_EG.UTF-8", "fa_IR.UTF-8", "Arabic_Egypt.1256", "Persian_Iran.1256"}))
        GTEST_SKIP() << "no locale with other digits installed";
    EXPECT_EQ(ascii(dateStamp(5, 1, 2003, 7, 30, 0)), "05-01-2003 07:30:00");
    EXPECT_EQ(ascii(layoutResult(3536.363636)), "3536.364");
}

TEST_F(LocaleTest, CommaDecimalLocale) {
    if (!use({"de_DE.UTF-8", "fr_FR.UTF-8", "German_Germany.1252", "French_France.1252"}))
        GTEST_SKIP() << "no locale with a decimal comma installed";
    EXPECT_EQ(ascii(layoutResult(59.895)), "59.895");
    EXPECT_EQ(leadingNumber(u"1.65"), 1.65);
    EXPECT_EQ(leadingNumber(u"1,65"), 1);
    EXPECT_EQ(ascii(dateStamp(5, 1, 2003, 7, 30, 0)), "05-01-2003 07:30:00");
}

} // namespace
