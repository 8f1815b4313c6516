// SPDX-License-Identifier: MIT
// Reading the log back: cuts by the declared widths, short and long lines,
// half characters at column edges, lines split at CR LF, a log that grows
// piece by piece, and records of the writer read back.

#include "log/record.h"
#include "log/record_reader.h"
#include "text/encoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace taiju;

namespace {

const platform::Cp932Decoder kDecoder;

// Declarations of item 0 and the given widths; flags "R" for the numbers.
ItemDeclarations declared(std::vector<double> widths, double jrecw = 1) {
    ItemDeclarations d;
    d.jcount = static_cast<double>(widths.size()) - 1;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        d.jwidth[i] = widths[i];
        if (i >= 1 && i <= 5)
            d.jalign[i].assign(1, u'R');
    }
    d.jrecw = jrecw;
    return d;
}

const ItemDeclarations kTemplate = declared({6, 10, 10, 10, 10, 10, 20, 40});

struct Read {
    std::vector<std::vector<std::u16string>> columns;
    std::vector<std::size_t> lines;
    std::vector<bool> irregular;
};

// Reads the log given in pieces; with `forget`, as the CSV export does:
// passes the complete records on after every piece and forgets them.
Read read(const ItemDeclarations& d, const std::vector<std::string>& pieces, bool forget = false) {
    RecordReader reader(*recordLayout(d), kDecoder);
    Read out;
    const LogRecords& r = reader.records();
    const auto take = [&](std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            out.columns.emplace_back();
            for (std::size_t k = 0; k < r.columnCount(); ++k)
                out.columns.back().emplace_back(r.text(i, k));
            out.lines.push_back(r.line(i).line);
            out.irregular.push_back(r.line(i).irregular);
        }
    };
    for (const auto& p : pieces) {
        reader.append(p);
        if (forget) {
            take(reader.completeRecords());
            reader.forgetCompleteRecords();
            std::size_t irregular = 0;
            for (std::size_t i = 0; i < r.size(); ++i)
                irregular += r.line(i).irregular;
            EXPECT_EQ(r.irregularCount(), irregular);
        }
    }
    take(r.size());
    return out;
}

const std::string kExample = std::string(6, ' ') +
                             "      65.5      1.65    59.895     9.358    24.059" +
                             "05-01-2003 07:30:00 walk" + std::string(36 + 138, ' ');

} // namespace

TEST(RecordReader, LayoutUsesTheWritersWidths) {
    const RecordLayout t = *recordLayout(kTemplate);
    ASSERT_EQ(t.columns.size(), 8u);
    EXPECT_EQ(t.columns[6].start, 56u);
    EXPECT_EQ(t.columns[7].start, 76u);
    EXPECT_EQ(t.lineLength, 254u);
    // Half to even, as composeRecord rounds: 7.5 gives 8, 8.5 gives 8.
    const RecordLayout h = *recordLayout(declared({7.5, 8.5, 1}, 2));
    EXPECT_EQ(h.columns[1].start, 8u);
    EXPECT_EQ(h.columns[2].start, 16u);
    EXPECT_EQ(h.lineLength, 510u);
    EXPECT_FALSE(recordLayout(declared({6, -1, 10})));
}

TEST(RecordReader, CutsOneLine) {
    struct Case {
        const char* name;
        std::vector<double> widths;
        double jrecw;
        std::string line;
        std::vector<std::u16string> columns;
        bool irregular;
    };
    const std::u16string none;
    const Case cases[] = {
        {"the worked example",
         {6, 10, 10, 10, 10, 10, 20, 40},
         1,
         kExample,
         {none, u"65.5", u"1.65", u"59.895", u"9.358", u"24.059", u"05-01-2003 07:30:00", u"walk"},
         false},
        {"a short line gives what is there",
         {1, 4, 4, 4},
         1,
         "x  65   1",
         {u"x", u"65", u"1", none},
         true},
        {"a long line is cut as declared",
         {1, 2, 2},
         1,
         "xab" + std::string(300, 'c'),
         {u"x", u"ab", u"cc"},
         true},
        {"blanks inside stay, ends are trimmed", {0, 7}, 1, "  a b  ", {none, u"a b"}, true},
        {"Shift_JIS and half-width katakana",
         {0, 4, 3},
         1,
         "\x91\xCC\x8F\x64\xB6\xD9\xB8",
         {none, u"体重", u"ｶﾙｸ"},
         true},
        // 亜 is 88 9F: cut in two, each half reads as U+FFFD in its own column.
        {"half characters at a column edge",
         {1, 3, 3},
         1,
         "xab\x88\x9F  ",
         {u"x", u"ab\uFFFD", u"\uFFFD"},
         true},
        {"a column of blanks is empty", {6, 10}, 1, std::string(16, ' '), {none, none}, true},
        {"a 512-byte record",
         {6, 10, 494},
         2,
         std::string(6, ' ') + "      65.5" + "note" + std::string(490, ' '),
         {none, u"65.5", u"note"},
         false},
        {"a 256-byte line in a 512-byte log", {6, 10}, 2, kExample, {none, u"65.5"}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Read r = read(declared(c.widths, c.jrecw), {c.line + "\r\n"});
        ASSERT_EQ(r.columns.size(), 1u);
        EXPECT_EQ(r.columns[0], c.columns);
        EXPECT_EQ(r.irregular[0], c.irregular);
    }
}

namespace {
std::string dup(const std::string& s, std::size_t n) {
    std::string out;
    for (std::size_t i = 0; i < n; ++i)
        out += s;
    return out;
}
std::vector<std::size_t> lineNumbers(std::size_t n) {
    std::vector<std::size_t> lines;
    for (std::size_t i = 1; i <= n; ++i)
        lines.push_back(i);
    return lines;
}
} // namespace

TEST(RecordReader, SplitsAtCrLfAndFollowsGrowth) {
    struct Case {
        const char* name;
        std::vector<std::string> pieces;
        std::vector<std::u16string> firstColumns;
        std::vector<std::size_t> lines;
    };
    const Case cases[] = {
        {"every line ends with CR LF", {"a\r\nb\r\n"}, {u"a", u"b"}, {1, 2}},
        {"a last line without CR LF is a record", {"a\r\nb"}, {u"a", u"b"}, {1, 2}},
        {"empty lines are no records but count", {"\r\na\r\n\r\nb\r\n"}, {u"a", u"b"}, {2, 4}},
        {"a lone CR or LF stays in the line", {"a\nb\rc\r\n"}, {u"a\nb\rc"}, {1}},
        {"a grown open line is read again, not twice",
         {"a\r\nb", "c\r\nd"},
         {u"a", u"bc", u"d"},
         {1, 2, 3}},
        {"CR and LF in separate pieces", {"a\r", "\nb\r\n"}, {u"a", u"b"}, {1, 2}},
        {"an open CR alone becomes an empty line", {"a\r\n\r", "\nb"}, {u"a", u"b"}, {1, 3}},
        {"byte by byte", {"a", "b", "\r", "\n", "c", "\r", "\n"}, {u"ab", u"c"}, {1, 2}},
        {"empty pieces change nothing", {"", "a\r\n", ""}, {u"a"}, {1}},
        {"a regular line split across pieces",
         {"abcde" + std::string(115, ' '), std::string(134, ' ') + "\r\nf"},
         {u"abcde", u"f"},
         {1, 2}},
        {"CR LF split after the kept bytes of a long line",
         {"x" + std::string(4000, ' ') + "\r", "\ny\r\n"},
         {u"x", u"y"},
         {1, 2}},
        {"a long open line grows past the kept bytes",
         {"x" + std::string(3000, 'z'), std::string(3000, 'z'), "\r\ny"},
         {u"xzzzz", u"y"},
         {1, 2}},
        {"hundreds of empty lines before a record",
         {dup("\r\n", 300) + "a\r\nb"},
         {u"a", u"b"},
         {301, 302}},
        {"more records than one block",
         {dup("c\r\n", 70)},
         std::vector<std::u16string>(70, u"c"),
         lineNumbers(70)},
    };
    for (const auto& c : cases) {
        for (const bool forget : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (forget ? ", forgetting every piece" : ""));
            const Read r = read(declared({5}), c.pieces, forget);
            std::vector<std::u16string> first;
            for (const auto& cols : r.columns)
                first.push_back(cols[0]);
            EXPECT_EQ(first, c.firstColumns);
            EXPECT_EQ(r.lines, c.lines);
        }
    }
}

TEST(RecordReader, ReadsBackWhatTheWriterComposed) {
    struct Case {
        const char* name;
        RecordBoxes boxes;
        std::vector<std::u16string> read; // items 1 to 7
    };
    const Case cases[] = {
        {"the worked example",
         {u"65.5", u"1.65", u"59.895", u"9.358", u"24.059", u"05-01-2003 07:30:00", u"walk"},
         {u"65.5", u"1.65", u"59.895", u"9.358", u"24.059", u"05-01-2003 07:30:00", u"walk"}},
        {"spaces around a text are not kept",
         {u" 65.5 ", u"", u"", u"", u"", u"", u"  朝 食後  "},
         {u"65.5", u"", u"", u"", u"", u"", u"朝 食後"}},
        {"texts longer than their columns come back cut",
         {u"1234567890123", u"", u"", u"", u"", u"", std::u16string(45, u'x')},
         {u"4567890123", u"", u"", u"", u"", u"", std::u16string(40, u'x')}},
        {"a character cut by the writer leaves a blank",
         {u"", u"", u"", u"", u"", u"",
          std::u16string(19, u'a') + u"体重体重体重体重体重体重体重体重体重体重体重"},
         {u"", u"", u"", u"", u"", u"", std::u16string(19, u'a') + u"体重体重体重体重体重"}},
        {"Japanese comment and the ideographic space",
         {u"70", u"1.7", u"", u"", u"", u"12-31-2025 23:59:59", u"\u3000ｳｫｰｷﾝｸﾞ 30分"},
         {u"70", u"1.7", u"", u"", u"", u"12-31-2025 23:59:59", u"\u3000ｳｫｰｷﾝｸﾞ 30分"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto record = composeRecord(c.boxes, kTemplate, platform::Cp932Encoder());
        const Read r = read(kTemplate, {std::get<std::string>(record)});
        ASSERT_EQ(r.columns.size(), 1u);
        EXPECT_FALSE(r.irregular[0]);
        EXPECT_EQ(std::vector<std::u16string>(r.columns[0].begin() + 1, r.columns[0].end()),
                  c.read);
    }
}

TEST(RecordReader, KeepsOfALongLineItsLengthAndStartOnly) {
    RecordReader reader(*recordLayout(kTemplate), kDecoder);
    const std::string start = "      " + std::string(10, '9');
    for (int i = 0; i < 64; ++i)
        reader.append(i == 0 ? start + std::string((1 << 20) - start.size(), '\0')
                             : std::string(1 << 20, '\0'));
    reader.append("\r\n");
    const LogRecords& r = reader.records();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r.line(0).length, std::size_t{64} << 20);
    EXPECT_TRUE(r.line(0).irregular);
    EXPECT_EQ(r.text(0, 1), u"9999999999");
    EXPECT_EQ(r.irregularCount(), 1u);
}

TEST(RecordReader, KeepsEveryShapeOfLineThroughManyChunks) {
    struct Case {
        const char* name;
        std::vector<double> widths;
        std::vector<std::string> lines; // repeated `times` times, "" an empty line
        std::size_t times;
    };
    const std::vector<double> ones(16, 1);
    const Case cases[] = {
        {"3-byte lines", {6, 10}, {"a"}, 100000},
        {"the longest short line and one byte more",
         {6, 10},
         {"b" + std::string(509, ' ') + "c", "b" + std::string(510, ' ') + "c"},
         2000},
        {"14 texts and 15, 511 bytes long",
         ones,
         {"abcdefghijklmn" + std::string(497, ' '), "abcdefghijklmno" + std::string(496, ' ')},
         2000},
        {"after an empty line", {6, 10}, {"", "a"}, 1000},
        {"regular and short lines", {6, 10}, {std::string(254, 'r'), "x  y"}, 3000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string log;
        std::vector<std::pair<std::size_t, const std::string*>> expected; // line number, text
        for (std::size_t t = 0, number = 1; t < c.times; ++t)
            for (const std::string& line : c.lines) {
                log += line + "\r\n";
                if (!line.empty())
                    expected.emplace_back(number, &line);
                ++number;
            }
        RecordReader reader(*recordLayout(declared(c.widths)), kDecoder);
        reader.append(log);
        const LogRecords& r = reader.records();
        ASSERT_EQ(r.size(), expected.size());
        for (std::size_t i = 0; i < r.size(); i += 1 + i % 997) {
            const std::string& line = *expected[i].second;
            EXPECT_EQ(r.line(i).line, expected[i].first) << i;
            EXPECT_EQ(r.line(i).length, line.size()) << i;
            EXPECT_EQ(r.line(i).irregular, line.size() != 254) << i;
            for (std::size_t k = 0, start = 0; k < c.widths.size(); start += c.widths[k++]) {
                std::string cut = start < line.size() ? line.substr(start, c.widths[k]) : "";
                cut.erase(0, cut.find_first_not_of(' '));
                cut.erase(cut.find_last_not_of(' ') + 1);
                EXPECT_EQ(r.text(i, k), std::u16string(cut.begin(), cut.end())) << i << ' ' << k;
            }
        }
    }
}
