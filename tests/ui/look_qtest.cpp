// SPDX-License-Identifier: MIT
// The window on any desktop: every text readable (contrast measured on the
// rendered window) under a light, a dark GNOME-like and a dark KDE-like
// palette; every caption whole within its box in the Japanese font in use
// (IPAPGothic, or the family named by TAIJU_TEST_FONT: ctest runs this
// program once more with Noto Sans CJK JP); the family chosen by name; the
// path label's native path.

#include "platform/fonts.h"
#include "support/form_fixture.h"
#include "ui/button.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QStyleOptionButton>
#include <QTest>
#include <QTextLayout>
#include <QToolTip>

#include <cmath>

using namespace taiju;
using namespace taiju::testing;

namespace {

double channel(int c) {
    const double v = c / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}
double luminance(QRgb c) {
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}
double ratio(QRgb a, QRgb b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The contrast of a control's text as painted: its background is the colour
// covering most of its inner area, its text the pixel that stands out most
// from that (the core of a glyph, past its anti-aliased edge).
double paintedContrast(const QImage& shot, QRect r) {
    r = r.adjusted(2, 2, -2, -2); // inside frames and borders
    QHash<QRgb, int> count;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            ++count[shot.pixel(x, y) & 0xFFFFFF];
    QRgb background = 0;
    int most = -1;
    for (auto it = count.cbegin(); it != count.cend(); ++it)
        if (it.value() > most)
            most = it.value(), background = it.key();
    double best = 1;
    for (auto it = count.cbegin(); it != count.cend(); ++it)
        best = std::max(best, ratio(it.key(), background));
    return best;
}

QPalette palette(QColor window, QColor text, QColor base, QColor button, QColor highlight) {
    QPalette p(text, button, button.lighter(130), button.darker(130), button.darker(110), text,
               Qt::white, base, window);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::Highlight, highlight);
    p.setColor(QPalette::ToolTipBase, window);
    p.setColor(QPalette::ToolTipText, text);
    return p;
}

const QString kFont = qEnvironmentVariableIsSet("TAIJU_TEST_FONT")
                          ? qEnvironmentVariable("TAIJU_TEST_FONT")
                          : "IPAPGothic";

struct Window : FormFixture {
    Window() {
        useLog(windowsPath(QStringLiteral("/home/yamada_taro/Documents")));
        form->show();
    }
};

} // namespace

class LookTest : public QObject {
    Q_OBJECT
    QPalette desktop_;

  private slots:
    void initTestCase() {
        useWindowFonts(kFont);
        QCOMPARE(QFontInfo(QApplication::font()).family(), kFont);
        desktop_ = QApplication::palette();
    }
    void cleanup() { QApplication::setPalette(desktop_); }

    void contrast_data() {
        // clang-format off
        QTest::addColumn<QPalette>("desktop");
        QTest::newRow("default light") << QPalette();
        QTest::newRow("GNOME Adwaita dark") << palette(QColor(53, 53, 53), QColor(238, 238, 236), QColor(45, 45, 45), QColor(53, 53, 53), QColor(21, 83, 158));
        QTest::newRow("KDE Breeze dark") << palette(QColor(49, 54, 59), QColor(239, 240, 241), QColor(35, 38, 41), QColor(49, 54, 59), QColor(61, 174, 233));
        // clang-format on
    }
    // Every caption, every button and every filled box, after an evaluation
    // in each band colour: at least 4.5:1.
    void contrast() {
        QFETCH(QPalette, desktop);
        if (desktop.resolveMask() != 0)
            QApplication::setPalette(desktop);
        const struct {
            const char* weight;
            const char* height;
        } evaluations[] = {{"40", "1.65"}, {"60", "1.65"}, {"68", "1.65"}, {"90", "1.65"}};
        double lowest = 21;
        QString where;
        for (const auto& e : evaluations) {
            Window w;
            QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
            w.evaluate(QString::fromLatin1(e.weight), QString::fromLatin1(e.height));
            w.ui().Text7->setText(QStringLiteral("朝食後ｺﾒﾝﾄ"));
            w.form->setFocus(); // no selection highlight in the boxes
            const QImage shot = w.form->grab().toImage();
            for (QWidget* c : w.form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                const auto* label = qobject_cast<QLabel*>(c);
                const auto* box = qobject_cast<QLineEdit*>(c);
                if (c->objectName() == QStringLiteral("Label23") ||
                    (label && label->text().isEmpty()) || (box && box->text().isEmpty()) ||
                    (!label && !box && !qobject_cast<QPushButton*>(c)))
                    continue;
                QRect r = c->geometry();
                // Only what shows: the parts covered by text boxes are left out.
                if (c == w.ui().Label2 || c == w.ui().Label5)
                    r.setHeight(r.height() - 9);
                const double measured = paintedContrast(shot, r);
                if (measured < lowest)
                    lowest = measured, where = c->objectName();
            }
        }
        qInfo("%s: lowest contrast %.2f:1 (%s)", QTest::currentDataTag(), lowest,
              qPrintable(where));
        QVERIFY2(lowest >= 4.5, qPrintable(QStringLiteral("%1 at %2:1").arg(where).arg(lowest)));
    }

    // Every caption as drawn (wrapping, alignment and the control's margins
    // included) lies whole within its box: drawn unclipped into a taller and
    // wider picture, no ink falls outside the box. The captions are fitted
    // when the window is first exposed, or first drawn when it never is.
    void captionsFit_data() {
        QTest::addColumn<bool>("shown");
        QTest::newRow("shown") << true;
        QTest::newRow("drawn, never shown") << false;
    }
    void captionsFit() {
        QFETCH(bool, shown);
        FormFixture w;
        w.useLog(windowsPath(QStringLiteral("/home/yamada_taro/Documents")));
        if (shown) {
            w.form->show();
            QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
        } else {
            w.form->grab();
        }
        for (QLabel* l : w.form->findChildren<QLabel*>()) {
            if (l->text().isEmpty() || l->objectName() == QStringLiteral("Label23") ||
                l == w.ui().lblFOLDER)
                continue;
            const QRect box = l->contentsRect();
            int flags = int(l->alignment()) | (l->wordWrap() ? Qt::TextWordWrap : 0);
            QImage img(box.width() + 60, box.height() + 60, QImage::Format_RGB32);
            img.fill(Qt::white);
            QPainter p(&img);
            p.setFont(l->font());
            p.setPen(Qt::black);
            p.drawText(QRect(0, 0, box.width(), img.height()), flags | Qt::TextDontClip, l->text());
            p.end();
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x)
                    if (img.pixel(x, y) != qRgb(255, 255, 255) &&
                        (x >= box.width() || y >= box.height()))
                        QFAIL(qPrintable(QStringLiteral("%1 (%2) has ink at %3,%4 outside %5x%6")
                                             .arg(l->objectName(), l->text())
                                             .arg(x)
                                             .arg(y)
                                             .arg(box.width())
                                             .arg(box.height())));
        }
        // Buttons: each line of the caption as drawn within the room the
        // style leaves inside the button's edges.
        for (auto* b : w.form->findChildren<Button*>()) {
            QStyleOptionButton opt;
            opt.initFrom(b);
            const QRect room = b->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, b);
            const QStringList lines = b->shownCaption().split(QLatin1Char('\n'));
            QCOMPARE(lines.join(QString()).remove(QLatin1Char(' ')),
                     QString(b->text()).remove(QLatin1Char(' ')));
            const QFontMetricsF fm(b->font());
            for (const QString& line : lines)
                QVERIFY2(fm.horizontalAdvance(line) <= room.width(), qPrintable(line));
            QVERIFY2(lines.size() * fm.lineSpacing() <= room.height(), qPrintable(b->objectName()));
        }
        // "ﾌｫﾙﾀﾞ変更" on two centred lines, its text unchanged.
        QCOMPARE(w.ui().Command3->shownCaption(), QStringLiteral("ﾌｫﾙﾀﾞ\n変更"));
        QCOMPARE(w.ui().Command3->text(), QStringLiteral("ﾌｫﾙﾀﾞ変更"));
        // "+10％～+20％" on one line in its cell.
        const QLabel* l16 = w.ui().Label16;
        QVERIFY(QFontMetricsF(l16->font()).horizontalAdvance(l16->text()) <= l16->width());
    }

    // The path label shows the native path, whole when it fits and else its
    // beginning and file name around "…"; the caption stays the Windows form.
    void pathLabel_data() {
        // clang-format off
        QTest::addColumn<QString>("native");
        QTest::addColumn<bool>("whole");
        QTest::newRow("ordinary") << "/home/yamada_taro/Documents/体重変化.txt" << true;
        QTest::newRow("root") << "/体重変化.txt" << true;
        QTest::newRow("deep") << "/home/yamada_taro/Documents/" + QString("健康管理/").repeated(12) + "体重変化.txt" << false;
        QTest::newRow("long file name") << "/tmp/" + QString("とても長い名前").repeated(12) + ".txt" << false;
        // clang-format on
    }
    void pathLabel() {
        QFETCH(QString, native);
        QFETCH(bool, whole);
        Window w;
        QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
        auto* label = w.ui().lblFOLDER;
        const QString caption = QStringLiteral("Z:") + QString(native).replace('/', '\\');
        label->setText(caption);
        QCOMPARE(label->text(), caption); // what the save reads
        QCOMPARE(label->accessibleDescription(), native);
        const QString shown = label->shownPath();
        QCOMPARE(label->accessibleName(), shown);
        const QString fileName = native.mid(native.lastIndexOf('/'));
        if (whole) {
            QCOMPARE(shown, native);
        } else if (fileName.size() < 40) {
            const QStringList parts = shown.split(QChar(0x2026));
            QCOMPARE(parts.size(), 2);
            QVERIFY(parts[0].size() > 10 && native.startsWith(parts[0]));
            QCOMPARE(parts[1], fileName);
        } else {
            QVERIFY(shown.contains(QChar(0x2026)));
            QVERIFY(native.startsWith(shown.section(QChar(0x2026), 0, 0)));
            QVERIFY(native.endsWith(shown.section(QChar(0x2026), 1)));
        }
        // Whole within the box: broken at any character, the lines drawn
        // unclipped stay inside it.
        QTextLayout layout(shown, label->font());
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        qreal bottom = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(label->width());
            line.setPosition(QPointF(0, bottom));
            QVERIFY(line.naturalTextWidth() <= label->width());
            bottom += line.height();
        }
        layout.endLayout();
        QVERIFY2(bottom <= label->height() + 1, qPrintable(QString::number(bottom)));
        // Laid out again, shorter, in a box of half the width, and again at
        // twice the font size.
        if (!whole) {
            const int width = label->width();
            label->resize(width / 2, label->height());
            QVERIFY(label->shownPath().size() < shown.size());
            QCOMPARE(label->accessibleName(), label->shownPath());
            label->resize(width, label->height());
            QCOMPARE(label->shownPath(), shown);
            QFont big = label->font();
            big.setPointSizeF(big.pointSizeF() * 2);
            label->setFont(big);
            QVERIFY(label->shownPath().size() < shown.size());
        }
    }

    // The family is chosen by its own name: "ＭＳ Ｐゴシック" where the
    // system has it, else IPAPGothic, else Noto Sans CJK JP; no near name.
    void familyChosen_data() {
        // clang-format off
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("all three") << QStringList{"Noto Sans CJK JP", "IPAPGothic", "ＭＳ Ｐゴシック"} << "ＭＳ Ｐゴシック";
        QTest::newRow("IPA fonts and Noto") << QStringList{"IPAGothic", "Noto Sans CJK JP", "IPAPGothic"} << "IPAPGothic";
        QTest::newRow("Noto only") << QStringList{"IPAGothic", "Noto Sans CJK JP"} << "Noto Sans CJK JP";
        QTest::newRow("near names only") << QStringList{"MS PGothic", "ＭＳ ゴシック", "IPA Pゴシック", "Noto Sans CJK JP Bold"} << QString();
        // clang-format on
    }
    void familyChosen() {
        QFETCH(QStringList, installed);
        QFETCH(QString, chosen);
        QCOMPARE(windowFontFamily(installed), chosen);
    }

    // On a system with "ＭＳ Ｐゴシック" (here a copy of IPAPGothic under that
    // name, installed for the test) every control is drawn in it.
    void installedFamilyUsed() {
        const int id = QFontDatabase::addApplicationFont(QStringLiteral(TAIJU_TEST_FONT_FILE));
        QVERIFY2(id >= 0, TAIJU_TEST_FONT_FILE);
        useWindowFonts();
        {
            Window w;
            QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
            for (QWidget* c : w.form->findChildren<QWidget*>())
                QCOMPARE(QFontInfo(c->font()).family(), QStringLiteral("ＭＳ Ｐゴシック"));
        }
        QFontDatabase::removeApplicationFont(id);
        useWindowFonts(kFont);
    }

    // The long tooltip of the save button is wrapped to the window's width.
    void longTooltipWrapped() {
        Window w;
        QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
        QPushButton* b = w.ui().Command2;
        const QString tip = b->toolTip();
        QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), b->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(b, &help);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text().remove(QLatin1Char('\n')), tip);
        QVERIFY(QToolTip::text().contains(QLatin1Char('\n')));
        QWidget* shown = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->inherits("QTipLabel") && top->isVisible())
                shown = top;
        QVERIFY(shown);
        QVERIFY2(shown->width() <= w.form->width(), qPrintable(QString::number(shown->width())));
        QCOMPARE(b->toolTip(), tip);
        QToolTip::hideText();
    }
};

QTEST_MAIN(LookTest)
#include "look_qtest.moc"
