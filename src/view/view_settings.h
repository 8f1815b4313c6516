// SPDX-License-Identifier: MIT
#pragma once
// The viewer's own choices (the range in view, whether typos are included),
// kept in the user's configuration, $XDG_CONFIG_HOME/taiju-check/
// taiju-view.conf, never beside the programs or the log. A file that is
// damaged, unreadable or not a file gives the defaults and is never written.

#include <QDate>
#include <QString>
#include <QVariant>

namespace taiju::view {

class ViewSettings {
  public:
    // $XDG_CONFIG_HOME/taiju-check/taiju-view.conf (~/.config without it).
    static QString defaultFile();

    explicit ViewSettings(const QString& file = defaultFile());

    // The range last chosen: "1m", "3m", "6m", "1y", "all" or "custom" (with
    // rangeFrom() and rangeTo()); empty when none was chosen or it does not read.
    QString range() const;
    QDate rangeFrom() const;
    QDate rangeTo() const;
    // Whether records set aside as typos are shown and counted (off by default).
    bool includeOutliers() const;

    void setRange(const QString& range, QDate from = {}, QDate to = {});
    void setIncludeOutliers(bool include);

    // A key's value; `fallback` when the file cannot be used or lacks it.
    QVariant value(const QString& key, const QVariant& fallback = {}) const;
    // Stores a key. False, and nothing written, when the file is damaged,
    // unreadable or cannot be written.
    bool setValue(const QString& key, const QVariant& value);

    const QString& file() const { return file_; }

  private:
    // Whether the file is absent, or a readable file that parses.
    bool usable() const;

    QString file_;
};

} // namespace taiju::view
