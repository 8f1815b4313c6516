#include "platform/appdir.h"

#include "platform/winpath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

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

} // namespace

bool folderWritable(const QString& folder) {
    return !folder.isEmpty() && ::access(QFile::encodeName(folder).constData(), W_OK) == 0;
}

QString applicationFolder(const QString& programFolder, bool programFolderWritable,
                          const QString& xdgDataHome, const QString& home) {
    if (programFolderWritable)
        return programFolder;
    return userDataFolder(xdgDataHome, home);
}

QString applicationFolder() {
    const QString programFolder = QCoreApplication::applicationDirPath();
    return applicationFolder(programFolder, folderWritable(programFolder),
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

bool prepareApplicationFolder() {
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QString folder = applicationFolder();
    if (folder == programFolder)
        return true;
    return provisionDataFolder(programFolder, folder);
}

} // namespace taiju::platform
