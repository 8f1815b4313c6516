// SPDX-License-Identifier: MIT
#include "ui/window_icon.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>

#include <array>
#include <string_view>

namespace taiju {

namespace {

// The icon's two sizes: their XPM drawings (three colours, one character a
// pixel) decoded by the compiler into premultiplied ARGB pixels, so that
// start-up makes each image straight from memory, with no XPM to read. A
// drawing this decoder does not know stops the build (the throw is reached
// while the compiler evaluates it).
#include "icons/form1-16.h"
#include "icons/form1-32.h"

constexpr int number(const char*& p) {
    while (*p == ' ')
        ++p;
    int n = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        n = n * 10 + (*p - '0');
    return n;
}

constexpr int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    throw "not a hexadecimal digit";
}

template <int Size, std::size_t Lines>
constexpr std::array<quint32, Size * Size> decodeXpm(const char* const (&xpm)[Lines]) {
    const char* p = xpm[0];
    const int width = number(p), height = number(p), colours = number(p), perPixel = number(p);
    if (width != Size || height != Size || perPixel != 1 ||
        Lines != std::size_t(1 + colours + Size))
        throw "not a square drawing of one character a pixel";
    std::array<quint32, 128> colour{};
    std::array<bool, 128> known{};
    for (int c = 1; c <= colours; ++c) {
        const char* line = xpm[c];
        const auto key = static_cast<unsigned char>(line[0]);
        if (key >= 128 || line[1] != ' ' || line[2] != 'c' || line[3] != ' ')
            throw "not a colour line";
        const std::string_view value(line + 4);
        if (value == "None") {
            colour[key] = 0; // transparent
        } else if (value.size() == 7 && value[0] == '#') {
            quint32 rgb = 0;
            for (char digit : value.substr(1))
                rgb = rgb * 16 + quint32(hexDigit(digit));
            colour[key] = 0xff000000u | rgb; // opaque: premultiplied as it is
        } else {
            throw "not a colour of #RRGGBB or None";
        }
        known[key] = true;
    }
    std::array<quint32, Size * Size> pixels{};
    for (int y = 0; y < Size; ++y) {
        const std::string_view row(xpm[1 + colours + y]);
        if (row.size() != std::size_t(Size))
            throw "a row of the wrong width";
        for (int x = 0; x < Size; ++x) {
            const auto key = static_cast<unsigned char>(row[x]);
            if (key >= 128 || !known[key])
                throw "a pixel of no colour";
            pixels[y * Size + x] = colour[key];
        }
    }
    return pixels;
}

constexpr auto kIcon16 = decodeXpm<16>(form1_16);
constexpr auto kIcon32 = decodeXpm<32>(form1_32);

template <std::size_t N> QPixmap iconPixmap(const std::array<quint32, N>& pixels, int size) {
    return QPixmap::fromImage(QImage(reinterpret_cast<const uchar*>(pixels.data()), size, size,
                                     QImage::Format_ARGB32_Premultiplied));
}

} // namespace

QIcon windowIcon16And32() {
    QIcon icon;
    icon.addPixmap(iconPixmap(kIcon16, 16));
    icon.addPixmap(iconPixmap(kIcon32, 32));
    return icon;
}

} // namespace taiju
