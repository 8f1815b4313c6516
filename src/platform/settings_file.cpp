// SPDX-License-Identifier: MIT
#include "platform/settings_file.h"

#include "platform/files.h"

namespace taiju::platform {

SettingsFile settingsFile() {
    auto read = [](const std::u16string& path, std::size_t bytes) -> std::optional<SettingsStart> {
        auto start = readTextStart(path, bytes);
        if (!start)
            return std::nullopt;
        return SettingsStart{std::move(start->text), start->whole};
    };
    return {read, writeLines};
}

} // namespace taiju::platform
