#include "app/settings.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace taiju;

namespace {

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

} // namespace
