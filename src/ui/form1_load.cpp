// Form1's start-up handler Form_Load: where the log lives, from the settings
// file beside the program.

#include "app/settings.h"
#include "log/itemfile.h"
#include "log/paths.h"
#include "platform/files.h"
#include "platform/qtext.h"
#include "ui/form1.h"
#include "ui_form1.h"

namespace taiju {

void Form1::Form_Load() {
    const Settings s = loadSettings(services_.appDirectory.path(),
                                    {platform::readSettingsStart, platform::writeLines});
    strFOLDER = s.folder;
    strFILE = s.file;
    ui_->lblFOLDER->setText(platform::qs(joinPath(strFOLDER, strFILE)));
    jmaxrec = kMaxRecordUnits;
}

} // namespace taiju
