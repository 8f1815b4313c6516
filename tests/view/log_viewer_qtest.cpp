// SPDX-License-Identifier: MIT
// The viewer window on a real log: the table's rows and headers, the chart's
// series, following the log as it grows, and exports that leave the tool's
// files alone.

#include "log/itemfile.h"
#include "log/record.h"
#include "platform/fonts.h"
#include "support/view_log.h"
#include "text/encoding.h"
#include "view/log_chart.h"
#include "view/log_viewer.h"
#include "view/png_writer.h"
#include "view/view_settings.h"

#include <QAbstractItemModel>
#include <QAreaSeries>
#include <QBuffer>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QDateEdit>
#include <QDateTime>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QValueAxis>

#include <cmath>
#include <cstdio>

using namespace taiju;
using namespace taiju::view;
using namespace taiju::testing;

namespace {

void appendBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Append));
    QCOMPARE(f.write(bytes), bytes.size());
}

const QByteArray kTemplate = templateItemFile();

// The points drawn in a series of the chart, its tab in front.
QList<QPointF> points(LogViewer& v, const char* chart, const char* series) {
    v.findChild<QTabWidget*>(QStringLiteral("tabs"))->setCurrentIndex(1);
    auto* view = v.findChild<QChartView*>(QString::fromLatin1(chart));
    for (QAbstractSeries* s : view->chart()->series())
        if (s->objectName() == QLatin1String(series))
            return static_cast<QXYSeries*>(s)->points();
    return {};
}

// The chart's time axis counts days since 0001-01-01 in local time.
double at(int month, int day, int year = 2003) {
    return static_cast<double>(QDate(year, month, day).toJulianDay() -
                               QDate(1, 1, 1).toJulianDay()) +
           7.5 / 24;
}

// A log of three records in a temporary folder: 2 May, 1 May (written
// later), one without a date; the third line is irregular.
struct Log {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("体重変化.txt"));
    QString itemFile = dir.filePath(QStringLiteral("k体重変化.txt"));
    Log() {
        QFile item(itemFile);
        item.open(QIODevice::WriteOnly);
        item.write(kTemplate);
        item.close();
        QFile log(path);
        log.open(QIODevice::WriteOnly);
        log.write(record(u"66.0", u"24.243", u"05-02-2003 07:30:00", u"朝") +
                  record(u"65.5", u"24.059", u"05-01-2003 07:30:00", u"walk, \"fast\"") +
                  record(u"64", u"", u"", u"日付なし").chopped(4) + "\r\n");
    }
};

// A log of `days` daily records from 1 January 2003, 70 kg and a little,
// with the typo 7.0 on day `typo` (none when out of range).
struct LongLog : Log {
    explicit LongLog(int days, int typo) {
        QByteArray bytes;
        for (int d = 0; d < days; ++d) {
            const QDate date = QDate(2003, 1, 1).addDays(d);
            const QString weight =
                d == typo ? QStringLiteral("7.0") : QString::number(70 + (d % 5) * 0.2, 'f', 1);
            const QString stamp = date.toString(QStringLiteral("MM-dd-yyyy 07:30:00"));
            bytes += record(weight.toStdU16String().c_str(), u"25.7",
                            stamp.toStdU16String().c_str(), u"");
        }
        QFile log(path);
        log.open(QIODevice::WriteOnly | QIODevice::Truncate);
        log.write(bytes);
    }
};

void send(QWidget* to, QEvent::Type type, QPointF pos, Qt::MouseButton button = Qt::NoButton) {
    QMouseEvent event(type, pos, to->mapToGlobal(pos), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
    QCoreApplication::sendEvent(to, &event);
}

void wheel(QWidget* to, QPointF pos, int delta) {
    QWheelEvent event(pos, to->mapToGlobal(pos), {}, {0, delta}, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(to, &event);
}

// Where a point of a series is drawn, in its chart view's viewport.
QPointF onScreen(LogViewer& v, const char* chart, const char* series, QPointF value) {
    auto* view = v.findChild<QChartView*>(QString::fromLatin1(chart));
    for (QAbstractSeries* s : view->chart()->series())
        if (s->objectName() == QLatin1String(series))
            return view->mapFromScene(
                view->chart()->mapToScene(view->chart()->mapToPosition(value, s)));
    return {};
}

double span(LogChart* chart) {
    return chart->viewRange().to - chart->viewRange().from;
}

} // namespace

class LogViewerTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        useWindowFonts();
        QVERIFY(config_.isValid());
        qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
    }
    void init() { QFile::remove(ViewSettings::defaultFile()); }

    void tableShowsRecordsInFileOrder() {
        Log log;
        LogViewer v(log.path);
        QCOMPARE(v.windowTitle(),
                 QStringLiteral("体重ログ - 体重変化.txt (%1)").arg(log.dir.path()));
        QVERIFY(!v.windowIcon().isNull());
        const QAbstractItemModel* m = v.findChild<QTableView*>(QStringLiteral("table"))->model();
        QCOMPARE(m->columnCount(), 7);
        QStringList headers;
        for (int c = 0; c < 7; ++c)
            headers << m->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(headers.join(u','),
                 QStringLiteral("体重(Kg),身長(m),標準体重,肥満度,BMI,日付,コメント"));
        QCOMPARE(m->rowCount(), 3);
        QCOMPARE(m->index(0, 0).data().toString(), QStringLiteral("66.0"));
        QCOMPARE(m->index(0, 6).data().toString(), QStringLiteral("朝"));
        QCOMPARE(m->index(1, 5).data().toString(), QStringLiteral("2003/05/01(木) 07:30:00"));
        QCOMPARE(m->index(1, 6).data().toString(), QStringLiteral("walk, \"fast\""));
        QCOMPARE(m->index(2, 6).data().toString(), QStringLiteral("日付なし"));
        // The irregular third line is marked; the others are not.
        QCOMPARE(m->headerData(2, Qt::Vertical).toString(), QStringLiteral("※？3"));
        QCOMPARE(m->headerData(1, Qt::Vertical).toString(), QStringLiteral("2"));
        QVERIFY(m->index(2, 0).data(Qt::BackgroundRole).isValid());
        QVERIFY(!m->index(1, 0).data(Qt::BackgroundRole).isValid());
        QCOMPARE(v.findChild<QLabel*>(QStringLiteral("status"))->text(),
                 log.path + QStringLiteral(
                                "　記録 3 件　長さの不規則な行 1（3 行目）　日付の読めない記録 1"));
    }

    void chartShowsDatedRecordsWithTrend() {
        Log log;
        LogViewer v(log.path);
        v.show();
        // Date order: 1 May (65.5) before 2 May (66.0); the undated one is out.
        QCOMPARE(points(v, "weightChart", "weightSeries"),
                 (QList<QPointF>{{at(5, 1), 65.5}, {at(5, 2), 66.0}}));
        QCOMPARE(points(v, "weightChart", "trendSeries"),
                 (QList<QPointF>{{at(5, 1), 65.5}, {at(5, 2), 65.55}}));
        QCOMPARE(points(v, "weightChart", "standardSeries"),
                 (QList<QPointF>{{at(5, 1), 59.895}, {at(5, 2), 59.895}}));
        QCOMPARE(points(v, "bmiChart", "bmiSeries"),
                 (QList<QPointF>{{at(5, 1), 24.059}, {at(5, 2), 24.243}}));
        auto* bmi = v.findChild<QChartView*>(QStringLiteral("bmiChart"))->chart();
        QStringList bands;
        for (QAbstractSeries* s : bmi->series())
            if (auto* area = qobject_cast<QAreaSeries*>(s))
                bands << area->name() + u' ' + area->brush().color().name() + u' ' +
                             QString::number(area->lowerSeries()->at(0).y()) + u'-' +
                             QString::number(area->upperSeries()->at(0).y());
        // The BMI axis fits the values (24.06 to 24.24), the bands cut to it.
        QCOMPARE(bands.size(), 4);
        QVERIFY(bands[0].startsWith(QStringLiteral("やせぎみ #ffc0c0 ")));
        QVERIFY(bands[1].startsWith(QStringLiteral("正常体重 #00ff00 ")));
        QVERIFY(bands[1].endsWith(QStringLiteral("-24")));
        QVERIFY(bands[2].startsWith(QStringLiteral("やや肥満 #ffc0c0 24-")));
        QVERIFY(bands[3].startsWith(QStringLiteral("肥満 #ff8080 ")));
        auto* standard = v.findChild<QChartView*>(QStringLiteral("weightChart"))
                             ->chart()
                             ->findChild<QLineSeries*>(QStringLiteral("standardSeries"));
        QVERIFY(standard);
        QCOMPARE(standard->pen().style(), Qt::DashLine);
    }

    void rangeZoomAndTyposSetAside() {
        LongLog log(200, 100); // 2003-01-01 to 2003-07-19, the typo on 04-11
        const QByteArray logBytes = readBytes(log.path);
        LogViewer v(log.path);
        v.show();
        points(v, "weightChart", "weightSeries");
        auto* chart = v.findChild<LogChart*>(QStringLiteral("chart"));
        auto* weightAxis =
            qobject_cast<QValueAxis*>(v.findChild<QChartView*>(QStringLiteral("weightChart"))
                                          ->chart()
                                          ->axes(Qt::Vertical)[0]);
        // Over three months the default is 3か月, up to the last record.
        QVERIFY(v.findChild<QToolButton*>(QStringLiteral("range3m"))->isChecked());
        QVERIFY(qAbs(chart->viewRange().from - at(4, 19)) < 1);
        QVERIFY(chart->viewRange().to > at(7, 19));
        QVERIFY(points(v, "weightChart", "outlierSeries").isEmpty());

        // 全期間: the typo is in its own series at the axis' edge; the axis
        // fits the weights, not the typo.
        v.findChild<QToolButton*>(QStringLiteral("rangeall"))->click();
        QVERIFY(chart->viewRange().from < at(1, 1));
        QCOMPARE(points(v, "weightChart", "outlierSeries"),
                 (QList<QPointF>{{at(4, 11), weightAxis->min()}}));
        QVERIFY(weightAxis->min() > 65 && weightAxis->max() < 75);
        // Drawn as a hollow mark, and so in the legend, also when it is alone.
        QChart* weights = v.findChild<QChartView*>(QStringLiteral("weightChart"))->chart();
        auto* aside = weights->findChild<QXYSeries*>(QStringLiteral("outlierSeries"));
        QVERIFY(!aside->pointsVisible());
        QCOMPARE(weights->legend()->markers(aside).first()->brush().color(), QColor(Qt::white));
        QCOMPARE(points(v, "weightChart", "weightSeries").size(), 199);
        QVERIFY(v.statusText().contains(QStringLiteral("外れ値 1")));
        const QAbstractItemModel* m = v.findChild<QTableView*>(QStringLiteral("table"))->model();
        QCOMPARE(m->headerData(100, Qt::Vertical).toString(), QStringLiteral("外101"));
        QVERIFY(m->index(100, 0).data(Qt::BackgroundRole).isValid());

        // 外れ値を含める brings it back into the weights and the axis, the
        // table and 統計; off again, it is set aside everywhere again.
        auto* tabs = v.findChild<QTabWidget*>(QStringLiteral("tabs"));
        const int chartTab = tabs->currentIndex();
        auto* figures = v.findChild<QTableWidget*>(QStringLiteral("figures"));
        auto statsFigure = [&](int row, int column = 1) { // column 0: in view
            tabs->setCurrentIndex(2);
            const QString text = figures->item(row, column)->text();
            tabs->setCurrentIndex(chartTab);
            return text;
        };
        QCOMPARE(statsFigure(10), QStringLiteral("1 件")); // 外れ値
        // 表示中の期間 follows the chart's range.
        QCOMPARE(statsFigure(9, 0), statsFigure(9));
        v.findChild<QToolButton*>(QStringLiteral("range1m"))->click();
        QCOMPARE(statsFigure(9, 0), QStringLiteral("31 件")); // 06-19 to 07-19
        v.findChild<QToolButton*>(QStringLiteral("rangeall"))->click();
        auto* include = v.findChild<QCheckBox*>(QStringLiteral("includeOutliers"));
        include->setChecked(true);
        QCOMPARE(points(v, "weightChart", "weightSeries").size(), 200);
        QVERIFY(weightAxis->min() < 7);
        QCOMPARE(m->headerData(100, Qt::Vertical).toString(), QStringLiteral("101"));
        QVERIFY(!m->index(100, 0).data(Qt::BackgroundRole).isValid());
        QVERIFY(!v.statusText().contains(QStringLiteral("外れ値")));
        QCOMPARE(statsFigure(10), QStringLiteral("0 件"));
        QCOMPARE(statsFigure(6), QStringLiteral("7.0 kg（2003/04/11）")); // 最小
        include->setChecked(false);
        QCOMPARE(m->headerData(100, Qt::Vertical).toString(), QStringLiteral("外101"));
        QVERIFY(v.statusText().contains(QStringLiteral("外れ値 1")));
        QCOMPARE(statsFigure(10), QStringLiteral("1 件"));

        // The wheel zooms around the pointer, both charts alike; keys zoom,
        // pan and show everything.
        auto* viewport = v.findChild<QChartView*>(QStringLiteral("weightChart"))->viewport();
        const QPointF middle = onScreen(v, "weightChart", "weightSeries", {at(4, 1), 70});
        const double before = span(chart);
        wheel(viewport, middle, 120);
        QVERIFY(qAbs(span(chart) - 0.8 * before) < 1e-6);
        QVERIFY(qAbs(onScreen(v, "weightChart", "weightSeries", {at(4, 1), 70}).x() - middle.x()) <
                2);
        auto* bmiAxis =
            v.findChild<QChartView*>(QStringLiteral("bmiChart"))->chart()->axes(Qt::Horizontal)[0];
        QCOMPARE(qobject_cast<QCategoryAxis*>(bmiAxis)->min(), chart->viewRange().from);
        QVERIFY(!v.findChild<QToolButton*>(QStringLiteral("rangeall"))->isChecked());
        const double zoomed = span(chart);
        QTest::keyClick(chart, Qt::Key_Plus);
        QVERIFY(qAbs(span(chart) - 0.8 * zoomed) < 1e-6);
        const double from = chart->viewRange().from;
        QTest::keyClick(chart, Qt::Key_Right);
        QVERIFY(qAbs(chart->viewRange().from - from - 0.1 * span(chart)) < 1e-6);
        // Dragging to the right shows earlier days.
        send(viewport, QEvent::MouseButtonPress, middle, Qt::LeftButton);
        send(viewport, QEvent::MouseMove, middle + QPointF(100, 0), Qt::LeftButton);
        send(viewport, QEvent::MouseButtonRelease, middle + QPointF(100, 0), Qt::LeftButton);
        QVERIFY(chart->viewRange().from < from);
        QTest::keyClick(chart, Qt::Key_Home);
        QVERIFY(v.findChild<QToolButton*>(QStringLiteral("rangeall"))->isChecked());

        // Dates of one's own; the choice is kept for the next window.
        v.findChild<QDateEdit*>(QStringLiteral("rangeFrom"))->setDate(QDate(2003, 2, 1));
        v.findChild<QDateEdit*>(QStringLiteral("rangeTo"))->setDate(QDate(2003, 2, 28));
        QCOMPARE(chart->viewRange().from, at(2, 1) - 7.5 / 24);
        QCOMPARE(chart->viewRange().to, at(3, 1) - 7.5 / 24);
        QCOMPARE(points(v, "weightChart", "weightSeries").size(), 28);
        LogViewer again(log.path);
        again.show();
        points(again, "weightChart", "weightSeries");
        QCOMPARE(again.findChild<LogChart*>(QStringLiteral("chart"))->viewRange().from,
                 at(2, 1) - 7.5 / 24);
        QCOMPARE(readBytes(log.path), logBytes); // reading only
    }

    void damagedSettingsGiveDefaultsAndStayAsTheyAre() {
        QDir().mkpath(QFileInfo(ViewSettings::defaultFile()).absolutePath());
        const QByteArray garbage("[chart]\nrange=1y\n\xff\xfe\x00garbage", 27);
        appendBytes(ViewSettings::defaultFile(), garbage);
        ViewSettings settings;
        QCOMPARE(settings.range(), QString());
        QVERIFY(!settings.includeOutliers());
        QVERIFY(!settings.setValue(QStringLiteral("chart/range"), QStringLiteral("1m")));
        LongLog log(200, -1);
        LogViewer v(log.path);
        v.show();
        points(v, "weightChart", "weightSeries");
        QVERIFY(v.findChild<QToolButton*>(QStringLiteral("range3m"))->isChecked());
        v.findChild<QToolButton*>(QStringLiteral("range1y"))->click();
        QCOMPARE(readBytes(ViewSettings::defaultFile()), garbage);
        // A folder in the file's place gives the defaults too.
        QVERIFY(QFile::remove(ViewSettings::defaultFile()));
        QVERIFY(QDir().mkpath(ViewSettings::defaultFile()));
        QCOMPARE(ViewSettings().range(), QString());
        QVERIFY(!ViewSettings().setValue(QStringLiteral("chart/range"), QStringLiteral("1m")));
        QVERIFY(QDir(ViewSettings::defaultFile()).removeRecursively());
    }

    void readoutCursorAndClickToRow() {
        Log log;
        LogViewer v(log.path);
        v.show();
        points(v, "weightChart", "weightSeries");
        auto* chart = v.findChild<LogChart*>(QStringLiteral("chart"));
        auto* viewport = v.findChild<QChartView*>(QStringLiteral("weightChart"))->viewport();
        auto* tabs = v.findChild<QTabWidget*>(QStringLiteral("tabs"));
        const QString first = QStringLiteral(
            "2003/05/01(木) 07:30　体重 65.5 kg　傾向 65.5 kg　BMI 24.1　walk, \"fast\"");
        // Hovering a point reads it out; it is the chart's description too.
        const QPointF point = onScreen(v, "weightChart", "weightSeries", {at(5, 1), 65.5});
        send(viewport, QEvent::MouseMove, point + QPointF(3, 3));
        QCOMPARE(chart->readout(), first);
        QCOMPARE(chart->accessibleDescription(), first);
        send(viewport, QEvent::MouseMove, point + QPointF(0, 60));
        QCOMPARE(chart->readout(), QString());
        // Shift+arrows step a cursor from record to record.
        QTest::keyClick(chart, Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(chart->readout(), first);
        QTest::keyClick(chart, Qt::Key_Right, Qt::ShiftModifier);
        QVERIFY(chart->readout().startsWith(
            QStringLiteral("2003/05/02(金) 07:30　体重 66.0 kg　傾向 65.5 kg")));
        QCOMPARE(points(v, "weightChart", "cursorSeries"), (QList<QPointF>{{at(5, 2), 66.0}}));
        // A click shows the record in 一覧: May 1 is the log's second line.
        send(viewport, QEvent::MouseButtonPress, point, Qt::LeftButton);
        send(viewport, QEvent::MouseButtonRelease, point, Qt::LeftButton);
        QCOMPARE(tabs->currentIndex(), 0);
        QCOMPARE(v.findChild<QTableView*>(QStringLiteral("table"))->currentIndex().row(), 1);
    }

    void emptyOrMissingLogSaysSo() {
        Log log;
        QFile(log.path).resize(0);
        LogViewer v(log.path);
        v.show();
        const QString text = QStringLiteral(
            "まだ記録がありません。体重チェックで「記入」すると、ここに表示されます。");
        QVERIFY(v.findChild<QLabel*>(QStringLiteral("tableEmpty"))->isVisible());
        QCOMPARE(v.findChild<QLabel*>(QStringLiteral("tableEmpty"))->text(), text);
        points(v, "weightChart", "weightSeries");
        QVERIFY(v.findChild<QLabel*>(QStringLiteral("emptyNotice"))->isVisible());
        QCOMPARE(v.findChild<QLabel*>(QStringLiteral("emptyNotice"))->text(), text);
        QVERIFY(!v.findChild<QChartView*>(QStringLiteral("weightChart"))->isVisible());
        // One record: its weight, standard weight and BMI are points.
        appendBytes(log.path, record(u"65.5", u"24.059", u"05-01-2003 07:30:00", u""));
        QTRY_COMPARE_WITH_TIMEOUT(points(v, "weightChart", "weightSeries").size(), 1, 1000);
        auto* standard = v.findChild<QChartView*>(QStringLiteral("weightChart"))
                             ->chart()
                             ->findChild<QLineSeries*>(QStringLiteral("standardSeries"));
        QVERIFY(standard->pointsVisible());
        QCOMPARE(standard->count(), 1);
        QVERIFY(v.findChild<QChartView*>(QStringLiteral("weightChart"))->isVisible());
    }

    void followsTheLogAsItGrows() {
        Log log;
        LogViewer v(log.path);
        v.show();
        const QAbstractItemModel* m = v.findChild<QTableView*>(QStringLiteral("table"))->model();
        const QByteArray more = record(u"67.0", u"24.6", u"05-03-2003 07:30:00", u"new");
        appendBytes(log.path, more);
        QTRY_COMPARE_WITH_TIMEOUT(m->rowCount(), 4, 1000);
        QCOMPARE(m->index(3, 6).data().toString(), QStringLiteral("new"));
        QCOMPARE(points(v, "weightChart", "weightSeries").size(), 3);

        // A record written in two parts is shown once, whole in the end.
        appendBytes(log.path, more.left(100));
        QTRY_COMPARE_WITH_TIMEOUT(m->rowCount(), 5, 1000);
        appendBytes(log.path, more.mid(100));
        QTRY_COMPARE_WITH_TIMEOUT(m->index(4, 6).data().toString(), QStringLiteral("new"), 1000);
        QTest::qWait(700);
        QCOMPARE(m->rowCount(), 5);
        QCOMPARE(m->headerData(4, Qt::Vertical).toString(), QStringLiteral("5"));

        // A log that disappears keeps its records on screen; back, it is read anew.
        const QByteArray bytes = readBytes(log.path);
        QVERIFY(QFile::remove(log.path));
        auto* status = v.findChild<QLabel*>(QStringLiteral("status"));
        QTRY_VERIFY_WITH_TIMEOUT(status->text().contains(QStringLiteral("見つかりません")), 1000);
        QCOMPARE(m->rowCount(), 5);
        appendBytes(log.path, bytes.left(256));
        QTRY_COMPARE_WITH_TIMEOUT(m->rowCount(), 1, 1000);
        QVERIFY(!status->text().contains(QStringLiteral("見つかりません")));
    }

    void readsALogReplacedBySameSizeBytesAnew() {
        Log log;
        LogViewer v(log.path);
        v.show();
        const QAbstractItemModel* m = v.findChild<QTableView*>(QStringLiteral("table"))->model();
        const QByteArray before = readBytes(log.path);
        QCOMPARE(m->index(0, 6).data().toString(), QStringLiteral("朝"));

        // Another file of the same size moved over it (a new inode).
        QByteArray other = before;
        other.replace(0, 256, record(u"70.0", u"25.7", u"05-02-2003 07:30:00", u"夜"));
        const QString moved = log.dir.filePath(QStringLiteral("other.txt"));
        appendBytes(moved, other);
        QVERIFY(std::rename(QFile::encodeName(moved), QFile::encodeName(log.path)) == 0);
        QTRY_COMPARE_WITH_TIMEOUT(m->index(0, 6).data().toString(), QStringLiteral("夜"), 1000);

        // The same file written over in place, its size unchanged.
        QFile file(log.path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QCOMPARE(file.write(record(u"71.0", u"26.1", u"05-02-2003 07:30:00", u"昼")), 256);
        file.close();
        QTRY_COMPARE_WITH_TIMEOUT(m->index(0, 6).data().toString(), QStringLiteral("昼"), 1000);
        QCOMPARE(m->rowCount(), 3);
    }

    void goalSetInStatsIsDrawnDotted() {
        struct Case {
            const char* name;
            double goal; // 0: back to the standard weight
            bool drawn;
            bool inView; // the weight axis takes it in
        };
        // The weights are 65.5 and 66: the axis takes in a goal that at most
        // doubles their span, as it does the standard weight.
        const Case cases[] = {
            {"a goal of one's own, dotted and in the legend", 65.0, true, true},
            {"the standard weight (59.895) is not drawn twice", 59.9, false, false},
            {"a goal changed again, too far to squeeze the weights", 62.0, true, false},
            {"back to the standard weight", 0, false, false},
        };
        Log log;
        LogViewer v(log.path);
        v.resize(1000, 700);
        v.show();
        auto* tabs = v.findChild<QTabWidget*>(QStringLiteral("tabs"));
        QChart* chart = v.findChild<QChartView*>(QStringLiteral("weightChart"))->chart();
        auto* goal = chart->findChild<QLineSeries*>(QStringLiteral("goalSeries"));
        QVERIFY(goal);
        QCOMPARE(goal->pen().style(), Qt::DotLine);
        auto* weightAxis = static_cast<QValueAxis*>(chart->axes(Qt::Vertical).first());
        for (const Case& c : cases) {
            qInfo("%s", c.name); // names the row of a failure
            tabs->setCurrentIndex(2);
            if (c.goal > 0) {
                auto* box = v.findChild<QDoubleSpinBox*>(QStringLiteral("goal"));
                box->setValue(c.goal);
                emit box->editingFinished();
            } else {
                v.findChild<QAbstractButton*>(QStringLiteral("goalReset"))->click();
            }
            tabs->setCurrentIndex(1);
            QCOMPARE(goal->isVisible(), c.drawn);
            QCOMPARE(chart->legend()->markers(goal).first()->isVisible(), c.drawn);
            if (!c.drawn)
                continue;
            QCOMPARE(chart->legend()->markers(goal).first()->label(), QStringLiteral("目標体重"));
            QCOMPARE(goal->count(), 2);
            QCOMPARE(goal->at(0).y(), c.goal);
            QCOMPARE(weightAxis->min() < c.goal, c.inView);
        }
        // A goal kept in the settings is drawn when the log is opened again.
        auto* box = v.findChild<QDoubleSpinBox*>(QStringLiteral("goal"));
        box->setValue(65.0);
        emit box->editingFinished();
        LogViewer again(log.path);
        again.show();
        again.findChild<QTabWidget*>(QStringLiteral("tabs"))->setCurrentIndex(1);
        auto* kept = again.findChild<QChartView*>(QStringLiteral("weightChart"))
                         ->chart()
                         ->findChild<QLineSeries*>(QStringLiteral("goalSeries"));
        QVERIFY(kept->isVisible());
        QCOMPARE(kept->at(0).y(), 65.0);
    }

    void pictureShowsTheRangeInView() {
        LongLog log(400, -1);
        LogViewer v(log.path);
        v.show();
        auto* chart = v.findChild<LogChart*>(QStringLiteral("chart"));
        v.findChild<QTabWidget*>(QStringLiteral("tabs"))->setCurrentIndex(1);
        chart->showRange({QStringLiteral("1m"), {}, {}});
        QCOMPARE(chart->shownRange().span, QStringLiteral("1m"));
        chart->zoom(0.5);
        const ChartRange zoomed = chart->shownRange();
        QCOMPARE(zoomed.span, QStringLiteral("custom"));
        // The days in view, as whole dates.
        auto date = [](double day) {
            return QDate::fromJulianDay(QDate(1, 1, 1).toJulianDay() +
                                        static_cast<qint64>(std::floor(day)));
        };
        QCOMPARE(zoomed.from, date(chart->viewRange().from));
        QCOMPARE(zoomed.to, date(chart->viewRange().to));
        QVERIFY(zoomed.from > QDate(2003, 12, 31));
        QString error;
        const QString png = log.dir.filePath(QStringLiteral("range.png"));
        QVERIFY2(v.exportPng(png, error), qPrintable(error));
        QCOMPARE(QImage(png).size(), QSize(1200, 800));
    }

    void exportsLeaveTheToolsFilesAlone() {
        Log log;
        const QByteArray logBytes = readBytes(log.path);
        LogViewer v(log.path);
        QString error;
        const QString csv = log.dir.filePath(QStringLiteral("out.csv"));
        QVERIFY2(v.exportCsv(csv, error), qPrintable(error));
        const QByteArray text = readBytes(csv);
        QVERIFY(text.startsWith("\xEF\xBB\xBF"
                                "体重(Kg),身長(m),標準体重,肥満度,BMI,日付,コメント\r\n"
                                "66.0,1.65,59.895,9.358,24.243,05-02-2003 07:30:00,朝\r\n"));
        QCOMPARE(text.count("\r\n"), 4);
        const QString png = log.dir.filePath(QStringLiteral("out.png"));
        QVERIFY2(v.exportPng(png, error), qPrintable(error));
        QCOMPARE(QImage(png).size(), QSize(1200, 800));

        QVERIFY(!v.exportCsv(log.path, error));
        QVERIFY(error.contains(QStringLiteral("上書きしません")));
        QVERIFY(!v.exportPng(log.itemFile, error));
        QCOMPARE(readBytes(log.path), logBytes);
        QCOMPARE(readBytes(log.itemFile), kTemplate);
    }

    // The picture's own PNG writer: what a standard reader makes of its file
    // is the picture, pixel for pixel, whatever the size and colours; runs
    // are packed, and what has none grows by no more than deflate's codes.
    void pngWriterKeepsEveryPixel_data() {
        QTest::addColumn<QImage>("image");
        QTest::addColumn<int>("most"); // bytes the file may take
        QImage noise(257, 3, QImage::Format_RGB32);
        quint32 seed = 7;
        for (int y = 0; y < noise.height(); ++y)
            for (int x = 0; x < noise.width(); ++x)
                noise.setPixel(x, y, (seed = seed * 1664525u + 1013904223u) >> 8);
        QImage pixel(1, 1, QImage::Format_RGB32);
        pixel.fill(QColor(1, 2, 3));
        QImage translucent(5, 4, QImage::Format_ARGB32);
        translucent.fill(qRgba(10, 200, 30, 40));
        // Grey bars of 1 to 60 pixels (byte runs of 3 to 180), then the same
        // row again (one run of 5,490 zeros, past the longest match of 258).
        QImage bars(60 * 61 / 2, 2, QImage::Format_RGB32);
        for (int bar = 1, x = 0; bar <= 60; x += bar++)
            for (int y = 0; y < 2; ++y)
                for (int k = 0; k < bar; ++k)
                    bars.setPixel(x + k, y, qRgb(bar * 4, bar * 4, bar * 4));
        QTest::newRow("one pixel") << pixel << 80;
        QTest::newRow("runs of every length") << bars << 1000;
        QTest::newRow("noise, odd width") << noise << 257 * 3 * 3 * 9 / 8 + 100;
        QTest::newRow("translucent source") << translucent << 100;
        QTest::newRow("the chart")
            << LogChart::picture(nullptr, {1200, 800}) << 1200 * 800 * 3 / 20;
    }
    void pngWriterKeepsEveryPixel() {
        QFETCH(QImage, image);
        QFETCH(int, most);
        QBuffer file;
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(writePng(file, image));
        QVERIFY2(file.size() <= most, qPrintable(QString::number(file.size())));
        const QImage read = QImage::fromData(file.data(), "PNG");
        QCOMPARE(read.size(), image.size());
        QCOMPARE(read.convertToFormat(QImage::Format_RGB32),
                 image.convertToFormat(QImage::Format_RGB32));
        QBuffer closed;
        QTest::ignoreMessage(QtWarningMsg, "QIODevice::write (QBuffer): device not open");
        QVERIFY(!writePng(closed, image));
    }

  private:
    QTemporaryDir config_;
};

QTEST_MAIN(LogViewerTest)
#include "log_viewer_qtest.moc"
