#include "eval/bands.h"
#include "eval/evaluation.h"
#include "eval/layout.h"
#include "eval/number.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
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
        double value;
        const char* text;
    } cases[] = {
        {0.48, ".480"},
        {137.5, "137.500"},
        {(3 / 137.5 - 1) * 100, "-97.818"},
        {0, ".000"},
        {-0.0, ".000"},
        {(200 / 5.5 - 1) * 100, "3536.364"},
        {800, "800.000"},
        {-0.48, "-.480"},
        {5, "5.000"},
        {1e20, "100000000000000000000.000"},
        {1.5e-9, ".000"},
        // Rounding works on the 15-digit text: 1.2345 is 1.23449999... in
        // binary, but its text is 1.23450000000000, which rounds up.
        {1.2345, "1.235"},
        {1.0005, "1.001"},
        {-1.2345, "-1.235"},
        {0.0005, ".001"},
        {1.23449999, "1.234"},
        {999.9996, "1000.000"},
        {9.9995, "10.000"},
        {-999.9996, "-1000.000"},
        {-0.0004, ".000"},
        {-0.0005, "-.001"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ascii(layoutResult(c.value)), c.text) << c.value;
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
        const char16_t* weight;
        const char16_t* height;
        const char* standard;
        const char* degree;
        const char* bmi;
        Colour degreeColour;
        Colour bmiColour;
    } cases[] = {
        {u"65.5", u"1.65", "59.895", "9.358", "24.059", green, red},
        {u"65.5", u"1.65m", "59.895", "9.358", "24.059", green, red},
        {u"3", u"2.5", "137.500", "-97.818", ".480", red, red},
        {u"200", u"0.5", "5.500", "3536.364", "800.000", salmon, salmon},
        {u"22", u"1", "22.000", ".000", "22.000", green, green},
        {u"22", u"1,65", "22.000", ".000", "22.000", green, green},
        {u"20", u"1", "22.000", "-9.091", "20.000", green, green},
        {u"24", u"1", "22.000", "9.091", "24.000", green, red},
        {u"26.5", u"1", "22.000", "20.455", "26.500", salmon, red},
        {u"26.500000000000004", u"1", "22.000", "20.455", "26.500", salmon, salmon},
        // The band follows the unrounded value, not the text shown.
        {u"19.9996", u"1", "22.000", "-9.093", "20.000", green, red},
        {u"3", u"0.5", "5.500", "-45.455", "12.000", red, red},
        {u"200", u"2.5", "137.500", "45.455", "32.000", salmon, salmon},
    };
    for (const auto& c : cases) {
        auto r = evaluate(c.weight, c.height);
        ASSERT_TRUE(std::holds_alternative<Results>(r))
            << ascii(c.weight) << " / " << ascii(c.height);
        const Results& res = std::get<Results>(r);
        EXPECT_EQ(ascii(res.standardWeight), c.standard) << ascii(c.weight);
        EXPECT_EQ(ascii(res.obesityDegree), c.degree) << ascii(c.weight);
        EXPECT_EQ(ascii(res.bmi), c.bmi) << ascii(c.weight);
        EXPECT_EQ(res.obesityColour, c.degreeColour) << ascii(c.weight);
        EXPECT_EQ(res.bmiColour, c.bmiColour) << ascii(c.weight);
    }
}

TEST(Evaluate, Refusals) {
    const std::u16string metres = u"メートル単位で入力してください(cf.1.65)";
    const std::u16string kilograms = u"キログラム単位で入力してください(cf65.5)";
    struct {
        const char16_t* weight;
        const char16_t* height;
        bool accepted;
        Box box;
    } cases[] = {
        {u"65", u"0.5", true, Box::Height},     {u"65", u"2.5", true, Box::Height},
        {u"65", u"0.49", false, Box::Height},   {u"65", u"2.51", false, Box::Height},
        {u"3", u"1.65", true, Box::Weight},     {u"200", u"1.65", true, Box::Weight},
        {u"2.9", u"1.65", false, Box::Weight},  {u"200.1", u"1.65", false, Box::Weight},
        {u"1000", u"165", false, Box::Height},  {u"65", u"165", false, Box::Height},
        {u"65", u"", false, Box::Height},       {u"65", u"1 65", false, Box::Height},
        {u"", u"1.65", false, Box::Weight},     {u"-65", u"1.65", false, Box::Weight},
        {u"65", u"-1.65", false, Box::Height},  {u"65", u"1e999", false, Box::Height},
        {u"65", u"-1e999", false, Box::Height}, {u"1e999", u"1.65", false, Box::Weight},
        {u"65", u"1e-999", false, Box::Height},
    };
    for (const auto& c : cases) {
        auto r = evaluate(c.weight, c.height);
        SCOPED_TRACE(ascii(c.weight) + " / " + ascii(c.height));
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
    bool use(const char* name) {
        if (!std::setlocale(LC_ALL, name))
            return false;
        return true;
    }
    void SetUp() override { saved_ = std::setlocale(LC_ALL, nullptr); }
    void TearDown() override { std::setlocale(LC_ALL, saved_.c_str()); }

  private:
    std::string saved_;
};

TEST_F(LocaleTest, OtherDigitsStayAscii) {
    if (!use("ar_EG.UTF-8") && !use("fa_IR.UTF-8"))
        GTEST_SKIP() << "no locale with other digits installed";
    EXPECT_EQ(ascii(dateStamp(5, 1, 2003, 7, 30, 0)), "05-01-2003 07:30:00");
    EXPECT_EQ(ascii(layoutResult(3536.363636)), "3536.364");
}

TEST_F(LocaleTest, CommaDecimalLocale) {
    if (!use("de_DE.UTF-8") && !use("fr_FR.UTF-8"))
        GTEST_SKIP() << "no locale with a decimal comma installed";
    EXPECT_EQ(ascii(layoutResult(59.895)), "59.895");
    EXPECT_EQ(leadingNumber(u"1.65"), 1.65);
    EXPECT_EQ(leadingNumber(u"1,65"), 1);
    EXPECT_EQ(ascii(dateStamp(5, 1, 2003, 7, 30, 0)), "05-01-2003 07:30:00");
}

} // namespace
