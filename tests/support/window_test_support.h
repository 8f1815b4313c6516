#pragma once
// What the window tests share: the fakes wired into a Form1, the fonts, and
// temporary application directories.

#include "platform/fakes.h"
#include "platform/winpath.h"
#include "ui/form1.h"
#include "ui_form1.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <string>

namespace taiju::testing {

// Recording fakes for a Form1. Each test points the application directory
// at a temporary folder of its own (Windows form), so that Form_Load writes there.
struct FakeDesktop {
    platform::FakeMessageBox messageBox;
    platform::FakeBeeper beeper;
    platform::FakeClock clock;
    platform::FakeAppDirectory appDirectory;
    platform::FakeFileDialog fileDialog;
    platform::Services services() { return {messageBox, beeper, clock, appDirectory, fileDialog}; }
};

// The Windows form of a native absolute path ("Z:\tmp\x").
std::u16string windowsPath(const QString& native);

// Reads or writes a whole file as raw bytes.
QByteArray readBytes(const QString& native);
void writeBytes(const QString& native, const QByteArray& bytes);

// The bytes of the template item file shipped with the program.
QByteArray templateBytes();

// Copies the template item file into `dir` under its own name.
void installTemplate(const QString& dir);

} // namespace taiju::testing
