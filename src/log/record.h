// SPDX-License-Identifier: MIT
#pragma once
// Composing one fixed-width record of the log from the texts of one weighing.

#include "log/item_decl.h"

#include <array>
#include <string>
#include <string_view>
#include <variant>

namespace taiju {

// Turns text into the log's Shift_JIS bytes (code page 932).
class TextEncoder {
  public:
    virtual ~TextEncoder() = default;
    virtual std::string encode(std::u16string_view text) const = 0;
};

// Turns the log's Shift_JIS bytes back into text; an invalid byte becomes
// U+FFFD.
class TextDecoder {
  public:
    virtual ~TextDecoder() = default;
    virtual std::u16string decode(std::string_view bytes) const = 0;
};

// The seven texts of one weighing in the order of the record's columns 1 to
// 7: weight, height, standard weight, obesity degree, BMI, date stamp and
// comment.
using RecordBoxes = std::array<std::u16string, 7>;

enum class RecordRefusal {
    NegativeWidth, // a column of the item file has a negative width
    DoesNotFit,    // the columns need more than 256 × jrecw − 2 bytes
};

// Whether `c` is a control character (C0, from NUL to US, or DEL), which a
// record never holds: a CR or LF would end the line within it.
bool isControl(char16_t c);

// The text with every control character replaced by one blank, as a box
// holds it and a record writes it.
std::u16string blankControls(std::u16string text);

// The record's bytes, CR LF included, exactly 256 × jrecw long; or why it
// cannot be written. Control characters of the boxes are written as blanks
// (blankControls) before spaces at either end are cut off. Widths are used
// rounded half to even; a field column
// takes at most its text plus 256 blanks; a column edge inside a double-byte
// character puts a blank in place of the half character.
std::variant<std::string, RecordRefusal>
composeRecord(const RecordBoxes& boxes, const ItemDeclarations& decl, const TextEncoder& encoder);

// A declared width as the whole number of bytes it stands for: the nearest
// one, a half going to the even neighbour (7.5 gives 8, 8.5 gives 8).
double wholeWidth(double width);

// Whether an item's alignment flag puts its text at the right of its column.
bool rightAligned(std::u16string_view flag);

// Whether `byte` opens a two-byte character of code page 932. The one home
// of this rule: the conversion tables (text/cp932_tables.h) are built on it.
constexpr bool isLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

} // namespace taiju
