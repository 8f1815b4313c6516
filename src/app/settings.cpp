#include "app/settings.h"

#include "app/fields.h"

namespace taiju {
namespace {
std::u16string_view trimBlanks(std::u16string_view s) {
    while (!s.empty() && s.front() == u' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == u' ')
        s.remove_suffix(1);
    return s;
}
} // namespace

bool settingsValid(const Settings& s) {
    std::u16string_view folder = trimBlanks(s.folder);
    return folder.size() >= 2 && folder[1] == u':' && !trimBlanks(s.file).empty();
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

} // namespace taiju
