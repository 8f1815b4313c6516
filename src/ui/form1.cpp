// SPDX-License-Identifier: MIT
// Form1, the window "体重チェック": its constructor (controls, rules, icon),
// the binding of the four events and the small helpers the handlers share.
// The handlers themselves live beside it in form1_*.cpp.

#include "ui/form1.h"

#include "eval/bands.h"
#include "log/rinstr.h"
#include "platform/qtext.h"
#include "ui/boxes.h"
#include "ui/button.h"
#include "ui/look.h"
#include "ui/rule.h"
#include "ui/window_icon.h"
#include "ui_form1.h"

#include <QApplication>
#include <QStyle>
#include <QWindow>

namespace taiju {

using platform::qs;

namespace {

// Twips to pixels at 96 dots per inch.
QPoint twips(int x, int y) {
    return QPoint(x / 15, y / 15);
}

// Fills labels with one of the window's fixed colours, all with one palette;
// their other colours stay the window's, also when the window's palette
// changes.
void fill(std::initializer_list<QLabel*> labels, Colour c) {
    QPalette p;
    p.setColor(QPalette::Window, toQColor(c));
    for (QLabel* label : labels)
        label->setPalette(p);
}

} // namespace

Form1::Form1(platform::Services services, QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::Form1>()), services_(services) {
    ui_->setupUi(this);
    useIcon();
    usePalette();
    colourLabels();
    styleButtons();
    nameBoxesForScreenReaders();
    prepareBoxes({standardWeightBox(), obesityBox(), weightBox(), heightBox(), bmiBox(), dateBox(),
                  commentBox()});
    drawRules();
    bindEvents();
    Form_Load();
    weightBox()->setFocus();
}

void Form1::useIcon() {
    setWindowIcon(windowIcon16And32());
}

// The fixed colours of the labels: the output panel and what lies on it,
// the legend's rows in their bands' colours, the path label grey.
void Form1::colourLabels() {
    fill({ui_->Label29, ui_->Label28, ui_->Label1, ui_->Label2, ui_->Label5, ui_->Label21,
          ui_->Label22, ui_->Label24, ui_->Label20, ui_->Label18, ui_->Label19},
         kLightGreen);
    fill({ui_->Label6, ui_->Label10, ui_->Label14}, bandColour(1));
    fill({ui_->Label7, ui_->Label11, ui_->Label15}, bandColour(2));
    fill({ui_->Label8, ui_->Label12, ui_->Label16}, bandColour(3));
    fill({ui_->Label9, ui_->Label13, ui_->Label17}, bandColour(4));
    fill({logPathLabel()}, kLightGrey);
}

// The calculate and save buttons flat, in the panel's green, with a thin
// grey border and black captions.
void Form1::styleButtons() {
    for (Button* b : {ui_->Command1, ui_->Command2})
        b->setFace(toQColor(kLightGreen), QColor(105, 105, 105));
}

// Every caption whole in whatever Japanese font stands in. Done when the
// window is first exposed, not when it is made: a shown window is then
// mapped before the fonts that the fitting measures with are loaded, as a
// window that only paints its captions loads them while it waits for its
// first frame; the frame then paints the fitted captions once. A window
// painted without being exposed (grab) fits them when it is first painted,
// before its controls are (a parent paints before its children).
void Form1::fitCaptions() {
    captionsFitted_ = true;
    // (Label23 shows nothing: its box is one pixel high.)
    for (QLabel* l : findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        if (l != logPathLabel() && l != ui_->Label23)
            fitCaption(l);
}

void Form1::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (!captionsFitted_ && windowHandle())
        windowHandle()->installEventFilter(this);
}

bool Form1::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::Expose && watched == windowHandle()) {
        watched->removeEventFilter(this);
        if (!captionsFitted_)
            fitCaptions();
    }
    return QWidget::eventFilter(watched, e);
}

void Form1::paintEvent(QPaintEvent*) {
    if (!captionsFitted_)
        fitCaptions();
}

// Screen readers name each box by its caption.
void Form1::nameBoxesForScreenReaders() {
    for (QLabel* caption : {ui_->Label3, ui_->Label4, ui_->Label1, ui_->Label2, ui_->Label5,
                            ui_->Label21, ui_->Label22})
        caption->buddy()->setAccessibleName(caption->text());
}

// The rules, each placed in the stacking order under the control named.
void Form1::drawRules() {
    auto rule = [this](const char* name, QPoint from, QPoint to, int width, QWidget* above) {
        auto* line = new Rule(QString::fromLatin1(name), from, to, width, this);
        line->stackUnder(above);
        line->show();
    };
    rule("Line1", twips(1200, 960), twips(2880, 960), 3, ui_->Label26);
    rule("Line2", twips(3240, 960), twips(4800, 960), 3, ui_->Label26);
    rule("Line3", twips(360, 960), twips(1080, 960), 3, logPathLabel());
    rule("Line6", twips(5160, 960), twips(6840, 960), 3, logPathLabel());
    rule("Line4", twips(480, 5280), twips(6960, 5280), 3, ui_->Label27);
    rule("Line5", twips(5760, 720), twips(5880, 480), 1, weightBox());
}

void Form1::bindEvents() {
    connect(ui_->Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(ui_->Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(ui_->Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
}

Form1::~Form1() = default;

void Form1::usePalette() {
    setPalette(readablePalette(QApplication::palette(), style()->standardPalette()));
}

void Form1::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    // The desktop changed its colours while the window is open.
    if (e->type() == QEvent::ApplicationPaletteChange)
        usePalette();
}

std::size_t Form1::rinstr(std::u16string_view n, std::u16string_view m) const {
    return taiju::rinstr(n, m);
}

QLineEdit* Form1::weightBox() const {
    return ui_->Text3;
}
QLineEdit* Form1::heightBox() const {
    return ui_->Text4;
}
QLineEdit* Form1::standardWeightBox() const {
    return ui_->Text1;
}
QLineEdit* Form1::obesityBox() const {
    return ui_->Text2;
}
QLineEdit* Form1::bmiBox() const {
    return ui_->Text5;
}
QLineEdit* Form1::dateBox() const {
    return ui_->Text6;
}
QLineEdit* Form1::commentBox() const {
    return ui_->Text7;
}
PathLabel* Form1::logPathLabel() const {
    return ui_->lblFOLDER;
}

void Form1::tell(std::u16string_view message, std::u16string_view title) {
    services_.messageBox.show(qs(message), qs(title));
}

} // namespace taiju
