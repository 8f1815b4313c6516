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
        const char* name;
        const char16_t* text;
        const char* bytes;
    } cases[] = {
        {"full-width tilde, not the wave dash", u"～", "81 60"}, // U+FF5E
        {"full-width hyphen-minus", u"－", "81 7C"},             // U+FF0D
        {"parallel sign", u"∥", "81 61"},                        // U+2225
        {"NEC special character", u"①", "87 40"},
        {"IBM extension", u"髙", "FB FC"},
        {"half-width katakana, one byte each", u"ｱﾃﾞ", "B1 C3 DE"},
        {"backslash stays 5C", u"\\", "5C"},
        {"the log's file name", u"体重変化.txt", "91 CC 8F 64 95 CF 89 BB 2E 74 78 74"},
        // What code page 932 cannot hold is one "?" per character.
        {"Hangul syllable", u"한", "3F"},
        {"a surrogate pair is one character", u"a😀b", "61 3F 62"},
        {"the wave dash", u"〜", "3F"}, // U+301C
        {"lone high surrogate", u"\xD800", "3F"},
        {"lone low surrogate", u"\xDC00x", "3F 78"},
        {"high surrogate before a letter", u"\xD83Dx", "3F 78"},
        {"a question mark itself", u"?", "3F"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(hex(encodeCp932(c.text)), c.bytes);
    }
}

TEST(Cp932, RoundTrip) {
    const std::u16string text = u"65.5 体重(Kg) ～－∥①髙 ｶﾙｸ ｰ\\ \r\n日付,コメント";
    EXPECT_EQ(codes(decodeCp932(encodeCp932(text))), codes(text));
}

TEST(Cp932, InvalidBytesDecodeAsReplacement) {
    struct {
        const char* name;
        std::string bytes;
        std::u16string text;
    } cases[] = {
        {"0x80 is no character", "\x80", u"\uFFFD"},
        {"0xA0 is no character", "\xA0", u"\uFFFD"},
        {"FD, FE and FF one replacement each", "\xFD\xFE\xFF", u"\uFFFD\uFFFD\uFFFD"},
        {"a lead byte at the end", "a\x82", u"a\uFFFD"},
        {"a lead byte before a line feed", "\x82\x0A", u"\uFFFD\n"},
        {"0x7F is never a second byte", "\x82\x7F", u"\uFFFD\x7F"},
        {"an unassigned pair is one character", "\x85\x40z", u"\uFFFDz"},
        {"genuine control bytes", std::string("\x1A\x00", 2), std::u16string(u"\x1A\0", 2)},
        {"valid pair, then half-width katakana", "\x82\xA0\xB1", u"あｱ"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(codes(decodeCp932(c.bytes)), codes(c.text));
    }
}

} // namespace
