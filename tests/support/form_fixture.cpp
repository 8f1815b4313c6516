// SPDX-License-Identifier: MIT
#include "support/form_fixture.h"

#include "platform/qtext.h"

#include <QFile>
#include <QTest>

namespace taiju::testing {

FormFixture::FormFixture(Build when) {
    desktop.appDirectory.dir = windowsPath(app.path());
    if (when == Build::Now)
        load();
}

void FormFixture::load() {
    form = std::make_unique<Form1>(desktop.services());
}

QString FormFixture::appDir() const {
    return platform::qs(desktop.appDirectory.dir.value_or(std::u16string()));
}

QString FormFixture::caption() const {
    return form->controls().lblFOLDER->text();
}

void FormFixture::useLog(const std::u16string& folder) {
    form->state().strFOLDER = folder;
    form->state().strFILE = u"体重変化.txt";
    ui().lblFOLDER->setText(platform::qs(folder + u"\\体重変化.txt"));
}

void FormFixture::evaluate(const QString& weight, const QString& height) {
    ui().Text3->setText(weight);
    ui().Text4->setText(height);
    QTest::mouseClick(ui().Command1, Qt::LeftButton);
}

bool FormFixture::silent() const {
    return desktop.messageBox.shown.empty() && desktop.beeper.beeps == 0;
}

void FormFixture::forget() {
    desktop.messageBox.shown.clear();
    desktop.beeper.beeps = 0;
}

std::u16string windowsPath(const QString& native) {
    return platform::toWindows(native).value_or(std::u16string());
}

QByteArray readBytes(const QString& native) {
    QFile f(native);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void writeBytes(const QString& native, const QByteArray& bytes) {
    QFile f(native);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

QByteArray templateBytes() {
    return readBytes(QString::fromUtf8(TAIJU_SOURCE_DIR "/resources/k体重変化.___"));
}

void installTemplate(const QString& dir) {
    writeBytes(dir + QStringLiteral("/k体重変化.___"), templateBytes());
}

} // namespace taiju::testing
