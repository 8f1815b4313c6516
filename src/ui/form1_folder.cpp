// SPDX-License-Identifier: MIT
// Form1's folder button: Command3_Click ("ﾌｫﾙﾀﾞ変更"), another folder for the log
// for the rest of the run.

#include "log/paths.h"
#include "platform/qtext.h"
#include "ui/form1.h"
#include "ui_form1.h"

namespace taiju {

inline constexpr char16_t kFolderDialogTitle[] = u"フォルダを指定してください";
inline constexpr char16_t kFolderDialogFilter[] = u"全てのﾌｧｲﾙ(*.*)|*.*|ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt|";

void Form1::Command3_Click() {
    if (state_.strFOLDER.empty() || state_.strFOLDER.back() != u'\\')
        state_.strFOLDER += u'\\';
    const auto chosen = services_.fileDialog.open(platform::qs(kFolderDialogTitle),
                                                  platform::qs(kFolderDialogFilter),
                                                  state_.strFOLDER + state_.strFILE);
    if (!chosen)
        return; // cancelled, or a path the tool cannot name
    const std::size_t p = rinstr(*chosen, u"\\");
    if (p == 0)
        return; // no folder in it: nothing to take
    state_.strFOLDER = chosen->substr(0, p);
    logPathLabel()->setText(platform::qs(joinPath(state_.strFOLDER, state_.strFILE)));
}

} // namespace taiju
