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
    EXPECT_EQ(csvText(names, reader.records(), false), body);
    EXPECT_EQ(csvText(names, reader.records(), true), "\xEF\xBB\xBF" + body);
}
