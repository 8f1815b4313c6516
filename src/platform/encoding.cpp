#include "platform/encoding.h"

#include "log/record.h"

#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

namespace taiju::platform {
namespace {

constexpr char kCodec[] = "windows-31j";

// Qt's converter maps an unmappable character to FC FC, which is no character
// of code page 932, and it maps invalid bytes to U+001A or drops them. Each
// character and each byte sequence is therefore converted on its own and the
// result checked.
QStringEncoder makeEncoder() {
    return QStringEncoder(kCodec, QStringConverter::Flag::Stateless);
}
QStringDecoder makeDecoder() {
    return QStringDecoder(kCodec, QStringConverter::Flag::Stateless);
}

bool trailByte(unsigned char b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

} // namespace

bool cp932Available() {
    return makeEncoder().isValid() && makeDecoder().isValid();
}

std::string encodeCp932(std::u16string_view text) {
    QStringEncoder encoder = makeEncoder();
    std::string out;
    out.reserve(text.size() * 2);
    std::size_t i = 0;
    while (i < text.size()) {
        char16_t c = text[i];
        if (c < 0x80) { // ASCII is itself in code page 932
            out.push_back(static_cast<char>(c));
            ++i;
            continue;
        }
        std::size_t len = 1;
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1]))
            len = 2;
        QString one = QString::fromUtf16(text.data() + i, static_cast<qsizetype>(len));
        encoder.resetState();
        QByteArray bytes = encoder.encode(one);
        bool ok = !encoder.hasError() && !bytes.isEmpty() && bytes.size() <= 2 &&
                  !(bytes.size() == 2 && static_cast<unsigned char>(bytes[0]) == 0xFC &&
                    static_cast<unsigned char>(bytes[1]) == 0xFC) &&
                  !(bytes.size() == 1 && bytes[0] == '?');
        if (ok)
            out.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        else
            out.push_back('?');
        i += len;
    }
    return out;
}

std::u16string decodeCp932(std::string_view bytes) {
    QStringDecoder decoder = makeDecoder();
    std::u16string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        unsigned char b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            out.push_back(b);
            ++i;
            continue;
        }
        if (b >= 0xA1 && b <= 0xDF) { // half-width katakana
            out.push_back(static_cast<char16_t>(0xFF61 + (b - 0xA1)));
            ++i;
            continue;
        }
        std::size_t len = 1;
        if (isLeadByte(b)) {
            if (i + 1 >= bytes.size() || !trailByte(static_cast<unsigned char>(bytes[i + 1]))) {
                out.push_back(u'\uFFFD');
                ++i;
                continue;
            }
            len = 2;
        }
        decoder.resetState();
        QString s = decoder.decode(QByteArrayView(bytes.data() + i, static_cast<qsizetype>(len)));
        bool ok = !decoder.hasError() && s.size() >= 1 && s.size() <= 2 &&
                  !s.contains(QChar(0x1A)) && !s.contains(QChar(0xFFFD));
        if (ok)
            out.append(reinterpret_cast<const char16_t*>(s.utf16()),
                       static_cast<std::size_t>(s.size()));
        else
            out.push_back(u'\uFFFD');
        i += len;
    }
    return out;
}

} // namespace taiju::platform
