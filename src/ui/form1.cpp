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
#include "ui_form1.h"

#include <QApplication>
#include <QIcon>
#include <QStyle>
#include <QWindow>

#include <array>
#include <string_view>

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

// The icon's two sizes: their XPM drawings (three colours, one character a
// pixel) decoded by the compiler into premultiplied ARGB pixels, so that
// start-up makes each image straight from memory, with no XPM to read. A
// drawing this decoder does not know stops the build (the throw is reached
// while the compiler evaluates it).
#include "icons/form1-16.h"
#include "icons/form1-32.h"

constexpr int number(const char*& p) {
    while (*p == ' ')
        ++p;
    int n = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        n = n * 10 + (*p - '0');
    return n;
}

constexpr int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    throw "not a hexadecimal digit";
}

template <int Size, std::size_t Lines>
constexpr std::array<quint32, Size * Size> decodeXpm(const char* const (&xpm)[Lines]) {
    const char* p = xpm[0];
    const int width = number(p), height = number(p), colours = number(p), perPixel = number(p);
    if (width != Size || height != Size || perPixel != 1 ||
        Lines != std::size_t(1 + colours + Size))
        throw "not a square drawing of one character a pixel";
    std::array<quint32, 128> colour{};
    std::array<bool, 128> known{};
    for (int c = 1; c <= colours; ++c) {
        const char* line = xpm[c];
        const auto key = static_cast<unsigned char>(line[0]);
        if (key >= 128 || line[1] != ' ' || line[2] != 'c' || line[3] != ' ')
            throw "not a colour line";
        const std::string_view value(line + 4);
        if (value == "None") {
            colour[key] = 0; // transparent
        } else if (value.size() == 7 && value[0] == '#') {
            quint32 rgb = 0;
            for (char digit : value.substr(1))
                rgb = rgb * 16 + quint32(hexDigit(digit));
            colour[key] = 0xff000000u | rgb; // opaque: premultiplied as it is
        } else {
            throw "not a colour of #RRGGBB or None";
        }
        known[key] = true;
    }
    std::array<quint32, Size * Size> pixels{};
    for (int y = 0; y < Size; ++y) {
        const std::string_view row(xpm[1 + colours + y]);
        if (row.size() != std::size_t(Size))
            throw "a row of the wrong width";
        for (int x = 0; x < Size; ++x) {
            const auto key = static_cast<unsigned char>(row[x]);
            if (key >= 128 || !known[key])
                throw "a pixel of no colour";
            pixels[y * Size + x] = colour[key];
        }
    }
    return pixels;
}

constexpr auto kIcon16 = decodeXpm<16>(form1_16);
constexpr auto kIcon32 = decodeXpm<32>(form1_32);

template <std::size_t N> QPixmap iconPixmap(const std::array<quint32, N>& pixels, int size) {
    return QPixmap::fromImage(QImage(reinterpret_cast<const uchar*>(pixels.data()), size, size,
                                     QImage::Format_ARGB32_Premultiplied));
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
    QIcon icon;
    icon.addPixmap(iconPixmap(kIcon16, 16));
    icon.addPixmap(iconPixmap(kIcon32, 32));
    setWindowIcon(icon);
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
