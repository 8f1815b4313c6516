#include "app/startup.h"

#include "app/paths.h"
#include "platform/files.h"
#include "platform/qtext.h"
#include "ui/form1.h"
#include "ui_form1.h"

namespace taiju {
namespace {
std::optional<Settings> readSettings(const std::u16string& path) {
    auto text = platform::readText(path);
    return text ? parseSettings(*text) : std::nullopt;
}
} // namespace

Settings loadSettings(const std::optional<std::u16string>& appDir) {
    if (!appDir)
        return Settings{std::u16string(), kDefaultLogName};
    const std::u16string path = joinPath(*appDir, kSettingsFileName);
    if (auto s = readSettings(path))
        return *s;
    if (platform::writeLines(path, defaultSettingsLines(*appDir)))
        if (auto s = readSettings(path))
            return *s;
    return Settings{*appDir, kDefaultLogName};
}

void Form1::Form_Load() {
    const Settings s = loadSettings(services_.appDirectory.path());
    strFOLDER = s.folder;
    strFILE = s.file;
    ui_->lblFOLDER->setText(platform::qs(joinPath(strFOLDER, strFILE)));
    jmaxrec = 10;
}

} // namespace taiju
