// SPDX-License-Identifier: MIT
#include "log/save_failure.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

using namespace taiju;

namespace {

std::string utf8(const std::u16string& s) {
    std::string out;
    for (char32_t c : s) { // every character here is in the BMP
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// The causes that need more than a fixed text.
TEST(SaveFailure, CauseTexts) {
    EXPECT_EQ(utf8(causeText({FileCause::NoDrive, 0}, u"C:\\data\\k.txt")),
              utf8(u"ドライブ C: はありません。"));
    EXPECT_EQ(utf8(causeText({FileCause::Other, EIO}, u"Z:\\x")),
              utf8(u"ｼｽﾃﾑのエラーです（エラー番号 5）。"));
    EXPECT_EQ(utf8(causeText({FileCause::NotAllowed, EACCES}, u"Z:\\x", true)),
              utf8(u"読み取りが許可されていません。"));
}

// Each message names the file as shown, its cause, that nothing was written,
// and what to do where choosing another folder helps.
TEST(SaveFailure, Messages) {
    const FileFault full{FileCause::DiskFull, ENOSPC};
    struct {
        const char* name;
        std::u16string message;
        const char16_t* expected;
    } cases[] = {
        {"template",
         saveFailureMessage(SaveStep::ReadTemplate, u"/opt/k.___", u"Z:\\opt\\k.___",
                            {FileCause::FileMissing, ENOENT}),
         u"雛形の項目ﾌｧｲﾙ「/opt/k.___」を読めません。ﾌｧｲﾙがありません。\n記入していません。"
         u"雛形をﾌﾟﾛｸﾞﾗﾑのﾌｫﾙﾀﾞに置き直してください。"},
        {"item file",
         saveFailureMessage(SaveStep::WriteItemFile, u"/d/k.txt", u"Z:\\d\\k.txt", full),
         u"項目ﾌｧｲﾙ「/d/k.txt」を作れません。ディスクに空きがありません。\n記入していません。"
         u"ﾌｫﾙﾀﾞ変更で保存先を選び直してください。"},
        {"log",
         saveFailureMessage(SaveStep::AppendLog, u"/d/体重変化.txt", u"Z:\\d\\体重変化.txt", full),
         u"ﾌｧｲﾙ「/d/体重変化.txt」に記入できません。ディスクに空きがありません。\n記入していません"
         u"（これまでの記録はそのままです）。ﾌｫﾙﾀﾞ変更で保存先を選び直してください。"},
        {"log, part left", saveFailureMessage(SaveStep::AppendLogPart, u"/d/l", u"Z:\\d\\l", full),
         u"ﾌｧｲﾙ「/d/l」への記入が途中で失敗しました。ディスクに空きがありません。\n"
         u"記録の一部がﾌｧｲﾙの末尾に残っています（次の記入は新しい行から始めます）。"
         u"ﾌｫﾙﾀﾞ変更で保存先を選び直してください。"},
        {"item file not readable",
         saveFailureMessage(SaveStep::ReadItemFile, u"/d/k.txt", u"Z:\\d\\k.txt",
                            {FileCause::NotAllowed, EACCES}),
         u"項目ﾌｧｲﾙ「/d/k.txt」を読めません。読み取りが許可されていません。\n記入していません"
         u"（項目ﾌｧｲﾙはそのままです）。項目ﾌｧｲﾙを読めるようにしてから記入してください。"},
        {"log busy",
         saveFailureMessage(SaveStep::AppendLog, u"/d/l", u"Z:\\d\\l", {FileCause::Busy, 11}),
         u"ﾌｧｲﾙ「/d/l」に記入できません。他のﾌﾟﾛｸﾞﾗﾑが使用中です。\n記入していません"
         u"（これまでの記録はそのままです）。しばらくしてからもう一度記入してください。"},
        {"NUL", nulInPathMessage(markNul(std::u16string(u"/d/a\0b\0", 7))),
         u"保存先「/d/a<NUL>b<NUL>」に、ﾌｧｲﾙ名に使えない文字（NUL）があります。\n記入していません。"
         u"ﾌｫﾙﾀﾞ変更で保存先を選び直してください。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(utf8(c.message), utf8(c.expected));
    }
}

} // namespace
