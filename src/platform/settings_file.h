// SPDX-License-Identifier: MIT
#pragma once
// The settings file "ostrel" on disk: start-up's reading and repair (the
// core's SettingsFile) over the files of this layer.

#include "app/settings.h"

namespace taiju::platform {

// Reads the start of the file as code page 932 text and writes it anew as
// CR LF lines, both by Windows-form paths.
SettingsFile settingsFile();

} // namespace taiju::platform
