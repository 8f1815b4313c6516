// SPDX-License-Identifier: MIT
#pragma once
// The services of the desktop that the window's handlers use, each behind a
// small interface so that tests can put a recording fake in its place.

#include <QString>
#include <QStringList>

#include <optional>
#include <string>

namespace taiju::platform {

class MessageBox {
  public:
    virtual ~MessageBox() = default;
    // A modal box with the message, the title, a single OK button, no icon.
    virtual void show(const QString& message, const QString& title) = 0;
};

class Beeper {
  public:
    virtual ~Beeper() = default;
    virtual void beep() = 0;
};

struct LocalDate {
    int year, month, day;
};
struct LocalTime {
    int hour, minute, second;
};

class Clock {
  public:
    virtual ~Clock() = default;
    virtual LocalDate date() = 0;
    virtual LocalTime time() = 0;
};

class AppDirectory {
  public:
    virtual ~AppDirectory() = default;
    // The program's directory in the Windows form, without a final "\"
    // except for the root; nothing when it cannot be written in that form.
    virtual std::optional<std::u16string> path() = 0;
};

class FileDialog {
  public:
    virtual ~FileDialog() = default;
    // A modal open-file dialog. `filter` is the "|"-separated list of
    // description/pattern pairs; `initialFile` a Windows-form path. Gives the
    // chosen path in the Windows form, or nothing on cancel or when the chosen
    // path cannot be written in that form.
    virtual std::optional<std::u16string> open(const QString& title, const QString& filter,
                                               const std::u16string& initialFile) = 0;
};

// Everything the window needs from the desktop.
struct Services {
    MessageBox& messageBox;
    Beeper& beeper;
    Clock& clock;
    AppDirectory& appDirectory;
    FileDialog& fileDialog;
};

} // namespace taiju::platform
