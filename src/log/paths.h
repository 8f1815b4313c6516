#pragma once
// Joining a folder and a file name in the Windows form used for every path
// inside the tool.

#include <string>
#include <string_view>

namespace taiju {

// The folder, then "\" unless the folder already ends with "\", then the name.
std::u16string joinPath(std::u16string_view folder, std::u16string_view name);

// Whether `path` holds a NUL character, which no file name may hold: the
// system would take the name only up to it.
bool holdsNul(std::u16string_view path);

} // namespace taiju
