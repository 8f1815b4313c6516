// SPDX-License-Identifier: MIT
// Time of one press of the save button with an empty log and with a log of
// 100,000 records, side by side: a save appends and must not read the log,
// so both should cost the same.

#include "platform/fonts.h"
#include "support/form_fixture.h"

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

// Median microseconds of one Command2_Click on a log in `folder` that holds
// `records` records of 256 bytes before the first press.
double medianSave(const QString& folder, long records, int presses) {
    {
        QFile log(folder + QStringLiteral("/体重変化.txt"));
        log.open(QIODevice::WriteOnly | QIODevice::Truncate);
        QByteArray record(254, ' ');
        record += "\r\n";
        QByteArray chunk = record.repeated(1000);
        for (long i = 0; i < records / 1000; ++i)
            log.write(chunk);
    }
    testing::writeBytes(folder + QStringLiteral("/k体重変化.txt"), testing::templateBytes());

    testing::FormFixture w;
    w.useLog(*platform::toWindows(folder));
    w.evaluate(QStringLiteral("65.5"), QStringLiteral("1.65"));
    w.ui().Text7->setText(QStringLiteral("walk"));
    Form1& form = *w.form;

    std::vector<double> times;
    for (int i = 0; i < presses; ++i) {
        auto start = std::chrono::steady_clock::now();
        form.Command2_Click();
        auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    // Every press must have appended one record; anything else timed another path.
    const qint64 expected = 256 * (static_cast<qint64>(records / 1000) * 1000 + presses);
    if (!w.desktop.messageBox.shown.empty() ||
        QFileInfo(folder + QStringLiteral("/体重変化.txt")).size() != expected) {
        std::fprintf(stderr, "save-bench: the presses did not save: %s\n",
                     w.desktop.messageBox.shown.empty()
                         ? "log of unexpected size"
                         : qPrintable(w.desktop.messageBox.shown.front().message));
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
    QTemporaryDir empty, full;
    const int presses = 200;
    // Alternate the two cases so that both see the same machine.
    std::vector<double> e, f;
    for (int round = 0; round < 3; ++round) {
        e.push_back(medianSave(empty.path(), 0, presses));
        f.push_back(medianSave(full.path(), 100000, presses));
    }
    std::sort(e.begin(), e.end());
    std::sort(f.begin(), f.end());
    std::printf("save, empty log:          %8.1f us (median of %d presses, middle of 3 rounds)\n",
                e[1], presses);
    std::printf("save, 100000-record log:  %8.1f us\n", f[1]);
    std::printf("ratio: %.2f (target at most 1.2)\n", f[1] / e[1]);
    return 0;
}
