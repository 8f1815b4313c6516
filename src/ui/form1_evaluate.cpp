// SPDX-License-Identifier: MIT
// Form1's evaluation: Command1_Click ("肥満度計算") and the painting of the
// result boxes in their band colours, with the band named for screen readers.

#include "eval/evaluation.h"
#include "platform/qtext.h"
#include "ui/form1.h"
#include "ui/look.h"
#include "ui_form1.h"

namespace taiju {

using platform::qs;
using platform::u16;

namespace {

// Paints the box in its band's colour and names the band in its accessible
// description, as the legend's "評価" column names it.
void paint(QLineEdit* box, Colour c, const QLabel* legendName) {
    QPalette p = box->palette();
    p.setColor(QPalette::Base, toQColor(c));
    box->setPalette(p);
    box->setAccessibleDescription(legendName->text());
}

} // namespace

void Form1::Command1_Click() {
    const auto outcome = evaluate(u16(weightBox()->text()), u16(heightBox()->text()));
    if (const auto* refusal = std::get_if<Refusal>(&outcome)) {
        tell(refusal->message, kInputErrorTitle);
        QLineEdit* box = refusal->box == Box::Height ? heightBox() : weightBox();
        box->setFocus();
        box->setSelection(0, static_cast<int>(box->text().size()));
        return;
    }
    const auto& r = std::get<Results>(outcome);
    standardWeightBox()->setText(qs(r.standardWeight));
    obesityBox()->setText(qs(r.obesityDegree));
    bmiBox()->setText(qs(r.bmi));
    const platform::LocalDate d = services_.clock.date();
    const platform::LocalTime t = services_.clock.time();
    dateBox()->setText(qs(dateStamp(d.month, d.day, d.year, t.hour, t.minute, t.second)));
    const QLabel* const assessment[] = {ui_->Label6, ui_->Label7, ui_->Label8, ui_->Label9};
    paint(obesityBox(), r.obesityColour, assessment[r.obesityBand - 1]);
    paint(bmiBox(), r.bmiColour, assessment[r.bmiBand - 1]);
    weightBox()->setFocus();
}

} // namespace taiju
