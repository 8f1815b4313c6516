// SPDX-License-Identifier: MIT
// The honest yardstick of the tool's start-up: a window of the tool's size
// with what every Qt window with Japanese text and a text box pays for, in
// the tool's fonts: one Japanese label and one text box. Beside the bare
// window (minimal-window) it shows how much of a start is the font system
// and the accessibility bridge that the first label text wakes.

#include "platform/fonts.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    taiju::useWindowFonts();
    QWidget window;
    window.setWindowTitle(QStringLiteral("体重チェック"));
    window.resize(486, 429);
    QLabel label(QStringLiteral("体重(Kg)"), &window);
    label.setGeometry(80, 8, 65, 17);
    QLineEdit box(&window);
    box.setGeometry(80, 24, 113, 25);
    window.show();
    return app.exec();
}
