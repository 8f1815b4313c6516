#include "platform/encoding.h"

#include "log/record.h"

#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <cstdint>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

namespace taiju::platform {
namespace {

constexpr char kCodec[] = "windows-31j";

// Conversion runs on two tables built once, on first use, from Qt's converter:
// what every code of the code page decodes to, and the code every character
// is written as. Qt's converter is not used on the text itself, because it
// maps an unmappable character to FC FC (no character of code page 932),
// reads invalid bytes as U+001A or drops them, swaps the control bytes 1A,
// 1C and 7F, and once it has met an error it keeps reporting one.

constexpr char16_t kReplacement = u'\uFFFD';
// In the table of single bytes: the byte opens a two-byte code. In the table
// of pairs: the second byte cannot end a two-byte code.
constexpr char16_t kNotHere = u'\uFFFF';

bool leadByte(unsigned b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
bool trailByte(unsigned b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// What each byte and each two-byte code decodes to.
struct DecodeTables {
    // Byte -> character; kReplacement for a byte that is no character,
    // kNotHere for a lead byte.
    char16_t single[256];
    // (lead << 8 | second) -> character, filled for the lead bytes only;
    // kReplacement for a pair that is no character, kNotHere when the second
    // byte cannot end a code.
    char16_t pair[65536];
    bool available;
};

// Character -> code: 0 for none, below 0x100 one byte, else two bytes.
struct EncodeTables {
    std::uint16_t code[65536];
};

// Every two-byte code, each followed by a line feed (never a byte of a
// two-byte code), decoded in one call; the line feeds cut the result into
// one piece per code, so that an invalid code cannot disturb the others.
bool fillDecode(DecodeTables& t) {
    for (unsigned b = 0; b < 256; ++b) {
        if (b < 0x80)
            t.single[b] = static_cast<char16_t>(b); // ASCII is itself
        else if (b >= 0xA1 && b <= 0xDF)
            t.single[b] = static_cast<char16_t>(0xFF61 + (b - 0xA1)); // half-width katakana
        else
            t.single[b] = leadByte(b) ? kNotHere : kReplacement;
    }
    std::string all;
    all.reserve(11280 * 3);
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!leadByte(lead))
            continue;
        for (unsigned second = 0; second < 256; ++second) {
            t.pair[lead << 8 | second] = trailByte(second) ? kReplacement : kNotHere;
            if (trailByte(second)) {
                all.push_back(static_cast<char>(lead));
                all.push_back(static_cast<char>(second));
                all.push_back('\n');
            }
        }
    }
    QStringDecoder decoder(kCodec, QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        return false;
    const QString text = decoder.decode(QByteArrayView(all.data(), qsizetype(all.size())));
    const char16_t* p = reinterpret_cast<const char16_t*>(text.utf16());
    const char16_t* end = p + text.size();
    for (std::size_t i = 0; i < all.size(); i += 3) {
        const char16_t* piece = p;
        while (p < end && *p != u'\n')
            ++p;
        if (p == end) // the pieces did not come out one per code
            return false;
        if (p - piece == 1 && *piece != kReplacement && *piece != 0x1A)
            t.pair[static_cast<unsigned char>(all[i]) << 8 |
                   static_cast<unsigned char>(all[i + 1])] = *piece;
        ++p;
    }
    return true;
}

// The code each decoded character is written as. A character that two codes
// decode to is written as the code that Qt's converter chooses for it, which
// is the one Windows writes; those characters are asked for in one call, one
// per line.
void fillEncode(const DecodeTables& d, EncodeTables& t) {
    for (unsigned b = 0; b < 0x80; ++b)
        t.code[b] = static_cast<std::uint16_t>(b);
    for (unsigned b = 0xA1; b <= 0xDF; ++b)
        t.code[d.single[b]] = static_cast<std::uint16_t>(b);
    std::u16string twice; // each character held twice, then a line feed
    for (unsigned c = 0x8100; c < 65536; ++c) {
        const char16_t ch = d.pair[c];
        if (!leadByte(c >> 8) || ch == kReplacement || ch == kNotHere)
            continue;
        if (t.code[ch] == 0) {
            t.code[ch] = static_cast<std::uint16_t>(c);
        } else if (twice.find(ch) == std::u16string::npos) {
            twice.push_back(ch);
            twice.push_back(u'\n');
        }
    }
    QStringEncoder encoder(kCodec, QStringConverter::Flag::Stateless);
    const QByteArray chosen = encoder.encode(QStringView(twice.data(), qsizetype(twice.size())));
    qsizetype at = 0;
    for (std::size_t i = 0; i < twice.size(); i += 2) {
        const qsizetype lineEnd = chosen.indexOf('\n', at);
        if (lineEnd < 0)
            break;
        if (lineEnd - at == 2) {
            const unsigned k = static_cast<unsigned char>(chosen[at]) << 8 |
                               static_cast<unsigned char>(chosen[at + 1]);
            if (d.pair[k] == twice[i])
                t.code[twice[i]] = static_cast<std::uint16_t>(k);
        }
        at = lineEnd + 1;
    }
    // The JIS forms that input methods type for six characters that code
    // page 932 holds under other code points, written as Windows writes them.
    t.code[0x301C] = 0x8160; // wave dash
    t.code[0x2016] = 0x8161; // double vertical line
    t.code[0x2212] = 0x817C; // minus sign
    t.code[0x00A2] = 0x8191; // cent sign
    t.code[0x00A3] = 0x8192; // pound sign
    t.code[0x00AC] = 0x81CA; // not sign
}

// The tables live in static storage, zero until built, and each is built
// once, when first needed: start-up only decodes (the settings file), and
// only the rows it fills are ever touched.
const DecodeTables& decodeTables() {
    static DecodeTables t;
    static const bool built = (t.available = fillDecode(t), true);
    (void)built;
    return t;
}

const EncodeTables& encodeTables() {
    static EncodeTables t;
    static const bool built = (fillEncode(decodeTables(), t), true);
    (void)built;
    return t;
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

bool cp932Available() {
    return decodeTables().available &&
           QStringEncoder(kCodec, QStringConverter::Flag::Stateless).isValid();
}

std::string encodeCp932(std::u16string_view text) {
    const auto& code = encodeTables().code;
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
            if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
                QChar::isLowSurrogate(text[i + 1]))
                ++i;
        }
    }
    out.append(buffer, static_cast<std::size_t>(o - buffer));
    return out;
}

std::u16string decodeCp932(std::string_view bytes) {
    const DecodeTables& t = decodeTables();
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
        const char16_t c = t.single[*p];
        if (c != kNotHere) {
            *o++ = c;
            ++p;
            continue;
        }
        // A lead byte: with a second byte that can end a code, the pair is
        // one character (U+FFFD when it is none); otherwise the lead byte
        // alone is replaced.
        const char16_t two = p + 1 < end ? t.pair[p[0] << 8 | p[1]] : kNotHere;
        if (two != kNotHere) {
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
