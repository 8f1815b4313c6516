// SPDX-License-Identifier: MIT
// The least a Qt program pays to draw a picture like taiju-view --png's: it
// starts Qt's GUI, draws 60 Japanese labels and 1,000 anti-aliased dots into
// a 1200x800 image, and writes no file. Its time is the floor under --png
// in the chart benchmark.

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QImage image(1200, 800, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter paint(&image);
    paint.setRenderHint(QPainter::Antialiasing);
    paint.setFont(QFont(QStringLiteral("IPAPGothic"), 9));
    for (int i = 0; i < 60; ++i)
        paint.drawText(10 + i * 19, 20 + i * 12, QStringLiteral("体重 1900/04 70.5"));
    paint.setBrush(Qt::blue);
    for (int i = 0; i < 1000; ++i)
        paint.drawEllipse(QPointF(100 + i, 300 + i % 50), 3, 3);
    return 0;
}
