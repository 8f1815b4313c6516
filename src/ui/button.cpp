// SPDX-License-Identifier: MIT
#include "ui/button.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainterPath>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <QToolTip>

namespace taiju {

namespace {

// The lines of `text` wrapped at `width`, each as its text.
QStringList wrapLines(const QString& text, const QFont& font, qreal width) {
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines;
}

// The half next to `from` of the rounded corner that bends from `from` round
// the corner point `corner` to `to`: a quarter circle as a cubic Bézier curve,
// as Qt draws arcs, cut in two (which needs no trigonometry).
QPainterPath halfCorner(QPointF from, QPointF corner, QPointF to) {
    constexpr qreal kappa = 0.5522847498307936; // 4/3 (sqrt(2) - 1)
    const QPointF c1 = from + kappa * (corner - from), c2 = to + kappa * (corner - to);
    QPainterPath path(from);
    path.cubicTo((from + c1) / 2, (from + 2 * c1 + c2) / 4, (from + 3 * c1 + 3 * c2 + to) / 8);
    return path;
}

// `text` broken into the fewest lines no wider than `width` in `font`, the
// lines as even in length as the break opportunities allow; joined by "\n".
QString wrapEvenly(const QString& text, const QFont& font, qreal width) {
    // Where a line may break, and how far along one line each place lies.
    QTextLayout layout(text, font);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    QList<qsizetype> breaks{0};
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text);
    for (qsizetype at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary())
        breaks << at;
    auto x = [&](qsizetype at) { return line.cursorToX(int(at)); };
    // Greedy lines no wider than `w` (a piece wider than `w` on its own
    // takes a line), as the break positions they end at.
    auto fill = [&](qreal w) {
        QList<qsizetype> ends;
        qsizetype start = 0;
        for (qsizetype i = 1; i < breaks.size(); ++i)
            if (x(breaks[i]) - x(start) > w && breaks[i - 1] != start) {
                start = breaks[i - 1];
                ends << start;
            }
        ends << text.size();
        return ends;
    };
    const qsizetype fewest = fill(width).size();
    // The narrowest width that needs no more lines gives the most even ones.
    qreal narrow = 0, wide = width;
    while (wide - narrow > 0.5) {
        const qreal mid = (narrow + wide) / 2;
        (fill(mid).size() <= fewest ? wide : narrow) = mid;
    }
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype end : fill(wide)) {
        lines << text.mid(start, end - start).trimmed();
        start = end;
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

Button::Button(QWidget* parent) : QPushButton(parent) {}

void Button::setFace(const QColor& fill, const QColor& border) {
    fill_ = fill;
    border_ = border;
    update();
}

QRect Button::captionRect(const QStyleOptionButton& opt) const {
    if (fill_.isValid()) {
        const int edge = isDown() ? 2 : 1;
        return rect().adjusted(edge, edge, -edge, -edge);
    }
    return style()->subElementRect(QStyle::SE_PushButtonContents, &opt, this);
}

QString Button::shownCaption() const {
    QStyleOptionButton opt;
    initStyleOption(&opt);
    const qreal room = captionRect(opt).width();
    if (fontMetrics().horizontalAdvance(text()) <= room)
        return text();
    return wrapEvenly(text(), font(), room);
}

bool Button::isEnter(const QKeyEvent* e) {
    return (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) &&
           (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

void Button::keyPressEvent(QKeyEvent* e) {
    if (!isEnter(e))
        return QPushButton::keyPressEvent(e);
    // Held down, the key presses the button once, as Space does.
    if (!e->isAutoRepeat())
        setDown(true);
    e->accept();
}

void Button::keyReleaseEvent(QKeyEvent* e) {
    if (!isEnter(e))
        return QPushButton::keyReleaseEvent(e);
    e->accept();
    if (e->isAutoRepeat() || !isDown())
        return;
    setDown(false);
    click();
}

bool Button::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip && !toolTip().isEmpty()) {
        auto* help = static_cast<QHelpEvent*>(e);
        // The tip's frame and margins take a few pixels of the window's width.
        const int room = window()->width() - 12;
        const QFont tipFont = QToolTip::font();
        if (QFontMetrics(tipFont).horizontalAdvance(toolTip()) > room) {
            QToolTip::showText(help->globalPos(), wrapLines(toolTip(), tipFont, room).join(u'\n'),
                               this);
            return true;
        }
    }
    return QPushButton::event(e);
}

void Button::paintFace(QPainter& p, const QString& shown) const {
    // Pressed, the border is two pixels wide and sunken: its lower and right
    // sides lighter.
    const bool down = isDown();
    const qreal edge = down ? 2 : 1, radius = 2;
    const QColor lower = down ? border_.lighter() : border_;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    // The face, its rounded outline through the middle of the border.
    const QRectF outline = QRectF(rect()).adjusted(edge / 2, edge / 2, -edge / 2, -edge / 2);
    QPainterPath face;
    face.addRoundedRect(outline, radius - edge / 2, radius - edge / 2);
    p.fillPath(face, fill_);
    // The border: each straight side, then the halves of the two rounded
    // corners next to it, drawn along the outline with a pen as wide as the
    // border.
    const qreal w = width(), h = height(), bend = radius - edge / 2;
    const qreal left = outline.left(), top = outline.top(), right = outline.right(),
                bottom = outline.bottom();
    auto side = [&](const QRectF& line, const QColor& colour, const QPainterPath& corner1,
                    const QPainterPath& corner2) {
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawRect(line);
        const QPen pen(colour, edge, Qt::SolidLine, Qt::SquareCap);
        p.strokePath(corner1, pen);
        p.strokePath(corner2, pen);
    };
    side({radius, h - edge, w - 2 * radius, edge}, lower,
         halfCorner({left + bend, bottom}, {left, bottom}, {left, bottom - bend}),
         halfCorner({right - bend, bottom}, {right, bottom}, {right, bottom - bend}));
    side({w - edge, radius, edge, h - 2 * radius}, lower,
         halfCorner({right, top + bend}, {right, top}, {right - bend, top}),
         halfCorner({right, bottom - bend}, {right, bottom}, {right - bend, bottom}));
    side({0, radius, edge, h - 2 * radius}, border_,
         halfCorner({left, top + bend}, {left, top}, {left + bend, top}),
         halfCorner({left, bottom - bend}, {left, bottom}, {left + bend, bottom}));
    side({radius, 0, w - 2 * radius, edge}, border_,
         halfCorner({left + bend, top}, {left, top}, {left, top + bend}),
         halfCorner({right - bend, top}, {right, top}, {right, top + bend}));
    p.restore();

    // The caption, black on the light face, then the style's focus mark.
    const QRect inside = captionRect(QStyleOptionButton());
    p.setPen(Qt::black);
    p.drawText(inside, Qt::AlignCenter | Qt::TextShowMnemonic, shown);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = inside;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }
}

void Button::paintEvent(QPaintEvent* e) {
    const QString shown = shownCaption();
    if (fill_.isValid()) {
        QPainter p(this);
        paintFace(p, shown);
    } else if (shown == text()) {
        QPushButton::paintEvent(e);
    } else {
        QStylePainter p(this);
        QStyleOptionButton opt;
        initStyleOption(&opt);
        QRect r = captionRect(opt);
        opt.text.clear();
        p.drawControl(QStyle::CE_PushButton, opt);
        if (isDown())
            r.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &opt, this),
                        style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &opt, this));
        p.drawItemText(r, Qt::AlignCenter, palette(), isEnabled(), shown, QPalette::ButtonText);
    }
    if (hasFocus()) {
        // A black frame two pixels wide, three inside the button's edge:
        // every button face of the window is light.
        QPainter p(this);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        const QRect outer = rect().adjusted(3, 3, -3, -3);
        const QRect inner = outer.adjusted(2, 2, -2, -2);
        QRegion frame = QRegion(outer).subtracted(QRegion(inner));
        p.setClipRegion(frame);
        p.drawRect(outer);
    }
}

} // namespace taiju
