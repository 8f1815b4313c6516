// SPDX-License-Identifier: MIT
// The time the 統計 view adds: the viewer window on a log is opened (built,
// shown, its events handled) and then its 統計 tab brought to front; both
// are timed, in milliseconds, under whatever platform Qt is given.
//
//   stats-view-bench LOG   prints "open-ms stats-ms"

#include "platform/fonts.h"
#include "view/log_viewer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTabWidget>

#include <cstdio>
#include <cstdlib>

// Handles the events posted until none is left, the deferred layouts and
// paints included.
static void settle() {
    for (int i = 0; i < 5; ++i) {
        QApplication::sendPostedEvents();
        QApplication::processEvents();
    }
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: stats-view-bench LOG\n");
        return 2;
    }
    taiju::useWindowFonts();
    QElapsedTimer clock;
    clock.start();
    taiju::view::LogViewer viewer(QString::fromLocal8Bit(argv[1]));
    viewer.show();
    settle();
    const qint64 open = clock.nsecsElapsed();
    clock.restart();
    viewer.findChild<QTabWidget*>(QStringLiteral("tabs"))->setCurrentIndex(2);
    const qint64 shown = clock.nsecsElapsed();
    settle();
    const qint64 stats = clock.nsecsElapsed();
    std::printf("%.1f %.1f\n", open / 1e6, stats / 1e6);
    if (std::getenv("STATS_VIEW_SPLIT"))
        std::fprintf(stderr, "switch %.1f settle %.1f\n", shown / 1e6, (stats - shown) / 1e6);
    return 0;
}
