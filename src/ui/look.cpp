// SPDX-License-Identifier: MIT
#include "ui/look.h"

#include "eval/bands.h"

#include <QFontMetricsF>
#include <QLabel>

#include <algorithm>
#include <array>

namespace taiju {

namespace {

// x to the power 1/5 for 0 < x <= 1 by Newton's method, to the last bit or
// two: the table below is worked out by the compiler, so that no function
// of the maths library (and none of its tables) is loaded at start-up.
constexpr double fifthRoot(double x) {
    double y = 1;
    for (int i = 0; i < 100; ++i) {
        const double y4 = y * y * y * y;
        const double next = y - (y4 * y - x) / (5 * y4);
        if (next == y)
            break;
        y = next;
    }
    return y;
}

// The linear light of each 8-bit sRGB channel value: c / 12.92 in the dark,
// else ((c + 0.055) / 1.055) to the power 2.4, that is v² times the fifth
// root of v².
constexpr std::array<double, 256> kLinear = [] {
    std::array<double, 256> t{};
    for (int channel = 0; channel < 256; ++channel) {
        const double c = channel / 255.0;
        const double v = (c + 0.055) / 1.055;
        t[channel] = c <= 0.04045 ? c / 12.92 : v * v * fifthRoot(v * v);
    }
    return t;
}();

double linear(int channel) {
    return kLinear[channel];
}

double luminance(const QColor& c) {
    const QColor rgb = c.toRgb();
    return 0.2126 * linear(rgb.red()) + 0.7152 * linear(rgb.green()) + 0.0722 * linear(rgb.blue());
}

// Contrast ratio of two colours, 1 to 21 (relative luminance, sRGB).
double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool readable(const QPalette& p) {
    constexpr double kMinimum = 4.5;
    const QColor fixed[] = {toQColor(kLightGreen), toQColor(kLightRed), toQColor(kPureGreen),
                            toQColor(kSalmonRed), toQColor(kLightGrey)};
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        const QColor window = p.color(group, QPalette::Window);
        const QColor text = p.color(group, QPalette::WindowText);
        // A light design: the text darker than the surfaces.
        if (luminance(text) >= luminance(window))
            return false;
        if (contrast(text, window) < kMinimum ||
            contrast(p.color(group, QPalette::ButtonText), p.color(group, QPalette::Button)) <
                kMinimum ||
            contrast(p.color(group, QPalette::Text), p.color(group, QPalette::Base)) < kMinimum)
            return false;
        for (const QColor& c : fixed)
            if (contrast(text, c) < kMinimum ||
                contrast(p.color(group, QPalette::Text), c) < kMinimum ||
                contrast(p.color(group, QPalette::ButtonText), c) < kMinimum)
                return false;
    }
    return true;
}

} // namespace

QPalette readablePalette(const QPalette& desktop, const QPalette& light) {
    if (readable(desktop))
        return desktop;
    if (readable(light))
        return light;
    // A style whose own palette is not light either: black on Qt's grey.
    QPalette plain(Qt::black, QColor(239, 239, 239), Qt::white, QColor(160, 160, 160),
                   QColor(160, 160, 160), Qt::black, Qt::white, Qt::white, QColor(239, 239, 239));
    return plain;
}

namespace {

// True when `text`, laid out in `box` with the QLabel/QPainter `flags`
// (wrapping included), is whole within the box: no line wider than the box,
// and the ink of the last line above its lower edge.
bool captionFits(const QFont& font, const QString& text, const QSize& box, int flags) {
    if (text.isEmpty())
        return true;
    const QFontMetricsF fm(font);
    // No glyph is wider than the font's widest: a caption that fits on one
    // line even so needs no layout.
    if (text.size() * fm.maxWidth() <= box.width() && fm.height() <= box.height())
        return true;
    const QRectF needed =
        fm.boundingRect(QRectF(0, 0, box.width(), 1e6), flags & ~Qt::AlignVertical_Mask, text);
    if (needed.width() > box.width())
        return false;
    if (needed.height() <= box.height())
        return true;
    // The last line's ink, not its full descent: the line box of a font with
    // a deep descent (Noto Sans CJK) may pass the edge where no glyph does.
    const qreal inkBelow = std::max<qreal>(0, fm.tightBoundingRect(text).bottom());
    return needed.height() - fm.descent() + inkBelow <= box.height();
}

} // namespace

void fitCaption(QLabel* label) {
    const QSize box = label->contentsRect().size();
    int flags = int(label->alignment());
    if (label->wordWrap())
        flags |= Qt::TextWordWrap;
    QFont font = label->font();
    const QString& text = label->text();
    if (captionFits(font, text, box, flags))
        return;
    // Narrower glyphs first, down to three quarters of their width; a
    // caption too high even so (a font with a tall line) takes a smaller
    // size, a quarter point at a time, down to two thirds of the size. Every
    // stretch tried is a font of its own to load, so the first guess is the
    // one that makes the widest line as wide as the box. The full width is
    // asked for as any width (the face's own), which is the label's font
    // already loaded; "unstretched" would load another font that looks the
    // same.
    constexpr int kNarrowest = 75;
    const qreal size = font.pointSizeF();
    for (qreal points = size; points >= size * 2 / 3; points -= 0.25) {
        font.setPointSizeF(points);
        font.setStretch(QFont::AnyStretch);
        const QFontMetricsF fm(font);
        // As many lines as the box holds, filled.
        const int lines =
            label->wordWrap()
                ? std::max(1, int((box.height() - fm.height()) / fm.lineSpacing()) + 1)
                : 1;
        const qreal natural = fm.horizontalAdvance(text);
        int stretch = std::clamp(int(100 * lines * box.width() / natural), kNarrowest, 100);
        for (; stretch >= kNarrowest; stretch -= 2) {
            font.setStretch(stretch < 100 ? stretch : int(QFont::AnyStretch));
            if (captionFits(font, text, box, flags)) {
                label->setFont(font);
                return;
            }
        }
    }
}

} // namespace taiju
