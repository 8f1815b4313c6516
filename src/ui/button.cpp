#include "ui/button.h"

#include <QHelpEvent>
#include <QKeyEvent>
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

// The width a caption may take inside the button's edges.
QRect captionRect(const QPushButton* b, const QStyleOptionButton& opt) {
    return b->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, b);
}

} // namespace

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

Button::Button(QWidget* parent) : QPushButton(parent) {}

QString Button::shownCaption() const {
    QStyleOptionButton opt;
    initStyleOption(&opt);
    const qreal room = captionRect(this, opt).width();
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

void Button::paintEvent(QPaintEvent* e) {
    const QString shown = shownCaption();
    if (shown == text()) {
        QPushButton::paintEvent(e);
    } else {
        QStylePainter p(this);
        QStyleOptionButton opt;
        initStyleOption(&opt);
        QRect r = captionRect(this, opt);
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
