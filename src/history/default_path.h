// SPDX-License-Identifier: MIT
#pragma once
// The log that the main program writes to, found as its start-up finds it.

#include "app/settings.h"

#include <string>

namespace taiju::view {

// The log's path in the Windows form: the folder and the name that the
// settings file in `appDir`, read by `read` as start-up reads it, gives when
// it reads as valid; the application directory and "体重変化.txt" when it is
// missing or invalid. The settings file is only read, never repaired.
std::u16string defaultLogPath(const std::u16string& appDir,
                              const decltype(SettingsFile::read)& read);

} // namespace taiju::view
