#pragma once
// The application directory: the folder of the settings file "ostrel", of
// the template item file and, by default, of the log. It is the programs'
// folder when the user may write there (a build folder, a copy in a folder
// of one's own, an install under ~/.local). Otherwise (an install in /usr,
// any shared install) it is the user's own data folder, so that each user
// keeps their own settings and log and an upgrade of the programs touches
// neither. `applicationDirectory()` (winpath.h) gives it in the Windows form.

#include "log/itemfile.h"

#include <QString>

namespace taiju::platform {

// Whether the user may create files in the folder. This is the one test of
// writability in the tool: access(2) with W_OK, which honours permission
// bits, ACLs and read-only mounts and creates nothing.
bool folderWritable(const QString& folder);

// The tool's folder among the user's data: `xdgDataHome`/taiju-check when
// XDG_DATA_HOME is an absolute path; otherwise (unset, empty or relative,
// which the base-directory rules say to ignore) `home`/.local/share/taiju-check.
QString userDataFolder(const QString& xdgDataHome, const QString& home);

// The native path of the application directory: `programFolder` when it is
// writable, the user's data folder otherwise.
QString applicationFolder(const QString& programFolder, bool programFolderWritable,
                          const QString& xdgDataHome, const QString& home);

// The same for the running program, from its own folder and the environment.
// It only decides: it creates and writes nothing, so that programs that only
// read the tool's files can call it.
QString applicationFolder();

// Makes `dataFolder` ready to serve as application directory: creates it
// (and missing parents, mode 0700) when missing, and copies the template item
// file from `programFolder` into it when it is not there yet. A template
// already there is kept. False when the folder cannot be made or the
// template cannot be copied.
bool provisionDataFolder(const QString& programFolder, const QString& dataFolder);

// Called once by taiju-check at start-up, before its window is built: when
// the application directory is not the programs' folder, provisions it.
// True when there was nothing to do or the provisioning succeeded.
bool prepareApplicationFolder();

} // namespace taiju::platform
