// SPDX-License-Identifier: MIT
#include "ui/rule.h"

#include <QPainter>

namespace taiju {

Rule::Rule(const QString& name, QPoint from, QPoint to, int width, QWidget* parent)
    : QWidget(parent), from_(from), to_(to), width_(width) {
    setObjectName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    // A horizontal rule covers its rows centred on y; the box is the line's
    // bounding box grown by half the width.
    const int before = (width - 1) / 2;
    const int after = width - 1 - before;
    QRect box = QRect(from, to).normalized().adjusted(0, -before, 0, after);
    if (from.x() != to.x())
        box.setRight(box.right() - 1); // the end point is not drawn
    setGeometry(box);
}

void Rule::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QColor ink = palette().color(QPalette::WindowText);
    if (from_.y() == to_.y()) {
        p.fillRect(rect(), ink);
        return;
    }
    p.setPen(QPen(ink, width_));
    p.drawLine(from_ - pos(), to_ - pos());
}

} // namespace taiju
