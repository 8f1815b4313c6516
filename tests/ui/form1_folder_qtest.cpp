// SPDX-License-Identifier: MIT
// The button "ﾌｫﾙﾀﾞ変更": the open-file dialog it shows, the folder it takes
// from the answer, and where the next save goes.

#include "platform/fonts.h"
#include "platform/qtext.h"
#include "support/form_fixture.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <memory>

using namespace taiju;
using namespace taiju::testing;
using platform::qs;

namespace {

// A Form1 on fakes, its application directory a fresh temporary folder, so
// that the log's folder starts as that directory without a final "\".
struct Window : FormFixture {
    Window() { form->show(); }
    QByteArray settings() const { return readBytes(app.filePath(QStringLiteral("ostrel"))); }
    void choose(const std::optional<std::u16string>& answer) {
        desktop.fileDialog.answer = answer;
        QTest::mouseClick(form->controls().Command3, Qt::LeftButton);
    }
};

} // namespace

class FolderChoiceTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { useWindowFonts(); }

    void dialogSettings() {
        Window w;
        const QString before = w.caption();
        w.choose(std::nullopt);
        const auto& calls = w.desktop.fileDialog.calls;
        QCOMPARE(calls.size(), std::size_t(1));
        QCOMPARE(calls[0].title, QStringLiteral("フォルダを指定してください"));
        QCOMPARE(calls[0].filter, QStringLiteral("全てのﾌｧｲﾙ(*.*)|*.*|ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt|"));
        QCOMPARE(qs(calls[0].initialFile), w.appDir() + "\\" + kLogName);
        // The final "\" stays after the cancel; the next press adds no second one.
        QCOMPARE(qs(w.form->state().strFOLDER), w.appDir() + "\\");
        QCOMPARE(w.caption(), before);
        w.choose(std::nullopt);
        QCOMPARE(calls.size(), std::size_t(2));
        QCOMPARE(qs(calls[1].initialFile), w.appDir() + "\\" + kLogName);
        QCOMPARE(qs(w.form->state().strFOLDER), w.appDir() + "\\");
        QVERIFY(w.desktop.messageBox.shown.empty());
    }

    // Only the folder of the answer is taken, with its final "\".
    void answers_data() {
        // clang-format off
        QTest::addColumn<QString>("answer"); // null: cancelled
        QTest::addColumn<QString>("folder"); // null: unchanged
        QTest::newRow("file in a folder") << "D:\\logs\\old.txt" << "D:\\logs\\";
        QTest::newRow("root of a drive") << "Z:\\x.txt" << "Z:\\";
        QTest::newRow("last backslash counts") << "C:\\a\\b c\\記録.txt" << "C:\\a\\b c\\";
        QTest::newRow("ends with backslash") << "Z:\\tmp\\" << "Z:\\tmp\\";
        QTest::newRow("cancel") << QString() << QString();
        QTest::newRow("no backslash") << "x.txt" << QString();
        // clang-format on
    }
    void answers() {
        QFETCH(QString, answer);
        QFETCH(QString, folder);
        Window w;
        const QString caption = w.caption();
        const QByteArray settings = w.settings();
        w.choose(answer.isNull() ? std::nullopt : std::optional(platform::u16(answer)));
        if (folder.isNull()) {
            QCOMPARE(qs(w.form->state().strFOLDER), w.appDir() + "\\");
            QCOMPARE(w.caption(), caption);
        } else {
            QCOMPARE(qs(w.form->state().strFOLDER), folder);
            QCOMPARE(w.caption(), folder + kLogName);
        }
        QCOMPARE(qs(w.form->state().strFILE), kLogName);
        QCOMPARE(w.settings(), settings); // the choice is not stored
        QVERIFY(w.desktop.messageBox.shown.empty());
    }

    // The next save goes to the chosen folder; the chosen file, the old
    // folder and the settings file stay untouched, and a restart starts again
    // from the settings file.
    void chosenFolderReceivesTheNextSave() {
        Window w;
        QTemporaryDir other;
        installTemplate(w.app.path());
        const QStringList oldEntries = QDir(w.app.path()).entryList(QDir::Files);
        const QByteArray settings = w.settings();
        const QString chosen = qs(windowsPath(other.path())) + "\\new.txt";
        w.choose(platform::u16(chosen));
        const QString folder = qs(windowsPath(other.path())) + "\\";
        QCOMPARE(qs(w.form->state().strFOLDER), folder);
        QCOMPARE(w.caption(), folder + kLogName);
        QVERIFY(!QFile::exists(other.filePath(QStringLiteral("new.txt"))));

        w.form->controls().Text3->setText(QStringLiteral("65.5"));
        w.form->controls().Text4->setText(QStringLiteral("1.65"));
        QTest::mouseClick(w.form->controls().Command1, Qt::LeftButton);
        QTest::mouseClick(w.form->controls().Command2, Qt::LeftButton);
        QVERIFY(w.desktop.messageBox.shown.empty());
        QCOMPARE(readBytes(other.filePath(kLogName)).size(), 256);
        QVERIFY(!QFile::exists(other.filePath(QStringLiteral("new.txt"))));
        QCOMPARE(QDir(w.app.path()).entryList(QDir::Files), oldEntries);
        QCOMPARE(w.settings(), settings);

        Form1 restarted(w.desktop.services());
        QCOMPARE(qs(restarted.state().strFOLDER), w.appDir());
    }
};

QTEST_MAIN(FolderChoiceTest)
#include "form1_folder_qtest.moc"
