// SPDX-License-Identifier: MIT
// Takes the screenshots that the software centres show, from the real
// windows (QWidget::grab), run under the offscreen platform at build time:
// the window 体重チェック after five checks were evaluated and saved, and the
// viewer 体重ログ showing the chart of the log they made. The clock is fixed
// and the log's folder is OUTDIR/data, made anew, so that two builds in one
// place draw the same pictures.
//
// Usage: taiju-screenshots OUTDIR TEMPLATE-ITEM-FILE
// Writes OUTDIR/taiju-check.png and OUTDIR/taiju-view.png.

#include "log/itemfile.h"
#include "platform/fonts.h"
#include "platform/services.h"
#include "platform/winpath.h"
#include "ui/form1.h"
#include "ui_form1.h"
#include "view/log_viewer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTabWidget>

#include <cstdio>

namespace {

using namespace taiju::platform;

// A message would mean the pictures show something else: said and counted.
class ReportingMessageBox : public MessageBox {
  public:
    void show(const QString& message, const QString& title) override {
        std::fprintf(stderr, "taiju-screenshots: %s: %s\n", qPrintable(title), qPrintable(message));
        ++shown;
    }
    int shown = 0;
};

class SilentBeeper : public Beeper {
  public:
    void beep() override {}
};

// One day later at every reading of the date.
class FixedClock : public Clock {
  public:
    LocalDate date() override { return {2026, 11, ++day}; }
    LocalTime time() override { return {7, 30, 0}; }

  private:
    int day = 0;
};

class FolderAppDirectory : public AppDirectory {
  public:
    explicit FolderAppDirectory(const QString& folder) : folder_(folder) {}
    std::optional<std::u16string> path() override { return toWindows(folder_); }

  private:
    QString folder_;
};

class NoFileDialog : public FileDialog {
  public:
    std::optional<std::u16string> open(const QString&, const QString&,
                                       const std::u16string&) override {
        return std::nullopt;
    }
};

bool save(QWidget& window, const QString& file) {
    if (window.grab().save(file, "PNG"))
        return true;
    std::fprintf(stderr, "taiju-screenshots: cannot write %s\n", qPrintable(file));
    return false;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: taiju-screenshots OUTDIR TEMPLATE-ITEM-FILE\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir data(out.filePath(QStringLiteral("data")));
    const QString templ = data.filePath(QString::fromUtf16(taiju::kTemplateItemFile));
    if (!data.removeRecursively() || !data.mkpath(QStringLiteral(".")) ||
        !QFile::copy(QString::fromLocal8Bit(argv[2]), templ)) {
        std::fprintf(stderr, "taiju-screenshots: cannot prepare the folders\n");
        return 1;
    }
    taiju::useWindowFonts();

    ReportingMessageBox messageBox;
    SilentBeeper beeper;
    FixedClock clock;
    FolderAppDirectory appDirectory(data.absolutePath());
    NoFileDialog fileDialog;
    taiju::Form1 form({messageBox, beeper, clock, appDirectory, fileDialog});
    form.show();
    auto& ui = form.controls();
    const struct {
        const char* weight;
        const char* comment;
    } checks[] = {{"66.8", ""}, {"66.1", "朝"}, {"65.9", ""}, {"65.2", "散歩"}, {"64.7", "朝食前"}};
    for (const auto& check : checks) {
        ui.Text3->setText(QString::fromLatin1(check.weight));
        ui.Text4->setText(QStringLiteral("1.65"));
        ui.Command1->click();
        ui.Text7->setText(QString::fromUtf8(check.comment));
        ui.Command2->click();
    }
    QApplication::processEvents();
    if (messageBox.shown > 0 || !save(form, out.filePath(QStringLiteral("taiju-check.png"))))
        return 1;

    taiju::view::LogViewer viewer(data.absoluteFilePath(QStringLiteral("体重変化.txt")));
    viewer.resize(900, 640);
    viewer.show();
    // The chart, the viewer's second tab.
    if (auto* tabs = viewer.findChild<QTabWidget*>())
        tabs->setCurrentIndex(1);
    QApplication::processEvents();
    return save(viewer, out.filePath(QStringLiteral("taiju-view.png"))) ? 0 : 1;
}
