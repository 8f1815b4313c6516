// SPDX-License-Identifier: MIT
#include "view/view_settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>

namespace taiju::view {
namespace {

// A settings file larger than this is not the viewer's.
constexpr qint64 kMaxSize = 1 << 20;
const QString kRange = QStringLiteral("chart/range");
const QString kFrom = QStringLiteral("chart/from");
const QString kTo = QStringLiteral("chart/to");
const QString kOutliers = QStringLiteral("chart/includeOutliers");
const QStringList kRanges{QStringLiteral("1m"), QStringLiteral("3m"),  QStringLiteral("6m"),
                          QStringLiteral("1y"), QStringLiteral("all"), QStringLiteral("custom")};

} // namespace

QString ViewSettings::defaultFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/taiju-check/taiju-view.conf");
}

ViewSettings::ViewSettings(const QString& file) : file_(file) {}

bool ViewSettings::usable() const {
    const QFileInfo info(file_);
    if (!info.exists())
        return true;
    if (!info.isFile() || !info.isReadable() || info.size() > kMaxSize)
        return false;
    // QSettings reads past most damage; text that is not UTF-8, or holds a
    // NUL, is damaged too.
    QFile file(file_);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    if (utf8.hasError() || text.contains(QChar(0)))
        return false;
    const QSettings settings(file_, QSettings::IniFormat);
    return settings.status() == QSettings::NoError;
}

QVariant ViewSettings::value(const QString& key, const QVariant& fallback) const {
    if (!usable())
        return fallback;
    return QSettings(file_, QSettings::IniFormat).value(key, fallback);
}

bool ViewSettings::setValue(const QString& key, const QVariant& value) {
    if (!usable() || !QDir().mkpath(QFileInfo(file_).absolutePath()))
        return false;
    QSettings settings(file_, QSettings::IniFormat);
    settings.setValue(key, value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

QString ViewSettings::range() const {
    const QString range = value(kRange).toString();
    if (!kRanges.contains(range))
        return {};
    if (range == QStringLiteral("custom") && !(rangeFrom().isValid() && rangeTo().isValid()))
        return {};
    return range;
}

QDate ViewSettings::rangeFrom() const {
    return QDate::fromString(value(kFrom).toString(), Qt::ISODate);
}

QDate ViewSettings::rangeTo() const {
    return QDate::fromString(value(kTo).toString(), Qt::ISODate);
}

bool ViewSettings::includeOutliers() const {
    return value(kOutliers).toString() == QStringLiteral("true");
}

void ViewSettings::setRange(const QString& range, QDate from, QDate to) {
    setValue(kRange, range);
    if (range == QStringLiteral("custom")) {
        setValue(kFrom, from.toString(Qt::ISODate));
        setValue(kTo, to.toString(Qt::ISODate));
    }
}

void ViewSettings::setIncludeOutliers(bool include) {
    setValue(kOutliers, include ? QStringLiteral("true") : QStringLiteral("false"));
}

} // namespace taiju::view
