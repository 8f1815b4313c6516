// SPDX-License-Identifier: MIT
#include "ui/boxes.h"

#include "log/record.h"

#include <QLineEdit>
#include <QValidator>

#include <limits>

namespace taiju {
namespace {

// Accepts every text, with its control characters made blanks. A line edit
// applies the change to what is typed, pasted or dropped.
class ControlsAsBlanks : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        for (QChar& c : input)
            if (isControl(c.unicode()))
                c = QLatin1Char(' ');
        return Acceptable;
    }
};

} // namespace

void prepareBoxes(std::initializer_list<QLineEdit*> boxes) {
    for (QLineEdit* box : boxes) {
        box->setMaxLength(std::numeric_limits<int>::max());
        box->setValidator(new ControlsAsBlanks(box));
    }
}

} // namespace taiju
