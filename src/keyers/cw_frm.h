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
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "keyers/keyer_thread.h"
#include "keyers/morse_keyer.h"
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
class SerialPort;
}  // namespace platform

namespace keyers {

class frmCodePractice;

inline const QString kCWSettingsFile = QStringLiteral("CW.txt");

class CWFrm final : public platform::Form {
public:
    // Builds the window hidden and runs its load.
    // Built and laid out for `screen`.
    explicit CWFrm(Program& program,
                   const platform::ScreenTwips& screen = platform::PrimaryScreenTwips());
    ~CWFrm() override;

    // The speed box up or down by 1, never beyond 5 to 99 WPM; a text that
    // is no number stays.
    void UpDown1_UpClick();
    void UpDown1_DownClick();

    // Empties CWBuffer and sends the message of a function key (112 to 120
    // F1 to F9, 124 F10, 122 F11), its wildcards replaced. A message under
    // way goes on with the new text after its current character.
    void FKeyCW(int KeyCode);
    // Starts sending what CWBuffer holds and returns at once: the software
    // keyer's thread takes it one character at a time (text added to the
    // buffer meanwhile follows), or the WinKeyer drains it from its own
    // timers. False when the WinKeyer would not open (reported). A software
    // message that could not be keyed (the keying port would not open: it
    // was timed without keying; or the speed gives no unit) is reported when
    // it ends, and AfterMessage hears of it.
    bool LoopThroughCWBuffer();
    // Calls `fn` once the software keyer's message under way has ended,
    // with false when it could not be keyed; at once (true) when none is.
    void AfterMessage(std::function<void(bool sent)> fn);
    // Backspace while a message is keyed: takes back the last character not
    // yet begun, whether it waits in the buffer or is the one handed to the
    // keyer to follow; false when there is none.
    bool TakeBackLast();
    // Opens the CW keying serial port, reporting a port that cannot be
    // opened. The push-to-talk port and the WinKeyer are closed first.
    void CWSetup();
    // Stops the software keyer at once, releases the keying lines and closes
    // the keying port.
    void ReleaseKeying();
    // The serial port whose RTS or DTR line keys the transmitter.
    platform::SerialPort& Comm() { return *comm_; }

    // Events.
    void Form_Load(const platform::ScreenTwips& screen);
    void Form_Unload();
    void Command1_Click();
    void Command4_Click();
    void Command7_Click();
    void cmdConfWinkey_Click();
    void tmrRepeat_Timer();
    // Starts the F1 repeat when it is on: the message has ended.
    void StartRepeat();
    void txtCWLoop_LostFocus();
    void Text10_LostFocus();
    void Text11_LostFocus();
    void Text11_Change();
    void txtSpace_LostFocus();
    void optTimer_Click();
    void OptSleep_Click();
    void optLoop_Click();
    void txtLoop_Change();
    void cmdLoopFaster_Click();
    void cmdLoopSlower_Click();
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

    // The open code practice window, while "Send Code Practice" shows it.
    frmCodePractice* codePractice() const { return codePractice_.get(); }

private:
    class Lines;

    void BuildSetup();
    void BuildMessages();
    void AttachKeyFilters();
    void InitKeyer();
    void StepSpeed(int step);
    void RestoreTimingSettings();
    // Opens the keying port without a word; false when it cannot be opened.
    bool OpenKeyingPort();
    void ReportBadPort();
    void SetStatusLine(const QString& text);
    void LogContact();
    // The keyer's controls as its thread reads them.
    void UpdateKeyerSettings();
    // The software keyer's message: the next character handed over while
    // one is keyed, the keyer's reports, and the end.
    void HandNext();
    void CharacterBegun(std::uint64_t message);
    void CharacterSent(std::uint64_t message, MorseKeyer::Result result);
    void ContinueMessage();
    void EndMessage();
    void BufferCleared();
    bool TakeBackNext();
    void LoopCalibrated(std::optional<double> loops);
    bool eventFilter(QObject* watched, QEvent* event) override;

    Program& program_;
    platform::KeyAdapter* keys_ = nullptr;
    // Held by the keyer's thread for each switch of a line, and for every
    // use of the keying ports.
    std::recursive_mutex linesLock_;
    std::unique_ptr<platform::SerialPort> comm_;
    std::unique_ptr<Lines> lines_;
    std::unique_ptr<frmCodePractice> codePractice_;
    // The software keyer's message under way (CWSending is 1): its number,
    // whether a character was handed and not yet begun (and which), whether
    // one is being keyed, and what went wrong.
    std::uint64_t message_ = 0;
    bool handed_ = false;
    QString handedText_;
    bool keying_ = false;
    bool portFailed_ = false;
    bool badPort_ = false;
    bool badSpeed_ = false;
    std::vector<std::function<void(bool)>> afterMessage_;
    // Last: its thread ends before the ports it keys go.
    std::unique_ptr<KeyerThread> sender_;
};


// Reads CW.txt of the working folder into CWFrm (created hidden when it is
// not loaded): 18 values, then the keying option of the interface read. A
// missing file leaves the window unloaded; a short or unreadable one stops
// the reading, and the controls keep what they have. Nothing is reported;
// false tells a caller that the file was not read whole.
bool LoadCWSettings(Program& program);

}  // namespace keyers
