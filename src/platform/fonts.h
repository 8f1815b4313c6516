// SPDX-License-Identifier: MIT
#pragma once
// The fonts of the windows: one family, chosen once at start-up by name.

#include <QString>
#include <QStringList>

namespace taiju {

// The family the windows' text is drawn in, the first of these that
// `installed` names: "ＭＳ Ｐゴシック", IPAPGothic (its closest stand-in in
// metrics), Noto Sans CJK JP; empty when none is installed.
QString windowFontFamily(const QStringList& installed);

// Makes `family` at 9 pt the application's font (the system's family when
// `family` is empty), before any widget is made, so that every control
// inherits it and no font ever names a family the system lacks.
void useWindowFonts(const QString& family);
// The same with the family chosen among the installed ones.
void useWindowFonts();

} // namespace taiju
