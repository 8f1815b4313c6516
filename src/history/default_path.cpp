// SPDX-License-Identifier: MIT
#include "history/default_path.h"

#include "app/settings.h"
#include "log/paths.h"

namespace taiju::view {

std::u16string defaultLogPath(const std::u16string& appDir,
                              const decltype(SettingsFile::read)& read) {
    // A repair that never succeeds: start-up's defaults, the file untouched.
    const Settings s = loadSettings(appDir, {read, [](const auto&, const auto&) { return false; }});
    return joinPath(s.folder, s.file);
}

} // namespace taiju::view
