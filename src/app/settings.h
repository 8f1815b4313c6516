// SPDX-License-Identifier: MIT
#pragma once
// The settings file "ostrel": the folder and the file name of the log.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace taiju {

inline constexpr char16_t kSettingsFileName[] = u"ostrel";
inline constexpr char16_t kDefaultLogName[] = u"体重変化.txt";

struct Settings {
    std::u16string folder; // as read, untrimmed
    std::u16string file;
};

// True when the folder, trimmed of blanks, has ":" as its second character
// and the file name, trimmed of blanks, is not empty.
bool settingsValid(const Settings& s);

// The first two fields of the start of the file's text: Valid when both can
// be read and are valid. `whole` says whether the start is the whole text;
// NeedMore when the second field may go on beyond this start.
struct SettingsScan {
    enum { Valid, Invalid, NeedMore } outcome;
    Settings settings; // when Valid
};
SettingsScan scanSettings(std::u16string_view start, bool whole);

// The lines the repair writes: the application directory and the default name.
std::vector<std::u16string> defaultSettingsLines(std::u16string_view appDir);

// How start-up reaches the settings file: read the text of its first `bytes`
// bytes (nothing when it cannot be read) and whether that is the whole file,
// and write it anew as lines (false when that fails); and how much of it
// start-up reads at most.
struct SettingsStart {
    std::u16string text;
    bool whole = false;
};

// The most of the settings file that start-up reads to find its two fields.
// Fields that run on beyond it cannot be judged: start-up then goes on with
// the defaults in memory and leaves the file as it is.
inline constexpr std::size_t kSettingsReadLimit = 64 * 1024 * 1024;

struct SettingsFile {
    std::function<std::optional<SettingsStart>(const std::u16string& path, std::size_t bytes)> read;
    std::function<bool(const std::u16string& path, const std::vector<std::u16string>& lines)> write;
    std::size_t readLimit = kSettingsReadLimit;
};

// Reads "ostrel" in `appDir`, only as far as its two fields need, whatever
// the file's size. When it cannot be read or is invalid, writes it anew once
// with the application directory and "体重変化.txt" and reads it again; when
// that fails too, goes on with those values in memory. Never repairs twice.
// Without an application directory in the Windows form the folder is empty.
Settings loadSettings(const std::optional<std::u16string>& appDir, const SettingsFile& file);

} // namespace taiju
