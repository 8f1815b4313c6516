// SPDX-License-Identifier: MIT
// The settings parser on arbitrary text: what it accepts is valid, and the
// start of the text, cut anywhere, either gives the same settings as the
// whole text or asks for more.

#include "app/settings.h"
#include "support/fuzz.h"

using taiju::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    taiju::fuzz::Input in(data, size);
    const std::u16string text = in.restAsUtf16();
    const auto whole = taiju::scanSettings(text, true);
    const bool valid = whole.outcome == taiju::SettingsScan::Valid;
    require(whole.outcome != taiju::SettingsScan::NeedMore);
    if (valid)
        require(taiju::settingsValid(whole.settings));
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        const auto scan = taiju::scanSettings(text.substr(0, cut), cut == text.size());
        if (scan.outcome == taiju::SettingsScan::NeedMore) {
            require(cut < text.size());
            continue;
        }
        require(scan.outcome == whole.outcome);
        if (valid)
            require(scan.settings.folder == whole.settings.folder &&
                    scan.settings.file == whole.settings.file);
    }
    return 0;
}
