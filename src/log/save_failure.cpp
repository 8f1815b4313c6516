// SPDX-License-Identifier: MIT
#include "log/save_failure.h"

#include "log/paths.h"

namespace taiju {
namespace {

std::u16string decimal(int n) {
    const std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
}

} // namespace

std::u16string causeText(const FileFault& fault, std::u16string_view windowsPath, bool reading) {
    switch (fault.cause) {
    case FileCause::FolderMissing:
        return u"ﾌｫﾙﾀﾞがありません。";
    case FileCause::FileMissing:
        return u"ﾌｧｲﾙがありません。";
    case FileCause::NotAllowed:
        return reading ? u"読み取りが許可されていません。" : u"書き込みが許可されていません。";
    case FileCause::DiskFull:
        return u"ディスクに空きがありません。";
    case FileCause::IsFolder:
        return u"同じ名前のﾌｫﾙﾀﾞがあります。";
    case FileCause::TooLarge:
        return u"ﾌｧｲﾙの大きさが上限に達しています。";
    case FileCause::NoDrive:
        return u"ドライブ " + std::u16string(windowsPath.substr(0, 2)) + u" はありません。";
    case FileCause::BadName:
        return u"名前が長すぎるか、使えない文字があります。";
    case FileCause::Busy:
        return u"他のﾌﾟﾛｸﾞﾗﾑが使用中です。";
    case FileCause::NotAFile:
        return u"ﾌｧｲﾙではありません。";
    case FileCause::Other:
        break;
    }
    return fault.number != 0 ? u"ｼｽﾃﾑのエラーです（エラー番号 " + decimal(fault.number) + u"）。"
                             : u"ｼｽﾃﾑのエラーです。";
}

std::u16string saveFailureMessage(SaveStep step, std::u16string_view shown,
                                  std::u16string_view windowsPath, const FileFault& fault) {
    const bool reading = step == SaveStep::ReadTemplate || step == SaveStep::ReadItemFile;
    const std::u16string cause = causeText(fault, windowsPath, reading);
    // A file that another program holds is free again in a moment.
    const std::u16string whatToDo = fault.cause == FileCause::Busy
                                        ? u"しばらくしてからもう一度記入してください。"
                                        : kChooseAnotherFolder;
    switch (step) {
    case SaveStep::ReadTemplate:
        return u"雛形の項目ﾌｧｲﾙ" + quoted(shown) + u"を読めません。" + cause +
               u"\n記入していません。雛形をﾌﾟﾛｸﾞﾗﾑのﾌｫﾙﾀﾞに置き直してください。";
    case SaveStep::ReadItemFile:
        return u"項目ﾌｧｲﾙ" + quoted(shown) + u"を読めません。" + cause +
               u"\n記入していません（項目ﾌｧｲﾙはそのままです）。"
               u"項目ﾌｧｲﾙを読めるようにしてから記入してください。";
    case SaveStep::WriteItemFile:
        return u"項目ﾌｧｲﾙ" + quoted(shown) + u"を作れません。" + cause + u"\n記入していません。" +
               whatToDo;
    case SaveStep::AppendLog:
        return u"ﾌｧｲﾙ" + quoted(shown) + u"に記入できません。" + cause +
               u"\n記入していません（これまでの記録はそのままです）。" + whatToDo;
    case SaveStep::AppendLogPart:
        break;
    }
    // Left where another program's bytes may lie behind it; the next save
    // starts on a new line (appendBytes), so that the part stays a line of
    // its own.
    return u"ﾌｧｲﾙ" + quoted(shown) + u"への記入が途中で失敗しました。" + cause +
           u"\n記録の一部がﾌｧｲﾙの末尾に残っています（次の記入は新しい行から始めます）。" + whatToDo;
}

std::u16string itemFileUnreadableMessage(std::u16string_view shown) {
    return u"項目ﾌｧｲﾙ" + quoted(shown) + u"を読み込めません。記入していません。";
}

std::u16string recordRefusalMessage(RecordRefusal refusal, std::u16string_view shown) {
    return u"項目ﾌｧｲﾙ" + quoted(shown) +
           (refusal == RecordRefusal::NegativeWidth
                ? u"に負の桁数があります。記入していません。"
                : u"の桁数が1行の長さに収まりません。記入していません。");
}

std::u16string markNul(std::u16string_view path) {
    std::u16string marked;
    for (char16_t c : path) {
        if (c == u'\0')
            marked += u"<NUL>";
        else
            marked.push_back(c);
    }
    return marked;
}

std::u16string nulInPathMessage(std::u16string_view shown) {
    return u"保存先" + quoted(shown) +
           u"に、ﾌｧｲﾙ名に使えない文字（NUL）があります。\n記入していません。" +
           kChooseAnotherFolder;
}

} // namespace taiju
