// SPDX-License-Identifier: MIT
// The item file reader and writer on texts built here: the worked example of
// the format, the failures, the record-length rule, field cuts and odd input.

#include "log/itemfile.h"
#include "text/encoding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

using namespace taiju;

namespace {

const std::u16string kExample =
    u"100  ' 0,,, 7\r\n1000 ',\r\n1001 '体重(Kg),R\r\n1002 '身長(m),R\r\n"
    u"1003 '標準体重,R\r\n1004 '肥満度,R\r\n1005 'BMI,R\r\n1006 '日付,\r\n"
    u"1007 'コメント,\r\n2000 ' 6\r\n2001 ' 10\r\n2002 ' 10\r\n"
    u"2003 ' 10\r\n2004 ' 10\r\n2005 ' 10\r\n2006 ' 20\r\n2007 ' 40\r\n";

std::u16string joined(const std::vector<std::u16string>& lines) {
    std::u16string text;
    for (const auto& l : lines)
        text += l + u"\r\n";
    return text;
}

// An item file of the header field `h` and one item per width.
std::u16string fileWith(const std::u16string& h, const std::vector<std::u16string>& widths) {
    std::u16string t = u"100  ' 0,,," + h + u"\r\n";
    for (std::size_t i = 0; i < widths.size(); ++i)
        t += u"1000 'n,R\r\n";
    for (const auto& w : widths)
        t += u"2000 '" + w + u"\r\n";
    return t;
}

std::vector<std::u16string> repeated(std::size_t n, const std::u16string& w) {
    return std::vector<std::u16string>(n, w);
}

} // namespace

TEST(ItemFile, WorkedExampleReadsAndWritesBack) {
    ItemDeclarations st;
    st.jwidth[255] = 9; // left by an earlier read: cleared up to 255
    st.jwidth[256] = 5; // and kept above
    ASSERT_EQ(readItemFile(kExample, 10, st), ItemRead::Ok);
    EXPECT_EQ(st.jcount, 7);
    const std::u16string names[] = {u"",       u"体重(Kg)", u"身長(m)", u"標準体重",
                                    u"肥満度", u"BMI",      u"日付",    u"コメント"};
    const double widths[] = {6, 10, 10, 10, 10, 10, 20, 40};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(st.jname[i], names[i]) << i;
        EXPECT_EQ(st.jalign[i], i >= 1 && i <= 5 ? u"R" : u"") << i;
        EXPECT_EQ(st.jwidth[i], widths[i]) << i;
        EXPECT_EQ(st.jwidth2[i], widths[i]) << i;
    }
    for (int i = 8; i <= 255; ++i)
        EXPECT_EQ(st.jwidth[i], 0) << i;
    EXPECT_EQ(st.jwidth[256], 5);
    EXPECT_EQ(st.jrecw, 1);
    EXPECT_EQ(st.jrec, 1);

    const std::string written = platform::encodeCp932(joined(itemFileLines(st)));
    EXPECT_EQ(written, platform::encodeCp932(kExample));
    // The name is UTF-8: a path built from it opens the file on Windows too,
    // where a char* name would be read in the ANSI code page.
    std::ifstream f(std::filesystem::path(u8"" TAIJU_SOURCE_DIR "/resources/k体重変化.___"),
                    std::ios::binary);
    ASSERT_TRUE(f.is_open());
    EXPECT_EQ(written, std::string(std::istreambuf_iterator<char>(f), {}));
}

TEST(ItemFile, FailuresAndLengthRule) {
    struct Case {
        const char* name;
        std::u16string text;
        ItemRead want;
        double jcount, jrecw, jrec; // -9: not checked
    };
    // Sums 254, 255, 2558 and 2559, no width above 256.
    std::vector<std::u16string> w2558 = repeated(10, u" 255"), w2559 = w2558;
    w2558.push_back(u" 8");
    w2559.push_back(u" 9");
    const std::u16string item0 = u"1000 ',\r\n2000 ' 6\r\n";
    const Case cases[] = {
        {"single item 0 reads", u"100  ',,, 0\r\n1000 ',\r\n2000 ' 6", ItemRead::Ok, 0, 1, 1},
        {"header numbered 99", u"99   ' 0,,, 3\r\n" + item0, ItemRead::HeaderRejected, 3, 0, 0},
        {"apostrophe in column 5", u"100 ' 0,,, 3\r\n" + item0, ItemRead::HeaderRejected, 3, 0, 0},
        {"apostrophe 7th", u"100   ' 0,,, 3\r\n" + item0, ItemRead::HeaderRejected, 3, 0, 0},
        {"no apostrophe", u"100  ,,, 3\r\n" + item0, ItemRead::HeaderRejected, 3, 0, 0},
        {"negative item count", u"100  ',,,-1\r\n" + item0, ItemRead::HeaderRejected, -1, 0, 0},
        {"width line missing", u"100  ',,, 1\r\n1000 ',\r\n1001 ',\r\n2000 ' 6\r\n",
         ItemRead::ReadFailure, 1, 1, 1},
        {"text ends after the header", u"100  ' 0,,, 7\r\n", ItemRead::ReadFailure, 7, 0, 0},
        {"text ends inside the header", u"100  ' 0,,", ItemRead::ReadFailure, 0, 0, 0},
        {"empty text", u"", ItemRead::ReadFailure, 0, 0, 0},
        {"sum 254: one unit", fileWith(u" 1", repeated(2, u" 127")), ItemRead::Ok, 1, 1, 1},
        {"sum 255: two units", fileWith(u" 1", {u" 127", u" 128"}), ItemRead::Ok, 1, 2, 2},
        {"sum 2558: ten units", fileWith(u" 10", w2558), ItemRead::Ok, 10, 10, 10},
        {"sum 2559: too long", fileWith(u" 10", w2559), ItemRead::TooLong, 10, 11, 1},
        {"101 items, the most", fileWith(u" 100", repeated(101, u" 1")), ItemRead::Ok, 100, 1, 1},
        {"102 items", fileWith(u" 101", repeated(102, u" 1")), ItemRead::ReadFailure, 101, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ItemDeclarations st;
        EXPECT_EQ(readItemFile(c.text, 10, st), c.want);
        EXPECT_EQ(st.jcount, c.jcount);
        EXPECT_EQ(st.jrecw, c.jrecw);
        EXPECT_EQ(st.jrec, c.jrec);
    }
    // A rejected length keeps the new widths.
    ItemDeclarations st;
    readItemFile(fileWith(u" 10", w2559), 10, st);
    EXPECT_EQ(st.jwidth[9], 255);
    EXPECT_EQ(st.jwidth[10], 9);
    EXPECT_EQ(st.jwidth2[10], 9);
    // A smaller limit moves the test.
    EXPECT_EQ(readItemFile(fileWith(u" 1", {u" 127", u" 128"}), 1, st), ItemRead::TooLong);
}

TEST(ItemFile, FieldCutsAndOddInput) {
    ItemDeclarations st;
    const std::u16string name(300, u'名');
    ASSERT_EQ(readItemFile(u"100  ',,, 2\r\n1000 '" + name + u",R\r\n\"1001 'a,b\",r\r\n" +
                               u"1002 'x,  L\r\n2000 '123456\r\n2000 '\r\n2000 '4\r\n",
                           100, st), // room for the width 12345
              ItemRead::Ok);
    EXPECT_EQ(st.jname[0], std::u16string(248, u'名'));
    EXPECT_EQ(st.jname[1], u"a,b");
    EXPECT_EQ(st.jalign[1], u"r");
    EXPECT_EQ(st.jalign[2], u"L"); // blanks before a field are skipped
    EXPECT_EQ(st.jwidth[0], 12345);
    EXPECT_EQ(st.jwidth[1], 0);
    EXPECT_EQ(st.jwidth[2], 4);

    // 7.5 declares items 0 to 7: eight names, then eight widths.
    std::vector<std::u16string> w;
    for (int i = 1; i <= 8; ++i)
        w.push_back(u" " + std::u16string(1, char16_t(u'0' + i)));
    ItemDeclarations frac;
    EXPECT_EQ(readItemFile(fileWith(u" 7.5", w), 10, frac), ItemRead::Ok);
    EXPECT_EQ(frac.jwidth[0], 1);
    EXPECT_EQ(frac.jwidth[7], 8);
    EXPECT_EQ(frac.jwidth[8], 0);

    // Untrusted text: every outcome is a defined one, and what was read can
    // be written again within the bounds of the arrays. `any` holds every
    // byte value (a file of binary data); `plain` no separator or blank.
    std::string bytes, plainBytes;
    for (int i = 0; i < 512; ++i)
        bytes += char(i * 97 + 13);
    for (int b = 0x80; b <= 0x1FF; ++b)
        plainBytes += char(b > 0xFF ? 0x0E + b % 18 : b);
    const std::u16string any = platform::decodeCp932(bytes),
                         plain = platform::decodeCp932(plainBytes);
    const std::u16string plainItem = u"1000 '" + plain + u"," + plain + u"\r\n";
    struct Odd {
        const char* name;
        std::u16string text;
        ItemRead want;
    };
    const Odd odd[] = {
        {"huge count", fileWith(u"1e308", repeated(3, u" 1")), ItemRead::ReadFailure},
        {"infinite count", fileWith(u"1e999", repeated(3, u" 1")), ItemRead::ReadFailure},
        {"count minus zero", fileWith(u"-0", repeated(1, u" 1")), ItemRead::Ok},
        {"count nan reads as 0", fileWith(u"nan", repeated(1, u" 1")), ItemRead::Ok},
        {"infinite and huge widths", fileWith(u" 1", {u"1e999", u"1e308"}), ItemRead::TooLong},
        {"huge negative width", fileWith(u" 0", {u"-1e99"}), ItemRead::Ok},
        {"every byte value", any, ItemRead::HeaderRejected},
        {"no separator or blank", plain, ItemRead::ReadFailure},
        {"text ends in the names", u"100  '" + plain + u",,, 1\r\n" + plain, ItemRead::ReadFailure},
        {"odd names, flags and widths",
         u"100  '" + plain + u",,, 1\r\n" + plainItem + plainItem + u"2000 '" + plain + u"\r\n" +
             plain,
         ItemRead::Ok},
    };
    for (const auto& o : odd) {
        SCOPED_TRACE(o.name);
        ItemDeclarations s;
        EXPECT_EQ(readItemFile(o.text, 10, s), o.want);
        const auto lines = itemFileLines(s);
        const double items = std::isfinite(s.jcount) ? std::floor(std::min(s.jcount, 100.0)) : 100;
        EXPECT_EQ(lines.size(), s.jcount < 0 ? 1u : std::size_t(1 + 2 * (items + 1)));
    }
    ItemDeclarations s;
    readItemFile(odd[std::size(odd) - 1].text, 10, s);
    EXPECT_EQ(s.jname[1], plain.substr(0, 248));
    EXPECT_EQ(s.jalign[1], plain);
    EXPECT_EQ(s.jwidth[1], 0);
}

TEST(ItemFile, PathsNumbersAndRoundTrip) {
    EXPECT_EQ(itemFilePath(u"\\体重変化.txt", u"C"), u"C:\\k体重変化.txt");
    EXPECT_EQ(itemFilePath(u"体重変化.txt", u"C"), u"C:k体重変化.txt");
    EXPECT_EQ(itemFilePath(u"\\data\\体重変化.txt", u"C"), u"C:\\data\\k体重変化.txt");
    EXPECT_EQ(numberText(7), u" 7");
    EXPECT_EQ(numberText(-3), u"-3");
    EXPECT_EQ(numberText(10.25), u" 10.25");
    EXPECT_EQ(numberText(-0.0), u" 0");

    // 101 items come back unchanged; a state above 101 items is written as
    // its first 101 and declares 100.
    for (double count : {100.0, 150.0}) {
        ItemDeclarations st;
        st.jcount = count;
        for (int i = 0; i <= 100; ++i) {
            st.jname[i] = u"名前" + numberText(i);
            st.jalign[i] = i % 2 ? u"R" : u"";
            st.jwidth[i] = i % 20;
        }
        const auto lines = itemFileLines(st);
        EXPECT_EQ(lines.front(), u"100  ' 0,,, 100");
        EXPECT_EQ(lines[101], u"1100 '名前 100,");
        EXPECT_EQ(lines.back(), u"2100 ' 0");
        ItemDeclarations back;
        ASSERT_EQ(readItemFile(joined(lines), 10, back), ItemRead::Ok) << count;
        EXPECT_EQ(back.jcount, 100);
        EXPECT_EQ(back.jname, st.jname);
        EXPECT_EQ(back.jalign, st.jalign);
        EXPECT_EQ(back.jwidth, st.jwidth);
        EXPECT_EQ(back.jwidth2, st.jwidth);
    }
}
