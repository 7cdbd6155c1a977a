#include "rig/frequency_test_frm.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/text_file.h"
#include "platform/twips.h"
#include "program/program.h"
#include "rig/rig_codec.h"
#include "rig/rig_control_frm.h"
#include "rig/rig_tune_frm.h"
#include "setup/resize.h"

namespace rig {

namespace {

// The text without its leading and trailing blanks (other white space stays).
QString withoutBlanks(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == u' ') ++first;
    while (last > first && text[last - 1] == u' ') --last;
    return text.mid(first, last - first);
}

}  // namespace

frmFrequencyTest::frmFrequencyTest(Program& program, const platform::ScreenTwips& screen)
    : program_(program) {
    setWindowTitle(QStringLiteral("Test Change Frequency Function"));
    setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint | Qt::WindowTitleHint);
    setAttribute(Qt::WA_QuitOnClose, false);
    SetDesignClientSize(6000, 3900);

    QLabel* label1 = AddLabel(QStringLiteral("Label1"),
                              QStringLiteral("Please use the text box below to enter a complete command to send to "
                                             "your radio.  The default example is the command used for Kenwood "
                                             "radios."),
                              120, 120, 5760, 615);
    QLabel* label2 = AddLabel(QStringLiteral("Label2"),
                              QStringLiteral("If your radio requires a hexidecimal format, please enter in the format "
                                             "of XX XX XX (using spaces between each two digits) and click the "
                                             "Convert to Hex check box below."),
                              120, 780, 5760, 615);
    Text1 = AddTextBox(QStringLiteral("Text1"), QStringLiteral("FA00028475000;"), 120, 1455, 3900, 315);
    Command1 = AddCommandButton(QStringLiteral("Command1"), QStringLiteral("Send"), 4200, 1440, 1680, 345);
    Check1 = AddCheckBox(QStringLiteral("Check1"), QStringLiteral("Convert to Hex"), 120, 1860, 3900, 255);
    AddLine(QStringLiteral("Line1"), 120, 2250, 5880, 2250);
    QLabel* label4 = AddLabel(QStringLiteral("Label4"),
                              QStringLiteral("Most Elecrafts, Icoms, Kenwoods and Yaesus are now supported. For any "
                                             "supported radio, you should be able to enter a frequency in Mhz, click "
                                             "send and your radio should switch to the specified frequency."),
                              120, 2400, 5760, 855);
    for (QLabel* label : {label1, label2, label4}) label->setWordWrap(true);
    Text2 = AddTextBox(QStringLiteral("Text2"), QString(), 120, 3375, 3900, 315);
    Command2 = AddCommandButton(QStringLiteral("Command2"), QStringLiteral("Send"), 4200, 3360, 1680, 345);
    for (QPushButton* button : {Command1, Command2}) button->setAutoDefault(true);

    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    Form_Load(screen);
}

frmFrequencyTest::~frmFrequencyTest() = default;

void frmFrequencyTest::Form_Load(const platform::ScreenTwips& screen) {
    setup::ScaleToArea(*this, screen.size, screen.size.width(), 2);
    setup::KeepInWorkArea(*this, screen.workArea);
    Text2->setText(QStringLiteral("28.475"));
}

void frmFrequencyTest::Command1_Click() {
    const QString command = withoutBlanks(Text1->text());
    // No terminator and no pause: the bytes go out exactly as given, while
    // the poll goes on.
    const QByteArray bytes = Check1->isChecked() ? SpacedHexToBytes(command) : platform::EncodeAnsi(command);
    if (bytes.isEmpty()) return;
    program_.rigControlfrm().engine().RawOutput(bytes);
}

void frmFrequencyTest::Command2_Click() {
    const std::optional<float> mhz = BoxSingle(Text2->text());
    if (!mhz) return;
    program_.rigControlfrm().ChangeFrequency(*mhz);
}

}  // namespace rig
