// SPDX-License-Identifier: MIT
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
        auto s = scanSettings(c.text, true);
        ASSERT_EQ(s.outcome, SettingsScan::Valid);
        EXPECT_TRUE(s.settings.folder == c.folder);
        EXPECT_TRUE(s.settings.file == c.file);
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
        EXPECT_EQ(scanSettings(c.text, true).outcome, SettingsScan::Invalid);
    }
}

TEST(Settings, DefaultLinesReadBack) {
    for (const char16_t* dir : {u"Z:\\opt\\taiju", u"Z:\\"}) {
        auto lines = defaultSettingsLines(dir);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_TRUE(lines[1] == u"体重変化.txt");
        auto s = scanSettings(lines[0] + u"\r\n" + lines[1] + u"\r\n", true);
        ASSERT_EQ(s.outcome, SettingsScan::Valid);
        EXPECT_TRUE(s.settings.folder == dir);
        EXPECT_TRUE(s.settings.file == u"体重変化.txt");
    }
}

// Reading only the start of the file gives the same settings as reading all
// of it, or asks for more: wherever the start is cut.
TEST(Settings, StartOfTheFileDecidesOrAsksForMore) {
    const char16_t* texts[] = {
        u"Z:\\data\r\nlog.txt\r\nmore\r\n",
        u"Z:\\data\r\nlog.txt",
        u"\"Z:\\a,b\"\r\n f \r\n",
        u"Z:\\a,b\r\nignored\r\n",
        u"Z:\\data\r\n   \r\nx\r\n",
        u"Z:\\data\r",
        u"data\r\nlog.txt\r\n",
    };
    for (const char16_t* text : texts) {
        const std::u16string all = text;
        const auto whole = scanSettings(all, true);
        for (std::size_t cut = 0; cut <= all.size(); ++cut) {
            SCOPED_TRACE(std::string(all.begin(), all.end()) + " cut at " + std::to_string(cut));
            const auto scan = scanSettings(all.substr(0, cut), cut == all.size());
            if (scan.outcome == SettingsScan::NeedMore) {
                EXPECT_LT(cut, all.size());
                continue;
            }
            ASSERT_EQ(scan.outcome, whole.outcome);
            if (whole.outcome == SettingsScan::Valid) {
                EXPECT_TRUE(scan.settings.folder == whole.settings.folder);
                EXPECT_TRUE(scan.settings.file == whole.settings.file);
            }
        }
    }
}

// A settings file of any size: read as far as its fields need, in growing
// starts, and never rewritten while valid. Fields that run on beyond the limit
// leave the file alone and the defaults in memory.
TEST(Settings, LargeFileReadOnlyAsFarAsNeeded) {
    struct {
        const char* name;
        std::u16string start; // then 'x' up to 40 MiB
        std::vector<std::size_t> reads;
        std::u16string folder, file;
    } cases[] = {
        {"valid, then 40 MiB", u"Z:\\data\r\nlog.txt\r\n", {4096}, u"Z:\\data", u"log.txt"},
        {"first field of 5000 characters",
         u"Z:\\" + std::u16string(4997, u'd') + u"\r\nlog.txt\r\n",
         {4096, 16384},
         u"Z:\\" + std::u16string(4997, u'd'),
         u"log.txt"},
        {"second field beyond the limit",
         u"Z:\\data\r\n",
         {4096, 16384, 65536, 100000},
         u"Z:\\app",
         u"体重変化.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t size = 40 * 1024 * 1024;
        std::vector<std::size_t> reads;
        int writes = 0;
        SettingsFile file{[&](const std::u16string& path, std::size_t bytes) {
                              EXPECT_TRUE(path == u"Z:\\app\\ostrel");
                              reads.push_back(bytes);
                              std::u16string text = c.start.substr(0, bytes);
                              text.resize(std::min(bytes, size), u'x');
                              return std::optional(SettingsStart{text, bytes >= size});
                          },
                          [&](const std::u16string&, const std::vector<std::u16string>&) {
                              ++writes;
                              return false;
                          },
                          100000};
        const Settings s = loadSettings(u"Z:\\app", file);
        EXPECT_EQ(reads, c.reads);
        EXPECT_EQ(writes, 0);
        EXPECT_TRUE(s.folder == c.folder);
        EXPECT_TRUE(s.file == c.file);
    }
}

} // namespace
