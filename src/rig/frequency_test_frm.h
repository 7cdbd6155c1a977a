#pragma once
// The raw command test "Test Change Frequency Function": while the rig is
// polled, a command typed as text or as spaced hex pairs goes straight to
// the rig port, and a frequency in MHz goes through the rig window's
// ChangeFrequency. The radio's answer shows in the rig window's raw display
// at the next read tick. The rig window's "Change Frequency" shows it
// modally and unloads it when it closes.
#include <QSizeF>

#include "platform/form.h"
#include "platform/twips.h"

class Program;
class QCheckBox;
class QLineEdit;
class QPushButton;

namespace rig {

class frmFrequencyTest final : public platform::Form {
    Q_OBJECT
public:
    // Builds the dialog and runs its load on the primary screen.
    explicit frmFrequencyTest(Program& program,
                              const platform::ScreenTwips& screen = platform::PrimaryScreenTwips());
    ~frmFrequencyTest() override;

    // Events.
    void Form_Load(const platform::ScreenTwips& screen);
    void Form_Unload() {}
    void Command1_Click();  // Send the raw command
    void Command2_Click();  // Send the frequency

    QLineEdit* Text1 = nullptr;
    QCheckBox* Check1 = nullptr;
    QPushButton* Command1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QPushButton* Command2 = nullptr;

private:
    Program& program_;
};

}  // namespace rig
