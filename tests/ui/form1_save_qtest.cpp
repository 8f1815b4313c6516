// SPDX-License-Identifier: MIT
// The save button on a real folder: provisioning the item file from the
// template, the appended record, and every save that must not be written.

#include "platform/fonts.h"
#include "platform/qtext.h"
#include "support/form_fixture.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QTest>
#include <QTimer>

#include <fcntl.h>
#include <linux/capability.h>
#include <sys/file.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <memory>

using namespace taiju;
using namespace taiju::testing;
using platform::qs;

namespace {

// The record of the boxes below under the template's declarations.
const QByteArray kRecord = QByteArray(6, ' ') +
                           "      65.5      1.65    59.895     9.358    24.059" +
                           "05-01-2003 07:30:00 walk" + QByteArray(36 + 138, ' ') + "\r\n";

// Items 0 to 3 of widths 6 and 10, right-aligned.
const QByteArray kFourItems = "100  ' 0,,, 3\r\n1000 ',\r\n1001 'a,R\r\n1002 'b,R\r\n1003 'c,R\r\n"
                              "2000 ' 6\r\n2001 ' 10\r\n2002 ' 10\r\n2003 ' 10\r\n";

const QByteArray kNotAnItemFile = "99   ' 0,,, 0\r\n1000 ',\r\n2000 ' 6\r\n";

// Reads a file as a user who may read only what its permissions allow: the
// calling thread's capability to override them is dropped (when root) while
// it lives.
class WithoutOverride {
  public:
    WithoutOverride() {
        if (syscall(SYS_capget, &head_, saved_) != 0)
            return;
        __user_cap_data_struct less[2] = {saved_[0], saved_[1]};
        less[0].effective &= ~(1u << CAP_DAC_OVERRIDE | 1u << CAP_DAC_READ_SEARCH);
        dropped_ = syscall(SYS_capset, &head_, less) == 0;
    }
    ~WithoutOverride() {
        if (dropped_)
            syscall(SYS_capset, &head_, saved_);
    }

  private:
    __user_cap_header_struct head_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2] = {};
    bool dropped_ = false;
};

// Counts the paint events of a widget.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        paints += e->type() == QEvent::Paint;
        return false;
    }
};

QByteArray digest(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

// A window on fakes, its application directory holding the template, its log
// 体重変化.txt in a data folder, and the boxes filled by an evaluation.
struct Window : FormFixture {
    QTemporaryDir data;
    explicit Window(bool withTemplate = true) : FormFixture(Build::Later) {
        if (withTemplate)
            installTemplate(app.path());
        load();
        useLog(windowsPath(data.path()));
        evaluate(QStringLiteral("65.5"), QStringLiteral("1.65"));
        ui().Text7->setText(QStringLiteral(" walk "));
        forget();
    }
    QString log() const { return data.filePath(QStringLiteral("体重変化.txt")); }
    QString itemFile() const { return data.filePath(QStringLiteral("k体重変化.txt")); }
    QString itemFileWindows() const { return qs(windowsPath(itemFile())); }
    // Everything the window shows that a save must leave alone.
    QStringList shown() {
        auto& ui = form->controls();
        QStringList s;
        for (QLineEdit* box :
             {ui.Text1, ui.Text2, ui.Text3, ui.Text4, ui.Text5, ui.Text6, ui.Text7})
            s << box->text();
        s << ui.lblFOLDER->text() << qs(form->state().strFOLDER) << qs(form->state().strFILE);
        return s;
    }
};

} // namespace

class RecordWriterTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { useWindowFonts(); }

    void missingItemFileIsProvisioned() {
        Window w;
        const QStringList before = w.shown();
        w.form->Command2_Click();
        QCOMPARE(readBytes(w.itemFile()), templateBytes());
        QCOMPARE(readBytes(w.log()), kRecord);
        QCOMPARE(w.desktop.beeper.beeps, 1); // jinput's own, for the missing file
        QVERIFY(w.desktop.messageBox.shown.empty());
        QCOMPARE(w.shown(), before);

        w.form->Command2_Click();
        QCOMPARE(readBytes(w.log()), kRecord + kRecord);
        QCOMPARE(w.desktop.beeper.beeps, 1);
        QVERIFY(w.desktop.messageBox.shown.empty());
        QCOMPARE(w.shown(), before);
    }

    // Every press reads the item file again; a valid one is left as it is.
    void itemFileReadAtEveryPress() {
        Window w;
        w.form->Command2_Click();
        writeBytes(w.itemFile(), kFourItems);
        w.form->Command2_Click();
        QCOMPARE(readBytes(w.log()), kRecord + QByteArray(6, ' ') +
                                         "      65.5      1.65    59.895" + QByteArray(218, ' ') +
                                         "\r\n");
        QCOMPARE(readBytes(w.itemFile()), kFourItems);
    }

    // A log name that holds a folder (a settings file edited by hand): the
    // template is provisioned where the item file is then read, beside the log.
    void itemFileProvisionedBesideALogInASubfolder() {
        Window w;
        QVERIFY(QDir(w.data.path()).mkdir(QStringLiteral("sub")));
        w.form->state().strFILE = u"sub\\体重変化.txt";
        w.ui().lblFOLDER->setText(qs(w.form->state().strFOLDER + u"\\" + w.form->state().strFILE));
        w.form->Command2_Click();
        QVERIFY(w.desktop.messageBox.shown.empty());
        QCOMPARE(readBytes(w.data.filePath(QStringLiteral("sub/k体重変化.txt"))), templateBytes());
        QCOMPARE(readBytes(w.data.filePath(QStringLiteral("sub/体重変化.txt"))), kRecord);
    }

    void rejectedItemFileIsReplaced() {
        Window w;
        const QByteArray old = "earlier record\r\n" + QByteArray(1000, 'x');
        writeBytes(w.log(), old);
        writeBytes(w.itemFile(), kNotAnItemFile);
        w.form->Command2_Click();
        QCOMPARE(w.desktop.beeper.beeps, 1);
        QCOMPARE(w.desktop.messageBox.shown.size(), 1u); // jinput's header box only
        QCOMPARE(w.desktop.messageBox.shown[0].title, QStringLiteral("項目ﾌｧｲﾙ読込エラー"));
        QCOMPARE(readBytes(w.itemFile()), templateBytes());
        // The log ended inside a line: the record starts a line of its own.
        QCOMPARE(readBytes(w.log()), old + "\r\n" + kRecord);
    }

    // While another program holds the log's lock the window shows the busy
    // cursor, repaints and takes no click; the save is written once it is
    // released, and the window is as before.
    void waitForTheLockKeepsTheWindowAlive() {
        Window w;
        w.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
        writeBytes(w.log(), "");
        w.ui().Command2->setFocus();
        const int other = ::open(QFile::encodeName(w.log()).constData(), O_RDWR);
        QVERIFY(other >= 0 && ::flock(other, LOCK_EX) == 0);
        PaintCounter counter;
        w.form->installEventFilter(&counter);
        bool busy = false, disabled = false;
        int paints = 0;
        QTimer::singleShot(400, [&] {
            const QCursor* cursor = QApplication::overrideCursor();
            busy = cursor && cursor->shape() == Qt::WaitCursor;
            disabled = !w.form->isEnabled();
            paints = counter.paints;
            w.form->update();
        });
        QTimer::singleShot(700, [&] {
            paints = counter.paints - paints;
            QTest::mouseClick(w.ui().Command2, Qt::LeftButton); // no second save
            ::close(other);
        });
        w.form->Command2_Click();
        QVERIFY(busy);
        QVERIFY(disabled);
        QVERIFY(paints > 0);
        QCOMPARE(readBytes(w.log()), kRecord);
        QVERIFY(w.form->isEnabled());
        QCOMPARE(w.form->focusWidget(), w.ui().Command2);
        QVERIFY(!QApplication::overrideCursor());
        QCoreApplication::processEvents();
        QCOMPARE(readBytes(w.log()), kRecord);
    }

    // Every box takes a text of any length, and a control character pasted
    // or typed into it becomes a blank there.
    void boxesTakeAnyLengthInOneLine() {
        Window w;
        auto& ui = w.ui();
        for (QLineEdit* box :
             {ui.Text1, ui.Text2, ui.Text3, ui.Text4, ui.Text5, ui.Text6, ui.Text7}) {
            box->clear();
            box->insert(QString::fromUtf16(u"walk\r\nW99\tX\0Y\x7F\x1Bz", 16));
            QCOMPARE(box->text(), QStringLiteral("walk  W99 X Y  z"));
            box->insert(QString(1'000'000, QLatin1Char('a')));
            QCOMPARE(box->text().size(), 1'000'016);
        }
    }

    // Saves that cannot be made: one box titled "記入エラー" naming the file
    // really at fault (as the user knows its path) and the cause, and no byte
    // of the log changed.
    void refusedSaves_data() {
        // clang-format off
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("beeps");
        QTest::addColumn<int>("boxes"); // jinput's boxes and the save's own
        QTest::addColumn<QString>("named");
        QTest::addColumn<QString>("cause");
        QTest::addColumn<QByteArray>("itemFileAfter"); // "-": none
        QTest::newRow("template missing") << "no template" << 1 << 1 << "template" << "ﾌｧｲﾙがありません。" << QByteArray("-");
        QTest::newRow("template rejected") << "bad template" << 2 << 2 << "item" << "" << kNotAnItemFile;
        QTest::newRow("negative width") << "negative" << 0 << 1 << "item" << "負の桁数" << QByteArray(kFourItems).replace("' 10", "'-10");
        QTest::newRow("columns do not fit") << "600" << 0 << 1 << "item" << "収まりません" << QByteArray("100  ' 0,,, 1\r\n1000 ',\r\n1001 'w,\r\n2000 ' 6\r\n2001 ' 600\r\n");
        QTest::newRow("log is a folder") << "log folder" << 1 << 1 << "log" << "同じ名前のﾌｫﾙﾀﾞがあります。" << templateBytes();
        QTest::newRow("item file not readable") << "unreadable" << 1 << 1 << "item" << "読み取りが許可されていません。" << kFourItems;
        QTest::newRow("item file is a folder") << "item folder" << 1 << 1 << "item" << "同じ名前のﾌｫﾙﾀﾞがあります。" << QByteArray("-");
        QTest::newRow("drive C") << "drive C" << 1 << 1 << "C:\\data\\k体重変化.txt" << "ドライブ C: はありません。" << QByteArray("-");
        QTest::newRow("NUL in the file name") << "NUL" << 0 << 1 << "NUL" << "（NUL）" << QByteArray("-");
        // clang-format on
    }
    void refusedSaves() {
        QFETCH(QString, fault);
        QFETCH(int, beeps);
        QFETCH(int, boxes);
        QFETCH(QString, named);
        QFETCH(QString, cause);
        QFETCH(QByteArray, itemFileAfter);
        Window w(fault != "no template");
        const QByteArray old = kRecord + "not a record";
        if (fault == "log folder")
            QVERIFY(QDir(w.data.path()).mkdir(QStringLiteral("体重変化.txt")));
        else
            writeBytes(w.log(), old);
        if (fault == "item folder")
            QVERIFY(QDir(w.data.path()).mkdir(QStringLiteral("k体重変化.txt")));
        if (fault == "bad template")
            writeBytes(w.app.filePath(QStringLiteral("k体重変化.___")), kNotAnItemFile);
        if (fault == "negative" || fault == "600" || fault == "unreadable")
            writeBytes(w.itemFile(), itemFileAfter);
        if (fault == "unreadable")
            QVERIFY(QFile::setPermissions(w.itemFile(), QFile::WriteOwner));
        if (fault == "600")
            w.form->controls().Text3->setText(QString(400, QLatin1Char('9')));
        if (fault == "drive C")
            w.useLog(u"C:\\data");
        if (fault == "NUL") {
            w.form->state().strFILE = std::u16string(u"体重変化.txt\0x", 10);
            w.ui().lblFOLDER->setText(qs(windowsPath(w.log())) + QChar(0) + "x");
        }
        const QStringList before = w.shown();

        {
            WithoutOverride asUser; // root may read any file otherwise
            w.form->Command2_Click();
        }
        if (fault == "unreadable")
            QFile::setPermissions(w.itemFile(), QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(w.desktop.beeper.beeps, beeps);
        const auto& shown = w.desktop.messageBox.shown;
        QCOMPARE(int(shown.size()), boxes);
        QCOMPARE(shown.back().title, QStringLiteral("記入エラー"));
        // Paths as the user knows them, not in the tool's Windows form.
        const QString path = named == "item"       ? w.itemFile()
                             : named == "log"      ? w.log()
                             : named == "template" ? w.app.filePath(QStringLiteral("k体重変化.___"))
                             : named == "NUL"      ? w.log() + "<NUL>x"
                                                   : named;
        const QString& message = shown.back().message;
        QVERIFY2(message.contains("「" + path + "」"), qPrintable(message));
        QVERIFY2(message.contains(cause), qPrintable(message));
        QVERIFY2(message.contains("記入していません"), qPrintable(message));
        if (itemFileAfter == "-")
            QVERIFY(!QFileInfo(w.itemFile()).isFile());
        else
            QCOMPARE(readBytes(w.itemFile()), itemFileAfter);
        if (fault == "log folder")
            QVERIFY(QDir(w.log()).isEmpty());
        else
            QCOMPARE(digest(readBytes(w.log())), digest(old));
        // Nothing else appeared in the log's folder (no file named after the
        // text before a NUL).
        QStringList expected{QStringLiteral("体重変化.txt")};
        if (itemFileAfter != "-" || fault == "item folder")
            expected << QStringLiteral("k体重変化.txt");
        QStringList present =
            QDir(w.data.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
        present.sort();
        expected.sort();
        QCOMPARE(present, expected);
        QCOMPARE(w.shown(), before);
    }
};

QTEST_MAIN(RecordWriterTest)
#include "form1_save_qtest.moc"
