// SPDX-License-Identifier: MIT
// The window as a screen reader and a keyboard meet it: boxes named by their
// captions, the bands of the results named, the computed boxes read-only,
// Enter on a focused button, a visible focus frame; and Qt's own dialogs and
// menus in Japanese, with the open-file dialog of the folder button.

#include "platform/fonts.h"
#include "platform/language.h"
#include "platform/qt_services.h"
#include "platform/qtext.h"
#include "support/form_fixture.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace taiju;
using namespace taiju::testing;

namespace {

QString a11y(QWidget* w, QAccessible::Text t) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(t) : QStringLiteral("<none>");
}

// True when the text has Japanese in it (kana or kanji).
bool japanese(const QString& s) {
    for (QChar c : s)
        if (c.unicode() >= 0x3040 && c.unicode() <= 0x9FFF)
            return true;
    return false;
}

// Runs `step` on the active modal window once it shows, from the event loop
// of that window.
void whenModal(std::function<void(QWidget*)> step) {
    QTimer::singleShot(0, [step] {
        QWidget* modal = nullptr;
        for (int i = 0; i < 200 && !(modal = QApplication::activeModalWidget()); ++i)
            QTest::qWait(10);
        step(modal);
    });
}

} // namespace

class AccessTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        useWindowFonts();
        QVERIFY(platform::useJapaneseQtTranslations(*qApp));
    }

    void boxesNamedByTheirCaptions_data() {
        // clang-format off
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("name");
        QTest::newRow("Text3") << "Label3" << "体重(Kg)";
        QTest::newRow("Text4") << "Label4" << "身長(m)";
        QTest::newRow("Text1") << "Label1" << "標準体重";
        QTest::newRow("Text2") << "Label2" << "肥満度";
        QTest::newRow("Text5") << "Label5" << "BMI";
        QTest::newRow("Text6") << "Label21" << "日付";
        QTest::newRow("Text7") << "Label22" << "コメント";
        // clang-format on
    }
    void boxesNamedByTheirCaptions() {
        QFETCH(QString, label);
        QFETCH(QString, name);
        FormFixture w;
        auto* box = w.form->findChild<QLineEdit*>(QString::fromLatin1(QTest::currentDataTag()));
        QCOMPARE(w.form->findChild<QLabel*>(label)->buddy(), box);
        QCOMPARE(a11y(box, QAccessible::Name), name);
        // Computed values are read-only and keep their stop in the tab order.
        const bool computed =
            QStringList{"Text1", "Text2", "Text5", "Text6"}.contains(box->objectName());
        QCOMPARE(box->isReadOnly(), computed);
        QVERIFY(box->focusPolicy() & Qt::TabFocus);
    }

    // After each evaluation the result boxes name their band as the legend.
    void bandsNamed_data() {
        // clang-format off
        QTest::addColumn<QString>("weight");
        QTest::addColumn<QString>("degreeBand");
        QTest::addColumn<QString>("bmiBand");
        QTest::newRow("both band 1") << "40" << "やせぎみ" << "やせぎみ";
        QTest::newRow("both band 2") << "60" << "正常体重" << "正常体重";
        QTest::newRow("bands 2 and 3") << "65.5" << "正常体重" << "やや肥満";
        QTest::newRow("both band 3") << "68" << "やや肥満" << "やや肥満";
        QTest::newRow("both band 4") << "90" << "肥満" << "肥満";
        // clang-format on
    }
    void bandsNamed() {
        QFETCH(QString, weight);
        QFETCH(QString, degreeBand);
        QFETCH(QString, bmiBand);
        FormFixture w;
        QVERIFY(a11y(w.ui().Text2, QAccessible::Description).isEmpty());
        w.evaluate(QStringLiteral("90"), QStringLiteral("1.65")); // the next one names anew
        w.evaluate(weight, QStringLiteral("1.65"));
        QCOMPARE(a11y(w.ui().Text2, QAccessible::Description), degreeBand);
        QCOMPARE(a11y(w.ui().Text5, QAccessible::Description), bmiBand);
        // Typing does not change what a computed box shows.
        const QString shown = w.ui().Text2->text();
        w.form->show();
        w.ui().Text2->setFocus();
        QTest::keyClicks(w.ui().Text2, QStringLiteral("12"));
        QCOMPARE(w.ui().Text2->text(), shown);
    }

    // Which keys on which focused control press a button.
    void keys_data() {
        // clang-format off
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("pressed"); // the button's name, or empty
        QTest::newRow("Return on Command1") << "Command1" << int(Qt::Key_Return) << "Command1";
        QTest::newRow("keypad Enter on Command1") << "Command1" << int(Qt::Key_Enter) << "Command1";
        QTest::newRow("Space on Command1") << "Command1" << int(Qt::Key_Space) << "Command1";
        QTest::newRow("Return on Command2") << "Command2" << int(Qt::Key_Return) << "Command2";
        QTest::newRow("Return on Command3") << "Command3" << int(Qt::Key_Return) << "Command3";
        QTest::newRow("Esc on Command1") << "Command1" << int(Qt::Key_Escape) << "";
        QTest::newRow("Return in Text4") << "Text4" << int(Qt::Key_Return) << "";
        QTest::newRow("Return in Text7") << "Text7" << int(Qt::Key_Return) << "";
        QTest::newRow("Esc in Text3") << "Text3" << int(Qt::Key_Escape) << "";
        // clang-format on
    }
    void keys() {
        QFETCH(QString, target);
        QFETCH(int, key);
        QFETCH(QString, pressed);
        FormFixture w;
        installTemplate(w.app.path());
        w.form->show();
        QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
        w.ui().Text3->setText(QStringLiteral("65.5"));
        w.ui().Text4->setText(QStringLiteral("1.65"));
        QWidget* focus = w.form->findChild<QWidget*>(target);
        focus->setFocus();
        const Qt::KeyboardModifiers mods =
            key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
        QTest::keyClick(focus, Qt::Key(key), mods);
        QCOMPARE(!w.ui().Text1->text().isEmpty(), pressed == QStringLiteral("Command1"));
        QCOMPARE(QFile::exists(w.app.filePath(kLogName)), pressed == QStringLiteral("Command2"));
        QCOMPARE(w.desktop.fileDialog.calls.size(),
                 std::size_t(pressed == QStringLiteral("Command3")));
    }

    // A focused button shows a dark frame inside its edge.
    void focusFrame() {
        FormFixture w;
        w.form->show();
        QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
        for (QPushButton* b : w.form->findChildren<QPushButton*>()) {
            w.ui().Text3->setFocus();
            const QImage before = b->grab().toImage();
            b->setFocus();
            const QImage after = b->grab().toImage();
            for (QPoint at : {QPoint(4, b->height() / 2), QPoint(b->width() / 2, 4),
                              QPoint(b->width() - 5, b->height() / 2)}) {
                QVERIFY2(qGray(before.pixel(at)) > 150, qPrintable(b->objectName()));
                QCOMPARE(after.pixelColor(at), QColor(Qt::black));
            }
        }
    }

    // Qt's texts in Japanese: a text box's context menu.
    void contextMenuInJapanese() {
        QLineEdit edit;
        std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        int texts = 0;
        for (QAction* a : menu->actions())
            if (!a->isSeparator()) {
                QVERIFY2(japanese(a->text()), qPrintable(a->text()));
                ++texts;
            }
        QVERIFY(texts >= 5);
    }

    // The folder button's dialog: Japanese, the type descriptions shown
    // once, a missing folder refused (the dialog stays open), a new name in
    // an existing folder taken.
    void fileDialog() {
        QTemporaryDir dir;
        platform::QtFileDialog service;
        const QString filter = QStringLiteral("全てのﾌｧｲﾙ(*.*)|*.*|ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt|");
        const QString missing = dir.filePath(QStringLiteral("無い/x.txt"));
        const QString fresh = dir.filePath(QStringLiteral("新しい.txt"));
        QStringList types, texts;
        bool refused = false, stayed = false;
        whenModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (!dialog)
                return;
            auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            for (int i = 0; combo && i < combo->count(); ++i)
                types << combo->itemText(i);
            for (QLabel* l : dialog->findChildren<QLabel*>())
                if (!l->text().isEmpty())
                    texts << l->text();
            for (QAbstractButton* b : dialog->findChild<QDialogButtonBox*>()->buttons())
                texts << b->text();
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            whenModal([&](QWidget* box) {
                refused =
                    qobject_cast<QMessageBox*>(box) &&
                    japanese(box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))->text());
                box->close();
            });
            QPushButton* open =
                dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open);
            name->setText(missing);
            open->click();
            stayed = dialog->isVisible();
            name->setText(fresh);
            open->click();
        });
        const auto chosen = service.open(QStringLiteral("フォルダを指定してください"), filter,
                                         windowsPath(dir.filePath(kLogName)));
        QCOMPARE(types, (QStringList{"全てのﾌｧｲﾙ(*.*)", "ﾃｷｽﾄﾌｧｲﾙ(*.txt)"}));
        QVERIFY(!texts.isEmpty());
        for (const QString& t : texts)
            QVERIFY2(japanese(t) || !t.contains(QRegularExpression("[A-Za-z]{3}")), qPrintable(t));
        QVERIFY(refused);
        QVERIFY(stayed);
        QVERIFY(chosen);
        QCOMPARE(platform::qs(*chosen), platform::qs(windowsPath(fresh)));
        QVERIFY(!QFile::exists(fresh));
    }
};

QTEST_MAIN(AccessTest)
#include "access_qtest.moc"
