// SPDX-License-Identifier: MIT
#pragma once
// Why a file of a save could not be used, and what the save's message box
// says about it: the file concerned, the cause in Japanese, that nothing was
// written, and what to do.

#include "log/record.h"

#include <string>
#include <string_view>

namespace taiju {

inline constexpr char16_t kSaveErrorTitle[] = u"記入エラー";
inline constexpr char16_t kChooseAnotherFolder[] = u"ﾌｫﾙﾀﾞ変更で保存先を選び直してください。";

enum class FileCause {
    FolderMissing, // the folder (or a folder on the way) does not exist
    FileMissing,   // the file to read does not exist
    NotAllowed,    // no permission, or a read-only file system
    DiskFull,      // no space left, or the disk quota is used up
    IsFolder,      // a folder stands where the file belongs
    TooLarge,      // the file would grow beyond the file-size limit
    NoDrive,       // a drive letter that names nothing on this system
    BadName,       // a name too long, or holding a character no name may hold
    Busy,          // another program kept the file locked
    NotAFile,      // a device or pipe where the file belongs
    Other,         // anything else; the system's error number is shown
};

struct FileFault {
    FileCause cause = FileCause::Other;
    int number = 0; // the system's error number, 0 when none
};

// The cause as one Japanese sentence. `windowsPath` names the file, for the
// drive letter of NoDrive; `reading` tells a file that could not be read
// from one that could not be written, for NotAllowed.
std::u16string causeText(const FileFault& fault, std::u16string_view windowsPath,
                         bool reading = false);

// Which file of a save failed. `shown` is the path as the user sees it (the
// native form where there is one), `windowsPath` the path inside the tool.
enum class SaveStep {
    ReadTemplate,  // the template item file beside the program
    ReadItemFile,  // the log's item file, there but not readable: kept as it is
    WriteItemFile, // the item file copied from the template
    AppendLog,     // the log; nothing of the record is in it
    AppendLogPart, // the log; part of the record stayed at its end
};

std::u16string saveFailureMessage(SaveStep step, std::u16string_view shown,
                                  std::u16string_view windowsPath, const FileFault& fault);

// The item file `shown` still does not read after it was copied from the
// template.
std::u16string itemFileUnreadableMessage(std::u16string_view shown);

// The item file `shown` declares columns that no record can hold.
std::u16string recordRefusalMessage(RecordRefusal refusal, std::u16string_view shown);

// A path with each NUL character written as "<NUL>", so that it can be shown.
std::u16string markNul(std::u16string_view path);

// The message for a path that held a NUL character, which no file name may
// hold; `shown` is that path marked by markNul, as the user knows it.
std::u16string nulInPathMessage(std::u16string_view shown);

} // namespace taiju
