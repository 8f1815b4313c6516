#include "app/settings.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace taiju;

namespace {

TEST(Settings, Valid) {
    struct {
        const char* name;
        const char16_t* text;
        const char16_t* folder;
        const char16_t* file;
    } cases[] = {
        {"final backslash", u"Z:\\data\\\r\n体重変化.txt\r\n", u"Z:\\data\\", u"体重変化.txt"},
        {"no final line end", u"Z:\\data\r\nlog.txt", u"Z:\\data", u"log.txt"},
        {"quoted blank in folder", u"\"Z:\\my data\"\r\nlog.txt\r\n", u"Z:\\my data", u"log.txt"},
        // A comma splits the first line; the second line is not read.
        {"comma splits the first line", u"Z:\\a,b\r\nignored\r\n", u"Z:\\a", u"b"},
        {"blanks skipped, third line unread", u"   Z:\\x\r\nf\r\nmore,fields\r\n", u"Z:\\x", u"f"},
        // Values are kept as read; only the check trims them.
        {"quoted blanks kept as read", u"\" Z:\\x\"\r\n\" f \"\r\n", u" Z:\\x", u" f "},
        {"root of another drive", u"C:\\\r\nf", u"C:\\", u"f"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto s = parseSettings(c.text);
        ASSERT_TRUE(s.has_value());
        EXPECT_TRUE(s->folder == c.folder);
        EXPECT_TRUE(s->file == c.file);
    }
}

TEST(Settings, Invalid) {
    struct {
        const char* name;
        const char16_t* text;
    } cases[] = {
        {"empty text", u""},
        {"no file line", u"Z:\\data\r\n"},
        {"folder only, no line end", u"Z:\\data"},
        {"empty folder", u"\r\nlog.txt\r\n"},
        {"network path", u"\\\\server\\x\r\nlog.txt\r\n"},
        {"relative folder", u"data\r\nlog.txt\r\n"},
        {"drive letter without colon", u"Z\r\nlog.txt\r\n"},
        {"colon without drive letter", u":\\x\r\nlog.txt\r\n"},
        {"blank file name", u"Z:\\data\r\n   \r\n"},
        {"quoted blank file name", u"Z:\\data\r\n\"  \"\r\n"},
        {"comma leaves the file name empty", u"Z:\\data,\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(parseSettings(c.text).has_value());
    }
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
