// The viewer window on a real log: the table's rows and headers, the chart's
// series, following the log as it grows, and exports that leave the tool's
// files alone.

#include "log/itemfile.h"
#include "log/record.h"
#include "platform/fonts.h"
#include "text/encoding.h"
#include "view/log_chart.h"
#include "view/log_viewer.h"

#include <QAbstractItemModel>
#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QLabel>
#include <QLineSeries>
#include <QScatterSeries>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

using namespace taiju;
using namespace taiju::view;

namespace {

QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void appendBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Append));
    QCOMPARE(f.write(bytes), bytes.size());
}

const QByteArray kTemplate = readBytes(QStringLiteral(TAIJU_SOURCE_DIR "/resources/k体重変化.___"));

// A record as the save button writes it under the template's columns.
QByteArray record(const char16_t* weight, const char16_t* bmi, const char16_t* date,
                  const char16_t* comment) {
    ItemDeclarations decl;
    const std::string t(kTemplate.constData(), static_cast<std::size_t>(kTemplate.size()));
    readItemFile(platform::decodeCp932(t), 10, decl);
    const RecordBoxes boxes{weight, u"1.65", u"59.895", u"9.358", bmi, date, comment};
    const auto bytes = std::get<std::string>(composeRecord(boxes, decl, platform::Cp932Encoder()));
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// The points drawn in a series of the chart, its tab in front.
QList<QPointF> points(LogViewer& v, const char* chart, const char* series) {
    v.findChild<QTabWidget*>(QStringLiteral("tabs"))->setCurrentIndex(1);
    auto* view = v.findChild<QChartView*>(QString::fromLatin1(chart));
    for (QAbstractSeries* s : view->chart()->series())
        if (s->objectName() == QLatin1String(series))
            return static_cast<QXYSeries*>(s)->points();
    return {};
}

double at(int month, int day) {
    return static_cast<double>(
        QDateTime(QDate(2003, month, day), QTime(7, 30)).toMSecsSinceEpoch());
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

} // namespace

class LogViewerTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { useWindowFonts(); }

    void tableShowsRecordsInFileOrder() {
        Log log;
        LogViewer v(log.path);
        QCOMPARE(v.windowTitle(), QStringLiteral("体重ログ - 体重変化.txt"));
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
        QCOMPARE(m->index(1, 5).data().toString(), QStringLiteral("05-01-2003 07:30:00"));
        QCOMPARE(m->index(1, 6).data().toString(), QStringLiteral("walk, \"fast\""));
        QCOMPARE(m->index(2, 6).data().toString(), QStringLiteral("日付なし"));
        // The irregular third line is marked; the others are not.
        QCOMPARE(m->headerData(2, Qt::Vertical).toString(), QStringLiteral("※3"));
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
        QCOMPARE(bands.mid(1, 2), (QStringList{QStringLiteral("正常体重 #00ff00 20-24"),
                                               QStringLiteral("やや肥満 #ffc0c0 24-26.5")}));
        QVERIFY(bands[0].startsWith(QStringLiteral("やせぎみ #ffc0c0 ")));
        QVERIFY(bands[3].startsWith(QStringLiteral("肥満 #ff8080 26.5-")));
        auto* standard = v.findChild<QChartView*>(QStringLiteral("weightChart"))
                             ->chart()
                             ->findChild<QLineSeries*>(QStringLiteral("standardSeries"));
        QVERIFY(standard);
        QCOMPARE(standard->pen().style(), Qt::DashLine);
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
};

QTEST_MAIN(LogViewerTest)
#include "log_viewer_qtest.moc"
