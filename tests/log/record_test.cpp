// SPDX-License-Identifier: MIT
// Composing one record of the log: columns, alignment, cuts, refusals and the
// bytes of code page 932.

#include "log/record.h"
#include "text/encoding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace taiju;
using namespace std::literals;

namespace {

// The declarations of the template: 6, five right-aligned columns of 10, 20, 40.
ItemDeclarations example() {
    ItemDeclarations d;
    d.jcount = 7;
    const double w[] = {6, 10, 10, 10, 10, 10, 20, 40};
    for (int i = 0; i < 8; ++i) {
        d.jwidth[i] = w[i];
        d.jalign[i] = i >= 1 && i <= 5 ? u"R" : u"";
    }
    d.jrecw = 1;
    return d;
}

// Declarations of item 0 (width 6) and the given columns 1.., nothing else.
ItemDeclarations columns(std::initializer_list<std::pair<double, const char16_t*>> cols,
                         double jrecw = 1) {
    ItemDeclarations d;
    d.jwidth[0] = 6;
    int k = 1;
    for (const auto& [w, flag] : cols) {
        d.jwidth[k] = w;
        d.jalign[k++] = flag;
    }
    d.jrecw = jrecw;
    return d;
}

const RecordBoxes kBoxes = {
    u"65.5", u"1.65", u"59.895", u"9.358", u"24.059", u"05-01-2003 07:30:00", u"walk"};

const std::string kExampleRecord =
    std::string(6, ' ') + "      65.5" + "      1.65" + "    59.895" + "     9.358" + "    24.059" +
    "05-01-2003 07:30:00 " + "walk" + std::string(36, ' ') + std::string(138, ' ') + "\r\n";

std::string compose(const RecordBoxes& b, const ItemDeclarations& d) {
    auto r = composeRecord(b, d, platform::Cp932Encoder());
    if (auto* refusal = std::get_if<RecordRefusal>(&r))
        return *refusal == RecordRefusal::NegativeWidth ? "negative" : "does not fit";
    return std::get<std::string>(r);
}

} // namespace

TEST(Record, WorkedExampleAndLengths) {
    ASSERT_EQ(kExampleRecord.size(), 256u);
    EXPECT_EQ(compose(kBoxes, example()), kExampleRecord);

    // Comment 180 wide: two units, 254 blanks of fill.
    ItemDeclarations d = example();
    d.jwidth[7] = 180;
    EXPECT_EQ(compose(kBoxes, d), "does not fit"); // one unit cannot hold 256 bytes
    d.jrecw = 2;
    EXPECT_EQ(compose(kBoxes, d),
              kExampleRecord.substr(0, 80) + std::string(176 + 254, ' ') + "\r\n");

    // Items 0 to 3 only.
    d = example();
    d.jcount = 3;
    for (int i = 4; i <= 9; ++i)
        d.jwidth[i] = 0;
    EXPECT_EQ(compose(kBoxes, d), std::string(6, ' ') + "      65.5      1.65    59.895" +
                                      std::string(218, ' ') + "\r\n");

    // Items 8 and 9 are blank columns that count; items from 10 on have none.
    d = example();
    d.jwidth[8] = 100;
    d.jwidth[9] = 38;
    d.jwidth[10] = 500;
    EXPECT_EQ(compose(kBoxes, d), kExampleRecord);
    d.jwidth[9] = 39;
    EXPECT_EQ(compose(kBoxes, d), "does not fit");
}

TEST(Record, AlignmentTrimmingAndCuts) {
    struct Case {
        const char* name;
        const char16_t* flag;
        std::u16string_view text;
        double width;
        std::string column;
    };
    const Case cases[] = {
        {"R aligns right", u"R", u"65.5", 6, "  65.5"},
        {"r aligns right too", u"r", u"65.5", 6, "  65.5"},
        {"L aligns left", u"L", u"65.5", 6, "65.5  "},
        {"no flag aligns left", u"", u"65.5", 6, "65.5  "},
        {"RR aligns left", u"RR", u"65.5", 6, "65.5  "},
        {"spaces are not written", u"R", u"  65.5  ", 6, "  65.5"},
        {"spaces dropped before left alignment", u"", u"  walk  ", 6, "walk  "},
        {"the ideographic space stays", u"", u"\u3000w", 4, "\x81\x40w "},
        {"empty text gives blanks", u"R", u"", 3, "   "},
        {"blank text gives blanks", u"", u"   ", 3, "   "},
        {"wide column padded on the left", u"R", u"102.55", 10, "    102.55"},
        {"right-aligned text cut on the left", u"R", u"102.55", 4, "2.55"},
        {"left-aligned text cut on the right", u"x",
         u"0123456789012345678901234567890123456789abcde", 40,
         "0123456789012345678901234567890123456789"},
        {"width 7.5 rounds half to even: 8", u"R", u"123456789", 7.5, "23456789"},
        {"width 8.5 rounds half to even: 8", u"R", u"123456789", 8.5, "23456789"},
        {"width 8.6 rounds to 9", u"R", u"123456789", 8.6, "123456789"},
        // Cuts inside a double-byte character leave a blank; 亜 is 88 9F.
        {"right cut inside a double-byte character", u"R", u"亜亜", 3, " \x88\x9F"},
        {"left cut inside a double-byte character", u"", u"a体", 2, "a "},
        {"left cut between double-byte characters", u"", u"体重", 2, "\x91\xCC"},
        {"half-width katakana are one byte each", u"R", u"ｶﾙｸ", 2, "\xD9\xB8"},
        {"character outside code page 932 is ?", u"", u"한b", 3, "?b "},
        // Control characters are blanks: the record stays one line.
        {"pasted CR LF are two blanks", u"", u"a\r\nb", 5, "a  b "},
        {"TAB, NUL, ESC and DEL are blanks", u"", u"x\t\0\x1B\x7Fy"sv, 6, "x    y"},
        {"control characters at the ends go with the spaces", u"R", u"\r\n65.5\t\0"sv, 6, "  65.5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordBoxes b{};
        b[0] = c.text;
        b[1] = u"X";
        const std::string r = compose(b, columns({{c.width, c.flag}, {1, u""}}));
        ASSERT_EQ(r.size(), 256u);
        EXPECT_EQ(r.substr(6, c.column.size() + 1), c.column + "X");
    }
}

TEST(Record, WideColumnsAndRefusals) {
    // A field column takes at most its text and the 256 blanks of the block;
    // the fill still brings the record to its length.
    RecordBoxes b{};
    b[1] = u"X";
    std::string r = compose(b, columns({{300, u"R"}, {1, u""}}, 2));
    ASSERT_EQ(r.size(), 512u);
    EXPECT_EQ(r.substr(0, 263), std::string(262, ' ') + "X");
    b[0] = u"abc";
    r = compose(b, columns({{300, u""}, {1, u""}}, 2));
    EXPECT_EQ(r.substr(6, 260), "abc" + std::string(256, ' ') + "X");
    EXPECT_EQ(r.substr(510), "\r\n");

    // Widths 6 and 600 with two units: refused once the column needs 600.
    b = {};
    EXPECT_EQ(compose(b, columns({{600, u""}}, 2)).size(), 512u);
    b[0] = std::u16string(400, u'9');
    EXPECT_EQ(compose(b, columns({{600, u""}}, 2)), "does not fit");

    ItemDeclarations d = example();
    d.jwidth[3] = -1;
    EXPECT_EQ(compose(kBoxes, d), "negative");
    d = example();
    d.jwidth[9] = -1;
    EXPECT_EQ(compose(kBoxes, d), "negative");
    d = example();
    d.jrecw = 0; // declarations never read
    EXPECT_EQ(compose(kBoxes, d), "does not fit");
    // Widths no item file gives: not a number is refused; an infinite field
    // column takes its text and the blank block, like any wide one.
    d = example();
    d.jwidth[2] = std::nan("");
    EXPECT_EQ(compose(kBoxes, d), "negative");
    d = example();
    d.jwidth[7] = std::numeric_limits<double>::infinity();
    d.jrecw = 2;
    EXPECT_EQ(compose(kBoxes, d).substr(76, 261), "walk" + std::string(256, ' ') + " ");
}
