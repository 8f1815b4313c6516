#include "support/window_test_support.h"

#include <QFile>

namespace taiju::testing {

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
