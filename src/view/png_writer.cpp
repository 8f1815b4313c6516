// SPDX-License-Identifier: MIT
#include "view/png_writer.h"

#include <QByteArray>
#include <QIODevice>
#include <QImage>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <tuple>
#include <vector>

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

struct Code {
    std::uint16_t bits = 0; // reversed: deflate sends Huffman codes from their top bit
    std::uint8_t length = 0;
};

// The fixed literal/length codes: 0-143 in 8 bits from 0x30, 144-255 in
// 9 bits from 0x190, 256-279 in 7 bits from 0, 280-287 in 8 bits from 0xC0.
constexpr std::array<Code, 288> kFixed = [] {
    std::array<Code, 288> codes{};
    for (unsigned s = 0; s < 288; ++s) {
        const auto [first, base, length] = s < 144   ? std::tuple{0u, 0x30u, 8}
                                           : s < 256 ? std::tuple{144u, 0x190u, 9}
                                           : s < 280 ? std::tuple{256u, 0u, 7}
                                                     : std::tuple{280u, 0xC0u, 8};
        const unsigned code = base + s - first;
        unsigned reversed = 0;
        for (int k = 0; k < length; ++k)
            reversed |= ((code >> k) & 1u) << (length - 1 - k);
        codes[s] = {static_cast<std::uint16_t>(reversed), static_cast<std::uint8_t>(length)};
    }
    return codes;
}();
// Lengths 3-258: their symbol's first length and extra bits, by symbol 257-285.
constexpr std::array<std::uint16_t, 29> kLengthBase = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                                       15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                                       67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<std::uint8_t, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                       2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};

// A zlib stream (RFC 1950) of deflate (RFC 1951) in one block of fixed
// codes, its only matches runs of one byte repeated (distance 1), with the
// Adler-32 sum at its end. Rows stored as their difference from the row
// above are mostly runs of zeros, which this packs in a few instructions a
// byte; the rest is stored as it is. A run counts in the sum all at once.
class RunPacker {
  public:
    explicit RunPacker(std::vector<char>& out) : out_(out) {
        out_.insert(out_.end(), {'\x78', '\x01'}); // deflate, 32 KiB window, no dictionary
        put(1, 1);                                 // the last block
        put(1, 2);                                 // fixed codes
    }

    // Bytes of at most 2^24 in one call, so that the sums stay in 64 bits.
    void add(const unsigned char* bytes, std::size_t count) {
        std::size_t i = 0;
        while (i < count) {
            const unsigned b = bytes[i];
            if (b != last_) {
                flushRun();
                symbol(b);
                last_ = b;
                sumA_ += b;
                sumB_ += sumA_;
                ++i;
                continue;
            }
            std::size_t end = i + 1;
            const std::uint64_t eight = 0x0101010101010101u * b;
            std::uint64_t word;
            while (end + 8 <= count && (std::memcpy(&word, bytes + end, 8), word == eight))
                end += 8;
            while (end < count && bytes[end] == b)
                ++end;
            const std::uint64_t n = end - i;
            sumB_ += n * sumA_ + b * n * (n + 1) / 2;
            sumA_ += n * b;
            run_ += n;
            i = end;
            for (; run_ >= 258; run_ -= 258)
                match(31 - 3); // the longest match, 258
        }
        sumA_ %= 65521;
        sumB_ %= 65521;
    }

    void finish() {
        flushRun();
        symbol(256); // end of block
        for (; bits_ > 0; bits_ -= 8, buffer_ >>= 8)
            out_.push_back(static_cast<char>(buffer_));
        const auto sum = static_cast<std::uint32_t>(sumB_ << 16 | sumA_);
        out_.insert(out_.end(), {char(sum >> 24), char(sum >> 16), char(sum >> 8), char(sum)});
    }

  private:
    void put(std::uint32_t value, int count) {
        buffer_ |= std::uint64_t{value} << bits_;
        bits_ += count;
        if (bits_ >= 32) {
            out_.insert(out_.end(), {char(buffer_), char(buffer_ >> 8), char(buffer_ >> 16),
                                     char(buffer_ >> 24)});
            buffer_ >>= 32;
            bits_ -= 32;
        }
    }

    void symbol(unsigned s) { put(kFixed[s].bits, kFixed[s].length); }

    // A match of the length of that length code (0-28), its extra bits
    // taken from the waiting run, at distance 1 (code 0 in five bits).
    void match(unsigned code) {
        symbol(257 + code);
        put(static_cast<std::uint32_t>(std::min<std::uint64_t>(run_, 258) - kLengthBase[code]),
            kLengthExtra[code]);
        put(0, 5);
    }

    // The repeats of the last byte waiting: a match when three or more, else
    // the bytes themselves.
    void flushRun() {
        if (run_ >= 3) {
            unsigned code = 28;
            while (kLengthBase[code] > run_)
                --code;
            match(code);
        } else {
            for (std::uint64_t k = 0; k < run_; ++k)
                symbol(last_);
        }
        run_ = 0;
    }

    std::vector<char>& out_;
    std::uint64_t buffer_ = 0;
    int bits_ = 0;
    unsigned last_ = 256; // no byte yet
    std::uint64_t run_ = 0;
    std::uint64_t sumA_ = 1, sumB_ = 0;
};

// The picture's rows packed for PNG. Each row is a filter byte, then each
// pixel's red, green and blue less those of the pixel above (filter "Up";
// the first row, with nothing above, as it is), subtracted byte by byte in
// one 32-bit word.
std::vector<char> packedRows(const QImage& image) {
    const std::size_t width = static_cast<std::size_t>(image.width());
    std::vector<unsigned char> row(1 + 3 * width + 1); // a byte spare for the last word
    std::vector<char> packed;
    packed.reserve(row.size() * static_cast<std::size_t>(image.height()) / 8);
    RunPacker packer(packed);
    const std::vector<QRgb> none(width, 0);
    const QRgb* above = none.data();
    for (int y = 0; y < image.height(); ++y) {
        const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        row[0] = y == 0 ? 0 : 2;
        unsigned char* out = row.data() + 1;
        for (std::size_t x = 0; x < width; ++x, out += 3) {
            constexpr std::uint32_t kHigh = 0x80808080u;
            const std::uint32_t p = pixels[x], q = above[x];
            if (p == q) { // most of a chart: no change from the row above
                std::memset(out, 0, 4);
                continue;
            }
            const std::uint32_t d = ((p | kHigh) - (q & ~kHigh)) ^ ((p ^ ~q) & kHigh);
            // 0xAARRGGBB to the bytes red, green, blue (and one overwritten next).
            const std::uint32_t rgb = (d >> 16 & 0xFF) | (d & 0xFF00) | (d & 0xFF) << 16;
            const std::uint32_t bytes = qToLittleEndian(rgb);
            std::memcpy(out, &bytes, 4);
        }
        above = pixels;
        packer.add(row.data(), row.size() - 1);
    }
    packer.finish();
    return packed;
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
    return !rgb.isNull() && device.write(kSignature, sizeof kSignature) == sizeof kSignature &&
           writeChunk(device, "IHDR", header) && writeChunk(device, "IDAT", {packedRows(rgb)}) &&
           writeChunk(device, "IEND", {});
}

} // namespace taiju::view
