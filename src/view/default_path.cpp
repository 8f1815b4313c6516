#include "view/default_path.h"

#include "app/settings.h"
#include "log/paths.h"

namespace taiju::view {

std::u16string defaultLogPath(std::u16string_view appDir,
                              const std::optional<std::u16string>& settingsText) {
    if (settingsText)
        if (const auto s = parseSettings(*settingsText))
            return joinPath(s->folder, s->file);
    return joinPath(appDir, kDefaultLogName);
}

} // namespace taiju::view
