// SPDX-License-Identifier: MIT
// The calculate and save buttons draw their flat green face themselves (a
// style sheet would load Qt's style sheet engine at every start): in the
// window, in every state, they look pixel for pixel as the style sheet that
// described them drew them, also on a dark desktop. (There the style's focus
// tint of a button focused by Tab now takes the window's own light palette,
// as the text boxes' focus frames do, where the style sheet took the
// desktop's highlight colour.)

#include "platform/fonts.h"
#include "support/form_fixture.h"

#include <QApplication>
#include <QTest>

using namespace taiju;
using namespace taiju::testing;

namespace {

// The look the buttons had as a style sheet: the reference.
const QString kSheet =
    QStringLiteral("QPushButton { color: rgb(0, 0, 0); background-color: rgb(192, 255, 192); "
                   "border: 1px solid rgb(105, 105, 105); border-radius: 2px; }\n"
                   "QPushButton:pressed { border: 2px inset rgb(105, 105, 105); }");

enum Focus { NoFocus, MouseFocus, KeyboardFocus };

// What the window shows of `button`'s place, with the button in the given
// state: focused as given (the keyboard's focus by Tab from the box before
// it), held down or not.
QImage shown(Form1& form, QWidget* before, Button* button, Focus focus, bool down) {
    if (focus == MouseFocus)
        button->setFocus(Qt::MouseFocusReason);
    if (focus == KeyboardFocus) {
        before->setFocus();
        QTest::keyClick(before, Qt::Key_Tab);
    }
    button->setDown(down);
    QApplication::processEvents();
    const QImage image = form.grab(button->geometry()).toImage();
    button->setDown(false);
    return image.convertToFormat(QImage::Format_RGB32);
}

// The first pixel where the two differ, or "" when none does.
QString firstDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return QStringLiteral("sizes differ");
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return QStringLiteral("(%1,%2): %3 against %4")
                    .arg(x)
                    .arg(y)
                    .arg(a.pixel(x, y), 6, 16)
                    .arg(b.pixel(x, y), 6, 16);
    return {};
}

} // namespace

class ButtonFaceTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { useWindowFonts(); }

    void asTheStyleSheetDrewIt_data() {
        // clang-format off
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("focus");
        QTest::addColumn<bool>("down");
        QTest::addColumn<bool>("dark");
        QTest::newRow("calculate") << "Command1" << int(NoFocus) << false << false;
        QTest::newRow("calculate pressed") << "Command1" << int(NoFocus) << true << false;
        QTest::newRow("calculate focused by a click, pressed") << "Command1" << int(MouseFocus) << true << false;
        QTest::newRow("calculate focused by Tab") << "Command1" << int(KeyboardFocus) << false << false;
        QTest::newRow("calculate focused by Tab, pressed") << "Command1" << int(KeyboardFocus) << true << false;
        QTest::newRow("save") << "Command2" << int(NoFocus) << false << false;
        QTest::newRow("save focused by Tab, pressed") << "Command2" << int(KeyboardFocus) << true << false;
        QTest::newRow("save, dark desktop") << "Command2" << int(NoFocus) << false << true;
        QTest::newRow("calculate pressed, dark desktop") << "Command1" << int(NoFocus) << true << true;
        // clang-format on
    }

    void asTheStyleSheetDrewIt() {
        QFETCH(QString, button);
        QFETCH(int, focus);
        QFETCH(bool, down);
        QFETCH(bool, dark);
        const QPalette desktop = QApplication::palette();
        if (dark) {
            QPalette p(QColor(220, 220, 220), QColor(53, 53, 53));
            p.setColor(QPalette::Base, QColor(35, 35, 35));
            p.setColor(QPalette::Highlight, QColor(42, 130, 218));
            QApplication::setPalette(p);
        }
        FormFixture w;
        w.form->show();
        QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
        auto* face = w.form->findChild<Button*>(button);
        QVERIFY(face);
        // The box before the button in the tab order.
        QWidget* before = button == QStringLiteral("Command1") ? w.ui().Text4 : w.ui().Text5;
        const QImage drawn = shown(*w.form, before, face, Focus(focus), down);

        Button reference(w.form.get());
        reference.setText(face->text());
        reference.setGeometry(face->geometry());
        reference.setStyleSheet(kSheet);
        QWidget::setTabOrder(before, &reference);
        face->hide();
        reference.show();
        const QImage sheet = shown(*w.form, before, &reference, Focus(focus), down);
        QApplication::setPalette(desktop);
        QCOMPARE(firstDifference(drawn, sheet), QString());
    }
};

QTEST_MAIN(ButtonFaceTest)
#include "button_face_qtest.moc"
