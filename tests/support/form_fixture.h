// SPDX-License-Identifier: MIT
#pragma once
// What the window tests and the benchmarks share: a Form1 on recording fakes
// in a temporary application directory, and a few file helpers.

#include "platform/winpath.h"
#include "support/fakes.h"
#include "ui/form1.h"
#include "ui_form1.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <string>

namespace taiju::testing {

// The default name of the log.
inline const QString kLogName = QStringLiteral("体重変化.txt");

// The recording fakes, wired together as the window's services.
struct FakeDesktop {
    FakeMessageBox messageBox;
    FakeBeeper beeper;
    FakeClock clock;
    FakeAppDirectory appDirectory;
    FakeFileDialog fileDialog;
    platform::Services services() { return {messageBox, beeper, clock, appDirectory, fileDialog}; }
};

// A Form1 on fakes whose application directory is the fresh temporary folder
// `app`, so that Form_Load reads and writes "ostrel" there. The window is
// built at once, or by load() when a test prepares files first. Test
// programs extend it with what they need.
struct FormFixture {
    enum class Build { Now, Later };

    QTemporaryDir app;
    FakeDesktop desktop;
    std::unique_ptr<Form1> form;

    explicit FormFixture(Build when = Build::Now);
    // Builds the window (its constructor runs Form_Load).
    void load();
    Ui::Form1& ui() { return form->controls(); }

    // The application directory in the Windows form.
    QString appDir() const;
    // The caption of lblFOLDER.
    QString caption() const;
    // Points the log at 体重変化.txt in `folder` (Windows form, no final
    // "\"), as start-up would have: strFOLDER, strFILE and lblFOLDER.
    void useLog(const std::u16string& folder);
    // Types the weight and the height and clicks "肥満度計算".
    void evaluate(const QString& weight, const QString& height);
    // True when no message box was shown and no beep sounded.
    bool silent() const;
    // Forgets the message boxes and beeps recorded so far.
    void forget();
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
