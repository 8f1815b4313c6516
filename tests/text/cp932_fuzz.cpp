// SPDX-License-Identifier: MIT
// The code page 932 converter on arbitrary bytes and text: decoding and
// encoding go character by character, so that a replaced character or byte
// affects only itself; what is decoded is encoded back to the same text.

#include "support/fuzz.h"
#include "text/encoding.h"

#include <string>

using taiju::fuzz::require;

namespace {

bool highSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool lowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using taiju::platform::decodeCp932;
    using taiju::platform::encodeCp932;
    taiju::fuzz::Input in(data, size);
    const std::size_t split = in.byte();
    const std::string bytes = in.restAsBytes();

    // Decoding: at most one character per byte; a line feed, which no
    // two-byte code holds, parts the bytes into pieces decoded on their own.
    const std::u16string text = decodeCp932(bytes);
    require(text.size() <= bytes.size());
    const std::size_t at = bytes.empty() ? 0 : split % (bytes.size() + 1);
    const std::string a = bytes.substr(0, at), b = bytes.substr(at);
    require(decodeCp932(a + "\n" + b) == decodeCp932(a) + u"\n" + decodeCp932(b));

    // What was decoded comes back: each U+FFFD as "?", every other character
    // as a code that decodes to it.
    std::u16string expected = text;
    for (char16_t& c : expected)
        if (c == u'\uFFFD')
            c = u'?';
    require(decodeCp932(encodeCp932(text)) == expected);

    // Encoding: the bytes as UTF-16 text (any units, lone surrogates too) are
    // encoded one character at a time.
    std::u16string units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        units.push_back(static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) |
                                              static_cast<uint8_t>(bytes[i + 1]) << 8));
    std::string pieces;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const bool pair =
            highSurrogate(units[i]) && i + 1 < units.size() && lowSurrogate(units[i + 1]);
        pieces += encodeCp932(units.substr(i, pair ? 2 : 1));
        i += pair;
    }
    require(encodeCp932(units) == pieces);
    return 0;
}
