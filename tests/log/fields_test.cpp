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
        const char16_t* text;
        V fields;
    } cases[] = {
        // Separators: comma, CR, LF, CR LF; LF CR is two line ends.
        {u"a,b\r\nc\rd\ne", V{u"a", u"b", u"c", u"d", u"e"}},
        {u"a\n\rb", V{u"a", u"", u"b"}},
        // Blanks and tabs before a field are skipped, after it dropped.
        {u"  \t a b \t,\tc  \r\nd", V{u"a b", u"c", u"d"}},
        // Quoted fields keep commas and blanks, lose the quotes and whatever
        // follows the closing quote on the way to the separator.
        {u"\"x,y\",z", V{u"x,y", u"z"}},
        {u"\" a \"", V{u" a "}},
        {u"\"q\"tail,z", V{u"q", u"z"}},
        {u"  \"q\" tail\r\nz", V{u"q", u"z"}},
        {u"\"open,to\r\nend", V{u"open,to\r\nend"}},
        // Empty fields: a blank line, a comma before the line end.
        {u"a\r\n\r\nb", V{u"a", u"", u"b"}},
        {u"a,\r\nb", V{u"a", u"", u"b"}},
        {u",", V{u""}},
        // The end of the text before a field begins ends the reading.
        {u"", V{}},
        {u"a\r\n", V{u"a"}},
        {u"体重変化.txt", V{u"体重変化.txt"}},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(allFields(c.text) == c.fields) << "case #" << (&c - cases);
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
