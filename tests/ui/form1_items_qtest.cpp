// SPDX-License-Identifier: MIT
// Reading and writing the item file through the window: the declarations that
// jinput loads, what the user gets when it fails, and joutput's file.

#include "platform/fonts.h"
#include "platform/qtext.h"
#include "support/form_fixture.h"
#include "text/encoding.h"

#include <QApplication>
#include <QDir>
#include <QTest>

#include <memory>

using namespace taiju;
using namespace taiju::testing;
using platform::qs;

namespace {

const QStringList kExample = {
    "100  ' 0,,, 7",  "1000 ',",     "1001 '体重(Kg),R", "1002 '身長(m),R", "1003 '標準体重,R",
    "1004 '肥満度,R", "1005 'BMI,R", "1006 '日付,",      "1007 'コメント,", "2000 ' 6",
    "2001 ' 10",      "2002 ' 10",   "2003 ' 10",        "2004 ' 10",       "2005 ' 10",
    "2006 ' 20",      "2007 ' 40"};

QByteArray cp932Lines(const QStringList& lines) {
    const std::string bytes = platform::encodeCp932(platform::u16(lines.join("\r\n") + "\r\n"));
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// The example with other widths for items 0 to 7.
QStringList withWidths(const QList<int>& widths) {
    QStringList lines = kExample.mid(0, 9);
    for (int i = 0; i < widths.size(); ++i)
        lines << QStringLiteral("%1 ' %2").arg(2000 + i).arg(widths[i]);
    return lines;
}

// A window on fakes and a data folder holding the log 体重変化.txt.
struct Window : FormFixture {
    QTemporaryDir data;
    Window() { forget(); }
    std::u16string n(const QString& name = QStringLiteral("体重変化.txt")) {
        return windowsPath(data.filePath(name)).substr(2);
    }
    QString itemFile(const QString& name = QStringLiteral("体重変化.txt")) {
        return data.filePath("k" + name);
    }
    std::u16string read() {
        std::u16string er = u"stale";
        form->jinput(n(), u"Z", er);
        return er;
    }
};

} // namespace

class FormItemsTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { useWindowFonts(); }

    void workedExampleReadsAndWritesBack() {
        Window w;
        writeBytes(w.itemFile(), cp932Lines(kExample));
        FormState& f = w.form->state();
        f.jwidth[8] = 3; // left by an earlier read: cleared up to 255
        f.jwidth[255] = 4;
        f.jwidth[256] = 5; // beyond the cleared range
        QCOMPARE(w.read(), std::u16string());
        QCOMPARE(f.jcount, 7.0);
        const std::u16string names[] = {u"",       u"体重(Kg)", u"身長(m)", u"標準体重",
                                        u"肥満度", u"BMI",      u"日付",    u"コメント"};
        const double widths[] = {6, 10, 10, 10, 10, 10, 20, 40};
        for (int i = 0; i <= 7; ++i) {
            QCOMPARE(f.jname[i], names[i]);
            QCOMPARE(f.jalign[i], std::u16string(i >= 1 && i <= 5 ? u"R" : u""));
            QCOMPARE(f.jwidth[i], widths[i]);
            QCOMPARE(f.jwidth2[i], widths[i]);
        }
        QCOMPARE(f.jwidth[8], 0.0);
        QCOMPARE(f.jwidth[255], 0.0);
        QCOMPARE(f.jwidth[256], 5.0);
        QCOMPARE(f.jrecw, 1.0);
        QCOMPARE(f.jrec, 1.0);
        QCOMPARE(w.desktop.beeper.beeps, 0);
        QVERIFY(w.desktop.messageBox.shown.empty());

        f.jwidth[256] = 0;
        writeBytes(w.itemFile(QStringLiteral("新しい.txt")), QByteArray(5000, 'x')); // replaced
        w.form->joutput(w.n(QStringLiteral("新しい.txt")), u"Z");
        QCOMPARE(readBytes(w.itemFile(QStringLiteral("新しい.txt"))), cp932Lines(kExample));
        QCOMPARE(readBytes(w.itemFile(QStringLiteral("新しい.txt"))), templateBytes());
        QVERIFY(w.desktop.messageBox.shown.empty());
    }

    void readFailures_data() {
        // clang-format off
        QTest::addColumn<QStringList>("lines"); // empty: no item file
        QTest::addColumn<int>("beeps");
        QTest::addColumn<QString>("message"); // empty: no box
        QTest::addColumn<QString>("title");
        QTest::addColumn<double>("jcount");
        QTest::addColumn<double>("jrec");
        const QString none,
            header = QStringLiteral("vexoｶﾙｸﾌｧｲﾙでないか、項目設定を記述したﾌｧｲﾙが不良です"),
            headerTitle = QStringLiteral("項目ﾌｧｲﾙ読込エラー");
        QStringList shortFile = kExample;
        shortFile.removeLast();
        QStringList many = {"100  ' 0,,, 101"};
        for (int i = 0; i <= 101; ++i)
            many << QStringLiteral("%1 'x,R").arg(1000 + i);
        for (int i = 0; i <= 101; ++i)
            many << QStringLiteral("%1 ' 1").arg(2000 + i);
        auto headed = [](const QString& line) {
            QStringList l = kExample;
            l[0] = line;
            return l;
        };
        QTest::newRow("missing") << QStringList() << 1 << none << none << 0.0 << 0.0;
        QTest::newRow("one width short") << shortFile << 1 << none << none << 7.0 << 1.0;
        QTest::newRow("jcount 101") << many << 1 << none << none << 101.0 << 0.0;
        QTest::newRow("header 99") << headed("99   ' 0,,, 7") << 1 << header << headerTitle << 7.0 << 0.0;
        QTest::newRow("apostrophe 5th") << headed("100 ' 0,,, 7") << 1 << header << headerTitle << 7.0 << 0.0;
        QTest::newRow("H -1") << headed("100  ' 0,,,-1") << 1 << header << headerTitle << -1.0 << 0.0;
        QTest::newRow("widths 2559") << withWidths({6, 10, 10, 10, 10, 10, 20, 2483}) << 0 << QStringLiteral("2560文字より長くvexoカルクﾌｧｲﾙでありません.") << QStringLiteral("ﾌｧｲﾙ長エラー") << 7.0 << 1.0;
        // clang-format on
    }
    void readFailures() {
        QFETCH(QStringList, lines);
        QFETCH(int, beeps);
        QFETCH(QString, message);
        QFETCH(QString, title);
        QFETCH(double, jcount);
        QFETCH(double, jrec);
        Window w;
        if (!lines.isEmpty())
            writeBytes(w.itemFile(), cp932Lines(lines));
        QCOMPARE(w.read(), std::u16string(u"error"));
        QCOMPARE(w.desktop.beeper.beeps, beeps);
        const auto& shown = w.desktop.messageBox.shown;
        QCOMPARE(shown.size(), message.isEmpty() ? 0u : 1u);
        if (!message.isEmpty()) {
            QCOMPARE(shown[0].message, message);
            QCOMPARE(shown[0].title, title);
        }
        QCOMPARE(w.form->state().jcount, jcount);
        QCOMPARE(w.form->state().jrec, jrec);

        // A good file afterwards: the same status text comes back empty.
        writeBytes(w.itemFile(), cp932Lines(kExample));
        std::u16string er = u"error";
        w.form->jinput(w.n(), u"Z", er);
        QCOMPARE(er, std::u16string());
        QCOMPARE(w.form->state().jcount, 7.0);
        QCOMPARE(w.form->state().jrec, 1.0);
    }

    // 2558 bytes still fit ten units; the record needs two (one step per item).
    void longestAccepted() {
        Window w;
        writeBytes(w.itemFile(), cp932Lines(withWidths({6, 10, 10, 10, 10, 10, 20, 2482})));
        QCOMPARE(w.read(), std::u16string());
        QVERIFY(w.desktop.messageBox.shown.empty());
        QCOMPARE(w.form->state().jrecw, 2.0);
        QCOMPARE(w.form->state().jrec, 2.0);
    }

    void writeFailure_data() {
        // clang-format off
        QTest::addColumn<bool>("directory");
        QTest::addColumn<QString>("drive");
        QTest::newRow("directory of that name") << true << "Z";
        QTest::newRow("drive C") << false << "C";
        // clang-format on
    }
    void writeFailure() {
        QFETCH(bool, directory);
        QFETCH(QString, drive);
        Window w;
        if (directory)
            QVERIFY(QDir(w.data.path()).mkdir("k体重変化.txt"));
        w.form->show();
        QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
        w.form->controls().Text7->setFocus();
        QCOMPARE(QApplication::focusWidget(), w.form->controls().Text7);
        w.form->joutput(w.n(), platform::u16(drive));
        const auto& shown = w.desktop.messageBox.shown;
        QCOMPARE(shown.size(), 1u);
        QCOMPARE(shown[0].message, QStringLiteral("不適切なﾌｧｲﾙを指定しました。"));
        QCOMPARE(shown[0].title, QStringLiteral("ディスクエラー"));
        QCOMPARE(QApplication::focusWidget(), w.form->controls().Text3);
        QCOMPARE(QFileInfo(w.itemFile()).isDir(), directory);
    }
};

QTEST_MAIN(FormItemsTest)
#include "form1_items_qtest.moc"
