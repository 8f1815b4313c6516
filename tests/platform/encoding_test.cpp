#include "platform/encoding.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace taiju::platform;

namespace {

// Bytes as spaced hexadecimal, for readable failures.
std::string hex(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char b : bytes) {
        if (!out.empty())
            out.push_back(' ');
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 15]);
    }
    return out;
}

std::string codes(const std::u16string& text) {
    std::string out;
    for (char16_t c : text) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "%s%04X", out.empty() ? "" : " ", static_cast<unsigned>(c));
        out += buf;
    }
    return out;
}

TEST(Cp932, Available) {
    EXPECT_TRUE(cp932Available());
}

TEST(Cp932, EncodesMicrosoftVariant) {
    struct {
        const char16_t* text;
        const char* bytes;
    } cases[] = {
        {u"～", "81 60"},     // U+FF5E, not the wave dash
        {u"－", "81 7C"},     // U+FF0D
        {u"∥", "81 61"},      // U+2225
        {u"①", "87 40"},      // NEC special characters
        {u"髙", "FB FC"},     // IBM extension
        {u"ｱﾃﾞ", "B1 C3 DE"}, // half-width katakana, one byte each
        {u"\\", "5C"},
        {u"体重変化.txt", "91 CC 8F 64 95 CF 89 BB 2E 74 78 74"},
        // What code page 932 cannot hold is one "?" per character.
        {u"한", "3F"},
        {u"a😀b", "61 3F 62"}, // a surrogate pair is one character
        {u"〜", "3F"},        // U+301C, the wave dash
        {u"\xD800", "3F"},
        {u"\xDC00x", "3F 78"},
        {u"\xD83Dx", "3F 78"},
        {u"?", "3F"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(hex(encodeCp932(c.text)), c.bytes) << codes(c.text);
}

TEST(Cp932, RoundTrip) {
    const std::u16string text = u"65.5 体重(Kg) ～－∥①髙 ｶﾙｸ ｰ\\ \r\n日付,コメント";
    EXPECT_EQ(codes(decodeCp932(encodeCp932(text))), codes(text));
}

TEST(Cp932, InvalidBytesDecodeAsReplacement) {
    struct {
        std::string bytes;
        std::u16string text;
    } cases[] = {
        {"\x80", u"\uFFFD"},
        {"\xA0", u"\uFFFD"},
        {"\xFD\xFE\xFF", u"\uFFFD\uFFFD\uFFFD"},
        {"a\x82", u"a\uFFFD"},       // a lead byte at the end
        {"\x82\x0A", u"\uFFFD\n"},   // a lead byte before a line feed
        {"\x82\x7F", u"\uFFFD\x7F"}, // 0x7F is never a second byte
        {"\x85\x40z", u"\uFFFDz"},   // an unassigned pair is one character
        {std::string("\x1A\x00", 2), std::u16string(u"\x1A\0", 2)}, // genuine control bytes
        {"\x82\xA0\xB1", u"あｱ"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(codes(decodeCp932(c.bytes)), codes(c.text)) << hex(c.bytes);
}

} // namespace
