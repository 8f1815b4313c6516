#pragma once
// Finding the log at start-up: the settings file in the application
// directory, repaired with the defaults when it is missing or invalid.

#include "app/settings.h"

#include <optional>
#include <string>

namespace taiju {

// Reads "ostrel" in `appDir`. When it cannot be read or is invalid, writes it
// anew once with the application directory and "体重変化.txt" and reads it
// again; when that fails too, goes on with those values in memory. Never
// shows anything and never repairs twice. Without an application directory
// in the Windows form the folder is empty.
Settings loadSettings(const std::optional<std::u16string>& appDir);

} // namespace taiju
