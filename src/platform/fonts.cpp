#include "platform/fonts.h"

#include <QApplication>
#include <QFont>

namespace taiju {

void useWindowFonts() {
    const QString family = QStringLiteral("ＭＳ Ｐゴシック");
    QFont::insertSubstitutions(family,
                               {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
    QFont font(family, 9);
    QApplication::setFont(font);
}

} // namespace taiju
