#pragma once
// The one window of the tool, "体重チェック", and its four events.

#include "app/form_state.h"
#include "platform/encoding.h"
#include "platform/services.h"

#include <QWidget>

#include <memory>
#include <string>
#include <string_view>

namespace Ui {
class Form1;
}

namespace taiju {

class Form1 : public QWidget, public FormState {
    Q_OBJECT
  public:
    // Creates every control, binds the buttons and runs Form_Load.
    explicit Form1(platform::Services services, QWidget* parent = nullptr);
    ~Form1() override;

    // The controls, by their names.
    Ui::Form1& controls() { return *ui_; }

    // The four events.
    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

    // Reads the item file of the log `drive`:`n` into the item declarations;
    // `er` is "error" after a failure, empty otherwise.
    void jinput(const std::u16string& n, const std::u16string& drive, std::u16string& er);
    // Writes the item declarations as the item file of the log `drive`:`n`.
    void joutput(const std::u16string& n, const std::u16string& drive);
    // 1-based position of the last `m` in `n`, 0 when none.
    std::size_t rinstr(std::u16string_view n, std::u16string_view m) const;

  private:
    void tell(std::u16string_view message, std::u16string_view title);

    std::unique_ptr<Ui::Form1> ui_;
    platform::Services services_;
    platform::Cp932Encoder encoder_;
};

} // namespace taiju
