// SPDX-License-Identifier: MIT
#include "log/fields.h"
#include "log/paths.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace taiju;

namespace {

std::vector<std::u16string> allFields(std::u16string_view text) {
    FieldReader reader(text);
    std::vector<std::u16string> fields;
    while (auto f = reader.next()) {
        fields.push_back(*f);
        if (fields.size() > 100)
            break; // a reader that never ends
    }
    return fields;
}

TEST(FieldReader, Table) {
    using V = std::vector<std::u16string>;
    struct {
        const char* name;
        const char16_t* text;
        V fields;
    } cases[] = {
        // Separators: comma, CR, LF, CR LF; LF CR is two line ends.
        {"comma, CR LF, CR and LF separate", u"a,b\r\nc\rd\ne", V{u"a", u"b", u"c", u"d", u"e"}},
        {"LF CR is two line ends", u"a\n\rb", V{u"a", u"", u"b"}},
        // Blanks and tabs before a field are skipped, after it dropped.
        {"blanks and tabs around a field", u"  \t a b \t,\tc  \r\nd", V{u"a b", u"c", u"d"}},
        // Quoted fields keep commas and blanks, lose the quotes and whatever
        // follows the closing quote on the way to the separator.
        {"quoted field keeps its comma", u"\"x,y\",z", V{u"x,y", u"z"}},
        {"quoted field keeps its blanks", u"\" a \"", V{u" a "}},
        {"text after the closing quote dropped", u"\"q\"tail,z", V{u"q", u"z"}},
        {"blanks before the quote skipped, tail dropped", u"  \"q\" tail\r\nz", V{u"q", u"z"}},
        {"unclosed quote runs to the end", u"\"open,to\r\nend", V{u"open,to\r\nend"}},
        // Empty fields: a blank line, a comma before the line end.
        {"blank line is an empty field", u"a\r\n\r\nb", V{u"a", u"", u"b"}},
        {"comma before the line end leaves an empty field", u"a,\r\nb", V{u"a", u"", u"b"}},
        {"lone comma is one empty field", u",", V{u""}},
        // The end of the text before a field begins ends the reading.
        {"empty text has no field", u"", V{}},
        {"line end at the end of the text", u"a\r\n", V{u"a"}},
        {"Japanese file name is one field", u"体重変化.txt", V{u"体重変化.txt"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(allFields(c.text) == c.fields);
    }
}

TEST(JoinPath, OneBackslash) {
    EXPECT_TRUE(joinPath(u"Z:\\data\\", u"f.txt") == u"Z:\\data\\f.txt");
    EXPECT_TRUE(joinPath(u"Z:\\data", u"f.txt") == u"Z:\\data\\f.txt");
    EXPECT_TRUE(joinPath(u"Z:\\", u"体重変化.txt") == u"Z:\\体重変化.txt");
    EXPECT_TRUE(joinPath(u"", u"f.txt") == u"\\f.txt");
    EXPECT_TRUE(joinPath(u"Z:\\data/", u"f") == u"Z:\\data/\\f");
}

} // namespace
