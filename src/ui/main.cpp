// SPDX-License-Identifier: MIT
// Starts the tool: one window, "体重チェック".

#include "platform/appdir.h"
#include "platform/files.h"
#include "platform/fonts.h"
#include "platform/language.h"
#include "platform/qt_services.h"
#include "ui/form1.h"

#include <QApplication>

int main(int argc, char** argv) {
    // A save beyond the file-size limit fails with a message, not a kill.
    taiju::platform::ignoreFileSizeSignal();
    QApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(TAIJU_VERSION));
    // The family is chosen before any widget is made, so that all inherit it.
    taiju::useWindowFonts();
    // The launcher taiju-check.desktop, so that the desktop shows its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("taiju-check"));
    taiju::platform::useJapaneseQtTranslations(app);
    // Beside an install the user cannot write to, the settings and the log
    // live in the user's data folder: make it ready before start-up reads it.
    if (!taiju::platform::prepareApplicationFolder())
        qWarning("taiju-check: 個人用のデータフォルダ %s を用意できませんでした。",
                 qPrintable(taiju::platform::applicationFolder()));

    taiju::platform::QtMessageBox messageBox;
    taiju::platform::QtBeeper beeper;
    taiju::platform::QtClock clock;
    taiju::platform::QtAppDirectory appDirectory;
    taiju::platform::QtFileDialog fileDialog;
    taiju::Form1 form({messageBox, beeper, clock, appDirectory, fileDialog});
    messageBox.setParent(&form);
    fileDialog.setParent(&form);
    form.show();
    return app.exec();
}
