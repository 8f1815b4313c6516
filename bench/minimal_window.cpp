// SPDX-License-Identifier: MIT
// The smallest Qt window: the measure against which the tool's start-up is
// compared.

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("minimal"));
    window.resize(486, 429);
    window.show();
    return app.exec();
}
