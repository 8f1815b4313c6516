// SPDX-License-Identifier: MIT
#include "platform/appdir.h"

#include "app/settings.h"

#include "platform/files.h"
#include "platform/winpath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace taiju::platform {

namespace {

const QString kDataFolderName = QStringLiteral("taiju-check");

// Creates the folder and its missing parents, each with mode 0700 (the
// base-directory rules ask that of the data folders a program creates).
bool makeFolder(const QString& folder) {
    if (QFileInfo(folder).isDir())
        return true;
    const QString parent = QFileInfo(folder).path();
    if (parent != folder && !makeFolder(parent))
        return false;
    if (::mkdir(QFile::encodeName(folder).constData(), 0700) == 0)
        return true;
    return errno == EEXIST && QFileInfo(folder).isDir();
}

// The tool's folder among the user's data: `xdgDataHome`/taiju-check when
// XDG_DATA_HOME is an absolute path; otherwise (unset, empty or relative,
// which the base-directory rules say to ignore) `home`/.local/share/taiju-check.
QString userDataFolder(const QString& xdgDataHome, const QString& home) {
    const QString base =
        QDir::isAbsolutePath(xdgDataHome) ? xdgDataHome : home + QStringLiteral("/.local/share");
    return QDir::cleanPath(base + QLatin1Char('/') + kDataFolderName);
}

// The names of the files the install put in the programs' folder, from the
// marker's "file lib/taiju-check/<name>" lines.
QSet<QString> installedNames(const QString& programFolder) {
    QSet<QString> names;
    QFile marker(QDir(programFolder).filePath(QString::fromLatin1(kInstalledMarker)));
    if (!marker.open(QIODevice::ReadOnly))
        return names;
    const QString folderPrefix =
        QStringLiteral("file lib/") + QFileInfo(programFolder).fileName() + QLatin1Char('/');
    while (!marker.atEnd()) {
        const QString line = QString::fromUtf8(marker.readLine()).trimmed();
        if (line.startsWith(folderPrefix))
            names.insert(line.mid(folderPrefix.size()));
    }
    return names;
}

// A moved settings file that named `from` as the log's folder names `to`.
void repointSettings(const QString& settingsFile, const QString& from, const QString& to) {
    const auto path = toWindows(settingsFile);
    const auto fromWindows = toWindows(from);
    const auto toWindowsForm = toWindows(to);
    if (!path || !fromWindows || !toWindowsForm)
        return;
    const auto text = readText(*path);
    if (!text)
        return;
    const SettingsScan scan = scanSettings(*text, true);
    if (scan.outcome != SettingsScan::Valid ||
        QString::fromStdU16String(scan.settings.folder).trimmed() !=
            QString::fromStdU16String(*fromWindows))
        return;
    writeLines(*path, {*toWindowsForm, scan.settings.file});
}

} // namespace

bool installedLayout(const QString& programFolder) {
    return QFileInfo(QDir(programFolder).filePath(QString::fromLatin1(kInstalledMarker))).isFile();
}

bool folderWritable(const QString& folder) {
    return !folder.isEmpty() && ::access(QFile::encodeName(folder).constData(), W_OK) == 0;
}

QString applicationFolder(const QString& programFolder, bool programFolderUsable,
                          const QString& xdgDataHome, const QString& home) {
    if (programFolderUsable)
        return programFolder;
    return userDataFolder(xdgDataHome, home);
}

QString applicationFolder() {
    const QString programFolder = QCoreApplication::applicationDirPath();
    return applicationFolder(programFolder,
                             folderWritable(programFolder) && !installedLayout(programFolder),
                             qEnvironmentVariable("XDG_DATA_HOME"), QDir::homePath());
}

std::optional<std::u16string> applicationDirectory() {
    return toWindows(applicationFolder());
}

bool provisionDataFolder(const QString& programFolder, const QString& dataFolder) {
    if (!makeFolder(dataFolder))
        return false;
    const QString name = QString::fromUtf16(kTemplateItemFile);
    const QString target = QDir(dataFolder).filePath(name);
    if (QFileInfo::exists(target))
        return true;
    // QFile::copy writes a temporary file and renames it at the end, so an
    // interrupted copy never leaves a partial template behind.
    return QFile::copy(QDir(programFolder).filePath(name), target);
}

QStringList moveEarlierFiles(const QString& programFolder, const QString& dataFolder) {
    const QSet<QString> installed = installedNames(programFolder);
    const QString settingsName = QString::fromStdU16String(kSettingsFileName);
    QStringList left;
    const QDir from(programFolder);
    for (const QString& name : from.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (installed.contains(name) || name == QString::fromLatin1(kInstalledMarker))
            continue;
        const QString target = QDir(dataFolder).filePath(name);
        // QFile::rename copies and removes across file systems.
        if (QFileInfo::exists(target) || !QFile::rename(from.filePath(name), target)) {
            left.append(from.filePath(name));
            continue;
        }
        if (name == settingsName)
            repointSettings(target, programFolder, dataFolder);
    }
    return left;
}

bool prepareApplicationFolder() {
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QString folder = applicationFolder();
    if (folder == programFolder)
        return true;
    if (!provisionDataFolder(programFolder, folder))
        return false;
    if (installedLayout(programFolder) && folderWritable(programFolder)) {
        for (const QString& file : moveEarlierFiles(programFolder, folder))
            qWarning("taiju-check: 以前の版のファイル %s をデータフォルダ %s "
                     "に移せませんでした。必要なら手で移してください。",
                     qPrintable(file), qPrintable(folder));
    }
    return true;
}

} // namespace taiju::platform
