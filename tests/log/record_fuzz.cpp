// SPDX-License-Identifier: MIT
// Record composition over arbitrary declarations and boxes: a record is
// refused, or it is exactly 256 × jrecw bytes and ends in CR LF, with every
// column where the widths put it.

#include "log/fields.h"
#include "log/record.h"
#include "support/fuzz.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <variant>

using taiju::fuzz::require;

namespace {

// One byte for ASCII, two (a lead and a trail byte) for anything else, "?"
// for U+FFFF.
class TwoByteEncoder : public taiju::TextEncoder {
  public:
    std::string encode(std::u16string_view text) const override {
        std::string out;
        for (char16_t c : text) {
            if (c < 0x80)
                out += static_cast<char>(c);
            else if (c == 0xFFFF)
                out += '?';
            else
                out += {static_cast<char>(0x88), static_cast<char>(0x40 + c % 0xBC)};
        }
        return out;
    }
};

// Widths as the item file may declare them, and some it never does.
double width(taiju::fuzz::Input& in) {
    const uint8_t kind = in.byte();
    switch (kind % 8) {
    case 0:
        return std::numeric_limits<double>::infinity();
    case 1:
        return std::numeric_limits<double>::quiet_NaN();
    case 2:
        return -static_cast<double>(in.byte());
    case 3:
        return in.byte() + 0.5;
    case 4:
        return static_cast<double>(in.unit() % 100000);
    default:
        return static_cast<double>(in.byte() % 64);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    taiju::fuzz::Input in(data, size);
    taiju::ItemDeclarations decl;
    for (std::size_t k = 0; k < 10; ++k)
        decl.jwidth[k] = width(in);
    for (std::size_t k = 1; k <= 7; ++k)
        decl.jalign[k] = in.byte() & 1 ? u"R" : u"";
    const uint8_t units = in.byte();
    decl.jrecw = units < 250 ? units % 103 : units == 250 ? 0.5 : -1;
    taiju::RecordBoxes boxes;
    for (auto& box : boxes) {
        const std::size_t length = in.byte() % 40;
        for (std::size_t i = 0; i < length; ++i)
            box.push_back(in.unit());
    }

    const auto record = taiju::composeRecord(boxes, decl, TwoByteEncoder());
    const auto* bytes = std::get_if<std::string>(&record);
    if (!bytes)
        return 0;
    require(decl.jrecw >= 1);
    require(bytes->size() == static_cast<std::size_t>(256 * decl.jrecw));
    require(bytes->substr(bytes->size() - 2) == "\r\n");
    // One line: no control byte before the line end (this encoder's second
    // bytes are 0x40 and above).
    require(std::none_of(bytes->begin(), bytes->end() - 2,
                         [](char c) { return static_cast<unsigned char>(c) < 0x20; }));
    // Column 0 is blanks of its width, and so is everything after the
    // columns: the blank columns 8 and 9 and the fill.
    double columns = std::nearbyint(decl.jwidth[0]);
    require(bytes->find_first_not_of(' ') >= columns);
    for (std::size_t k = 1; k <= 7; ++k) {
        const std::size_t text =
            TwoByteEncoder().encode(taiju::trimSpaces(taiju::blankControls(boxes[k - 1]))).size();
        columns += std::min(std::nearbyint(decl.jwidth[k]), text + 256.0);
    }
    require(bytes->find_first_not_of(' ', static_cast<std::size_t>(columns)) == bytes->size() - 2);
    return 0;
}
