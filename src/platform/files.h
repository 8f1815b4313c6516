#pragma once
// The files of the tool, named by Windows-form paths. Every function opens,
// uses and closes its file before it returns.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace taiju::platform {

// The whole text of a small file decoded from code page 932, or nothing when
// it cannot be opened or read (or is larger than 16 MiB).
std::optional<std::u16string> readText(std::u16string_view path);

// Creates the file, or empties it when it exists, and writes each line
// encoded in code page 932 and ended by CR LF. False when it fails.
bool writeLines(std::u16string_view path, const std::vector<std::u16string>& lines);

enum class AppendResult { Written, CannotOpen, WriteFailed };

// Appends `bytes` to the file in one write, creating the file when it is
// missing, and flushes it to disk. When the write fails or is short, the file
// is cut back to its earlier length, so that it never holds part of `bytes`.
AppendResult appendBytes(std::u16string_view path, std::string_view bytes);

// Copies the file `from` over the file `to` (replacing it). False when it fails.
bool copyFile(std::u16string_view from, std::u16string_view to);

} // namespace taiju::platform
