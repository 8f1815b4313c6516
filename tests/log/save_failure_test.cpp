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

// The system's error numbers and what the user reads about them.
TEST(SaveFailure, CauseOfErrorNumber) {
    struct {
        const char* name;
        int number;
        const char16_t* text;
    } cases[] = {
        {"folder missing", ENOENT, u"ﾌｫﾙﾀﾞがありません。"},
        {"a file on the way", ENOTDIR, u"ﾌｫﾙﾀﾞがありません。"},
        {"no permission", EACCES, u"書き込みが許可されていません。"},
        {"read-only file system", EROFS, u"書き込みが許可されていません。"},
        {"disk full", ENOSPC, u"ディスクに空きがありません。"},
        {"a folder where the file belongs", EISDIR, u"同じ名前のﾌｫﾙﾀﾞがあります。"},
        {"file-size limit", EFBIG, u"ﾌｧｲﾙの大きさが上限に達しています。"},
        {"name too long", ENAMETOOLONG, u"名前が長すぎるか、使えない文字があります。"},
        {"input/output error", EIO, u"ｼｽﾃﾑのエラーです（エラー番号 5）。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(utf8(causeText(faultOfErrorNumber(c.number), u"Z:\\x")), utf8(c.text));
    }
    EXPECT_EQ(utf8(causeText({FileCause::NoDrive, 0}, u"C:\\data\\k.txt")),
              utf8(u"ドライブ C: はありません。"));
}

// Each message names the file as shown, its cause, that nothing was written,
// and what to do where choosing another folder helps.
TEST(SaveFailure, Messages) {
    const FileFault full = faultOfErrorNumber(ENOSPC);
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
         u"記録の一部がﾌｧｲﾙの末尾に残っているかもしれません。ﾌｫﾙﾀﾞ変更で保存先を選び直してください"
         u"。"},
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
