// SPDX-License-Identifier: MIT
// Times the viewer's chart on one log: the window at 1200x800 with the chart
// in front, then RUNS rounds of changing the range (3か月, then 全期間) and
// of one zoom step, each followed by a full repaint of the window. Prints
// the medians in milliseconds of CPU time and the process's peak memory:
//
//   chart-bench LOG [RUNS]   ->   "range_ms zoom_ms peak_kib"
//
// Run under the offscreen platform (bench/chart_bench.sh does).

#include "view/log_chart.h"
#include "view/log_viewer.h"

#include <QApplication>
#include <QFile>
#include <QTabWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

long peakKib() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: chart-bench LOG [RUNS]\n");
        return 2;
    }
    const int runs = argc > 2 ? std::atoi(argv[2]) : 7;
    taiju::view::LogViewer viewer(QString::fromLocal8Bit(argv[1]));
    viewer.resize(1200, 800);
    viewer.show();
    viewer.findChild<QTabWidget*>(QStringLiteral("tabs"))->setCurrentIndex(1);
    auto* chart = viewer.findChild<taiju::view::LogChart*>(QStringLiteral("chart"));
    QCoreApplication::processEvents();
    viewer.grab();

    // CPU time of the process: the machine may be shared, and the redraw
    // runs on the one thread.
    auto cpuMs = [] {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
    };
    auto timed = [&](const auto& change) {
        const double start = cpuMs();
        change();
        QCoreApplication::processEvents();
        viewer.grab(); // the window painted anew
        return cpuMs() - start;
    };
    std::vector<double> range, zoom;
    for (int i = 0; i < runs; ++i) {
        range.push_back(timed([&] { chart->showRange({QStringLiteral("3m"), {}, {}}); }));
        range.push_back(timed([&] { chart->showRange({QStringLiteral("all"), {}, {}}); }));
        zoom.push_back(timed([&] { chart->zoom(0.8); }));
    }
    std::printf("%.2f %.2f %ld\n", median(range), median(zoom), peakKib());
    return 0;
}
