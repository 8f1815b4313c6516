// SPDX-License-Identifier: MIT
#pragma once
// The two tables that code page 932 conversion runs on: what every byte and
// every two-byte code decodes to, and the code every character is written
// as. The programs use them compiled in (kTables, written once by
// taiju-cp932-gen from Qt's "windows-31j" converter, see cp932_qt.h), so
// that no converter is loaded when they run, and a build for Windows needs
// no Qt.

#include "log/record.h"

#include <cstdint>

namespace taiju::platform::cp932 {

inline constexpr char16_t kReplacement = u'\uFFFD';
// In the table of single bytes: the byte opens a two-byte code. In the table
// of pairs: the second byte cannot end a two-byte code.
inline constexpr char16_t kNotHere = u'\uFFFF';

// Lead bytes: taiju::isLeadByte (log/record.h).
constexpr bool trailByte(unsigned b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// The two-byte codes of the table of pairs: from the first lead byte's row
// to the last one's, (lead << 8 | second) - kFirstPair.
inline constexpr unsigned kFirstPair = 0x8100;
inline constexpr unsigned kPairs = 0xFD00 - kFirstPair;

struct Tables {
    // Byte -> character; kReplacement for a byte that is no character,
    // kNotHere for a lead byte.
    char16_t single[256];
    // Two-byte code -> character, meaningful in the rows of lead bytes;
    // kReplacement for a pair that is no character, kNotHere when the second
    // byte cannot end a code (and in the rows between the lead bytes).
    char16_t pair[kPairs];
    // Character (UTF-16 unit) -> code: 0 for none, below 0x100 one byte,
    // else two bytes. Code page 932 holds no character beyond the BMP.
    std::uint16_t code[65536];
};

// The compiled tables (cp932_tables.cpp beside this header).
extern const Tables kTables;

} // namespace taiju::platform::cp932
