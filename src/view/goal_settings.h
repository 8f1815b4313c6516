// SPDX-License-Identifier: MIT
#pragma once
// The user's own goal weight for each log, kept in the viewer's settings
// file ($XDG_CONFIG_HOME/taiju-check/taiju-view.conf), keyed by the log's
// path; never beside the programs or the log.

#include <QString>

#include <optional>

namespace taiju::view {

// The goals the editor accepts, in kg.
inline constexpr double kLowestGoal = 3;
inline constexpr double kHighestGoal = 200;

// The viewer's settings file.
QString viewerSettingsPath();

// The goal set for the log `log` (native absolute path); nothing when none
// is set, or the settings file is missing, damaged, unreadable or a folder,
// or its value is not a goal the editor would accept.
std::optional<double> storedGoal(const QString& log);

// Keeps `goal` for the log (nothing: the standard weight again), rounded to
// 0.1 kg. False, with the reason in `error`, when the goal is out of range
// or the settings file cannot be read or written; a file that does not read
// is never written over.
bool storeGoal(const QString& log, std::optional<double> goal, QString& error);

} // namespace taiju::view
