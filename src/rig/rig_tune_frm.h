#pragma once
// The tune panel " Change Frequency and Mode (Ctrl G (Go))": the operator
// tunes the radio by hand. A frequency typed in MHz goes out with Go or
// Enter; the step buttons move it up or down, the band buttons jump to a
// band, the mode buttons set the mode, and Scan walks the dial upward from
// the box to To and starts again at From. All tuning goes through the rig
// window's ChangeFrequency and ChangeMode. The main window shows the panel
// modally (Ctrl+G) and unloads it afterwards, so each opening starts afresh.
#include <QSizeF>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

#include "platform/form.h"
#include "platform/twips.h"

class Program;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace platform {
class KeyAdapter;
}

namespace rig {

class frmRigTune final : public platform::Form {
    Q_OBJECT
public:
    // Builds the panel in its design state and runs its load on the primary
    // screen.
    explicit frmRigTune(Program& program,
                        const platform::ScreenTwips& screen = platform::PrimaryScreenTwips());
    ~frmRigTune() override;

    // Events.
    void Form_Load(const platform::ScreenTwips& screen);
    void Form_Unload() {}
    void Form_KeyPress(int& KeyAscii);
    void Command1_Click();  // Go
    void cmdBand_Click(int Index);
    void cmdTune_Click(int Index);
    void cmdMode_Click(const QString& mode);  // CW, USB, LSB, AM, FM, RTTY
    void cmdDone_Click();
    void chkScan_Click();
    void Timer1_Timer();
    void txtFreq_Change();
    void txtFreq_KeyPress(int& KeyAscii);

    QLineEdit* txtFreq = nullptr;
    QPushButton* Command1 = nullptr;
    std::array<QPushButton*, 16> cmdBand{};
    QPushButton* cmdCW = nullptr;
    QPushButton* cmdUSB = nullptr;
    QPushButton* cmdLSB = nullptr;
    QPushButton* cmdAM = nullptr;
    QPushButton* cmdFM = nullptr;
    QPushButton* cmdRTTY = nullptr;
    std::array<QPushButton*, 10> cmdTune{};
    QCheckBox* chkScan = nullptr;
    QLineEdit* txtFrom = nullptr;
    QLineEdit* txtTo = nullptr;
    QGroupBox* Frame1 = nullptr;
    QRadioButton* Option5 = nullptr;  // 2.5 KHz
    QRadioButton* Option1 = nullptr;  // 500 Hz
    QRadioButton* Option2 = nullptr;  // 100 Hz
    QRadioButton* Option3 = nullptr;  // 30 Hz
    QRadioButton* Option4 = nullptr;  // 10 Hz
    QTimer* Timer1 = nullptr;
    QPushButton* cmdDone = nullptr;

private:
    void build();
    void wire();
    // The selected scan step in hertz.
    std::int64_t scanStepHz() const;

    Program& program_;
    platform::KeyAdapter* keys_ = nullptr;
};

// Shows the tune panel modally over the main window and unloads it when it
// is hidden or closed (Ctrl+G).
void ShowRigTune(Program& program);

// The number a frequency box holds, as the panel reads it: a plain decimal
// number with blanks around it allowed; std::nullopt otherwise.
std::optional<double> BoxNumber(const QString& text);
// The box's number in single precision; std::nullopt when it is no number or
// one beyond single precision (a box of 39 digits), which Go refuses.
std::optional<float> BoxSingle(const QString& text);
// The box's number in whole hertz; std::nullopt when it is no number or too
// large to count in hertz.
std::optional<std::int64_t> BoxHz(const QString& text);
// A frequency in hertz as the scan writes it: MHz with at most five
// decimals, no digit before the point below 1 MHz (".5") and the point kept
// after a whole number ("54.").
QString ScanText(std::int64_t hz);
// A double in its shortest form, up to 15 significant digits ("14.026").
QString ShortestText(double value);

}  // namespace rig
