// SPDX-License-Identifier: MIT
// The table 一覧 read in Japanese: dates with the weekday, numbers aligned,
// marks of doubtful records, order by a header kept through new records,
// finding a comment and a date, the keyboard, a log corrected in place, and
// a log of more records than one page of rows.

#include "log/itemfile.h"
#include "log/record.h"
#include "platform/fonts.h"
#include "support/view_log.h"
#include "text/encoding.h"
#include "view/log_table.h"
#include "view/log_viewer.h"

#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace taiju;
using namespace taiju::view;
using namespace taiju::testing;

namespace {

const QByteArray kTemplate = templateItemFile();

// Eight records, one of each doubt among them.
const QByteArray kLog = record(u"70.5", u".661", u"12-01-2026 06:33:00", u"朝") +
                        record(u"70.4", u"24.1", u"12-02-2026 06:33:00", u"散歩") +
                        record(u"70", u"24.1", u"12-03-2026 06:33:00", u"") +
                        record(u"7.05", u"24.1", u"12-04-2026 06:33:00", u"打ち間違い") +
                        record(u"70.6", u"24.1", u"13-45-2025 06:33:00", u"日付なし") +
                        record(u"abc", u"24.1", u"12-05-2026 06:33:00", u"数でない") +
                        record(u"70.2", u"24.1", u"12-07-2026 06:33:00",
                               u"とても長いコメントがここに書かれていて列の幅に収まりません") +
                        record(u"70.1", u"24.1", u"12-06-2026 06:33:00", u"散歩");

struct Log {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("体重変化.txt"));
    explicit Log(const QByteArray& bytes) {
        QFile item(dir.filePath(QStringLiteral("k体重変化.txt")));
        item.open(QIODevice::WriteOnly);
        item.write(kTemplate);
        write(bytes);
    }
    void write(const QByteArray& bytes) const {
        QFile log(path);
        log.open(QIODevice::WriteOnly);
        log.write(bytes);
    }
};

QStringList column(const QAbstractItemModel* m, int c) {
    QStringList out;
    for (int r = 0; r < m->rowCount(); ++r)
        out << (c < 0 ? m->headerData(r, Qt::Vertical).toString()
                      : m->index(r, c).data().toString());
    return out;
}

// A log of `count` records a day apart from 01-01-2020, the comment of
// record i "c<i>;".
QByteArray daily(int count) {
    QByteArray log;
    for (int i = 0; i < count; ++i) {
        const std::u16string date =
            QDate(2020, 1, 1).addDays(i).toString(u"MM-dd-yyyy 06:33:00").toStdU16String();
        const std::u16string comment = QStringLiteral("c%1;").arg(i).toStdU16String();
        log += record(u"70.5", u"24.1", date.c_str(), comment.c_str());
    }
    return log;
}

// Tables made while it lives show pages of `rows` rows.
struct SmallPages {
    const int before = LogTableModel::pageRows;
    explicit SmallPages(int rows) { LogTableModel::pageRows = rows; }
    ~SmallPages() { LogTableModel::pageRows = before; }
};

} // namespace

class LogTableTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { useWindowFonts(); }

    void readsInJapaneseWithMarks() {
        Log log(kLog);
        LogViewer v(log.path);
        const QAbstractItemModel* m = v.findChild<QTableView*>(QStringLiteral("table"))->model();
        QCOMPARE(m->index(0, 5).data().toString(), QStringLiteral("2026/12/01(火) 06:33:00"));
        QCOMPARE(m->index(4, 5).data().toString(), QStringLiteral("13-45-2025 06:33:00"));
        // A leading zero; the points aligned by figure spaces.
        QCOMPARE(m->index(0, 4).data().toString(), QStringLiteral("0.661"));
        QCOMPARE(m->index(1, 4).data().toString(), QStringLiteral("24.1\u2007\u2007"));
        QCOMPARE(m->index(2, 0).data().toString(), QStringLiteral("70\u2008\u2007\u2007"));
        QCOMPARE(m->index(3, 0).data().toString(), QStringLiteral("7.05"));
        QCOMPARE(column(m, -1),
                 (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                              QStringLiteral("外4"), QStringLiteral("？5"), QStringLiteral("＃6"),
                              QStringLiteral("7"), QStringLiteral("8")}));
        QVERIFY(m->index(3, 0).data(Qt::BackgroundRole) != m->index(4, 0).data(Qt::BackgroundRole));
        QVERIFY(m->index(6, 6).data(Qt::ToolTipRole).toString().startsWith(u"とても長い"));
        QVERIFY(m->index(3, 6).data(Qt::ToolTipRole).toString().contains(u"外れ値"));
        const QString status = v.findChild<QLabel*>(QStringLiteral("status"))->text();
        QVERIFY(status.contains(QStringLiteral("体重が数でない記録 1")));
        QVERIFY(status.contains(QStringLiteral("外れ値 1")));
        QVERIFY(v.findChild<QLabel*>(QStringLiteral("status"))->wordWrap());
    }

    void orderByHeaderStaysThroughNewRecords() {
        Log log(kLog);
        LogViewer v(log.path);
        auto* table = v.findChild<QTableView*>(QStringLiteral("table"));
        const QAbstractItemModel* m = table->model();
        table->horizontalHeader()->setSortIndicator(5, Qt::DescendingOrder); // 日付
        QCOMPARE(column(m, -1).join(u','), QStringLiteral("7,8,＃6,外4,3,2,1,？5"));
        table->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder); // 体重 by number
        QCOMPARE(column(m, -1).first(), QStringLiteral("外4"));
        QCOMPARE(column(m, -1).mid(1, 2).join(u','), QStringLiteral("3,8"));
        table->horizontalHeader()->setSortIndicator(5, Qt::AscendingOrder);
        QFile f(log.path);
        QVERIFY(f.open(QIODevice::Append));
        f.write(record(u"69.9", u"24.0", u"11-30-2026 06:33:00", u""));
        f.close();
        v.follow();
        QCOMPARE(column(m, -1).first(), QStringLiteral("9"));
        v.reload();
        QCOMPARE(column(m, -1).first(), QStringLiteral("9"));
    }

    void findsCommentsAndDatesAndLeavesByTab() {
        Log log(kLog);
        LogViewer v(log.path);
        v.show();
        auto* table = v.findChild<QTableView*>(QStringLiteral("table"));
        // The newest row is shown and current: the first arrow moves from it.
        QCOMPARE(table->currentIndex().row(), 7);
        QVERIFY(!table->tabKeyNavigation());
        QVERIFY(v.findComment(QStringLiteral("散歩"), true)); // wraps to the top
        QCOMPARE(table->currentIndex().row(), 1);
        QVERIFY(v.findComment(QStringLiteral("散歩"), true));
        QCOMPARE(table->currentIndex().row(), 7);
        QVERIFY(v.findComment(QStringLiteral("散歩"), false));
        QCOMPARE(table->currentIndex().row(), 1);
        QVERIFY(!v.findComment(QStringLiteral("ない言葉"), true));
        auto* tabs = v.findChild<QTabWidget*>(QStringLiteral("tabs"));
        tabs->setCurrentIndex(1); // found from the chart, shown in the table
        QVERIFY(v.findComment(QStringLiteral("散歩"), true));
        QCOMPARE(tabs->currentIndex(), 0);
        QVERIFY(v.goToDate(QDate(2026, 12, 6)));
        QCOMPARE(table->currentIndex().row(), 7);
        QVERIFY(v.goToDate(QDate(2030, 1, 1)));
        QCOMPARE(table->currentIndex().row(), 6);
        QCOMPARE(tabs->tabText(0), QStringLiteral("一覧(&L)"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("グラフ(&G)"));
    }

    void correctionInPlaceIsReadKeepingTheLine() {
        Log log(kLog);
        LogViewer v(log.path);
        auto* table = v.findChild<QTableView*>(QStringLiteral("table"));
        QVERIFY(v.findComment(QStringLiteral("打ち間違い"), true));
        QTest::qWait(20); // a later time of the last write
        QByteArray fixed = kLog;
        fixed.replace(record(u"7.05", u"24.1", u"12-04-2026 06:33:00", u"打ち間違い"),
                      record(u"70.5", u"24.1", u"12-04-2026 06:33:00", u"打ち間違い"));
        QCOMPARE(fixed.size(), kLog.size());
        log.write(fixed);
        v.follow();
        QCOMPARE(table->model()->index(3, 0).data().toString(), QStringLiteral("70.5"));
        QCOMPARE(table->currentIndex().row(), 3);
    }

    void longLogIsShownAPageAtATime() {
        const SmallPages pages(100);
        Log log(daily(500));
        LogViewer v(log.path);
        v.show();
        auto* table = v.findChild<LogTableView*>(QStringLiteral("table"));
        auto* bar = v.findChild<QScrollBar*>(QStringLiteral("recordBar"));
        const auto* m = static_cast<const LogTableModel*>(table->model());
        const auto current = [&] { return m->recordAt(table->currentIndex().row()); };
        const auto top = [&] { return m->recordAt(table->rowAt(0)); };
        QCOMPARE(m->rowCount(), 100);
        QVERIFY(bar->isVisible());
        QVERIFY(table->currentIndex().isValid());
        QCOMPARE(current(), std::size_t{499});
        QCOMPARE(
            m->headerData(table->currentIndex().row(), Qt::Vertical, Qt::DisplayRole).toString(),
            QStringLiteral("500"));
        // Keys reach the first and last record and cross the page's edges.
        QTest::keyClick(table, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(current(), std::size_t{0});
        QCOMPARE(top(), std::size_t{0});
        for (int i = 0; i < 150; ++i)
            QTest::keyClick(table, Qt::Key_Down);
        QCOMPARE(current(), std::size_t{150});
        QTest::keyClick(table, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(current(), std::size_t{499});
        QCOMPARE(bar->value(), bar->maximum());
        // The scroll bar reaches every record; the current one stays
        // current while its page is away.
        bar->setValue(0);
        QCOMPARE(top(), std::size_t{0});
        bar->setValue(250);
        QCOMPARE(top(), std::size_t{250});
        bar->setValue(bar->maximum());
        QCOMPARE(m->recordAt(table->rowAt(table->viewport()->height() - 2)), std::size_t{499});
        bar->setValue(0);
        QTest::keyClick(table, Qt::Key_Up);
        QCOMPARE(current(), std::size_t{498});
        // Finding, going to a date, sorting and reloading keep to records.
        QVERIFY(v.goToDate(QDate(2020, 1, 11)));
        QCOMPARE(current(), std::size_t{10});
        QVERIFY(v.findComment(QStringLiteral("c450;"), true));
        QCOMPARE(current(), std::size_t{450});
        QVERIFY(table->selectionModel()->isRowSelected(table->currentIndex().row(), {}));
        table->horizontalHeader()->setSortIndicator(5, Qt::DescendingOrder); // 日付
        QCOMPARE(current(), std::size_t{450});
        QCOMPARE(m->recordAtPosition(0), std::size_t{499});
        QTest::keyClick(table, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(current(), std::size_t{499});
        QVERIFY(v.findComment(QStringLiteral("c3;"), true));
        v.reload();
        QCOMPARE(current(), std::size_t{3});
        QVERIFY(table->viewport()->rect().intersects(table->visualRect(table->currentIndex())));
    }

    void followsALogGrowingPastOnePage() {
        const SmallPages pages(100);
        const QByteArray records = daily(104);
        Log log(records.first(99 * 256));
        LogViewer v(log.path);
        v.show();
        auto* table = v.findChild<LogTableView*>(QStringLiteral("table"));
        const auto* m = static_cast<const LogTableModel*>(table->model());
        QVERIFY(!v.findChild<QScrollBar*>(QStringLiteral("recordBar"))->isVisible());
        QFile f(log.path);
        QVERIFY(f.open(QIODevice::Append));
        f.write(records.sliced(99 * 256));
        f.close();
        v.follow();
        QCOMPARE(m->recordCount(), std::size_t{104});
        QCOMPARE(m->rowCount(), 100);
        QVERIFY(v.findChild<QScrollBar*>(QStringLiteral("recordBar"))->isVisible());
        // Shown at the end before, it stays there.
        QCOMPARE(m->recordAt(table->rowAt(table->viewport()->height() - 2)), std::size_t{103});
    }
};

QTEST_MAIN(LogTableTest)
#include "log_table_qtest.moc"
