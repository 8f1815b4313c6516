// SPDX-License-Identifier: MIT
// The window looks, pixel for pixel, as in the reference pictures in
// tests/ui/pixels/: fresh, after an evaluation with a comment in kanji and
// kana, and the 入力ミス box. They were taken when the window's fonts named
// "ＭＳ Ｐゴシック" and Qt stood in for it, so they show that naming the
// family found at start-up changed nothing that is drawn. The pictures are
// of this machine's fonts (IPAPGothic, Debian's FreeType); with
// TAIJU_WRITE_PIXELS=dir the test writes its pictures there instead.

#include "platform/fonts.h"
#include "platform/qt_services.h"
#include "support/form_fixture.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

using namespace taiju;
using namespace taiju::testing;

namespace {

const QString kReference = QStringLiteral(TAIJU_SOURCE_DIR "/tests/ui/pixels/");

struct Window : FormFixture {
    Window() {
        useLog(windowsPath(QStringLiteral("/home/yamada_taro/Documents")));
        form->show();
    }
};

// Compares `shot` with the reference `name`.png, or writes it there.
void matches(const QImage& shot, const QString& name) {
    const QImage image = shot.convertToFormat(QImage::Format_RGB32);
    const QString out = qEnvironmentVariable("TAIJU_WRITE_PIXELS");
    if (!out.isEmpty()) {
        QVERIFY(QDir().mkpath(out));
        QVERIFY(image.save(out + QLatin1Char('/') + name + QStringLiteral(".png")));
        return;
    }
    const QImage reference =
        QImage(kReference + name + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
    QVERIFY2(!reference.isNull(), qPrintable(name));
    QCOMPARE(image.size(), reference.size());
    int differ = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            differ += image.pixel(x, y) != reference.pixel(x, y);
    if (differ > 0)
        image.save(QDir::tempPath() + QStringLiteral("/pixels_qtest-") + name +
                   QStringLiteral(".png"));
    QVERIFY2(differ == 0, qPrintable(QStringLiteral("%1: %2 pixels differ").arg(name).arg(differ)));
}

} // namespace

class PixelsTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        useWindowFonts();
        QApplication::setCursorFlashTime(0); // the text cursor shown steadily
    }

    void window() {
        Window w;
        QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
        matches(w.form->grab().toImage(), QStringLiteral("fresh"));
        w.evaluate(QStringLiteral("68"), QStringLiteral("1.65"));
        w.ui().Text7->setText(QStringLiteral("朝ごはんの後 ｼﾞｮｷﾞﾝｸﾞ 5km"));
        matches(w.form->grab().toImage(), QStringLiteral("evaluated"));
    }

    // The box a mistyped weight opens, as Qt shows it over the window.
    void inputErrorBox() {
        Window w;
        QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
        QImage shot;
        w.desktop.messageBox.onShow = [&] {
            platform::QtMessageBox box(w.form.get());
            QTimer::singleShot(0, [&] {
                auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (shown) {
                    shot = shown->grab().toImage();
                    shown->accept();
                }
            });
            const auto& last = w.desktop.messageBox.shown.back();
            box.show(last.message, last.title);
        };
        w.evaluate(QStringLiteral("六十"), QStringLiteral("1.65"));
        QCOMPARE(w.desktop.messageBox.shown.size(), std::size_t(1));
        QCOMPARE(w.desktop.messageBox.shown[0].title, QStringLiteral("入力ミス"));
        QVERIFY(!shot.isNull());
        matches(shot, QStringLiteral("input_error"));
    }
};

QTEST_MAIN(PixelsTest)
#include "pixels_qtest.moc"
