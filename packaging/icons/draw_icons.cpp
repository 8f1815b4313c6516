// SPDX-License-Identifier: MIT
// Draws the tool's icon for the desktop's icon theme: a red upward triangle
// with a white exclamation mark on a transparent ground, the same shapes as
// taiju-check.svg (a 256-unit square). The 16 and 32 pixel sizes are the
// window's own pixel drawings, so that menu and window show the same icon.
//
// Usage: draw-icons OUTDIR ICON16.xpm ICON32.xpm
// Writes OUTDIR/<n>x<n>/taiju-check.png for n = 16, 32, 48, 128, 256.

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPolygonF>

#include <cstdio>

namespace {

QImage drawn(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 0, 0));
    p.drawPolygon(QPolygonF({QPointF(128, 18.4), QPointF(256, 240), QPointF(0, 240)}));
    p.setBrush(QColor(255, 255, 255));
    p.drawRect(QRectF(120, 88, 16, 80));
    p.drawRect(QRectF(120, 184, 16, 24));
    return image;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s OUTDIR ICON16.xpm ICON32.xpm\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    for (int size : {16, 32, 48, 128, 256}) {
        QImage image;
        if (size == 16 || size == 32) {
            const QString xpm = QString::fromLocal8Bit(size == 16 ? argv[2] : argv[3]);
            if (!image.load(xpm) || image.size() != QSize(size, size)) {
                std::fprintf(stderr, "cannot read the %d pixel icon %s\n", size,
                             argv[size == 16 ? 2 : 3]);
                return 1;
            }
        } else {
            image = drawn(size);
        }
        const QString folder = QStringLiteral("%1x%1").arg(size);
        const QString file = out.filePath(folder + QStringLiteral("/taiju-check.png"));
        if (!out.mkpath(folder) ||
            !image.convertToFormat(QImage::Format_ARGB32).save(file, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
