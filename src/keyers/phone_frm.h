#pragma once
// The voice keyer window "Phone Wave Selections": the wave files of F1 to F9,
// the push-to-talk interface and the F1 repeat seconds, kept in the window's
// own controls and in wave2.txt.
//
// The close box hides the window, as "Done" does but without saving: the
// settings stay loaded, so a later "Done" writes what the operator has, never
// the design defaults. It ends what the window does, as unloading would: the
// message stops and every push-to-talk line goes off.
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

#include "platform/form.h"
#include "platform/twips.h"
#include "platform/wave_player.h"

class Program;
namespace platform {
class KeyAdapter;
class SerialPort;
}  // namespace platform
class QCloseEvent;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace keyers {

inline const QString kVoiceSettingsFile = QStringLiteral("wave2.txt");

class PhoneFrm final : public platform::Form {
public:
    // Builds the window hidden and runs its load.
    // Built and laid out for `screen`.
    explicit PhoneFrm(Program& program,
                   const platform::ScreenTwips& screen = platform::PrimaryScreenTwips());
    ~PhoneFrm() override;

    // Plays the wave file of a function key (112 to 120, F1 to F9) with
    // push-to-talk keyed. A file that cannot be played keys nothing: it beeps
    // and says so on the main window's status line.
    void FKeyPhone(int KeyCode);
    // Opens the push-to-talk serial port, closing the WinKeyer and the CW
    // keying port; a port that cannot be opened is reported.
    void PhoneSetup();
    // The serial port whose RTS or DTR line keys the transmitter.
    platform::SerialPort& CommPhone() { return *commPhone_; }
    // Releases every push-to-talk line keyed, whatever the options say now.
    void ReleasePushToTalk();

    // Events.
    void Form_Load(const platform::ScreenTwips& screen);
    void Form_Unload();
    void Timer1_Timer();
    void tmrRepeat_Timer();
    void txtPHLoop_LostFocus();
    void Text10_LostFocus();
    void Browse_Click(QLineEdit* box);
    void Command11_Click();  // "Test"
    void Command1_Click();   // "Done"

    // Wave files of F1 to F9.
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLineEdit* Text3 = nullptr;
    QLineEdit* Text4 = nullptr;
    QLineEdit* Text5 = nullptr;
    QLineEdit* Text6 = nullptr;
    QLineEdit* Text7 = nullptr;
    QLineEdit* Text8 = nullptr;
    QLineEdit* Text9 = nullptr;
    QLineEdit* txtPHLoop = nullptr;  // F1 repeat seconds
    QLineEdit* Text10 = nullptr;     // push-to-talk serial port
    QLineEdit* Text11 = nullptr;     // parallel port address
    QGroupBox* Frame1 = nullptr;
    QRadioButton* Option1 = nullptr;  // "RTS"
    QRadioButton* Option2 = nullptr;  // "DTR"
    QRadioButton* Option3 = nullptr;  // "Parallel"
    // "Browse" for Text1 .. Text9.
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* Command6 = nullptr;
    QPushButton* Command7 = nullptr;
    QPushButton* Command8 = nullptr;
    QPushButton* Command9 = nullptr;
    QPushButton* Command10 = nullptr;
    QPushButton* Command11 = nullptr;  // "Test"
    QPushButton* Command1 = nullptr;   // "Done"
    QTimer* Timer1 = nullptr;          // end-of-playback check
    QTimer* tmrRepeat = nullptr;       // pause before the next F1 repeat
    platform::WavePlayer MMControl1;   // the message player

private:
    void BuildSetup();
    void BuildKeys();
    void Wire();
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The push-to-talk serial port number when one is set (above 0).
    std::optional<int> SerialPort() const;
    // The parallel port's base address, when the box holds one that fits.
    std::optional<std::uint16_t> ParallelAddress() const;
    void SetStatusLine(const QString& text);
    void closeEvent(QCloseEvent* event) override;

    // Push-to-talk lines: the serial port's RTS and DTR, and the control
    // register of a parallel port.
    struct PushToTalk {
        bool rts = false;
        bool dtr = false;
        std::optional<std::uint16_t> parallel;  // base address
    };
    // Releases the lines keyed that `keep` does not hold.
    void ReleasePushToTalkBut(const PushToTalk& keep);

    Program& program_;
    std::unique_ptr<platform::SerialPort> commPhone_;
    // Every line keyed now, released as it was keyed whatever the boxes say
    // by then; a message keys its own lines and lets go of those of the
    // message before that it does not key.
    PushToTalk keyed_;
};

// Reads wave2.txt of the working folder into PhoneFrm (created hidden when it
// is first touched), as the station set-up's load does: the F1 to F9 files,
// the push-to-talk port, line and address, and the F1 repeat seconds with the
// repeat timer's interval. False when the file is missing or holds fewer than
// its 13 values (the values before the failure stay in the window); the
// caller reports it. It leaves CW.txt to LoadCWSettings, which the caller
// runs whatever this one gives.
bool LoadVoiceSettings(Program& program);

}  // namespace keyers
