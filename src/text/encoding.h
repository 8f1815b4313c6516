// SPDX-License-Identifier: MIT
#pragma once
// Text to and from code page 932 (Shift_JIS, Microsoft's variant), the
// encoding of every file the tool reads or writes.

#include "log/record.h"

#include <string>
#include <string_view>

namespace taiju::platform {

// Encodes `text`; a character that code page 932 cannot hold becomes one "?"
// (a surrogate pair is one character), and only that character. The JIS
// forms U+301C, U+2016, U+2212, U+00A2, U+00A3 and U+00AC are written as
// code page 932's counterparts 81 60, 81 61, 81 7C, 81 91, 81 92 and 81 CA.
std::string encodeCp932(std::u16string_view text);

// Decodes `bytes`; an invalid byte, a lead byte without its second byte, or a
// pair that is no character becomes one U+FFFD, and only that. Table-driven
// and fast enough for a whole log; the tables are compiled in, so the first
// call costs no more than any other.
std::u16string decodeCp932(std::string_view bytes);

class Cp932Encoder : public TextEncoder {
  public:
    std::string encode(std::u16string_view text) const override { return encodeCp932(text); }
};

class Cp932Decoder : public TextDecoder {
  public:
    std::u16string decode(std::string_view bytes) const override { return decodeCp932(bytes); }
};

} // namespace taiju::platform
