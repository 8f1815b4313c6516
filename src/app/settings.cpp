#include "app/settings.h"

#include "log/fields.h"
#include "log/paths.h"

namespace taiju {
bool settingsValid(const Settings& s) {
    std::u16string_view folder = trimSpaces(s.folder);
    return folder.size() >= 2 && folder[1] == u':' && !trimSpaces(s.file).empty();
}

std::optional<Settings> parseSettings(std::u16string_view text) {
    FieldReader reader(text);
    auto folder = reader.next();
    if (!folder)
        return std::nullopt;
    auto file = reader.next();
    if (!file)
        return std::nullopt;
    Settings s{*folder, *file};
    if (!settingsValid(s))
        return std::nullopt;
    return s;
}

std::vector<std::u16string> defaultSettingsLines(std::u16string_view appDir) {
    return {std::u16string(appDir), kDefaultLogName};
}

Settings loadSettings(const std::optional<std::u16string>& appDir, const SettingsFile& file) {
    if (!appDir)
        return Settings{std::u16string(), kDefaultLogName};
    const std::u16string path = joinPath(*appDir, kSettingsFileName);
    auto readBack = [&]() -> std::optional<Settings> {
        auto text = file.read(path);
        return text ? parseSettings(*text) : std::nullopt;
    };
    if (auto s = readBack())
        return *s;
    if (file.write(path, defaultSettingsLines(*appDir)))
        if (auto s = readBack())
            return *s;
    return Settings{*appDir, kDefaultLogName};
}

} // namespace taiju
