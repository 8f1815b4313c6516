// Time of one press of the save button with an empty log and with a log of
// 100,000 records, side by side: a save appends and must not read the log,
// so both should cost the same.

#include "platform/fakes.h"
#include "platform/winpath.h"
#include "ui/fonts.h"
#include "ui/form1.h"
#include "ui_form1.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using namespace taiju;

struct Desktop {
    platform::FakeMessageBox messageBox;
    platform::FakeBeeper beeper;
    platform::FakeClock clock;
    platform::FakeAppDirectory appDirectory;
    platform::FakeFileDialog fileDialog;
};

// Median microseconds of one Command2_Click on a log in `folder` that holds
// `records` records of 256 bytes before the first press.
double medianSave(const QString& appDir, const QString& folder, long records, int presses) {
    {
        QFile log(folder + QStringLiteral("/体重変化.txt"));
        log.open(QIODevice::WriteOnly | QIODevice::Truncate);
        QByteArray record(254, ' ');
        record += "\r\n";
        QByteArray chunk = record.repeated(1000);
        for (long i = 0; i < records / 1000; ++i)
            log.write(chunk);
    }
    QFile::remove(folder + QStringLiteral("/k体重変化.txt"));
    QFile::copy(appDir + QStringLiteral("/k体重変化.___"),
                folder + QStringLiteral("/k体重変化.txt"));

    Desktop d;
    d.appDirectory.dir = platform::toWindows(appDir);
    Form1 form({d.messageBox, d.beeper, d.clock, d.appDirectory, d.fileDialog});
    form.strFOLDER = *platform::toWindows(folder);
    form.strFILE = u"体重変化.txt";
    form.controls().lblFOLDER->setText(
        QString::fromStdU16String(*platform::toWindows(folder + QStringLiteral("/体重変化.txt"))));
    auto& ui = form.controls();
    ui.Text3->setText(QStringLiteral("65.5"));
    ui.Text4->setText(QStringLiteral("1.65"));
    form.Command1_Click();
    ui.Text7->setText(QStringLiteral("walk"));

    std::vector<double> times;
    for (int i = 0; i < presses; ++i) {
        auto start = std::chrono::steady_clock::now();
        form.Command2_Click();
        auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    // Every press must have appended one record; anything else timed another path.
    const qint64 expected = 256 * (static_cast<qint64>(records / 1000) * 1000 + presses);
    if (!d.messageBox.shown.empty() ||
        QFileInfo(folder + QStringLiteral("/体重変化.txt")).size() != expected) {
        std::fprintf(stderr, "save-bench: the presses did not save: %s\n",
                     d.messageBox.shown.empty() ? "log of unexpected size"
                                                : qPrintable(d.messageBox.shown.front().message));
        std::exit(1);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    taiju::useWindowFonts();
    // The template lies beside the program in the build's bin directory.
    const QString appDir = QCoreApplication::applicationDirPath() + QStringLiteral("/../bin");
    if (!QFileInfo::exists(appDir + QStringLiteral("/k体重変化.___"))) {
        std::fprintf(stderr, "save-bench: no template item file in %s (build taiju-check)\n",
                     qPrintable(QDir(appDir).absolutePath()));
        return 1;
    }
    QTemporaryDir empty, full;
    const int presses = 200;
    // Alternate the two cases so that both see the same machine.
    std::vector<double> e, f;
    for (int round = 0; round < 3; ++round) {
        e.push_back(medianSave(QDir(appDir).absolutePath(), empty.path(), 0, presses));
        f.push_back(medianSave(QDir(appDir).absolutePath(), full.path(), 100000, presses));
    }
    std::sort(e.begin(), e.end());
    std::sort(f.begin(), f.end());
    std::printf("save, empty log:          %8.1f us (median of %d presses, middle of 3 rounds)\n",
                e[1], presses);
    std::printf("save, 100000-record log:  %8.1f us\n", f[1]);
    std::printf("ratio: %.2f (target at most 1.2)\n", f[1] / e[1]);
    return 0;
}
