#pragma once
// The CW keyer window "CW String Selections": the function-key messages and
// every setting of the software keyer, kept in the window's own controls
// (other windows read them directly, so a change acts at once) and in
// CW.txt.
//
// The close box hides the window, as "Done" does but without saving: the
// settings stay loaded, so a later "Done" writes what the operator has, never
// the design defaults.
#include <QString>

#include "platform/form.h"

class Program;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace keyers {

inline const QString kCWSettingsFile = QStringLiteral("CW.txt");

class CWFrm final : public platform::Form {
public:
    // Builds the window hidden and runs its load.
    explicit CWFrm(Program& program);
    ~CWFrm() override;

    // The speed box up or down by 1; a text that is no number stays.
    void UpDown1_UpClick();
    void UpDown1_DownClick();

    // Events.
    void Form_Load();
    void Form_Unload();
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Option4_Click();
    void Option5_Click();
    void txtSpace_Change();
    void Command5_Click();
    void Command6_Click();

    // Messages of F1 to F9, F10 and F11.
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLineEdit* Text3 = nullptr;
    QLineEdit* Text4 = nullptr;
    QLineEdit* Text5 = nullptr;
    QLineEdit* Text6 = nullptr;
    QLineEdit* Text7 = nullptr;
    QLineEdit* Text8 = nullptr;
    QLineEdit* Text9 = nullptr;
    QLineEdit* Text12 = nullptr;
    QLineEdit* Text13 = nullptr;
    QLineEdit* txtCWLoop = nullptr;  // F1 repeat seconds
    QLineEdit* Text10 = nullptr;     // CW serial port
    QLineEdit* Text14 = nullptr;     // parallel port address
    QLineEdit* Text11 = nullptr;     // speed, WPM
    QLineEdit* txtSpace = nullptr;   // word-space adjustment
    QLineEdit* txtLoop = nullptr;    // loop count per 60 ms
    // Keying interface.
    QGroupBox* Frame1 = nullptr;
    QRadioButton* Option4 = nullptr;  // "None"
    QRadioButton* Option1 = nullptr;  // "RTS"
    QRadioButton* Option2 = nullptr;  // "DTR"
    QRadioButton* Option5 = nullptr;  // "WinKey"
    QRadioButton* Option3 = nullptr;  // "Printer"
    // Timing method.
    QRadioButton* optTimer = nullptr;
    QRadioButton* optLoop = nullptr;
    QRadioButton* OptSleep = nullptr;
    QLabel* lblLoop = nullptr;
    QPushButton* cmdLoopFaster = nullptr;  // "F"
    QPushButton* cmdLoopSlower = nullptr;  // "S"
    QCheckBox* Check1 = nullptr;  // echo of the sent text on the main window
    QPushButton* Command2 = nullptr;  // "Faster"
    QPushButton* Command3 = nullptr;  // "Slower"
    QPushButton* Command6 = nullptr;  // "More"
    QPushButton* Command5 = nullptr;  // "Less"
    QPushButton* Command4 = nullptr;  // "&Test"
    QLabel* Label23 = nullptr;        // "Sending!"
    QPushButton* cmdConfWinkey = nullptr;
    QPushButton* Command7 = nullptr;  // "Send Code Practice"
    QPushButton* Command1 = nullptr;  // "Done"
    QTimer* tmrRepeat = nullptr;      // F1 repeat

private:
    void BuildSetup();
    void BuildMessages();
    void StepSpeed(int step);

    Program& program_;
};

// Reads CW.txt of the working folder into CWFrm (created hidden when it is
// not loaded): 18 values, then the keying option of the interface read. A
// missing file leaves the window unloaded; a short or unreadable one stops
// the reading, and the controls keep what they have. Nothing is reported;
// false tells a caller that the file was not read whole.
bool LoadCWSettings(Program& program);

}  // namespace keyers
