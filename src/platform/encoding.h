#pragma once
// Text to and from code page 932 (Shift_JIS, Microsoft's variant), the
// encoding of every file the tool reads or writes.

#include "log/record.h"

#include <string>
#include <string_view>

namespace taiju::platform {

// False on a Qt built without the converter; the program refuses to start then.
bool cp932Available();

// Encodes `text`; a character that code page 932 cannot hold becomes "?".
std::string encodeCp932(std::u16string_view text);

// Decodes `bytes`; an invalid byte, or a lead byte without its second byte,
// becomes U+FFFD.
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
