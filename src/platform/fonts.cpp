// SPDX-License-Identifier: MIT
#include "platform/fonts.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

namespace taiju {

QString windowFontFamily(const QStringList& installed) {
    for (const QString& family : {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"),
                                  QStringLiteral("Noto Sans CJK JP")})
        if (installed.contains(family))
            return family;
    return {};
}

void useWindowFonts(const QString& family) {
    QFont font = family.isEmpty() ? QFont() : QFont(family);
    font.setPointSize(9);
    QApplication::setFont(font);
}

void useWindowFonts() {
    useWindowFonts(windowFontFamily(QFontDatabase::families()));
}

} // namespace taiju
