// SPDX-License-Identifier: MIT
// Form1's item-file methods: jinput reads the log's item file into the item
// declarations, joutput writes them back.

#include "log/itemfile.h"
#include "platform/files.h"
#include "ui/form1.h"
#include "ui_form1.h"

namespace taiju {

void Form1::jinput(const std::u16string& n, const std::u16string& drive, std::u16string& er) {
    er.clear();
    const auto text = platform::readText(itemFilePath(n, drive));
    const ItemRead read =
        text ? readItemFile(*text, state_.jmaxrec, state_) : ItemRead::ReadFailure;
    switch (read) {
    case ItemRead::Ok:
        return;
    case ItemRead::ReadFailure:
        services_.beeper.beep();
        break;
    case ItemRead::HeaderRejected:
        services_.beeper.beep();
        tell(kHeaderMessage, kHeaderTitle);
        break;
    case ItemRead::TooLong:
        tell(kLengthMessage, kLengthTitle);
        break;
    }
    er = u"error";
}

void Form1::joutput(const std::u16string& n, const std::u16string& drive) {
    if (!platform::writeLines(itemFilePath(n, drive), itemFileLines(state_))) {
        tell(kDiskErrorMessage, kDiskErrorTitle);
        weightBox()->setFocus();
    }
}

} // namespace taiju
