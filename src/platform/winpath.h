// SPDX-License-Identifier: MIT
#pragma once
// Paths inside the tool keep the Windows form (drive letter, ":", "\"). This
// maps them onto the native file system where a file is touched: drive Z: is
// the root of the POSIX file system; other drives name nothing here.

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace taiju::platform {

// The native path of a Windows-form path, or nothing when it names no place
// on this platform (another drive, no drive at all, a NUL character in it).
// A drive-relative path (Z:name) is taken from the current directory.
std::optional<QString> toNative(std::u16string_view windowsPath);

// The Windows form of an absolute native path, or nothing when it cannot be
// written in that form (relative, or a component containing "\").
std::optional<std::u16string> toWindows(const QString& nativePath);

} // namespace taiju::platform
