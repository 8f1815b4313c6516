// SPDX-License-Identifier: MIT
#include "cp932gen/cp932_qt.h"

#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

namespace taiju::platform::cp932 {
namespace {

// The tables are built from Qt's converter, which is not used on text itself:
// it maps an unmappable character to FC FC (no character of code page 932),
// reads invalid bytes as U+001A or drops them, swaps the control bytes 1A,
// 1C and 7F, and once it has met an error it keeps reporting one.

// Every two-byte code, each followed by a line feed (never a byte of a
// two-byte code), decoded in one call; the line feeds cut the result into
// one piece per code, so that an invalid code cannot disturb the others.
std::string fillDecode(Tables& t) {
    for (unsigned b = 0; b < 256; ++b) {
        if (b < 0x80)
            t.single[b] = static_cast<char16_t>(b); // ASCII is itself
        else if (b >= 0xA1 && b <= 0xDF)
            t.single[b] = static_cast<char16_t>(0xFF61 + (b - 0xA1)); // half-width katakana
        else
            t.single[b] = isLeadByte(static_cast<unsigned char>(b)) ? kNotHere : kReplacement;
    }
    std::string all;
    all.reserve(11280 * 3);
    for (unsigned lead = kFirstPair >> 8; lead < (kFirstPair + kPairs) >> 8; ++lead) {
        for (unsigned second = 0; second < 256; ++second) {
            const bool code = isLeadByte(static_cast<unsigned char>(lead)) && trailByte(second);
            t.pair[(lead << 8 | second) - kFirstPair] = code ? kReplacement : kNotHere;
            if (code) {
                all.push_back(static_cast<char>(lead));
                all.push_back(static_cast<char>(second));
                all.push_back('\n');
            }
        }
    }
    QStringDecoder decoder(kCodec, QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        return std::string("Qt's converter \"") + kCodec +
               "\" is not available (QStringDecoder::isValid() is false): this Qt is built "
               "without ICU";
    const QString text = decoder.decode(QByteArrayView(all.data(), qsizetype(all.size())));
    const char16_t* p = reinterpret_cast<const char16_t*>(text.utf16());
    const char16_t* end = p + text.size();
    for (std::size_t i = 0; i < all.size(); i += 3) {
        const char16_t* piece = p;
        while (p < end && *p != u'\n')
            ++p;
        if (p == end)
            return std::string("Qt's converter \"") + kCodec +
                   "\" did not decode the two-byte codes one piece per code";
        if (p - piece == 1 && *piece != kReplacement && *piece != 0x1A)
            t.pair[(static_cast<unsigned char>(all[i]) << 8 |
                    static_cast<unsigned char>(all[i + 1])) -
                   kFirstPair] = *piece;
        ++p;
    }
    return {};
}

// The code each decoded character is written as. A character that two codes
// decode to is written as the code that Qt's converter chooses for it, which
// is the one Windows writes; those characters are asked for in one call, one
// per line.
std::string fillEncode(Tables& t) {
    for (auto& k : t.code)
        k = 0;
    for (unsigned b = 0; b < 0x80; ++b)
        t.code[b] = static_cast<std::uint16_t>(b);
    for (unsigned b = 0xA1; b <= 0xDF; ++b)
        t.code[t.single[b]] = static_cast<std::uint16_t>(b);
    std::u16string twice; // each character held twice, then a line feed
    for (unsigned c = kFirstPair; c < kFirstPair + kPairs; ++c) {
        const char16_t ch = t.pair[c - kFirstPair];
        if (!isLeadByte(static_cast<unsigned char>(c >> 8)) || ch == kReplacement || ch == kNotHere)
            continue;
        if (t.code[ch] == 0) {
            t.code[ch] = static_cast<std::uint16_t>(c);
        } else if (twice.find(ch) == std::u16string::npos) {
            twice.push_back(ch);
            twice.push_back(u'\n');
        }
    }
    QStringEncoder encoder(kCodec, QStringConverter::Flag::Stateless);
    if (!encoder.isValid())
        return std::string("Qt's converter \"") + kCodec +
               "\" cannot encode (QStringEncoder::isValid() is false)";
    const QByteArray chosen = encoder.encode(QStringView(twice.data(), qsizetype(twice.size())));
    qsizetype at = 0;
    for (std::size_t i = 0; i < twice.size(); i += 2) {
        const qsizetype lineEnd = chosen.indexOf('\n', at);
        if (lineEnd < 0)
            break;
        if (lineEnd - at == 2) {
            const unsigned k = static_cast<unsigned char>(chosen[at]) << 8 |
                               static_cast<unsigned char>(chosen[at + 1]);
            if (k >= kFirstPair && k < kFirstPair + kPairs && t.pair[k - kFirstPair] == twice[i])
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
    return {};
}

} // namespace

std::string buildFromQt(Tables& t) {
    std::string error = fillDecode(t);
    if (error.empty())
        error = fillEncode(t);
    return error;
}

} // namespace taiju::platform::cp932
