// SPDX-License-Identifier: MIT
// The 統計 tab of the viewer window on a real log: its figures and tables,
// names on the accessibility tree, and the goal kept in the viewer's own
// settings file, which is never written unless the goal was changed.

#include "log/itemfile.h"
#include "log/record.h"
#include "platform/fonts.h"
#include "support/view_log.h"
#include "text/encoding.h"
#include "view/goal_settings.h"
#include "view/log_viewer.h"
#include "view/stats_view.h"

#include <QAbstractButton>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace taiju;
using namespace taiju::view;
using namespace taiju::testing;

namespace {

const QByteArray kTemplate = templateItemFile();

QByteArray record(const char16_t* weight, const char16_t* date) {
    return testing::record(weight, u"24.243", date, u"");
}

// A log of 40 days from 2026-10-01, 80.0 falling by 0.1 kg a day, with the
// typo 7.05 on the 11th day, and the viewer's settings in the same folder.
struct Log {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("体重変化.txt"));
    Log() {
        qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toLocal8Bit());
        QFile item(dir.filePath(QStringLiteral("k体重変化.txt")));
        item.open(QIODevice::WriteOnly);
        item.write(kTemplate);
        QFile log(path);
        log.open(QIODevice::WriteOnly);
        const QDate first(2026, 10, 1);
        for (int k = 0; k < 40; ++k) {
            const QString date = first.addDays(k).toString(QStringLiteral("MM-dd-yyyy 07:00:00"));
            const QString weight = QString::number(80 - 0.1 * k, 'f', 1);
            log.write(record(reinterpret_cast<const char16_t*>(weight.utf16()),
                             reinterpret_cast<const char16_t*>(date.utf16())));
            if (k == 10)
                log.write(record(u"7.05", u"10-11-2026 20:00:00"));
        }
    }
};

StatsView* showStats(LogViewer& v) {
    auto* tabs = v.findChild<QTabWidget*>(QStringLiteral("tabs"));
    tabs->setCurrentIndex(2);
    return v.findChild<StatsView*>(QStringLiteral("stats"));
}

QString figure(StatsView* s, int row, int column = 1) {
    return s->findChild<QTableWidget*>(QStringLiteral("figures"))->item(row, column)->text();
}

} // namespace

class StatsViewTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { useWindowFonts(); }

    void figuresAndTablesWithTheTypoSetAside() {
        Log log;
        LogViewer v(log.path);
        v.show();
        auto* tabs = v.findChild<QTabWidget*>(QStringLiteral("tabs"));
        QCOMPARE(tabs->tabText(2), QStringLiteral("統計(&S)"));
        StatsView* s = showStats(v);
        QCOMPARE(figure(s, 0), QStringLiteral("76.1 kg（2026/11/09）"));
        QCOMPARE(figure(s, 6), QStringLiteral("76.1 kg（2026/11/09）")); // not the typo
        QCOMPARE(figure(s, 9), QStringLiteral("40 件"));
        QCOMPARE(figure(s, 10), QStringLiteral("1 件"));
        QVERIFY(figure(s, 2).startsWith(QStringLiteral("-0.7")));
        QCOMPARE(figure(s, 0, 0), figure(s, 0, 1)); // the whole log is in view
        const auto* months = s->findChild<QTableView*>(QStringLiteral("months"))->model();
        QCOMPARE(months->rowCount(), 2);
        QCOMPARE(months->index(0, 0).data().toString(), QStringLiteral("2026/11"));
        QCOMPARE(months->index(1, 1).data().toString(), QStringLiteral("31"));
        QCOMPARE(months->headerData(5, Qt::Horizontal).toString(), QStringLiteral("月末の傾向"));
        // Every control of the view has a name for screen readers.
        for (QWidget* w : s->findChildren<QWidget*>())
            if (w->focusPolicy() != Qt::NoFocus && !qobject_cast<QLineEdit*>(w) && w->isVisible())
                QVERIFY2(!w->accessibleName().isEmpty() || !w->property("text").isNull(),
                         qPrintable(w->metaObject()->className()));

        // A range in view: its own column, the whole log beside it.
        const long long oct1 = QDate(1, 1, 1).daysTo(QDate(2026, 10, 1));
        s->setRange(std::pair{oct1, oct1 + 4});
        QCOMPARE(figure(s, 9, 0), QStringLiteral("5 件"));
        QCOMPARE(figure(s, 9, 1), QStringLiteral("40 件"));
    }

    void goalIsKeptPerLogOnlyWhenChanged() {
        Log log;
        const QString settings = viewerSettingsPath();
        LogViewer v(log.path);
        v.show();
        StatsView* s = showStats(v);
        auto* box = s->findChild<QDoubleSpinBox*>(QStringLiteral("goal"));
        auto* projection = s->findChild<QLabel*>(QStringLiteral("projection"));
        QCOMPARE(box->value(), 59.9); // the standard weight
        QVERIFY2(projection->text().endsWith(QStringLiteral("2027年5月頃")),
                 qPrintable(projection->text()));
        QCOMPARE(box->minimum(), kLowestGoal);
        QCOMPARE(box->maximum(), kHighestGoal);
        QCOMPARE(box->singleStep(), 0.1);
        emit box->editingFinished(); // unchanged: nothing written
        QVERIFY(!QFile::exists(settings));

        box->setValue(75);
        emit box->editingFinished();
        QCOMPARE(storedGoal(log.path), 75.0);
        QCOMPARE(s->goal(), 75.0);
        QCOMPARE(projection->text(),
                 QStringLiteral("目標まであと 2.0 kg：このペースなら 2026年12月頃"));
        QCOMPARE(storedGoal(log.dir.filePath(QStringLiteral("other.txt"))), std::nullopt);

        s->findChild<QAbstractButton*>(QStringLiteral("goalReset"))->click();
        QCOMPARE(storedGoal(log.path), std::nullopt);
        QCOMPARE(box->value(), 59.9);

        QString error;
        QVERIFY(!storeGoal(log.path, 200.1, error));
        QVERIFY(!storeGoal(log.path, 2.9, error));
    }

    void damagedSettingsGiveDefaultsAndAreNotWritten() {
        Log log;
        const QString settings = viewerSettingsPath();
        QVERIFY(QDir().mkpath(settings)); // a folder where the file should be
        LogViewer v(log.path);
        v.show();
        StatsView* s = showStats(v);
        QCOMPARE(s->goal(), 59.895); // the standard weight as recorded
        auto* box = s->findChild<QDoubleSpinBox*>(QStringLiteral("goal"));
        box->setValue(70);
        emit box->editingFinished();
        QVERIFY(s->findChild<QLabel*>(QStringLiteral("projection"))
                    ->text()
                    .contains(QStringLiteral("読めないため")));
        QVERIFY(QFileInfo(settings).isDir());
        QCOMPARE(QDir(settings).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(), 0);
    }
};

QTEST_MAIN(StatsViewTest)
#include "stats_view_qtest.moc"
