// SPDX-License-Identifier: MIT
// Form1's save button: Command2_Click ("｢体重変化.TXT｣ に記入"), one record of the
// boxes appended to the log.

#include "log/itemfile.h"
#include "log/paths.h"
#include "log/record.h"
#include "log/save_failure.h"
#include "platform/files.h"
#include "platform/qtext.h"
#include "platform/winpath.h"
#include "ui/busy_wait.h"
#include "ui/form1.h"
#include "ui_form1.h"

#include <functional>

namespace taiju {

namespace {
// A path as the user knows it: the native form, or the Windows form where
// there is none (another drive).
std::u16string shown(const std::u16string& windowsPath) {
    const auto native = platform::toNative(windowsPath);
    return native ? platform::u16(*native) : windowsPath;
}
} // namespace

void Form1::Command2_Click() {
    using platform::u16;
    const std::u16string logPath = joinPath(state_.strFOLDER, state_.strFILE);
    const std::u16string drive = logPath.substr(0, 1);
    const std::u16string rest = logPath.size() > 2 ? logPath.substr(2) : std::u16string();
    const std::u16string itemPath = itemFilePath(rest, drive);
    const std::u16string target = u16(logPathLabel()->text());
    for (const std::u16string* path : {&logPath, &target}) {
        if (holdsNul(*path)) {
            tell(nulInPathMessage(shown(markNul(*path))), kSaveErrorTitle);
            return;
        }
    }

    std::u16string er;
    jinput(rest, drive, er);
    if (er == u"error") {
        // An item file that is there but cannot be read is kept: only a
        // missing or rejected one is replaced by the template.
        if (const auto fault = platform::readFault(itemPath);
            fault && fault->cause != FileCause::FileMissing) {
            tell(saveFailureMessage(SaveStep::ReadItemFile, shown(itemPath), itemPath, *fault),
                 kSaveErrorTitle);
            return;
        }
        // Provision once from the template beside the program, then read again.
        const auto appDir = services_.appDirectory.path();
        const std::u16string templ =
            appDir ? joinPath(*appDir, kTemplateItemFile) : kTemplateItemFile;
        const auto failed = appDir ? platform::copyFile(templ, itemPath)
                                   : platform::CopyFault{{FileCause::BadName, 0}, true};
        if (failed) {
            const std::u16string& path = failed->atSource ? templ : itemPath;
            tell(saveFailureMessage(failed->atSource ? SaveStep::ReadTemplate
                                                     : SaveStep::WriteItemFile,
                                    shown(path), path, failed->fault),
                 kSaveErrorTitle);
            return;
        }
        jinput(rest, drive, er);
        if (er == u"error") {
            tell(itemFileUnreadableMessage(shown(itemPath)), kSaveErrorTitle);
            return;
        }
    }

    const RecordBoxes boxes{
        u16(weightBox()->text()),  u16(heightBox()->text()), u16(standardWeightBox()->text()),
        u16(obesityBox()->text()), u16(bmiBox()->text()),    u16(dateBox()->text()),
        u16(commentBox()->text())};
    const auto record = composeRecord(boxes, state_, encoder_);
    if (const auto* refusal = std::get_if<RecordRefusal>(&record)) {
        tell(recordRefusalMessage(*refusal, shown(itemPath)), kSaveErrorTitle);
        return;
    }

    BusyWait waiting(this);
    const auto appended =
        platform::appendBytes(target, std::get<std::string>(record), std::ref(waiting));
    if (!appended.written())
        tell(saveFailureMessage(appended.partLeft ? SaveStep::AppendLogPart : SaveStep::AppendLog,
                                shown(target), target, *appended.fault),
             kSaveErrorTitle);
}

} // namespace taiju
