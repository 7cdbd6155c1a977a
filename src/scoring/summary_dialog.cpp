#include "scoring/summary_dialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "platform/key_adapter.h"
#include "platform/option_buttons.h"
#include "platform/twips.h"
#include "program/program.h"
#include "setup/key_filters.h"
#include "setup/resize.h"

namespace scoring {

namespace {

// The design: a fixed dialog whose client area is 9225 x 4080 twips.
constexpr float kClientWidth = 9225;
constexpr float kClientHeight = 4080;
constexpr float kBorderWidth = 90;
constexpr float kBorderHeight = 390;

// Rows of the two columns of boxes at the top.
constexpr float kRowTop = 120;
constexpr float kRowStep = 390;
constexpr float kLabelDrop = 30;  // a label stands a little below its box's top
constexpr float kBoxHeight = 285;
constexpr float kLabelHeight = 255;

// The option buttons of the two frames.
constexpr float kOptionTop = 300;
constexpr float kOptionStep = 330;
constexpr float kClassColumnLeft[] = {120, 1980, 3840};
constexpr float kClassColumnWidth[] = {1815, 1815, 2415};
constexpr int kClassRows = 3;

}  // namespace

WICabrilloOut::WICabrilloOut(Program& program, std::optional<QSizeF> screenTwips)
    : program_(program) {
    setWindowTitle(QStringLiteral("Summary Sheet Information"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    SetDesignSize(kClientWidth + kBorderWidth, kClientHeight + kBorderHeight, kClientWidth,
                  kClientHeight);
    buildControls();
    buildTabOrder();

    keys_ = new platform::KeyAdapter(this);
    keys_->Attach(Text1, {.keyPress = [this](int& KeyAscii) { Text1_KeyPress(KeyAscii); }});
    keys_->Attach(Text2, {.keyPress = [this](int& KeyAscii) { Text2_KeyPress(KeyAscii); }});
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });

    Form_Load(screenTwips ? *screenTwips : platform::ScreenSizeTwips());
}

WICabrilloOut::~WICabrilloOut() = default;

void WICabrilloOut::buildControls() {
    auto row = [](int n) { return kRowTop + kRowStep * static_cast<float>(n); };
    auto addBox = [&](const QString& label, const QString& caption, const QString& box,
                      float labelLeft, float labelWidth, float boxLeft, float boxWidth, float top) {
        AddLabel(label, caption, labelLeft, top + kLabelDrop, labelWidth, kLabelHeight);
        return AddTextBox(box, QString(), boxLeft, top, boxWidth, kBoxHeight);
    };

    // The address block on the left.
    Text5 = addBox("Label1", "Your Name:", "Text5", 120, 1335, 1500, 2895, row(0));
    Text6 = addBox("Label2", "Address Line 1:", "Text6", 120, 1335, 1500, 2895, row(1));
    Text7 = addBox("Label3", "Address Line 2:", "Text7", 120, 1335, 1500, 2895, row(2));
    Text8 = addBox("Label4", "Email Address:", "Text8", 120, 1335, 1500, 2895, row(3));

    // Soapbox and club on the right.
    QLabel* soapbox = AddLabel(
        "Label5", "Soapbox (Add any comments you would like to make about the contest):", 4620,
        row(0), 4485, 420);
    soapbox->setWordWrap(true);
    soapbox->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Text11 = AddTextBox("Text11", QString(), 4620, row(1) + 30, 4485, kBoxHeight);
    Text1 = addBox("Label6", "Club Affiliation:", "Text1", 4620, 1335, 6000, 3105, row(3));

    // Entry class: three columns of three.
    Frame1 = AddFrame("Frame1", "Entry Class", 120, 1740, 6375, 1335);
    for (std::size_t i = 0; i < OptClass.size(); ++i) {
        const auto column = i / kClassRows;
        const float top = kOptionTop + kOptionStep * static_cast<float>(i % kClassRows);
        OptClass[i] = AddOptionButton(QStringLiteral("OptClass(%1)").arg(i),
                                      QString::fromLatin1(kEntryClasses[i]),
                                      kClassColumnLeft[column], top, kClassColumnWidth[column],
                                      kLabelHeight, Frame1);
    }

    // Power, to the right of the entry class.
    Frame2 = AddFrame("Frame2", "Power:", 6615, 1740, 2490, 1335);
    Option4 = AddOptionButton("Option4", "High", 240, kOptionTop, 2130, kLabelHeight, Frame2);
    Option3 = AddOptionButton("Option3", "Low (150W)", 240, kOptionTop + kOptionStep, 2130,
                              kLabelHeight, Frame2);
    Option1 = AddOptionButton("Option1", "QRP (5W)", 240, kOptionTop + 2 * kOptionStep, 2130,
                              kLabelHeight, Frame2);

    // The bottom row: operators and the two buttons.
    Text2 = addBox("Label7", "Operators (If Multi):", "Text2", 120, 1575, 1740, 2655, 3390);
    Command4 = AddCommandButton("Command4", "Write Cabrillo File", 4620, 3300, 2175, 495);
    Command3 = AddCommandButton("Command3", "Done", 6930, 3300, 2175, 495);
}

void WICabrilloOut::buildTabOrder() {
    std::vector<QWidget*> order = {Text5, Text6, Text7, Text8, Text11, Text1};
    order.insert(order.end(), OptClass.begin(), OptClass.end());
    order.insert(order.end(), {Option4, Option3, Option1, Text2, Command4, Command3});
    for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
    // Each option group is one stop, at its selected option.
    platform::TabStopOnSelected(OptClass);
    platform::TabStopOnSelected(std::array{Option4, Option3, Option1});
}

void WICabrilloOut::Form_Load(QSizeF screenTwips) {
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setup::ResizeForm(*this, screenTwips);
    setFixedSize(size());

    const SummaryInputs remembered = RememberedSummaryInputs(program_);
    Text5->setText(remembered.name);
    Text6->setText(remembered.address1);
    Text7->setText(remembered.address2);
    Text8->setText(remembered.email);
    Text1->setText(remembered.club);
    Text11->clear();
    Text2->clear();
    OptClass[0]->setChecked(true);
    Option3->setChecked(true);
}

SummaryInputs WICabrilloOut::Inputs() const {
    SummaryInputs inputs;
    inputs.name = Text5->text();
    inputs.address1 = Text6->text();
    inputs.address2 = Text7->text();
    inputs.email = Text8->text();
    inputs.soapbox = Text11->text();
    inputs.club = Text1->text();
    inputs.entryClass.clear();
    for (const QRadioButton* option : OptClass)
        if (option->isChecked()) inputs.entryClass = option->text();
    inputs.power = power();
    inputs.operators = Text2->text();
    return inputs;
}

PowerClass WICabrilloOut::power() const {
    if (Option4->isChecked()) return PowerClass::High;
    if (Option1->isChecked()) return PowerClass::Qrp;
    return PowerClass::Low;
}

void WICabrilloOut::Command4_Click() {
    if (WriteSubmissionFile(program_, Inputs())) Command3->setFocus();
}

void WICabrilloOut::Command3_Click() { hide(); }

void WICabrilloOut::Text1_KeyPress(int& KeyAscii) { setup::Cap(KeyAscii); }

void WICabrilloOut::Text2_KeyPress(int& KeyAscii) { setup::Cap(KeyAscii); }

}  // namespace scoring
