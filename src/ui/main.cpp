// Starts the tool: one window, "体重チェック".

#include "platform/encoding.h"
#include "platform/files.h"
#include "platform/fonts.h"
#include "platform/language.h"
#include "platform/qt_services.h"
#include "ui/form1.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv) {
    // A save beyond the file-size limit fails with a message, not a kill.
    taiju::platform::ignoreFileSizeSignal();
    QApplication app(argc, argv);
    taiju::platform::useJapaneseQtTranslations(app);
    if (!taiju::platform::cp932Available()) {
        QMessageBox::critical(nullptr, QStringLiteral("体重チェック"),
                              QStringLiteral("この Qt には Shift_JIS (windows-31j) の変換が"
                                             "ありません。起動できません。"));
        return 1;
    }
    taiju::useWindowFonts();

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
