// SPDX-License-Identifier: MIT
#include "view/png_writer.h"

#include <QByteArray>
#include <QIODevice>
#include <QImage>

#include <array>
#include <cstdint>

namespace taiju::view {
namespace {

// The CRC-32 of PNG chunks (ISO 3309, reflected, polynomial 0xEDB88320).
constexpr std::array<std::uint32_t, 256> kCrcTable = [] {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}();

std::uint32_t crc32(std::uint32_t crc, QByteArrayView bytes) {
    for (const char b : bytes)
        crc = kCrcTable[(crc ^ static_cast<unsigned char>(b)) & 0xFF] ^ (crc >> 8);
    return crc;
}

void appendBigEndian(QByteArray& out, std::uint32_t v) {
    const char bytes[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    out.append(bytes, 4);
}

// A chunk: its length, type, data and the CRC of type and data.
bool writeChunk(QIODevice& device, const char (&type)[5], QByteArrayView data) {
    QByteArray head;
    appendBigEndian(head, static_cast<std::uint32_t>(data.size()));
    head.append(type, 4);
    QByteArray tail;
    appendBigEndian(tail, ~crc32(crc32(0xFFFFFFFFu, QByteArrayView(type, 4)), data));
    return device.write(head) == head.size() &&
           device.write(data.data(), data.size()) == data.size() &&
           device.write(tail) == tail.size();
}

// The picture's rows as PNG wants them before packing: a filter byte, then
// each pixel's red, green and blue less those of the pixel above (filter
// "Up"; the first row has nothing above and is stored as it is).
QByteArray filteredRows(const QImage& image) {
    const int width = image.width();
    const qsizetype stride = 1 + qsizetype(width) * 3;
    QByteArray rows(stride * image.height(), Qt::Uninitialized);
    auto* out = reinterpret_cast<unsigned char*>(rows.data());
    const QRgb* above = nullptr;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        *out++ = above ? 2 : 0;
        for (int x = 0; x < width; ++x) {
            const QRgb p = row[x];
            const QRgb q = above ? above[x] : 0;
            *out++ = static_cast<unsigned char>(qRed(p) - qRed(q));
            *out++ = static_cast<unsigned char>(qGreen(p) - qGreen(q));
            *out++ = static_cast<unsigned char>(qBlue(p) - qBlue(q));
        }
        above = row;
    }
    return rows;
}

} // namespace

bool writePng(QIODevice& device, const QImage& image) {
    const QImage rgb = image.format() == QImage::Format_RGB32
                           ? image
                           : image.convertToFormat(QImage::Format_RGB32);
    static const char kSignature[8] = {'\x89', 'P', 'N', 'G', '\r', '\n', '\x1A', '\n'};
    QByteArray header;
    appendBigEndian(header, static_cast<std::uint32_t>(rgb.width()));
    appendBigEndian(header, static_cast<std::uint32_t>(rgb.height()));
    // 8 bits a sample, colour type 2 (RGB), deflate, filtering by rows, no interlace.
    header.append("\x08\x02\x00\x00\x00", 5);
    const QByteArray rows = filteredRows(rgb);
    // qCompress gives a zlib stream after four bytes of the unpacked size:
    // the stream is what PNG's image data holds.
    const QByteArray packed = qCompress(rows, 1);
    return !rgb.isNull() && packed.size() > 4 &&
           device.write(kSignature, sizeof kSignature) == sizeof kSignature &&
           writeChunk(device, "IHDR", header) &&
           writeChunk(device, "IDAT", QByteArrayView(packed).sliced(4)) &&
           writeChunk(device, "IEND", {});
}

} // namespace taiju::view
