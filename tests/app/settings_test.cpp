#include "app/fields.h"
#include "app/paths.h"
#include "app/settings.h"

#include <gtest/gtest.h>

#include <optional>
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

TEST(Settings, Valid) {
    struct {
        const char16_t* text;
        const char16_t* folder;
        const char16_t* file;
    } cases[] = {
        {u"Z:\\data\\\r\n体重変化.txt\r\n", u"Z:\\data\\", u"体重変化.txt"},
        {u"Z:\\data\r\nlog.txt", u"Z:\\data", u"log.txt"},
        {u"\"Z:\\my data\"\r\nlog.txt\r\n", u"Z:\\my data", u"log.txt"},
        // A comma splits the first line; the second line is not read.
        {u"Z:\\a,b\r\nignored\r\n", u"Z:\\a", u"b"},
        {u"   Z:\\x\r\nf\r\nmore,fields\r\n", u"Z:\\x", u"f"},
        // Values are kept as read; only the check trims them.
        {u"\" Z:\\x\"\r\n\" f \"\r\n", u" Z:\\x", u" f "},
        {u"C:\\\r\nf", u"C:\\", u"f"},
    };
    for (const auto& c : cases) {
        auto s = parseSettings(c.text);
        ASSERT_TRUE(s.has_value()) << "case #" << (&c - cases);
        EXPECT_TRUE(s->folder == c.folder) << "case #" << (&c - cases);
        EXPECT_TRUE(s->file == c.file) << "case #" << (&c - cases);
    }
}

TEST(Settings, Invalid) {
    const char16_t* cases[] = {
        u"",
        u"Z:\\data\r\n",
        u"Z:\\data",
        u"\r\nlog.txt\r\n",
        u"\\\\server\\x\r\nlog.txt\r\n",
        u"data\r\nlog.txt\r\n",
        u"Z\r\nlog.txt\r\n",
        u":\\x\r\nlog.txt\r\n",
        u"Z:\\data\r\n   \r\n",
        u"Z:\\data\r\n\"  \"\r\n",
        u"Z:\\data,\r\n",
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_FALSE(parseSettings(cases[i]).has_value()) << "case #" << i;
}

TEST(Settings, DefaultLinesReadBack) {
    for (const char16_t* dir : {u"Z:\\opt\\taiju", u"Z:\\"}) {
        auto lines = defaultSettingsLines(dir);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_TRUE(lines[1] == u"体重変化.txt");
        auto s = parseSettings(lines[0] + u"\r\n" + lines[1] + u"\r\n");
        ASSERT_TRUE(s.has_value());
        EXPECT_TRUE(s->folder == dir);
        EXPECT_TRUE(s->file == u"体重変化.txt");
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
