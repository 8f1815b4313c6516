#include "platform/qt_services.h"

#include "platform/winpath.h"

#include <QApplication>
#include <QDate>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QTime>

namespace taiju::platform {

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
    QFileDialog dialog(parent_, title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
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
