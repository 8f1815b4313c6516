// SPDX-License-Identifier: MIT
#include "platform/winpath.h"

#include "log/paths.h"

#include <QDir>

namespace taiju::platform {

namespace {
QString fromU16(std::u16string_view s) {
    return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}
} // namespace

std::optional<QString> toNative(std::u16string_view path) {
    if (holdsNul(path))
        return std::nullopt;
    if (path.size() < 2 || path[1] != u':' || (path[0] != u'Z' && path[0] != u'z'))
        return std::nullopt;
    QString rest = fromU16(path.substr(2));
    rest.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (rest.startsWith(QLatin1Char('/')))
        return rest;
    QString base = QDir::currentPath();
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    return base + rest;
}

std::optional<std::u16string> toWindows(const QString& nativePath) {
    if (!nativePath.startsWith(QLatin1Char('/')) || nativePath.contains(QLatin1Char('\\')))
        return std::nullopt;
    QString path = nativePath;
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    path.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return (QStringLiteral("Z:") + path).toStdU16String();
}

} // namespace taiju::platform
