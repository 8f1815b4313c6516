// SPDX-License-Identifier: MIT
#include "platform/qt_services.h"

#include "platform/appdir.h"
#include "platform/winpath.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QTime>

namespace taiju::platform {

namespace {

// Qt's open-file dialog that takes a name that does not exist yet, so that
// an empty folder can be chosen, but only in a folder that exists: for a
// missing folder it says so and stays open, as Qt's own dialog does for a
// missing file.
class FolderFileDialog : public QFileDialog {
  public:
    using QFileDialog::QFileDialog;

    void accept() override {
        const QStringList chosen = selectedFiles();
        if (!chosen.isEmpty()) {
            const QFileInfo info(chosen.first());
            if (!info.isDir() && !QFileInfo(info.absolutePath()).isDir()) {
                // Qt's own words, in Qt's translation.
                const QString message = QCoreApplication::translate(
                    "QFileDialog", "%1\nDirectory not found.\nPlease verify the "
                                   "correct directory name was given.");
                QMessageBox::warning(this, windowTitle(),
                                     message.arg(QDir::toNativeSeparators(info.absolutePath())));
                return;
            }
        }
        QFileDialog::accept();
    }
};

} // namespace

void QtMessageBox::show(const QString& message, const QString& title) {
    QMessageBox box(QMessageBox::NoIcon, title, message, QMessageBox::Ok, parent_);
    box.exec();
}

void QtBeeper::beep() {
    QApplication::beep();
}

LocalDate QtClock::date() {
    QDate d = QDate::currentDate();
    return {d.year(), d.month(), d.day()};
}

LocalTime QtClock::time() {
    QTime t = QTime::currentTime();
    return {t.hour(), t.minute(), t.second()};
}

std::optional<std::u16string> QtAppDirectory::path() {
    return applicationDirectory();
}

QStringList nameFilters(const QString& filter) {
    QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts[i + 1].trimmed();
        if (pattern == QLatin1String("*.*"))
            pattern = QStringLiteral("*");
        if (parts[i].isEmpty() && pattern.isEmpty())
            continue;
        filters << parts[i] + QStringLiteral(" (") + pattern + QLatin1Char(')');
    }
    return filters;
}

std::optional<std::u16string> QtFileDialog::open(const QString& title, const QString& filter,
                                                 const std::u16string& initialFile) {
    FolderFileDialog dialog(parent_, title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The type list shows the descriptions only; each names its pattern.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(nameFilters(filter));
    if (auto native = toNative(initialFile)) {
        QFileInfo info(*native);
        dialog.setDirectory(info.absolutePath());
        dialog.selectFile(info.fileName());
    }
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return std::nullopt;
    return toWindows(chosen.first());
}

} // namespace taiju::platform
