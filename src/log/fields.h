// SPDX-License-Identifier: MIT
#pragma once
// Reading a text file field by field, as the settings file and the item file
// are read.

#include <optional>
#include <string>
#include <string_view>

namespace taiju {

// `s` without the spaces (U+0020) at its start and end.
std::u16string_view trimSpaces(std::u16string_view s);

// Fields are separated by commas and line ends (CR, LF or CR LF). Blanks and
// tabs in front of a field are skipped. A field that opens with a double
// quote runs to the next double quote (or to the end of the text when none
// follows); the quotes are not part of the value, and whatever stands between
// the closing quote and the next separator is dropped. An unquoted field loses
// its trailing blanks and tabs. A blank line gives an empty field.
class FieldReader {
  public:
    explicit FieldReader(std::u16string_view text) : text_(text) {}

    // The next field, or nothing when the text ends before a field begins.
    std::optional<std::u16string> next();

    // Where the next field begins: after the separator of the last field
    // read, or the end of the text when that field ran to it.
    std::size_t position() const { return pos_; }

  private:
    void endField();
    std::u16string_view text_;
    std::size_t pos_ = 0;
};

} // namespace taiju
