#pragma once
// The rig interface dialog " Rig Interface Setup": the radio model, the rig
// port's settings, the poll rate and poll strings, and how the rig's reports
// are used. It keeps them in RigCntrl.txt and owns the CAT engine and its
// serial port. It is created on first use and stays loaded until the main
// window unloads it; "&Done" only hides it, and polling goes on meanwhile.
#include <QString>
#include <array>
#include <memory>

#include "platform/form.h"
#include "platform/twips.h"
#include "rig/rig_engine.h"

class Program;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace platform {
class SerialPort;
}

namespace rig {

inline const QString kRigSettingsFile = QStringLiteral("RigCntrl.txt");
inline const QString kBandPlanFile = QStringLiteral("BandPlan.txt");

class RigControlfrm final : public platform::Form {
public:
    // Builds the window hidden and runs its load.
    explicit RigControlfrm(Program& program,
                           const platform::ScreenTwips& screen = platform::PrimaryScreenTwips());
    ~RigControlfrm() override;

    // The CAT engine: ChangeFrequency, ChangeMode, the raw output and the
    // last reading are the other windows' way to the radio.
    RigEngine& engine() { return *engine_; }
    void ChangeFrequency(float qChangeFreq) { engine_->ChangeFrequency(qChangeFreq); }
    void ChangeMode(float qChangeFrequency, const QString& ModeToChangeTo) {
        engine_->ChangeMode(qChangeFrequency, ModeToChangeTo);
    }

    // Events.
    void Form_Load(const platform::ScreenTwips& screen);
    void Form_Unload();
    void Command1_Click();  // Test
    void Command2_Click();  // End Test
    void Command3_Click();  // Change Frequency
    void Command4_Click();  // Copy unprocessed data to clipboard
    void cmdDone_Click();
    void List1_Click();
    void LoadRigSettings();
    // False when the file could not be written (the operator has been told).
    bool SaveRigSettings();

    QListWidget* List1 = nullptr;
    QLineEdit* txtFreq = nullptr;
    QLineEdit* txtMode = nullptr;
    QCheckBox* chkConvToHex = nullptr;
    QCheckBox* ChkConvHex = nullptr;
    QCheckBox* chkFrequency = nullptr;
    QRadioButton* OptRig = nullptr;
    QRadioButton* OptFreq = nullptr;
    QRadioButton* OptDont = nullptr;
    // 1200, 2400, 4800, 9600, 14400, 19200, 28800, 38400, 56000 baud.
    std::array<QRadioButton*, 9> optBaud{};
    QRadioButton* optParityOdd = nullptr;
    QRadioButton* optParityNone = nullptr;
    QRadioButton* optParityEven = nullptr;
    QRadioButton* optData7 = nullptr;
    QRadioButton* optData8 = nullptr;
    QRadioButton* optStop1 = nullptr;
    QRadioButton* optStop2 = nullptr;
    std::array<QRadioButton*, 10> optComm{};
    QRadioButton* optPowerNone = nullptr;
    QRadioButton* optPowerRTS = nullptr;
    QRadioButton* optPowerDTR = nullptr;
    QRadioButton* optPollFast = nullptr;
    QRadioButton* optPollMed = nullptr;
    QRadioButton* optPollSlow = nullptr;
    QRadioButton* optReallySlow = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* cmdDone = nullptr;
    QLabel* lblFreq = nullptr;
    QLabel* lblMode = nullptr;
    QLabel* lblUnProcess = nullptr;
    QLabel* Label2 = nullptr;   // "Polling Rig"
    QLabel* Label10 = nullptr;  // the Icom address note

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void wire();
    void showReading();
    void selectRig(const QString& rigType);
    void setModeSourceOption(int value);
    void showPortDevices();

    Program& program_;
    std::unique_ptr<platform::SerialPort> comComm1_;
    std::unique_ptr<RigEngine> engine_;
    bool RigSettingsLoading = false;
};

}  // namespace rig
