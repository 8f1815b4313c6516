// SPDX-License-Identifier: MIT
// The second yardstick of the tool's start-up: the tool's own form1.ui,
// every control as the layout describes it, loaded and shown by a minimal
// program in the tool's fonts, without the settings, the item file, the
// services, the translations and what the window's constructor adds. Beside
// it the tool's start shows what it pays beyond its window's content.

#include "platform/fonts.h"
#include "ui_form1.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    taiju::useWindowFonts();
    QWidget window;
    Ui::Form1 ui;
    ui.setupUi(&window);
    window.show();
    return app.exec();
}
