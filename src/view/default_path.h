#pragma once
// The log that the main program writes to, found as its start-up finds it.

#include <optional>
#include <string>
#include <string_view>

namespace taiju::view {

// The log's path in the Windows form: the folder and the name that the
// settings file's text gives when it reads as valid, the application
// directory and "体重変化.txt" when it is missing (nothing) or invalid. The
// settings file is only read, never repaired.
std::u16string defaultLogPath(std::u16string_view appDir,
                              const std::optional<std::u16string>& settingsText);

} // namespace taiju::view
