// SPDX-License-Identifier: MIT
#include "log/record.h"

#include "log/fields.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace taiju {

double wholeWidth(double width) {
    return std::nearbyint(width);
}

namespace {

constexpr std::size_t kBlankBlock = 256;

// Offsets in `s` (valid code page 932) at which a character starts.
std::vector<bool> characterStarts(const std::string& s) {
    std::vector<bool> starts(s.size() + 1, false);
    std::size_t i = 0;
    while (i < s.size()) {
        starts[i] = true;
        i += (isLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
    }
    starts[s.size()] = true;
    return starts;
}

// One field column of width w, aligned right or left; see composeRecord.
std::string fieldColumn(const std::string& s, std::size_t w, bool right) {
    // The blank block is all the blanks a column can take.
    const std::size_t len = std::min(w, s.size() + kBlankBlock);
    if (len >= s.size()) {
        const std::string blanks(len - s.size(), ' ');
        return right ? blanks + s : s + blanks;
    }
    const std::vector<bool> starts = characterStarts(s);
    if (right) {
        const std::size_t cut = s.size() - len;
        std::string column = s.substr(cut);
        if (!starts[cut])
            column[0] = ' '; // second byte of a cut character
        return column;
    }
    std::string column = s.substr(0, len);
    if (!starts[len])
        column[len - 1] = ' '; // first byte of a cut character
    return column;
}

} // namespace

bool isControl(char16_t c) {
    return c < 0x20 || c == 0x7F;
}

std::u16string blankControls(std::u16string text) {
    std::replace_if(text.begin(), text.end(), isControl, u' ');
    return text;
}

bool rightAligned(std::u16string_view flag) {
    return flag == u"R" || flag == u"r";
}

std::variant<std::string, RecordRefusal>
composeRecord(const RecordBoxes& boxes, const ItemDeclarations& decl, const TextEncoder& encoder) {
    double widths[10];
    for (std::size_t k = 0; k < 10; ++k) {
        widths[k] = wholeWidth(decl.jwidth[k]);
        if (!(widths[k] >= 0)) // negative, or no number at all
            return RecordRefusal::NegativeWidth;
    }
    std::string texts[7];
    double needed = widths[0] + widths[8] + widths[9];
    for (std::size_t k = 0; k < 7; ++k) {
        texts[k] = encoder.encode(trimSpaces(blankControls(boxes[k])));
        // A field column takes at most its text and the blank block.
        widths[k + 1] = std::min(widths[k + 1], static_cast<double>(texts[k].size() + kBlankBlock));
        needed += widths[k + 1];
    }
    const double length = 256 * decl.jrecw;
    if (!(decl.jrecw >= 1) || needed > length - 2)
        return RecordRefusal::DoesNotFit;

    std::string record(static_cast<std::size_t>(widths[0]), ' ');
    for (std::size_t k = 0; k < 7; ++k)
        record += fieldColumn(texts[k], static_cast<std::size_t>(widths[k + 1]),
                              rightAligned(decl.jalign[k + 1]));
    record.append(static_cast<std::size_t>(widths[8]), ' ');
    record.append(static_cast<std::size_t>(widths[9]), ' ');
    record.append(static_cast<std::size_t>(length - 2) - record.size(), ' ');
    record += "\r\n";
    return record;
}

} // namespace taiju
