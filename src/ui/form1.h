// SPDX-License-Identifier: MIT
#pragma once
// The one window of the tool, "体重チェック", and its four events.
//
// Where Form1 is defined (`ls src/ui/form1*` shows the whole window):
//   form1.cpp           constructor, binding of the events, rinstr, tell
//   form1_load.cpp      Form_Load: the settings file and the log's path
//   form1_evaluate.cpp  Command1_Click: evaluation and band colours
//   form1_items.cpp     jinput, joutput: the item file
//   form1_save.cpp      Command2_Click: one record appended to the log
//   form1_folder.cpp    Command3_Click: another folder for the log
// The window has its state (strFOLDER, strFILE, jmaxrec and the item
// declarations) as FormState, in form_state.h; the handlers reach the
// controls through accessors named by role and call the Qt-free core in
// eval/, log/ and app/.

#include "platform/services.h"
#include "text/encoding.h"
#include "ui/form_state.h"

#include <QWidget>

class QLineEdit;

#include <memory>
#include <string>
#include <string_view>

namespace Ui {
class Form1;
}

namespace taiju {

class PathLabel;

class Form1 : public QWidget {
    Q_OBJECT
  public:
    // form1.cpp ---------------------------------------------------------
    // Creates every control, binds the buttons and runs Form_Load.
    explicit Form1(platform::Services services, QWidget* parent = nullptr);
    ~Form1() override;
    // The controls, by their names.
    Ui::Form1& controls() { return *ui_; }
    // What the window keeps: the log's folder and name, the item declarations.
    FormState& state() { return state_; }
    // 1-based position of the last `m` in `n`, 0 when none.
    std::size_t rinstr(std::u16string_view n, std::u16string_view m) const;

    // form1_load.cpp ---------------------------------------------------
    // Start-up: the settings file, the log's path in lblFOLDER, jmaxrec.
    void Form_Load();

    // form1_evaluate.cpp ----------------------------------------------
    // "肥満度計算": the results, their band colours and the date stamp.
    void Command1_Click();

    // form1_items.cpp --------------------------------------------------
    // Reads the item file of the log `drive`:`n` into the item declarations;
    // `er` is "error" after a failure, empty otherwise.
    void jinput(const std::u16string& n, const std::u16string& drive, std::u16string& er);
    // Writes the item declarations as the item file of the log `drive`:`n`.
    void joutput(const std::u16string& n, const std::u16string& drive);

    // form1_save.cpp ---------------------------------------------------
    // "｢体重変化.TXT｣ に記入": one record of the boxes appended to the log.
    void Command2_Click();

    // form1_folder.cpp -------------------------------------------------
    // "ﾌｫﾙﾀﾞ変更": another folder for the log, for the rest of the run.
    void Command3_Click();

  protected:
    void changeEvent(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

  private:
    // form1.cpp: the steps of the constructor, in the order it takes them.
    void useIcon();
    void colourLabels();
    void styleButtons();
    void nameBoxesForScreenReaders();
    void drawRules();
    void bindEvents();
    // form1.cpp: every caption whole in its box, once, when the window is
    // first exposed or painted.
    void fitCaptions();
    // form1.cpp: the desktop's palette where it is a readable light one,
    // else the style's standard light palette.
    void usePalette();
    // form1.cpp: a message box with the title, on the injected service.
    void tell(std::u16string_view message, std::u16string_view title);

    // form1.cpp: the controls by role.
    QLineEdit* weightBox() const;         // Text3
    QLineEdit* heightBox() const;         // Text4
    QLineEdit* standardWeightBox() const; // Text1
    QLineEdit* obesityBox() const;        // Text2
    QLineEdit* bmiBox() const;            // Text5
    QLineEdit* dateBox() const;           // Text6
    QLineEdit* commentBox() const;        // Text7
    PathLabel* logPathLabel() const;      // lblFOLDER

    std::unique_ptr<Ui::Form1> ui_;
    FormState state_;
    platform::Services services_;
    platform::Cp932Encoder encoder_;
    bool captionsFitted_ = false;
};

} // namespace taiju
