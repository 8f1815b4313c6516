// SPDX-License-Identifier: MIT
#include "app/settings.h"

#include "log/fields.h"
#include "log/paths.h"

#include <algorithm>

namespace taiju {
bool settingsValid(const Settings& s) {
    std::u16string_view folder = trimSpaces(s.folder);
    return folder.size() >= 2 && folder[1] == u':' && !trimSpaces(s.file).empty();
}

SettingsScan scanSettings(std::u16string_view start, bool whole) {
    FieldReader reader(start);
    auto folder = reader.next();
    auto file = folder ? reader.next() : std::nullopt;
    // Without a separator after the second field within the start, more of
    // the file may still belong to it (or to the first).
    if (!whole && (!file || reader.position() >= start.size()))
        return {SettingsScan::NeedMore, {}};
    if (!file)
        return {SettingsScan::Invalid, {}};
    Settings s{*folder, *file};
    if (!settingsValid(s))
        return {SettingsScan::Invalid, {}};
    return {SettingsScan::Valid, s};
}

std::vector<std::u16string> defaultSettingsLines(std::u16string_view appDir) {
    return {std::u16string(appDir), kDefaultLogName};
}

Settings loadSettings(const std::optional<std::u16string>& appDir, const SettingsFile& file) {
    if (!appDir)
        return Settings{std::u16string(), kDefaultLogName};
    const std::u16string path = joinPath(*appDir, kSettingsFileName);
    const Settings defaults{*appDir, kDefaultLogName};
    // More of the file, four times as much each time, until the two fields
    // are complete: a small file is read at once.
    auto readBack = [&]() -> SettingsScan {
        for (std::size_t bytes = 4096;; bytes *= 4) {
            auto start = file.read(path, std::min(bytes, file.readLimit));
            if (!start)
                return {SettingsScan::Invalid, {}};
            auto scan = scanSettings(start->text, start->whole);
            if (scan.outcome != SettingsScan::NeedMore)
                return scan;
            if (bytes >= file.readLimit)
                return {SettingsScan::NeedMore, defaults};
        }
    };
    auto scan = readBack();
    if (scan.outcome == SettingsScan::Invalid && file.write(path, defaultSettingsLines(*appDir)))
        scan = readBack();
    return scan.outcome == SettingsScan::Valid ? scan.settings : defaults;
}

} // namespace taiju
