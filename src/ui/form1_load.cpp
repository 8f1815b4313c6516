// SPDX-License-Identifier: MIT
// Form1's start-up handler Form_Load: where the log lives, from the settings
// file beside the program.

#include "app/settings.h"
#include "log/itemfile.h"
#include "log/paths.h"
#include "platform/qtext.h"
#include "platform/settings_file.h"
#include "ui/form1.h"
#include "ui_form1.h"

namespace taiju {

void Form1::Form_Load() {
    const Settings s = loadSettings(services_.appDirectory.path(), platform::settingsFile());
    state_.strFOLDER = s.folder;
    state_.strFILE = s.file;
    logPathLabel()->setText(platform::qs(joinPath(state_.strFOLDER, state_.strFILE)));
    state_.jmaxrec = kMaxRecordUnits;
}

} // namespace taiju
