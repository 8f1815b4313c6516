// SPDX-License-Identifier: MIT
// Feeds arbitrary text to the item file reader, writes back what it read and
// lays out a record by it. Input starting with 0xFF is the rest as UTF-16LE
// units (names in any script); any other input is its bytes as Latin-1
// characters, so that an item file's own bytes are a seed as they stand.
// Breaks of the reader's promises abort, as a crash does.

#include "log/itemfile.h"
#include "log/record.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <variant>

namespace {

void require(bool promise) {
    if (!promise)
        std::abort();
}

// One byte for ASCII, two (a lead and a trail byte) for anything else.
class TwoByteEncoder : public taiju::TextEncoder {
  public:
    std::string encode(std::u16string_view text) const override {
        std::string out;
        for (char16_t c : text) {
            if (c < 0x80) {
                out += static_cast<char>(c);
            } else {
                out += static_cast<char>(0x88);
                out += static_cast<char>(0x9F);
            }
        }
        return out;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::u16string text;
    if (size > 0 && data[0] == 0xFF) {
        for (size_t i = 1; i + 1 < size; i += 2)
            text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    } else {
        text.assign(data, data + size);
    }

    taiju::ItemDeclarations decl;
    const taiju::ItemRead read = taiju::readItemFile(text, 10, decl);
    const auto lines = taiju::itemFileLines(decl);
    require(!lines.empty() && lines.size() <= 1 + 2 * 101);
    if (read != taiju::ItemRead::Ok)
        return 0;

    require(decl.jcount >= 0 && decl.jcount < 101);
    require(decl.jrec == decl.jrecw && decl.jrecw >= 1 && decl.jrecw <= 102);
    require(lines.size() == 3 + 2 * static_cast<size_t>(std::floor(decl.jcount)));
    for (size_t i = static_cast<size_t>(decl.jcount) + 1; i <= 255; ++i)
        require(decl.jwidth[i] == 0);

    // The boxes: a fixed text and a comment cut from the input.
    taiju::RecordBoxes boxes{u"65.5",
                             u"1.65",
                             u"59.895",
                             u"9.358",
                             u"24.059",
                             u"05-01-2003 07:30:00",
                             text.substr(0, 300)};
    const auto record = taiju::composeRecord(boxes, decl, TwoByteEncoder());
    if (const auto* bytes = std::get_if<std::string>(&record)) {
        require(bytes->size() == static_cast<size_t>(256 * decl.jrecw));
        require(bytes->substr(bytes->size() - 2) == "\r\n");
    }
    return 0;
}
