// Form1's save button: Command2_Click ("｢体重変化.TXT｣ に記入"), one record of the
// boxes appended to the log.

#include "log/paths.h"
#include "log/record.h"
#include "platform/files.h"
#include "platform/qtext.h"
#include "ui/form1.h"
#include "ui_form1.h"

namespace taiju {

inline constexpr char16_t kTemplateName[] = u"k体重変化.___";
inline constexpr char16_t kSaveErrorTitle[] = u"記入エラー";

namespace {
std::u16string quoted(const std::u16string& path) {
    return u"「" + path + u"」";
}
} // namespace

void Form1::Command2_Click() {
    using platform::qs;
    using platform::u16;
    const std::u16string logPath = joinPath(strFOLDER, strFILE);
    const std::u16string drive = logPath.substr(0, 1);
    const std::u16string rest = logPath.size() > 2 ? logPath.substr(2) : std::u16string();
    const std::u16string itemPath = joinPath(strFOLDER, u"k" + strFILE);

    std::u16string er;
    jinput(rest, drive, er);
    if (er == u"error") {
        // Provision once from the template beside the program, then read again.
        const auto appDir = services_.appDirectory.path();
        const std::u16string templ = appDir ? joinPath(*appDir, kTemplateName) : kTemplateName;
        if (!appDir || !platform::copyFile(templ, itemPath)) {
            tell(u"項目ﾌｧｲﾙ" + quoted(itemPath) + u"を用意できません。\n雛形" + quoted(templ) +
                     u"をコピーできませんでした。記入していません。",
                 kSaveErrorTitle);
            return;
        }
        jinput(rest, drive, er);
        if (er == u"error") {
            tell(u"項目ﾌｧｲﾙ" + quoted(itemPath) + u"を読み込めません。記入していません。",
                 kSaveErrorTitle);
            return;
        }
    }

    const RecordBoxes boxes{u16(ui_->Text3->text()), u16(ui_->Text4->text()),
                            u16(ui_->Text1->text()), u16(ui_->Text2->text()),
                            u16(ui_->Text5->text()), u16(ui_->Text6->text()),
                            u16(ui_->Text7->text())};
    const auto record = composeRecord(boxes, *this, encoder_);
    if (const auto* refusal = std::get_if<RecordRefusal>(&record)) {
        tell(u"項目ﾌｧｲﾙ" + quoted(itemPath) +
                 (*refusal == RecordRefusal::NegativeWidth
                      ? u"に負の桁数があります。記入していません。"
                      : u"の桁数が1行の長さに収まりません。記入していません。"),
             kSaveErrorTitle);
        return;
    }

    const std::u16string target = u16(ui_->lblFOLDER->text());
    switch (platform::appendBytes(target, std::get<std::string>(record))) {
    case platform::AppendResult::Written:
        return;
    case platform::AppendResult::CannotOpen:
        tell(u"ﾌｧｲﾙ" + quoted(target) + u"を開けません。記入していません。", kSaveErrorTitle);
        return;
    case platform::AppendResult::WriteFailed:
        tell(u"ﾌｧｲﾙ" + quoted(target) +
                 u"に書き込めませんでした。記入していません（これまでの記録はそのままです）。",
             kSaveErrorTitle);
        return;
    }
}

} // namespace taiju
