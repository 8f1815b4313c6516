// SPDX-License-Identifier: MIT
// The time the 統計 view adds: the viewer window on a log is opened (built,
// shown, its events handled) and then its 統計 tab brought to front; both
// are timed, in milliseconds of elapsed and of CPU time (all the process's
// threads), under whatever platform Qt is given.
//
//   stats-view-bench LOG   prints "open-ms stats-ms open-cpu-ms stats-cpu-ms"

#include "platform/fonts.h"
#include "view/log_viewer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTabWidget>

#include <cstdio>
#include <ctime>

// Handles the events posted until none is left, the deferred layouts and
// paints included.
static void settle() {
    for (int i = 0; i < 5; ++i) {
        QApplication::sendPostedEvents();
        QApplication::processEvents();
    }
}

// The CPU time the process has taken, in milliseconds.
static double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: stats-view-bench LOG\n");
        return 2;
    }
    taiju::useWindowFonts();
    QElapsedTimer clock;
    const double startCpu = cpuMs();
    clock.start();
    taiju::view::LogViewer viewer(QString::fromLocal8Bit(argv[1]));
    viewer.show();
    settle();
    const qint64 open = clock.nsecsElapsed();
    const double openCpu = cpuMs();
    clock.restart();
    viewer.findChild<QTabWidget*>(QStringLiteral("tabs"))->setCurrentIndex(2);
    settle();
    const qint64 stats = clock.nsecsElapsed();
    const double statsCpu = cpuMs();
    std::printf("%.1f %.1f %.1f %.1f\n", open / 1e6, stats / 1e6, openCpu - startCpu,
                statsCpu - openCpu);
    return 0;
}
