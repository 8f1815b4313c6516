// SPDX-License-Identifier: MIT
#include "view/goal_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

#include <cmath>
#include <memory>

namespace taiju::view {

namespace {

// A path holds "/", the separator of QSettings' groups: it is kept encoded.
QString goalKey(const QString& log) {
    return QStringLiteral("goal/") +
           QString::fromLatin1(QUrl::toPercentEncoding(QDir::cleanPath(log)));
}

bool acceptable(double goal) {
    return std::isfinite(goal) && goal >= kLowestGoal && goal <= kHighestGoal;
}

// The settings as they read; nothing when the file is there but does not
// read as settings (a folder, unreadable, damaged).
std::unique_ptr<QSettings> openSettings() {
    const QString path = viewerSettingsPath();
    const QFileInfo info(path);
    if (info.exists() && (!info.isFile() || !info.isReadable()))
        return nullptr;
    auto settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
    if (settings->status() != QSettings::NoError)
        return nullptr;
    return settings;
}

} // namespace

QString viewerSettingsPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/taiju-check/taiju-view.conf");
}

std::optional<double> storedGoal(const QString& log) {
    const auto settings = openSettings();
    if (!settings)
        return std::nullopt;
    bool ok = false;
    const double goal = settings->value(goalKey(log)).toString().toDouble(&ok);
    if (!ok || !acceptable(goal))
        return std::nullopt;
    return goal;
}

bool storeGoal(const QString& log, std::optional<double> goal, QString& error) {
    if (goal && !acceptable(*goal)) {
        error = QStringLiteral("目標体重は 3～200 kg で指定してください");
        return false;
    }
    const auto settings = openSettings();
    if (!settings) {
        error = QStringLiteral("設定ファイル「%1」を読めないため、目標体重を保存しません")
                    .arg(QDir::toNativeSeparators(viewerSettingsPath()));
        return false;
    }
    if (goal)
        settings->setValue(goalKey(log), QString::number(std::round(*goal * 10) / 10, 'f', 1));
    else
        settings->remove(goalKey(log));
    settings->sync();
    if (settings->status() != QSettings::NoError) {
        error = QStringLiteral("設定ファイル「%1」に目標体重を保存できませんでした")
                    .arg(QDir::toNativeSeparators(viewerSettingsPath()));
        return false;
    }
    return true;
}

} // namespace taiju::view
