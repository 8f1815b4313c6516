// SPDX-License-Identifier: MIT
#pragma once
// Paths inside the tool: joining a folder and a file name in the Windows form,
// naming a log's item file, and quoting a path in a message.

#include <string>
#include <string_view>

namespace taiju {

// The folder, then "\" unless the folder already ends with "\", then the name.
std::u16string joinPath(std::u16string_view folder, std::u16string_view name);

// Whether `path` holds a NUL character, which no file name may hold: the
// system would take the name only up to it.
bool holdsNul(std::u16string_view path);

// The file name of the item file of the log named `logName`: "k" before it.
std::u16string itemFileName(std::u16string_view logName);

// A path or name in Japanese quotes 「」, as messages name files.
std::u16string quoted(std::u16string_view path);

} // namespace taiju
