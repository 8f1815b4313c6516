#pragma once
// The application directory: the folder of the settings file "ostrel", of
// the template item file and, by default, of the log. It is the programs'
// folder when the user may write there (a build folder, a copy in a folder
// of one's own, an install under ~/.local). Otherwise (an install in /usr,
// any shared install) it is the user's own data folder, so that each user
// keeps their own settings and log and an upgrade of the programs touches
// neither. `applicationDirectory()` gives it in the Windows form.

#include "log/itemfile.h"

#include <QString>

#include <optional>
#include <string>

namespace taiju::platform {

// Whether the user may create files in the folder. This is the one test of
// writability in the tool: access(2) with W_OK, which honours permission
// bits, ACLs and read-only mounts and creates nothing.
bool folderWritable(const QString& folder);

// The native path of the application directory: `programFolder` when it is
// writable, the user's data folder otherwise.
QString applicationFolder(const QString& programFolder, bool programFolderWritable,
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

// Called once by taiju-check at start-up, before its window is built: when
// the application directory is not the programs' folder, provisions it.
// True when there was nothing to do or the provisioning succeeded.
bool prepareApplicationFolder();

} // namespace taiju::platform
