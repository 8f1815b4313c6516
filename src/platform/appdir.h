// SPDX-License-Identifier: MIT
#pragma once
// The application directory: the folder of the settings file "ostrel", of
// the template item file and, by default, of the log. For a copy of the
// programs run from its build folder or from a folder of one's own, it is
// the programs' folder when the user may write there. For an installed copy
// (a package, `cmake --install`: the install rules put a marker beside the
// programs) and for a folder the user cannot write to, it is the user's own
// data folder, whoever the user is, root included: each user keeps their own
// settings and log, an upgrade of the programs touches neither, and the
// installed tree is never written to. `applicationDirectory()` gives it in
// the Windows form.

#include "log/itemfile.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <string>

namespace taiju::platform {

// Whether the user may create files in the folder. This is the one test of
// writability in the tool: access(2) with W_OK, which honours permission
// bits, ACLs and read-only mounts and creates nothing.
bool folderWritable(const QString& folder);

// The marker the install rules write beside installed programs; it lists
// what the install put in place ("file <path relative to the prefix>").
inline constexpr char kInstalledMarker[] = "installed-files";

// Whether the programs in the folder are an installed copy (the marker is
// there).
bool installedLayout(const QString& programFolder);

// The native path of the application directory: `programFolder` when it may
// hold the files (writable, and not an installed layout), the user's data
// folder otherwise.
QString applicationFolder(const QString& programFolder, bool programFolderUsable,
                          const QString& xdgDataHome, const QString& home);

// The same for the running program, from its own folder and the environment.
// It only decides: it creates and writes nothing, so that programs that only
// read the tool's files can call it.
QString applicationFolder();

// The application directory in the Windows form, without a final "\"
// except for the root; nothing when it cannot be written in that form. It is
// the running program's folder, or the user's data folder when that folder
// cannot be written (it creates nothing).
std::optional<std::u16string> applicationDirectory();

// Makes `dataFolder` ready to serve as application directory: creates it
// (and missing parents, mode 0700) when missing, and copies the template item
// file from `programFolder` into it when it is not there yet. A template
// already there is kept. False when the folder cannot be made or the
// template cannot be copied.
bool provisionDataFolder(const QString& programFolder, const QString& dataFolder);

// Moves what an earlier version of the tool wrote beside installed programs
// (its settings file, log and item files: every file the marker does not
// list) into `dataFolder`, and points a moved settings file that named
// `programFolder` as the log's folder at `dataFolder` instead. A file whose
// name is already taken in `dataFolder`, or that cannot be moved, stays where
// it is. Gives the native paths of the files left behind.
QStringList moveEarlierFiles(const QString& programFolder, const QString& dataFolder);

// Called once by taiju-check at start-up, before its window is built: when
// the application directory is not the programs' folder, provisions it and,
// for an installed copy, moves the files an earlier version wrote beside the
// programs into it (a warning names any file left behind). True when there
// was nothing to do or the provisioning succeeded.
bool prepareApplicationFolder();

} // namespace taiju::platform
