// SPDX-License-Identifier: MIT
// The CSV of the viewer: RFC 4180 quoting, UTF-8, the header of item names.

#include "history/csv.h"
#include "text/encoding.h"

#include <gtest/gtest.h>

using namespace taiju;
using namespace taiju::view;

TEST(Csv, QuotesOnlyWhereNeeded) {
    struct Case {
        const char* name;
        std::u16string field;
        std::string csv;
    };
    const Case cases[] = {
        {"plain text stays", u"walk", "walk"},
        {"empty stays empty", u"", ""},
        {"blanks need no quotes", u" a b ", " a b "},
        {"a comma is quoted", u"a,b", "\"a,b\""},
        {"a quote is doubled", u"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"a lone quote", u"\"", "\"\"\"\""},
        {"CR is quoted", u"a\rb", "\"a\rb\""},
        {"LF is quoted", u"a\nb", "\"a\nb\""},
        {"Japanese in UTF-8", u"体重ｶﾙｸ",
         "\xE4\xBD\x93\xE9\x87\x8D\xEF\xBD\xB6\xEF\xBE\x99\xEF\xBD\xB8"},
        {"a pair of surrogates", u"\U0001F600", "\xF0\x9F\x98\x80"},
        {"a lone surrogate", std::u16string(1, char16_t(0xD800)), "\xEF\xBF\xBD"},
        {"a full-width comma is no separator", u"a，b",
         "a\xEF\xBC\x8C"
         "b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string out;
        appendCsvField(out, c.field);
        EXPECT_EQ(out, c.csv);
    }
}

TEST(Csv, HeaderThenOneLinePerRecordWithoutItemZero) {
    const platform::Cp932Decoder decoder;
    RecordReader reader(RecordLayout{{{0, 2}, {2, 4}, {6, 4}}, 254}, decoder);
    reader.append("xx65.5a,b \r\n  70  \"q\"\r\n");
    const std::vector<std::u16string> names{u"", u"体重(Kg)", u"メモ"};
    const std::string body = "\xE4\xBD\x93\xE9\x87\x8D(Kg),\xE3\x83\xA1\xE3\x83\xA2\r\n"
                             "65.5,\"a,b\"\r\n"
                             "70,\"\"\"q\"\"\"\r\n";
    EXPECT_EQ(csvText(names, reader.records(), CsvForm::Exact), body);
    EXPECT_EQ(csvText(names, reader.records(), CsvForm::Spreadsheet), "\xEF\xBB\xBF" + body);
}

TEST(Csv, SpreadsheetFormReadsNoFormulaButKeepsNumbers) {
    struct Case {
        const char* name;
        std::u16string field;
        std::string spreadsheet; // the exact form is the field itself, quoted as needed
    };
    const Case cases[] = {
        {"a formula", u"=1+1", "'=1+1"},
        {"a link", u"=HYPERLINK(\"http://x\")", "\"'=HYPERLINK(\"\"http://x\"\")\""},
        {"plus", u"+cmd", "'+cmd"},
        {"minus text", u"-walk", "'-walk"},
        {"minus sum", u"-1+1", "'-1+1"},
        {"at", u"@SUM(A1)", "'@SUM(A1)"},
        {"tab", u"\tx", "'\tx"},
        {"CR, quoted", u"\rx", "\"'\rx\""},
        {"a formula with a comma", u"=A1,2", "\"'=A1,2\""},
        {"negative number", u"-2.5", "-2.5"},
        {"signed integer", u"+3", "+3"},
        {"exponent", u"-1.5e+3", "-1.5e+3"},
        {"point first", u"-.5", "-.5"},
        {"a lone sign", u"-", "'-"},
        {"sign and point", u"-.", "'-."},
        {"exponent without digits", u"-1e", "'-1e"},
        {"full-width digits are text", u"-１", "'-\xEF\xBC\x91"},
        {"equals inside stays", u"a=b", "a=b"},
        {"a blank before is no formula", u" =1", " =1"},
        {"empty", u"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string spreadsheet, exact, plain;
        appendCsvField(spreadsheet, c.field, CsvForm::Spreadsheet);
        appendCsvField(exact, c.field, CsvForm::Exact);
        appendCsvField(plain, c.field);
        EXPECT_EQ(spreadsheet, c.spreadsheet);
        EXPECT_EQ(exact, plain);
        std::string unguarded = c.spreadsheet;
        if (const auto tick = unguarded.find('\''); tick <= 1 && tick != std::string::npos)
            unguarded.erase(tick, 1);
        EXPECT_EQ(exact, unguarded);
    }
}
