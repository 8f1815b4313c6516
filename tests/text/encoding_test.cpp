// SPDX-License-Identifier: MIT
#include "text/encoding.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
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
        {"an unassigned pair is one character", "\x85\x9Fz", u"\uFFFDz"},
        {"an unassigned pair keeps its ASCII second byte", "\x85\x40\x61", u"\uFFFD@a"},
        {"the same at the end of the text", "\x85\x7E", u"\uFFFD~"},
        {"the kept byte, then a valid pair", "\x85\x40\x82\xA0", u"\uFFFD@あ"},
        {"genuine control bytes", std::string("\x1A\x00", 2), std::u16string(u"\x1A\0", 2)},
        {"valid pair, then half-width katakana", "\x82\xA0\xB1", u"あｱ"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(codes(decodeCp932(c.bytes)), codes(c.text));
    }
}

// Every character of code page 932, decoded from its code, is written back as
// a code that decodes to it again: its own code, or for a character that the
// code page holds twice, the code Windows writes (never the NEC-selected IBM
// rows ED and EE).
TEST(Cp932, EveryCharacterRoundTrips) {
    int characters = 0, otherCode = 0;
    std::set<char16_t> seen;
    auto check = [&](const std::string& code) {
        const std::u16string c = decodeCp932(code);
        if (c[0] == u'\uFFFD') {
            // No character: one replacement, and an ASCII second byte kept.
            const bool ascii = code.size() == 2 && static_cast<unsigned char>(code[1]) < 0x80;
            ASSERT_EQ(codes(c), codes(ascii ? u"\uFFFD" + std::u16string(1, code[1]) : u"\uFFFD"))
                << hex(code);
            return;
        }
        ASSERT_EQ(c.size(), 1u) << hex(code);
        ++characters;
        seen.insert(c[0]);
        const std::string back = encodeCp932(c);
        ASSERT_EQ(codes(decodeCp932(back)), codes(c)) << hex(code);
        if (back != code) {
            ++otherCode;
            ASSERT_EQ(back.size(), 2u) << hex(code);
            ASSERT_TRUE(static_cast<unsigned char>(back[0]) != 0xED &&
                        static_cast<unsigned char>(back[0]) != 0xEE)
                << hex(code);
        }
    };
    for (int b = 0; b < 0x100; ++b)
        if (b < 0x80 || (b >= 0xA1 && b <= 0xDF))
            check(std::string(1, static_cast<char>(b)));
    for (int lead = 0x81; lead <= 0xFC; ++lead)
        for (int trail = 0x40; trail <= 0xFC; ++trail)
            if ((lead <= 0x9F || lead >= 0xE0) && trail != 0x7F)
                check({static_cast<char>(lead), static_cast<char>(trail)});
    // 128 ASCII, 63 half-width katakana, 9604 double-byte codes (user-defined
    // area F040-F9FC included), of which 398 duplicate another code.
    EXPECT_EQ(characters, 128 + 63 + 9604);
    EXPECT_EQ(otherCode, 398);
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(characters - otherCode));
}

TEST(Cp932, DuplicatesWrittenAsWindowsDoes) {
    struct {
        const char* name;
        const char* code;
        const char* written;
    } cases[] = {
        {"NEC-selected IBM extension as IBM extension", "\xED\x40", "FA 5C"},
        {"not sign from the IBM rows as row 2", "\xFA\x54", "81 CA"},
        {"approximately equal from row 13 as row 2", "\x87\x90", "81 E0"},
        {"Roman numeral one from the IBM rows as row 13", "\xFA\x4A", "87 54"},
        {"small Roman numeral one from row EE as IBM", "\xEE\xEF", "FA 40"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(hex(encodeCp932(decodeCp932(c.code))), c.written);
    }
}

// The JIS forms that input methods type, written as code page 932's own.
TEST(Cp932, JisFormsWrittenAsTheirCounterparts) {
    struct {
        const char* name;
        const char16_t* text;
        const char* bytes;
        const char16_t* readBack;
    } cases[] = {
        {"wave dash", u"\u301C", "81 60", u"\uFF5E"},
        {"double vertical line", u"\u2016", "81 61", u"\u2225"},
        {"minus sign", u"\u2212", "81 7C", u"\uFF0D"},
        {"cent sign", u"\u00A2", "81 91", u"\uFFE0"},
        {"pound sign", u"\u00A3", "81 92", u"\uFFE1"},
        {"not sign", u"\u00AC", "81 CA", u"\uFFE2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(hex(encodeCp932(c.text)), c.bytes);
        EXPECT_EQ(codes(decodeCp932(encodeCp932(c.text))), codes(c.readBack));
    }
}

// A character the code page cannot hold, or a byte that is no character,
// is replaced alone: what stands before and after it is converted as if it
// were not there.
TEST(Cp932, ReplacementAffectsOnlyItself) {
    const std::u16string around[][2] = {
        {u"", u"体重"}, {u"体", u"重"}, {u"体重", u""}, {u"ｶﾙｸ", u"①髙～"}, {u"a", u"b"}};
    struct {
        const char* name;
        const char16_t* text;
        std::size_t characters;
    } unmappable[] = {
        {"emoji", u"😀", 1},
        {"Hangul", u"한", 1},
        {"lone high surrogate", u"\xD800", 1},
        {"lone low surrogate", u"\xDC00", 1},
        {"zero width joiner", u"\u200D", 1},
        {"two in a row", u"한😀", 2},
    };
    for (const auto& u : unmappable) {
        for (const auto& a : around) {
            SCOPED_TRACE(std::string(u.name) + " between " + codes(a[0]) + " and " + codes(a[1]));
            const std::u16string text = a[0] + u.text + a[1];
            EXPECT_EQ(hex(encodeCp932(text)),
                      hex(encodeCp932(a[0]) + std::string(u.characters, '?') + encodeCp932(a[1])));
        }
    }
    struct {
        const char* name;
        std::string bytes;
    } invalid[] = {
        {"unassigned pair", "\x85\x9F"},
        {"byte 80", "\x80"},
        {"byte A0", "\xA0"},
        {"byte FF", "\xFF"},
    };
    const std::string bytesAround[][2] = {{"", "\x91\xCC\x8F\x64"},
                                          {"\x91\xCC", "\x8F\x64"},
                                          {"\x91\xCC\x8F\x64", ""},
                                          {"\xB6\xD9", "\x87\x40z"}};
    for (const auto& b : invalid) {
        for (const auto& a : bytesAround) {
            SCOPED_TRACE(std::string(b.name) + " between " + hex(a[0]) + " and " + hex(a[1]));
            const std::u16string got = decodeCp932(a[0] + b.bytes + a[1]);
            EXPECT_EQ(codes(got), codes(decodeCp932(a[0]) + u"\uFFFD" + decodeCp932(a[1])));
        }
    }
}

} // namespace
