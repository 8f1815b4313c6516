// SPDX-License-Identifier: MIT
#pragma once
// The language of Qt's own texts: its dialogs and menus (the file dialog, a
// text box's context menu) speak Japanese like the rest of the programs.

class QCoreApplication;

namespace taiju::platform {

// Installs Qt's Japanese translations (qtbase_ja, from Qt's translations
// folder) into `app`. False when they are not installed; Qt's texts then stay
// in English and everything else works as before.
bool useJapaneseQtTranslations(QCoreApplication& app);

} // namespace taiju::platform
