// Form1, the window "体重チェック": its constructor (controls, rules, icon),
// the binding of the four events and the small helpers the handlers share.
// The handlers themselves live in the subsystems' form1_*.cpp files.

#include "ui/form1.h"

#include "log/rinstr.h"
#include "platform/qtext.h"
#include "ui/rule.h"
#include "ui_form1.h"

#include <QIcon>

// The icons are compiled into a static library, whose resources are not
// registered by themselves. (Outside any namespace, as Qt requires.)
static void initIconResources() {
    Q_INIT_RESOURCE(icons);
}

namespace taiju {

using platform::qs;

namespace {

// Twips to pixels at 96 dots per inch.
QPoint twips(int x, int y) {
    return QPoint(x / 15, y / 15);
}

} // namespace

Form1::Form1(platform::Services services, QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::Form1>()), services_(services) {
    initIconResources();
    ui_->setupUi(this);
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/form1-16.xpm"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/icons/form1-32.xpm"), QSize(32, 32));
    setWindowIcon(icon);

    // The rules, each placed in the stacking order under the control named.
    auto rule = [this](const char* name, QPoint from, QPoint to, int width, QWidget* above) {
        auto* line = new Rule(QString::fromLatin1(name), from, to, width, this);
        line->stackUnder(above);
        line->show();
    };
    rule("Line1", twips(1200, 960), twips(2880, 960), 3, ui_->Label26);
    rule("Line2", twips(3240, 960), twips(4800, 960), 3, ui_->Label26);
    rule("Line3", twips(360, 960), twips(1080, 960), 3, ui_->lblFOLDER);
    rule("Line6", twips(5160, 960), twips(6840, 960), 3, ui_->lblFOLDER);
    rule("Line4", twips(480, 5280), twips(6960, 5280), 3, ui_->Label27);
    rule("Line5", twips(5760, 720), twips(5880, 480), 1, ui_->Text3);

    connect(ui_->Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(ui_->Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(ui_->Command3, &QPushButton::clicked, this, &Form1::Command3_Click);

    Form_Load();
    ui_->Text3->setFocus();
}

Form1::~Form1() = default;

std::size_t Form1::rinstr(std::u16string_view n, std::u16string_view m) const {
    return taiju::rinstr(n, m);
}

void Form1::tell(std::u16string_view message, std::u16string_view title) {
    services_.messageBox.show(qs(message), qs(title));
}

} // namespace taiju
