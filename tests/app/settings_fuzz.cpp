// The settings parser on arbitrary text: what it accepts is valid, and the
// start of the text, cut anywhere, either gives the same settings as the
// whole text or asks for more.

#include "app/settings.h"
#include "support/fuzz.h"

using taiju::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    taiju::fuzz::Input in(data, size);
    const std::u16string text = in.restAsUtf16();
    const auto whole = taiju::parseSettings(text);
    if (whole)
        require(taiju::settingsValid(*whole));
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        const auto scan = taiju::scanSettings(text.substr(0, cut), cut == text.size());
        if (scan.outcome == taiju::SettingsScan::NeedMore) {
            require(cut < text.size());
            continue;
        }
        require((scan.outcome == taiju::SettingsScan::Valid) == whole.has_value());
        if (whole)
            require(scan.settings.folder == whole->folder && scan.settings.file == whole->file);
    }
    return 0;
}
