// SPDX-License-Identifier: MIT
// The window "体重チェック" as the user meets it: every control in its place,
// with its caption, colour, font, tooltip, stacking and tab order, and the
// evaluation button with its refusals, on recording fakes.

#include "platform/fonts.h"
#include "support/form_fixture.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHash>
#include <QImage>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace taiju;
using namespace taiju::testing;

namespace {

const QColor kPanel(192, 255, 192);
const QColor kLightRed(255, 192, 192);
const QColor kGreen(0, 255, 0);
const QColor kSalmon(255, 128, 128);
const QColor kGrey(224, 224, 224);

// A Form1 on fakes, its application directory a fresh temporary folder.
struct Window : FormFixture {
    QWidget* child(const QString& name) { return form->findChild<QWidget*>(name); }
    bool showActive() {
        form->show();
        return QTest::qWaitForWindowActive(form.get());
    }
};

// The colour that covers most of what the widget paints.
QColor dominantColour(QWidget* w) {
    const QImage img = w->grab().toImage();
    QHash<QRgb, int> count;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            ++count[img.pixel(x, y)];
    QRgb best = 0;
    int most = -1;
    for (auto it = count.cbegin(); it != count.cend(); ++it)
        if (it.value() > most) {
            most = it.value();
            best = it.key();
        }
    return QColor::fromRgb(best);
}

QRect twips(int left, int top, int width, int height) {
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

QColor base(QLineEdit* box) {
    return box->palette().color(QPalette::Base);
}

} // namespace

class Form1Test : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { useWindowFonts(); }

    void window() {
        Window w;
        QCOMPARE(w.form->windowTitle(), QStringLiteral("体重チェック"));
        QCOMPARE(w.form->size(), QSize(486, 429));
        QVERIFY(w.form->minimumSize() != w.form->maximumSize()); // resizable

        const QIcon icon = w.form->windowIcon();
        QVERIFY(!icon.isNull());
        // Each size pixel for pixel its drawing, as Qt's own XPM reader reads it.
        for (int size : {16, 32}) {
            QVERIFY(icon.availableSizes().contains(QSize(size, size)));
            const QImage drawing(
                QStringLiteral(TAIJU_SOURCE_DIR "/resources/icons/form1-%1.xpm").arg(size));
            QVERIFY(!drawing.isNull());
            QCOMPARE(
                icon.pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_ARGB32),
                drawing.convertToFormat(QImage::Format_ARGB32));
        }
        const QImage img = icon.pixmap(QSize(32, 32)).toImage();
        QCOMPARE(img.pixelColor(0, 0).alpha(), 0); // transparent surround
        bool red = false, white = false;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                red |= img.pixelColor(x, y) == QColor(255, 0, 0);
                white |= img.pixelColor(x, y) == QColor(255, 255, 255);
            }
        QVERIFY(red && white);
    }

    // Name, kind, caption, place (twips), background and font of the controls.
    void controls_data() {
        // clang-format off
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("text"); // null: not fixed by the layout
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QColor>("background"); // invalid: face or edit colour
        QTest::addColumn<double>("points");
        QTest::addColumn<bool>("bold");
        const QString label = QStringLiteral("QLabel"), box = QStringLiteral("QLineEdit"),
                      button = QStringLiteral("QPushButton");
        const QString none; // caption not checked
        const QColor face;
        auto row = [](const char* name, const QString& kind, const QString& text, QRect g, QColor bg, double pt, bool bold) {
            QTest::newRow(name) << kind << text << g << bg << pt << bold;
        };
        // Input section.
        row("Label26", label, "入力", twips(240, 360, 735, 375), face, 15.75, true);
        row("Label3", label, "体重(Kg)", twips(1200, 120, 975, 255), face, 9, false);
        row("Text3", box, "", twips(1200, 360, 1695, 375), face, 12, true);
        row("Label4", label, "身長(m)", twips(3240, 120, 735, 255), face, 9, false);
        row("Text4", box, "", twips(3240, 360, 1575, 375), face, 12, true);
        row("Command1", button, "肥満度計算", twips(5160, 240, 1695, 615), kPanel, 9, false);
        // Output section.
        row("Label29", label, "", twips(120, 1200, 7095, 3855), kPanel, 9, false);
        row("Label28", label, "出力", twips(240, 1320, 735, 375), kPanel, 15.75, true);
        row("Label1", label, "標準体重", twips(1320, 1200, 975, 255), kPanel, 9, false);
        row("Text1", box, "", twips(1320, 1440, 1095, 375), face, 9, false);
        row("Label2", label, "肥満度", twips(1320, 2040, 855, 375), kPanel, 9, false);
        row("Text2", box, "", twips(1320, 2280, 1095, 375), face, 9, false);
        row("Label5", label, "BMI", twips(1320, 2760, 615, 375), kPanel, 9, false);
        row("Text5", box, "", twips(1320, 3000, 1095, 375), face, 9, false);
        row("Label21", label, "日付", twips(1320, 3600, 1095, 255), kPanel, 9, false);
        row("Text6", box, "", twips(1320, 3840, 4935, 270), face, 9, false);
        row("Label22", label, "コメント", twips(1320, 4320, 735, 255), kPanel, 9, false);
        row("Label24", label, "ｾ-ﾌﾞすると以下のｺﾒﾝﾄも記録されます。必要なら自由記述してください", twips(2040, 4320, 4935, 255), kPanel, 8.25, false);
        row("Text7", box, "", twips(1320, 4560, 5535, 270), face, 9, false);
        // Band legend.
        row("Shape1", QStringLiteral("QFrame"), none, twips(2880, 1440, 3855, 1815), face, 9, false);
        row("Label20", label, "評価", twips(3120, 1560, 615, 255), kPanel, 9, false);
        row("Label18", label, "BMI", twips(4080, 1560, 735, 255), kPanel, 9, true);
        row("Label19", label, "肥満度", twips(5520, 1560, 735, 255), kPanel, 9, true);
        row("Label6", label, "やせぎみ", twips(3000, 1800, 1095, 255), kLightRed, 9, true);
        row("Label10", label, "20未満", twips(4080, 1800, 1455, 255), kLightRed, 9, false);
        row("Label14", label, "-10％以下", twips(5520, 1800, 1095, 255), kLightRed, 9, false);
        row("Label7", label, "正常体重", twips(3000, 2160, 1095, 255), kGreen, 9, true);
        row("Label11", label, "20-24未満", twips(4080, 2160, 1455, 255), kGreen, 9, false);
        row("Label15", label, "-10～+10％", twips(5520, 2160, 1095, 255), kGreen, 9, false);
        row("Label8", label, "やや肥満", twips(3000, 2520, 1095, 255), kLightRed, 9, true);
        row("Label12", label, "24以上26.5未満", twips(4080, 2520, 1455, 255), kLightRed, 9, false);
        row("Label16", label, "+10％～+20％", twips(5520, 2520, 1095, 255), kLightRed, 9, false);
        row("Label9", label, "肥満", twips(3000, 2880, 1095, 255), kSalmon, 9, true);
        row("Label13", label, "26.5以上", twips(4080, 2880, 1455, 255), kSalmon, 9, false);
        row("Label17", label, "20％以上", twips(5520, 2880, 1095, 255), kSalmon, 9, false);
        // Record section.
        row("Label27", label, "記入", twips(360, 5040, 855, 375), face, 15.75, true);
        row("Label25", label, "ﾃﾞｰﾀを右のファイルに追加記入", twips(480, 5520, 1095, 735), face, 9, false);
        row("lblFOLDER", label, none, twips(1560, 5520, 2055, 735), kGrey, 8.25, false);
        row("Command3", button, "ﾌｫﾙﾀﾞ変更", twips(3600, 5520, 735, 735), face, 9, false);
        row("Command2", button, "｢体重変化.TXT｣ に記入", twips(4440, 5520, 2295, 735), kPanel, 9, false);
        row("Label23", label, "Label23", twips(4320, 5040, 135, 15), face, 9, false);
        // clang-format on
    }
    void controls() {
        QFETCH(QString, kind);
        QFETCH(QString, text);
        QFETCH(QRect, geometry);
        QFETCH(QColor, background);
        QFETCH(double, points);
        QFETCH(bool, bold);
        Window w;
        QVERIFY(w.showActive());
        QWidget* c = w.child(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(c);
        QCOMPARE(QString::fromLatin1(c->metaObject()->className()), kind);
        QCOMPARE(c->parentWidget(), w.form.get());
        QCOMPARE(c->geometry(), geometry);
        if (!text.isNull()) {
            if (auto* l = qobject_cast<QLabel*>(c)) {
                QCOMPARE(l->text(), text);
                QCOMPARE(l->textFormat(), Qt::PlainText); // no access keys, no markup
                QVERIFY(l->wordWrap());
            } else if (auto* b = qobject_cast<QPushButton*>(c)) {
                QCOMPARE(b->text(), text);
            } else {
                QCOMPARE(qobject_cast<QLineEdit*>(c)->text(), text);
            }
        }

        // What is painted: the own colour, else the face (labels, buttons) or
        // the edit colour (text boxes). The outline Shape1 paints no surface.
        if (kind != QStringLiteral("QFrame") && c->objectName() != QStringLiteral("Command3")) {
            QColor expected = background;
            if (!expected.isValid())
                expected = kind == QStringLiteral("QLineEdit")
                               ? QApplication::palette().color(QPalette::Base)
                               : w.form->palette().color(QPalette::Window);
            QCOMPARE(dominantColour(c), expected);
        }

        const QFont f = c->font();
        QCOMPARE(f.pointSizeF(), points);
        QCOMPARE(f.bold(), bold);
        // The family chosen at start-up, named and used: no stand-in.
        QCOMPARE(f.family(), windowFontFamily(QFontDatabase::families()));
        QCOMPARE(QFontInfo(f).family(), f.family());
        QCOMPARE(QFontInfo(f).pixelSize(), qRound(points * 96 / 72));
    }

    void commandThreeHasTheStandardLook() {
        Window w;
        QVERIFY(w.showActive());
        const QColor plain = dominantColour(w.ui().Command3);
        QVERIFY(plain != kPanel);
        QPushButton reference(QStringLiteral("ﾌｫﾙﾀﾞ変更"), w.form.get());
        reference.setGeometry(0, 0, 49, 49);
        QCOMPARE(plain, dominantColour(&reference));
    }

    // Rules: 3 pixels wide centred on their y; Line5 hidden under Command1.
    void lines_data() {
        // clang-format off
        QTest::addColumn<QRect>("geometry");
        auto rule = [](const char* name, int x1, int x2, int y) {
            QTest::newRow(name) << QRect(x1 / 15, y / 15 - 1, (x2 - x1) / 15, 3);
        };
        rule("Line3", 360, 1080, 960);
        rule("Line1", 1200, 2880, 960);
        rule("Line2", 3240, 4800, 960);
        rule("Line6", 5160, 6840, 960);
        rule("Line4", 480, 6960, 5280);
        // clang-format on
    }
    void lines() {
        QFETCH(QRect, geometry);
        Window w;
        QWidget* line = w.child(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(line);
        QCOMPARE(line->geometry(), geometry);
        QCOMPARE(line->focusPolicy(), Qt::NoFocus);
    }
    void lineFiveLiesUnderCommandOne() {
        Window w;
        QWidget* line = w.child(QStringLiteral("Line5"));
        QVERIFY(line);
        QVERIFY(w.ui().Command1->geometry().contains(line->geometry()));
        const QObjectList kids = w.form->children();
        QVERIFY(kids.indexOf(line) < kids.indexOf(w.ui().Command1));
    }

    void tooltips() {
        Window w;
        const QHash<QString, QString> expected{
            {"Text3", "体重をKgで入力"},
            {"Text4", "身長をメートル単位で入力"},
            {"Command1", "体重と身長を入力してClick！肥満度等が計算され下に表示されます"},
            {"Text7", "ｾ-ﾌ時に保存されます"},
            {"Command2", "日付、体重、身長、肥満度、BMI､ｺﾒﾝﾄが保存されます。vexoカルクで閲覧して"
                         "ください。セーブごとに行が追加されていきます。"},
            {"Command3", "ﾌｫﾙﾀﾞを指定してください"},
        };
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            QCOMPARE(w.child(it.key())->toolTip(), it.value());
        for (QWidget* c : w.form->findChildren<QWidget*>())
            if (!expected.contains(c->objectName()))
                QVERIFY2(c->toolTip().isEmpty(), qPrintable(c->objectName()));
        QVERIFY(w.form->toolTip().isEmpty());
    }

    void stackingOrder() {
        Window w;
        const QStringList topToBottom{
            "Label28", "Label27", "Line4",   "Label25", "lblFOLDER", "Line6",   "Line3",
            "Label26", "Line2",   "Line1",   "Shape1",  "Label24",   "Label22", "Label21",
            "Label20", "Label19", "Label18", "Label17", "Label16",   "Label15", "Label14",
            "Label13", "Label12", "Label11", "Label10", "Label9",    "Label8",  "Label7",
            "Label6",  "Label5",  "Label4",  "Label3",  "Label2",    "Label1",  "Label29"};
        const QObjectList kids = w.form->children(); // bottom first
        auto index = [&](const QString& name) { return kids.indexOf(w.child(name)); };
        for (int i = 0; i + 1 < topToBottom.size(); ++i)
            QVERIFY2(index(topToBottom[i]) > index(topToBottom[i + 1]),
                     qPrintable(topToBottom[i] + " above " + topToBottom[i + 1]));
        int highestFlat = -1; // labels, lines and the outline
        for (QObject* o : kids)
            if (qobject_cast<QWidget*>(o) && !qobject_cast<QLineEdit*>(o) &&
                !qobject_cast<QPushButton*>(o))
                highestFlat = std::max<int>(highestFlat, kids.indexOf(o));
        for (QObject* o : kids)
            if (qobject_cast<QLineEdit*>(o) || qobject_cast<QPushButton*>(o))
                QVERIFY2(kids.indexOf(o) > highestFlat, qPrintable(o->objectName()));
    }

    // The same order as it shows on the screen.
    void paintedLayers() {
        Window w;
        QVERIFY(w.showActive());
        const QImage img = w.form->grab().toImage();
        const QColor face = w.form->palette().color(QPalette::Window);
        const QColor ink = w.form->palette().color(QPalette::WindowText);
        QCOMPARE(img.pixelColor(75, 352), face); // Label27 hides the start of Line4
        QCOMPARE(img.pixelColor(150, 352), ink); // Line4 beyond the heading
        QCOMPARE(img.pixelColor(150, 64), ink);  // Line1
        QCOMPARE(img.pixelColor(12, 250), kPanel);
        QCOMPARE(img.pixelColor(150, 158), base(w.ui().Text2)); // Text2 over Label2
        QCOMPARE(img.pixelColor(192, 150), ink);                // Shape1's outline
        QCOMPARE(img.pixelColor(195, 150), kPanel);             // ... and see-through inside
    }

    void tabOrder() {
        Window w;
        QVERIFY(w.showActive());
        QCOMPARE(QApplication::focusWidget(), w.ui().Text3);
        const QStringList forward{"Text4", "Command1", "Text7",    "Text6",    "Text1",
                                  "Text2", "Text5",    "Command2", "Command3", "Text3"};
        QStringList seen;
        for (int i = 0; i < forward.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            seen << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(seen, forward);
        seen.clear();
        for (int i = 0; i < forward.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            seen << QApplication::focusWidget()->objectName();
        }
        const QStringList backward{"Command3", "Command2", "Text5",    "Text2", "Text1",
                                   "Text6",    "Text7",    "Command1", "Text4", "Text3"};
        QCOMPARE(seen, backward);
    }

    void startState() {
        Window w;
        for (QLineEdit* box : w.form->findChildren<QLineEdit*>()) {
            QVERIFY2(box->text().isEmpty(), qPrintable(box->objectName()));
            QCOMPARE(base(box), QApplication::palette().color(QPalette::Base));
        }
        QVERIFY(w.desktop.messageBox.shown.empty());
        QVERIFY(w.showActive());
        QCOMPARE(QApplication::focusWidget(), w.ui().Text3);
    }

    void evaluation() {
        Window w;
        QVERIFY(w.showActive());
        Ui::Form1& ui = w.ui();
        ui.Text7->setText(QStringLiteral("朝"));
        w.evaluate(QStringLiteral("65.5"), QStringLiteral("1.65"));
        QCOMPARE(ui.Text1->text(), QStringLiteral("59.895"));
        QCOMPARE(ui.Text2->text(), QStringLiteral("9.358"));
        QCOMPARE(ui.Text5->text(), QStringLiteral("24.059"));
        QCOMPARE(ui.Text6->text(), QStringLiteral("05-01-2003 07:30:00"));
        QCOMPARE(base(ui.Text2), kGreen);
        QCOMPARE(base(ui.Text5), kLightRed);
        QCOMPARE(QApplication::focusWidget(), ui.Text3);
        QCOMPARE(ui.Text3->text(), QStringLiteral("65.5"));
        QCOMPARE(ui.Text4->text(), QStringLiteral("1.65"));
        QCOMPARE(ui.Text7->text(), QStringLiteral("朝"));
        QVERIFY(w.desktop.messageBox.shown.empty());
        // What shows equals the legend rows: obesity in row 2, BMI in row 3.
        QCOMPARE(dominantColour(ui.Text2), dominantColour(ui.Label7));
        QCOMPARE(dominantColour(ui.Text5), dominantColour(ui.Label12));

        // The next evaluation paints both boxes anew; the legend stays.
        w.desktop.clock.today = {2024, 12, 31};
        w.desktop.clock.now = {23, 5, 9};
        w.evaluate(QStringLiteral("200"), QStringLiteral("0.5"));
        QCOMPARE(ui.Text1->text(), QStringLiteral("5.500"));
        QCOMPARE(ui.Text2->text(), QStringLiteral("3536.364"));
        QCOMPARE(ui.Text5->text(), QStringLiteral("800.000"));
        QCOMPARE(ui.Text6->text(), QStringLiteral("12-31-2024 23:05:09"));
        QCOMPARE(dominantColour(ui.Text2), dominantColour(ui.Label17));
        QCOMPARE(dominantColour(ui.Text5), dominantColour(ui.Label13));
        QCOMPARE(dominantColour(ui.Label7), kGreen);
        w.evaluate(QStringLiteral("3"), QStringLiteral("2.5"));
        QCOMPARE(ui.Text5->text(), QStringLiteral(".480"));
        QCOMPARE(base(ui.Text2), kLightRed);
        QCOMPARE(base(ui.Text5), kLightRed);
    }

    void refusals_data() {
        // clang-format off
        QTest::addColumn<QString>("weight");
        QTest::addColumn<QString>("height");
        QTest::addColumn<bool>("heightWrong");
        QTest::newRow("centimetres") << "65.5" << "165" << true;
        QTest::newRow("empty height") << "65.5" << "" << true;
        QTest::newRow("blank inside") << "65.5" << "1 65" << true;
        QTest::newRow("height 0.49") << "65.5" << "0.49" << true;
        QTest::newRow("height 2.51") << "65.5" << "2.51" << true;
        QTest::newRow("height 1e999") << "65.5" << "1e999" << true;
        QTest::newRow("weight 2.9") << "2.9" << "1.65" << false;
        QTest::newRow("weight 200.1") << "200.1" << "1.65" << false;
        QTest::newRow("empty weight") << "" << "1.65" << false;
        QTest::newRow("weight -1e999") << "-1e999" << "1.65" << false;
        QTest::newRow("both wrong") << "500" << "165" << true;
        // clang-format on
    }
    void refusals() {
        QFETCH(QString, weight);
        QFETCH(QString, height);
        QFETCH(bool, heightWrong);
        Window w;
        QVERIFY(w.showActive());
        Ui::Form1& ui = w.ui();
        w.evaluate(QStringLiteral("65.5"), QStringLiteral("1.65"));
        w.desktop.clock.now = {8, 0, 0};

        QWidget* focusWhileShown = nullptr;
        w.desktop.messageBox.onShow = [&] { focusWhileShown = QApplication::focusWidget(); };
        w.evaluate(weight, height);

        QLineEdit* inError = heightWrong ? ui.Text4 : ui.Text3;
        const auto& shown = w.desktop.messageBox.shown;
        QCOMPARE(shown.size(), std::size_t(1));
        QCOMPARE(shown[0].message,
                 heightWrong ? QStringLiteral("メートル単位で入力してください(cf.1.65)")
                             : QStringLiteral("キログラム単位で入力してください(cf65.5)"));
        QCOMPARE(shown[0].title, QStringLiteral("入力ミス"));
        QVERIFY(focusWhileShown != inError); // the focus moves once the box is closed
        QCOMPARE(QApplication::focusWidget(), inError);
        QCOMPARE(inError->selectedText(), inError->text());
        if (!inError->text().isEmpty())
            QCOMPARE(inError->selectionStart(), 0);

        QCOMPARE(ui.Text3->text(), weight);
        QCOMPARE(ui.Text4->text(), height);
        QCOMPARE(ui.Text1->text(), QStringLiteral("59.895"));
        QCOMPARE(ui.Text2->text(), QStringLiteral("9.358"));
        QCOMPARE(ui.Text5->text(), QStringLiteral("24.059"));
        QCOMPARE(ui.Text6->text(), QStringLiteral("05-01-2003 07:30:00"));
        QCOMPARE(base(ui.Text2), kGreen);
        QCOMPARE(base(ui.Text5), kLightRed);
    }

    void enterAndEscapePressNoButton() {
        Window w;
        QVERIFY(w.showActive());
        Ui::Form1& ui = w.ui();
        for (QPushButton* b : w.form->findChildren<QPushButton*>()) {
            QVERIFY2(!b->isDefault(), qPrintable(b->objectName()));
            QVERIFY2(!b->autoDefault(), qPrintable(b->objectName()));
        }
        ui.Text3->setText(QStringLiteral("65.5"));
        ui.Text4->setText(QStringLiteral("1.65"));
        for (QWidget* target :
             {static_cast<QWidget*>(ui.Text3), static_cast<QWidget*>(ui.Text4),
              static_cast<QWidget*>(ui.Text7), static_cast<QWidget*>(ui.Command1)}) {
            target->setFocus();
            if (target != ui.Command1) {
                QTest::keyClick(target, Qt::Key_Return);
                QTest::keyClick(target, Qt::Key_Enter, Qt::KeypadModifier);
            }
            QTest::keyClick(target, Qt::Key_Escape);
        }
        QVERIFY(ui.Text1->text().isEmpty());
        QVERIFY(w.desktop.messageBox.shown.empty());
        QVERIFY(w.desktop.fileDialog.calls.empty());
        QVERIFY(!QFile::exists(w.app.filePath(QStringLiteral("体重変化.txt"))));
        QVERIFY(w.form->isVisible());
    }

    void spaceOnFocusedButtonClicksIt() {
        Window w;
        QVERIFY(w.showActive());
        w.ui().Text3->setText(QStringLiteral("65.5"));
        w.ui().Text4->setText(QStringLiteral("1.65"));
        w.ui().Command1->setFocus();
        QTest::keyClick(w.ui().Command1, Qt::Key_Space);
        QCOMPARE(w.ui().Text1->text(), QStringLiteral("59.895"));
    }

    void resizingMovesNothing() {
        Window w;
        QVERIFY(w.showActive());
        QHash<QWidget*, QRect> before;
        for (QWidget* c : w.form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            before.insert(c, c->geometry());
        for (QSize size : {QSize(800, 600), QSize(300, 200)}) {
            w.form->resize(size);
            QCoreApplication::processEvents();
            QCOMPARE(w.form->size(), size);
            for (auto it = before.cbegin(); it != before.cend(); ++it)
                QVERIFY2(it.key()->geometry() == it.value(), qPrintable(it.key()->objectName()));
        }
    }

    void longCommentStaysOnOneLine() {
        Window w;
        QVERIFY(w.showActive());
        const QString comment =
            QStringLiteral("sample comment ").repeated(12); // typed keys are ASCII
        w.ui().Text7->setFocus();
        QTest::keyClicks(w.ui().Text7, comment);
        QCOMPARE(w.ui().Text7->text(), comment);
        QCOMPARE(w.ui().Text7->geometry(), twips(1320, 4560, 5535, 270));
        QVERIFY(w.ui().Text7->cursorPosition() == comment.size()); // scrolled to the end
    }
};

QTEST_MAIN(Form1Test)
#include "form1_qtest.moc"
