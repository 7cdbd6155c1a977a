#include "setup/color_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <exception>

#include "platform/colors.h"
#include "platform/modal.h"
#include "platform/twips.h"
#include "program/program.h"
#include "setup/resize.h"

namespace setup {

Form6::Form6(Program& program) : program_(program) {
    setWindowTitle(QStringLiteral(" Modify Multiplier Color Selections"));
    setAttribute(Qt::WA_QuitOnClose, false);
    SetDesignClientSize(5595, 2115);
    Command1 = AddCommandButton(QStringLiteral("Command1"), QStringLiteral("Change \"Remaining\" Color"),
                                120, 120, 2535, 495);
    Command3 = AddCommandButton(QStringLiteral("Command3"), QStringLiteral("Change \"Worked\" Color"),
                                2880, 120, 2535, 495);
    const platform::FontModel sampleFont{.Name = QStringLiteral("Arial"), .Size = 9};
    Label2 = AddLabel(QStringLiteral("Label2"), QStringLiteral("Appearance of multiplier remaining"),
                      480, 840, 1935, 585);
    Label1 = AddLabel(QStringLiteral("Label1"), QStringLiteral("Appearance of multiplier worked"),
                      3240, 840, 1935, 585);
    SetFont(Label2, sampleFont);
    SetFont(Label1, sampleFont);
    Command6 = AddCommandButton(QStringLiteral("Command6"), QStringLiteral("Done"), 2160, 1680, 1095, 375);
    Line2 = AddLine(QStringLiteral("Line2"), 2760, 0, 2760, 1440);
    Line1 = AddLine(QStringLiteral("Line1"), 120, 1440, 5520, 1440);
    setTabOrder(Command1, Command3);
    setTabOrder(Command3, Command6);
    connect(Command1, &QPushButton::clicked, this, &Form6::Command1_Click);
    connect(Command3, &QPushButton::clicked, this, &Form6::Command3_Click);
    connect(Command6, &QPushButton::clicked, this, &Form6::Command6_Click);
}

Form6::~Form6() = default;

void Form6::Form_Load() { Form_Load(platform::PrimaryScreenTwips()); }

void Form6::Form_Load(const platform::ScreenTwips& screen) {
    const QSizeF screenTwips = screen.size;
    ResizeCentred(*this, screenTwips, static_cast<float>(screenTwips.width() / kDesignScreenWidth));
    KeepInWorkArea(*this, screen.workArea);
    platform::SetForeColor(Label1, platform::FromStoredColor(program_.station.WorkedColor));
    platform::SetForeColor(Label2, platform::FromStoredColor(program_.station.RemainingColor));
}

void Form6::pick(std::int32_t& color, QLabel* sample) {
    try {
        const std::optional<QColor> chosen =
            program_.dialogs().PickColor(platform::FromStoredColor(color));
        if (!chosen || !chosen->isValid()) return;
        color = platform::ToStoredColor(*chosen);
        platform::SetForeColor(sample, *chosen);
    } catch (const std::exception&) {
        // The pick ends with the colour as far as it came.
    }
}

void Form6::Command1_Click() { pick(program_.station.RemainingColor, Label2); }

void Form6::Command3_Click() { pick(program_.station.WorkedColor, Label1); }

void Form6::Command6_Click() { hide(); }

void ShowColorDialog(Program& program) {
    Form6& dialog = program.form6();
    dialog.Form_Load();
    platform::ShowModal(dialog);
    program.UnloadForm6();
}

}  // namespace setup
