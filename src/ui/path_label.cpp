// SPDX-License-Identifier: MIT
#include "ui/path_label.h"

#include "platform/qtext.h"
#include "platform/winpath.h"

#include <QPainter>
#include <QTextLayout>

namespace taiju {

namespace {

// Lays `text` out at `width`, breaking at any character.
void layOut(QTextLayout& layout, qreal width) {
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal y = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
}

const QChar kEllipsis(0x2026);

} // namespace

PathLabel::PathLabel(QWidget* parent) : Caption(parent) {}

// The path is laid out when it is first painted or asked for, not when it
// is set, resized or given another font: a window shown with it is then
// mapped before the path's font is loaded, and the path is shaped once.
void PathLabel::setText(const QString& caption) {
    QLabel::setText(caption);
    setAccessibleDescription(nativePath());
    layout_.reset();
    update();
}

QString PathLabel::nativePath() const {
    const auto native = platform::toNative(platform::u16(text()));
    return native ? *native : text();
}

std::unique_ptr<QTextLayout> PathLabel::laidOut(const QString& shown) const {
    auto layout = std::make_unique<QTextLayout>(shown, font());
    layOut(*layout, contentsRect().width());
    return layout;
}

bool PathLabel::fits(const QTextLayout& layout) const {
    if (layout.lineCount() == 0)
        return true;
    const QTextLine last = layout.lineAt(layout.lineCount() - 1);
    return last.y() + last.ascent() + last.descent() <= contentsRect().height();
}

void PathLabel::refresh() {
    box_ = contentsRect().size();
    const QString path = nativePath();
    QString shown = path;
    // The layout that is painted is the one that was measured, so that a
    // path is shaped once, not again at every paint.
    layout_ = laidOut(shown);
    if (!fits(*layout_)) {
        // Keep the file name with its separator and as much of the beginning
        // as fits; a file name too long by itself keeps its end instead.
        const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
        const qsizetype tail = slash < 0 ? 0 : path.size() - slash;
        auto make = [&](qsizetype head, qsizetype end) {
            return path.left(head) + kEllipsis + path.right(end);
        };
        // Binary searches: `lo` is a length that fits, `hi` one that does not.
        qsizetype lo = 1, hi = path.size() - tail;
        if (hi > 1 && fits(make(1, tail))) {
            while (hi - lo > 1) {
                const qsizetype mid = (lo + hi) / 2;
                (fits(make(mid, tail)) ? lo : hi) = mid;
            }
            shown = make(lo, tail);
        } else {
            lo = 2;
            hi = path.size();
            while (hi - lo > 1) {
                const qsizetype mid = (lo + hi) / 2;
                (fits(make(mid / 2, mid - mid / 2)) ? lo : hi) = mid;
            }
            shown = make(lo / 2, lo - lo / 2);
        }
        layout_ = laidOut(shown);
    }
    shown_ = shown;
    setAccessibleName(shown_);
    update();
}

QString PathLabel::shownPath() {
    if (!layout_ || box_ != contentsRect().size())
        refresh();
    return shown_;
}

void PathLabel::paintEvent(QPaintEvent*) {
    shownPath();
    QPainter p(this);
    p.setPen(palette().color(foregroundRole()));
    layout_->draw(&p, contentsRect().topLeft());
}

void PathLabel::changeEvent(QEvent* e) {
    QLabel::changeEvent(e);
    if (e->type() == QEvent::FontChange)
        layout_.reset();
}

} // namespace taiju
