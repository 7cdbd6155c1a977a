#pragma once
// The WinKeyer: its set-up window " WinKey Setup" (port, Open and Close, the
// device's status and version, the keying settings, keyer mode and pin
// configuration, Test, Stop and Done), WK.txt in the data folder, and the
// sender that feeds CWBuffer to the device.
//
// The window's close box closes the device, as "Close" does, and hides the
// window with its settings; the next message opens the device again.
#include <QObject>
#include <QString>
#include <functional>
#include <vector>
#include <cstdint>

#include "keyers/keyer_device.h"
#include "keyers/winkey_hook.h"
#include "platform/form.h"
#include "platform/twips.h"
#include "platform/loaded_form.h"

class Program;
class QCloseEvent;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace keyers {

inline const QString kWinKeySettingsFile = QStringLiteral("WK.txt");

class WinKeyLayer;

class frmWinKey final : public platform::Form {
public:
    // Builds the window hidden and runs its load (WK.txt read) for `screen`.
    frmWinKey(Program& program, WinKeyLayer& layer,
              const platform::ScreenTwips& screen = platform::PrimaryScreenTwips());
    ~frmWinKey() override;

    void cmdCloseWinkey_Click();
    void cmdOpenWinkey_Click();
    void Command3_Click();  // "Test"
    void cmdStop_Click();
    void cmdDone_Click();
    // The device's answer to Open.
    void OpenAnswered(int code, std::uint8_t version);
    void Form_Load(const platform::ScreenTwips& screen);
    void Form_Unload();

    void txtWKComPort_LostFocus();
    void txtWKWPM_LostFocus();
    void txtWeight_LostFocus();
    void txtLeadIn_LostFocus();
    void txtTail_LostFocus();
    void txtRatio_LostFocus();

    QLineEdit* txtWKComPort = nullptr;
    QPushButton* cmdOpenWinkey = nullptr;
    QPushButton* cmdCloseWinkey = nullptr;
    QLabel* lblOpenStatus = nullptr;
    QLabel* lblVersion = nullptr;
    QLineEdit* txtWKWPM = nullptr;
    QLineEdit* txtWeight = nullptr;
    QLineEdit* txtLeadIn = nullptr;
    QLineEdit* txtTail = nullptr;
    QLineEdit* txtRatio = nullptr;
    QGroupBox* Frame2 = nullptr;  // "Keyer Mode"
    QRadioButton* optIambicB = nullptr;
    QRadioButton* optIambicA = nullptr;
    QRadioButton* optUltimatic = nullptr;
    QRadioButton* optBug = nullptr;
    QGroupBox* Frame1 = nullptr;  // "Pin 5 Configuration"
    QRadioButton* optKey5Out3Off = nullptr;
    QRadioButton* optKey5Off3Out = nullptr;
    QRadioButton* optTone = nullptr;
    QRadioButton* optPTT = nullptr;
    QPushButton* Command3 = nullptr;  // "Test"
    QPushButton* cmdStop = nullptr;
    QPushButton* cmdDone = nullptr;

private:
    void Build();
    void SendWKSettings();
    void SendLeadTail(QLineEdit* own);
    bool ReadSettingsFile();
    void FocusDone();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    Program& program_;
    WinKeyLayer& layer_;
};

// The WinKeyer as the program holds it: the device, the program-wide
// WinKeyer values and the window, loaded on first use.
class WinKeyLayer final : public WinKeyHook {
public:
    explicit WinKeyLayer(Program& program);
    ~WinKeyLayer() override;

    void Load() override;
    void ShowModal() override;
    void Unload() override;
    void WKTransmit() override;
    void WhenSent(std::function<void()> fn) override;
    void WhenOpenEnded(std::function<void()> fn) override;
    bool Sending() const { return sending_; }
    void CloseDevice() override { window().cmdCloseWinkey_Click(); }
    void wk_wpm(std::uint8_t wpm) override { device_.wk_wpm(wpm); }
    void wk_clearbuf() override { device_.wk_clearbuf(); }
    int wk_getstatus() override { return device_.wk_getstatus(); }
    void wk_backspace() override {
        if (device_.IsOpen()) device_.wk_backspace();
    }

    // The device's open has ended (answered, or closed while under way): a
    // sender that waited for it goes on.
    void OpenEnded();

    frmWinKey& window();
    bool WindowLoaded() const { return form_.IsLoaded(); }
    KeyerDevice& device() { return device_; }

    // Milliseconds of the device keying nothing, while the sender waits for room,
    // after which the device is given up.
    static constexpr int kGiveUpMs = 10000;
    // The pause after each character handed over, and between two looks at
    // a device that has no room.
    static constexpr int kCharacterMs = 10;
    // The device has room while it holds fewer characters not yet keyed.
    static constexpr int kRoomBelow = 5;

    // The program-wide WinKeyer values.
    std::uint8_t WKComPort = 0;
    std::uint8_t WKPinConfig = 6;
    std::uint8_t WKMode = 0;

private:
    // The sender's turns: the next character of CWBuffer, a look for room
    // while the device holds kRoomBelow or more, handing one character over.
    void NextCharacter();
    void LookForRoom();
    void HandOver();
    // The next turn, kCharacterMs from now.
    void Continue(void (WinKeyLayer::*step)());
    void GiveUp();
    void Finish();

    Program& program_;
    KeyerDevice device_;
    platform::LoadedForm<frmWinKey> form_;
    // The context of the sender's timers: none fires once the layer is gone.
    QObject timers_;
    bool sending_ = false;
    // The sender waits for the device's open to end.
    bool awaitingOpen_ = false;
    // Those waiting for the open under way to end.
    std::vector<std::function<void()>> openWaiters_;
    std::int64_t waitKeyed_ = 0;
    std::int64_t lastProgress_ = 0;
    std::function<void()> whenSent_;
};

}  // namespace keyers
