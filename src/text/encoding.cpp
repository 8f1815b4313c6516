// SPDX-License-Identifier: MIT
#include "text/encoding.h"

#include "log/record.h"

#include "text/cp932_tables.h"

#include <cstdint>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace taiju::platform {
namespace {

// Conversion runs on the two tables compiled in (cp932_tables.h), taken from
// Qt's "windows-31j" converter: what every code of the code page decodes to,
// and the code every character is written as. Only the
// pages of the tables that a text touches are ever read from the program
// file.
using cp932::kNotHere;
using cp932::kReplacement;
using cp932::kTables;

bool highSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool lowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// Text is converted through a small buffer appended to the result, so that
// the result's memory is written once.
constexpr std::size_t kChunk = 4096;

// Reserves room for a result of `units` units. A large one (a whole log)
// asks the kernel for huge pages first: faulting in tens of megabytes page
// by page otherwise costs more than the conversion itself.
template <class String> void reserveLarge(String& out, std::size_t units) {
    out.reserve(units);
#ifdef MADV_HUGEPAGE
    constexpr std::size_t kHuge = 2 * 1024 * 1024;
    const std::size_t bytes = units * sizeof(typename String::value_type);
    if (bytes >= 2 * kHuge) {
        const auto begin =
            (reinterpret_cast<std::uintptr_t>(out.data()) + kHuge - 1) & ~(kHuge - 1);
        const auto end = (reinterpret_cast<std::uintptr_t>(out.data()) + bytes) & ~(kHuge - 1);
        if (end > begin)
            ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
    }
#endif
}

} // namespace

std::string encodeCp932(std::u16string_view text) {
    const auto& code = kTables.code;
    std::string out;
    reserveLarge(out, text.size() * 2);
    char buffer[kChunk + 1];
    char* o = buffer;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (o >= buffer + kChunk - 1) {
            out.append(buffer, static_cast<std::size_t>(o - buffer));
            o = buffer;
        }
        const char16_t c = text[i];
        if (c < 0x80) {
            *o++ = static_cast<char>(c);
            continue;
        }
        const std::uint16_t k = code[c];
        if (k >= 0x100) {
            *o++ = static_cast<char>(k >> 8);
            *o++ = static_cast<char>(k & 0xFF);
        } else if (k != 0) {
            *o++ = static_cast<char>(k);
        } else {
            // One "?" per character: a surrogate pair is one character.
            *o++ = '?';
            if (highSurrogate(c) && i + 1 < text.size() && lowSurrogate(text[i + 1]))
                ++i;
        }
    }
    out.append(buffer, static_cast<std::size_t>(o - buffer));
    return out;
}

std::u16string decodeCp932(std::string_view bytes) {
    std::u16string out;
    reserveLarge(out, bytes.size());
    char16_t buffer[kChunk];
    char16_t* o = buffer;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        if (o == buffer + kChunk) {
            out.append(buffer, kChunk);
            o = buffer;
        }
        const char16_t c = kTables.single[*p];
        if (c != kNotHere) {
            *o++ = c;
            ++p;
            continue;
        }
        // A lead byte: with a second byte that can end a code, the pair is
        // one character (U+FFFD when it is none); otherwise the lead byte
        // alone is replaced. An ASCII second byte of a pair that is no
        // character stays a character of its own, so that no "@" or "A" of
        // the text is lost behind a stray lead byte.
        const char16_t two =
            p + 1 < end ? kTables.pair[(p[0] << 8 | p[1]) - cp932::kFirstPair] : kNotHere;
        if (two != kNotHere && !(two == kReplacement && p[1] < 0x80)) {
            *o++ = two;
            p += 2;
        } else {
            *o++ = kReplacement;
            ++p;
        }
    }
    out.append(buffer, static_cast<std::size_t>(o - buffer));
    return out;
}

} // namespace taiju::platform
