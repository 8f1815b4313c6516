// SPDX-License-Identifier: MIT
// Start-up of the window: the settings file "ostrel" beside the program is
// read, or written anew with the defaults, before the window is first shown,
// and never with a message.

#include "platform/fonts.h"
#include "platform/qtext.h"
#include "support/form_fixture.h"
#include "text/encoding.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <memory>
#include <optional>

using namespace taiju;
using namespace taiju::testing;
using platform::qs;

namespace {

// A temporary application directory; the window is built on demand so that
// a test can prepare "ostrel" first.
struct Window : FormFixture {
    Window() : FormFixture(Build::Later) {}
    QString settingsPath() const { return app.filePath(QStringLiteral("ostrel")); }
    void writeSettings(const QString& text) {
        writeBytes(settingsPath(),
                   QByteArray::fromStdString(platform::encodeCp932(platform::u16(text))));
    }
    QByteArray defaultBytes() const {
        return QByteArray::fromStdString(
            platform::encodeCp932(platform::u16(appDir() + "\r\n" + kLogName + "\r\n")));
    }
    QString folder() const { return qs(form->state().strFOLDER); }
    QString file() const { return qs(form->state().strFILE); }
};

} // namespace

Q_DECLARE_METATYPE(std::optional<std::u16string>)

class StartupTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { useWindowFonts(); }

    void firstStartWritesTheDefaults() {
        Window w;
        w.load(); // not shown yet: everything below is in place already
        QVERIFY(!w.form->isVisible());
        QCOMPARE(readBytes(w.settingsPath()), w.defaultBytes());
        QVERIFY(!w.defaultBytes().contains("\\\r\n")); // no final "\" on the directory
        QCOMPARE(w.folder(), w.appDir());
        QCOMPARE(w.file(), kLogName);
        QCOMPARE(w.caption(), w.appDir() + "\\" + kLogName);
        QCOMPARE(w.form->state().jmaxrec, 10.0);
        QVERIFY(w.silent());
        // Nothing but the settings file is created.
        QCOMPARE(QDir(w.app.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList{"ostrel"});
    }

    // Hand-edited valid files are read as they stand and left byte for byte.
    void validFileIsReadAndKept_data() {
        // clang-format off
        QTest::addColumn<QString>("content");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("caption");
        QTest::newRow("final backslash") << "Z:\\data\\\r\n体重変化.txt\r\n" << "Z:\\data\\" << kLogName << "Z:\\data\\体重変化.txt";
        QTest::newRow("no final backslash") << "Z:\\data\r\n体重変化.txt\r\n" << "Z:\\data" << kLogName << "Z:\\data\\体重変化.txt";
        QTest::newRow("root") << "Z:\\\r\n体重変化.txt\r\n" << "Z:\\" << kLogName << "Z:\\体重変化.txt";
        QTest::newRow("quoted with comma") << "\"Z:\\da,ta\"\r\n体重変化.txt\r\n" << "Z:\\da,ta" << kLogName << "Z:\\da,ta\\体重変化.txt";
        QTest::newRow("comma splits the line") << "Z:\\a,b\r\nother.txt\r\n" << "Z:\\a" << "b" << "Z:\\a\\b";
        QTest::newRow("other drive, Japanese, no final CR LF") << "C:\\記録\r\nﾛｸﾞ.txt" << "C:\\記録" << "ﾛｸﾞ.txt" << "C:\\記録\\ﾛｸﾞ.txt";
        QTest::newRow("lines beyond the second") << "Z:\\data\r\nlog.txt\r\n\r\nmore\r\n" << "Z:\\data" << "log.txt" << "Z:\\data\\log.txt";
        QTest::newRow("larger than 16 MiB") << "Z:\\data\r\nlog.txt\r\n" + QString(17 << 20, 'x') << "Z:\\data" << "log.txt" << "Z:\\data\\log.txt";
        QTest::newRow("first line beyond the first read") << "Z:\\" + QString(5000, u'記') + "\r\nlog.txt\r\n" << "Z:\\" + QString(5000, u'記') << "log.txt" << "Z:\\" + QString(5000, u'記') + "\\log.txt";
        // clang-format on
    }
    void validFileIsReadAndKept() {
        QFETCH(QString, content);
        QFETCH(QString, folder);
        QFETCH(QString, file);
        QFETCH(QString, caption);
        Window w;
        w.writeSettings(content);
        const QByteArray before = readBytes(w.settingsPath());
        w.load();
        QCOMPARE(w.folder(), folder);
        QCOMPARE(w.file(), file);
        QCOMPARE(w.caption(), caption);
        QCOMPARE(w.form->state().jmaxrec, 10.0);
        QCOMPARE(readBytes(w.settingsPath()), before);
        QVERIFY(w.silent());
    }

    // Invalid or short files lose their content to the defaults, silently.
    void invalidFileIsReplaced_data() {
        // clang-format off
        QTest::addColumn<QString>("content");
        QTest::newRow("empty file") << "";
        QTest::newRow("one line only") << "Z:\\data\r\n";
        QTest::newRow("empty first line") << "\r\n体重変化.txt\r\n";
        QTest::newRow("network path") << "\\\\server\\share\r\n体重変化.txt\r\n";
        QTest::newRow("relative folder") << "data\r\n体重変化.txt\r\n";
        QTest::newRow("colon not second") << " Z\\:data\r\n体重変化.txt\r\n";
        QTest::newRow("blank second line") << "Z:\\data\r\n   \r\n";
        QTest::newRow("comma leaves empty name") << "Z:\\data,\r\n体重変化.txt\r\n";
        // clang-format on
    }
    void invalidFileIsReplaced() {
        QFETCH(QString, content);
        Window w;
        w.writeSettings(content);
        w.load();
        QCOMPARE(readBytes(w.settingsPath()), w.defaultBytes());
        QCOMPARE(w.folder(), w.appDir());
        QCOMPARE(w.file(), kLogName);
        QCOMPARE(w.caption(), w.appDir() + "\\" + kLogName);
        QCOMPARE(w.form->state().jmaxrec, 10.0);
        QVERIFY(w.silent());
    }

    // A settings file that can be neither read nor written: the defaults hold
    // in memory and the obstacle is left alone.
    void unwritableSettingsFile() {
        Window w;
        QVERIFY(QDir(w.app.path()).mkdir(QStringLiteral("ostrel")));
        w.load();
        QVERIFY(QFileInfo(w.settingsPath()).isDir());
        QCOMPARE(w.folder(), w.appDir());
        QCOMPARE(w.file(), kLogName);
        QCOMPARE(w.caption(), w.appDir() + "\\" + kLogName);
        QCOMPARE(w.form->state().jmaxrec, 10.0);
        QVERIFY(w.silent());
    }

    // The repair writes, but reading back what it wrote does not give the
    // application directory: a comma in it splits the line. The second
    // reading counts when it is valid; otherwise the defaults hold in memory.
    // Either way start-up ends, without a second repair.
    void repairReadBack_data() {
        // clang-format off
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("readBackValid");
        QTest::newRow("comma inside") << "a,b" << true;
        QTest::newRow("comma at the end") << "d," << false;
        // clang-format on
    }
    void repairReadBack() {
        QFETCH(QString, name);
        QFETCH(bool, readBackValid);
        Window w;
        QVERIFY(QDir(w.app.path()).mkdir(name));
        const QString native = w.app.filePath(name);
        w.desktop.appDirectory.dir = windowsPath(native);
        w.load();
        const QString app = w.appDir();
        QCOMPARE(readBytes(native + "/ostrel"), w.defaultBytes());
        QCOMPARE(w.folder(), readBackValid ? app.left(app.indexOf(',')) : app);
        QCOMPARE(w.file(), readBackValid ? QStringLiteral("b") : kLogName);
        QCOMPARE(w.form->state().jmaxrec, 10.0);
        QVERIFY(w.silent());
    }

    // Without an application directory in the Windows form nothing can be
    // written: start-up goes on with what it has and touches no file.
    void applicationDirectoryWithoutDrive_data() {
        // clang-format off
        QTest::addColumn<std::optional<std::u16string>>("appDir");
        QTest::addColumn<QString>("folder");
        QTest::newRow("relative") << std::optional<std::u16string>(u"relative\\dir") << "relative\\dir";
        QTest::newRow("none") << std::optional<std::u16string>() << "";
        // clang-format on
    }
    void applicationDirectoryWithoutDrive() {
        QFETCH(std::optional<std::u16string>, appDir);
        QFETCH(QString, folder);
        Window w;
        const QString home = QDir::currentPath();
        QVERIFY(QDir::setCurrent(w.app.path())); // where a stray write would land
        w.desktop.appDirectory.dir = appDir;
        w.load();
        QDir::setCurrent(home);
        QCOMPARE(w.folder(), folder);
        QCOMPARE(w.file(), kLogName);
        QCOMPARE(w.caption(), folder + "\\" + kLogName);
        QCOMPARE(w.form->state().jmaxrec, 10.0);
        QVERIFY(w.silent());
        QVERIFY(QDir(w.app.path()).isEmpty());
    }
};

QTEST_MAIN(StartupTest)
#include "form1_load_qtest.moc"
