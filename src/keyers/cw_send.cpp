// The sending side of the CW keyer window: the keyer's lines and controls,
// the function-key messages, the send buffer's drain and the F1 repeat.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QTimer>

#include "keyers/cw_frm.h"
#include "keyers/cw_frm_keying.h"
#include "keyers/cw_macros.h"
#include "keyers/locked_serial_port.h"
#include "keyers/phone_frm.h"
#include "keyers/settings_file.h"
#include "keyers/winkey_hook.h"
#include "platform/dialogs.h"
#include "platform/modal.h"
#include "platform/parallel_port.h"
#include "platform/serial_port.h"
#include "program/main_window_proxy.h"
#include "program/program.h"

namespace keyers {

void CWFrm::InitKeyer() {
    comm_ = std::make_unique<LockedSerialPort>(program_.NewSerialPort(), linesLock_);
    lines_ = std::make_unique<Lines>(*this);
    KeyerThread::Reports reports;
    reports.begun = [this](std::uint64_t message) { CharacterBegun(message); };
    // A "!" the keyer has reached logs the contact even when the message was
    // stopped since: the contact was made on the air.
    reports.logContact = [this](std::uint64_t) { LogContact(); };
    reports.sent = [this](std::uint64_t message, MorseKeyer::Result result) { CharacterSent(message, result); };
    reports.calibrated = [this](std::optional<double> loops) { LoopCalibrated(loops); };
    sender_ = std::make_unique<KeyerThread>(program_.clock(), *lines_, linesLock_, this, std::move(reports));
    program_.keyer.CWBuffer.OnClear([this] { BufferCleared(); });
    UpdateKeyerSettings();
}

void CWFrm::UpdateKeyerSettings() {
    KeyerSettings s;
    s.keyingInterface = program_.keyer.CWKeyingLine;
    s.line = Option1->isChecked()   ? KeyLine::RTS
             : Option2->isChecked() ? KeyLine::DTR
             : Option3->isChecked() ? KeyLine::Printer
                                    : KeyLine::None;
    s.speed = Text11->text();
    s.wordSpace = txtSpace->text();
    s.parallelAddress = Text14->text();
    s.method = optLoop->isChecked()    ? TimingMethod::Loop
               : OptSleep->isChecked() ? TimingMethod::Sleep
                                       : TimingMethod::Timer;
    s.loopOffset = program_.keyer.CWLoopOffset;
    s.portFailed = portFailed_;
    sender_->SetSettings(s);
}

void CWFrm::LogContact() {
    program_.form1().LogContact();
}

void CWFrm::SetStatusLine(const QString& text) {
    program_.form1().SetStatusLine(text);
}

bool CWFrm::OpenKeyingPort() {
    if (comm_->IsOpen()) comm_->Close();
    const std::optional<double> port = BoxNumber(Text10->text());
    if (!port) return false;
    const double number = std::nearbyint(*port);
    // 0 or less: no serial port chosen; the port stays closed.
    if (number <= 0) return true;
    if (number > 65535) return false;
    // The push-to-talk port and the WinKeyer may sit on the same serial port
    // (one interface for both): they give it up, as the keying port gives it
    // up to them when they open.
    if (program_.PhoneFrmLoaded() && program_.phoneFrm().CommPhone().IsOpen())
        program_.phoneFrm().CommPhone().Close();
    if (program_.keyer.WKOpen != 0 && program_.winKey) program_.winKey->CloseDevice();
    comm_->SetPortNumber(static_cast<int>(number));
    comm_->SetDtr(false);
    comm_->SetRts(false);
    QString error;
    return comm_->Open(&error);
}

void CWFrm::ReportBadPort() {
    program_.dialogs().Beep();
    program_.dialogs().MsgBox(
        QStringLiteral("The port you have selected for CW keying is invalid.  Please select "
                       "another or enter 0 for none."),
        platform::vbOKOnly, QStringLiteral("Invalid port."));
    if (!isVisible()) platform::ShowModal(*this);
}

void CWFrm::CWSetup() {
    if (!OpenKeyingPort()) ReportBadPort();
}

void CWFrm::ReleaseKeying() {
    std::lock_guard hold(linesLock_);
    // The keyer lets go of the line at once and keys nothing more of the
    // message, which ends here.
    message_ = sender_->Stop();
    handed_ = false;
    handedText_.clear();
    keying_ = false;
    program_.keyer.CWBuffer = QString();
    if (program_.keyer.CWSending == 1) QTimer::singleShot(0, this, [this] { ContinueMessage(); });
    comm_->SetRts(false);
    comm_->SetDtr(false);
    comm_->Close();
    if (program_.keyer.CWKeyingLine == 3 || Option3->isChecked()) {
        if (const std::optional<double> address = BoxNumber(Text14->text()))
            program_.parallelPort->WriteControl(
                static_cast<std::uint16_t>(static_cast<std::int64_t>(std::nearbyint(*address))), 2);
    }
}

void CWFrm::FKeyCW(int KeyCode) {
    KeyerState& k = program_.keyer;
    // What waits gives way to the new message; the character under way ends
    // whole and the new message follows it.
    TakeBackNext();
    k.CWBuffer = QString();
    if (k.CWKeyingLine != 0) {
        QLineEdit* box = nullptr;
        if (KeyCode >= 112 && KeyCode <= 120) {
            QLineEdit* const boxes[] = {Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8, Text9};
            box = boxes[KeyCode - 112];
        } else if (KeyCode == 124) {
            box = Text12;
        } else if (KeyCode == 122) {
            box = Text13;
        }
        if (KeyCode == 112) {
            const std::optional<double> seconds = BoxNumber(txtCWLoop->text());
            if (seconds && *seconds > 0) k.CWRepeatOn = 1;
        }
        if (box && !box->text().isEmpty()) {
            const MacroValues values{
                .call = program_.entry.CWMacroCall,
                .rst = program_.entry.CWMacroRST,
                // Only a station inside the state sends its county.
                .county = program_.station.StationSide == 0 ? program_.station.OperatingCounty
                                                            : QString(),
            };
            k.CWBuffer = ExpandCWMacros(box->text(), values, program_.counties);
            LoopThroughCWBuffer();
        }
    }
}

bool CWFrm::LoopThroughCWBuffer() {
    KeyerState& k = program_.keyer;
    if (k.CWKeyingLine == 5) {
        if (k.CWBuffer.contains(u'!')) LogContact();
        if (!program_.winKey) {
            k.CWBuffer.clear();
            StartRepeat();
            return false;
        }
        // The WinKeyer drains the buffer from its own timers; the repeat
        // counts from the end of the message.
        program_.winKey->WKTransmit();
        program_.winKey->WhenSent([cw = QPointer<CWFrm>(this)] {
            if (cw) cw->StartRepeat();
        });
        // A device that would not open sent nothing.
        return k.WKOpen != 0;
    }

    // A message under way takes what was added to the buffer.
    if (k.CWSending == 1) {
        ContinueMessage();
        return true;
    }
    k.CWSending = 1;
    badPort_ = false;
    badSpeed_ = false;
    handed_ = false;
    handedText_.clear();
    keying_ = false;
    message_ = sender_->Begin();
    if (k.CWBuffer.isEmpty()) {
        EndMessage();
        return true;
    }
    // The keying port opens here, before the first character: one that will
    // not open leaves the message timed without keying, and is reported
    // once, at its end.
    const int keyingInterface = k.CWKeyingLine;
    portFailed_ = (keyingInterface == 1 || keyingInterface == 2) && !comm_->IsOpen() &&
                  !OpenKeyingPort();
    HandNext();
    return true;
}

void CWFrm::AfterMessage(std::function<void(bool sent)> fn) {
    if (program_.keyer.CWSending == 1)
        afterMessage_.push_back(std::move(fn));
    else if (fn)
        fn(true);
}

// The next character goes to the keyer's thread while the one before is
// keyed, so it starts on time; the rest stays in the buffer, where Backspace
// can still take it back.
void CWFrm::HandNext() {
    KeyerState& k = program_.keyer;
    if (handed_ || k.CWBuffer.isEmpty()) return;
    const QChar character = k.CWBuffer.front();
    k.CWBuffer.remove(0, 1);
    handed_ = true;
    handedText_ = character;
    UpdateKeyerSettings();
    sender_->Hand(message_, character);
}

void CWFrm::CharacterBegun(std::uint64_t message) {
    if (message != message_ || program_.keyer.CWSending != 1) return;
    handed_ = false;
    handedText_.clear();
    keying_ = true;
    HandNext();
}

void CWFrm::CharacterSent(std::uint64_t message, MorseKeyer::Result result) {
    KeyerState& k = program_.keyer;
    if (message != message_ || k.CWSending != 1) return;
    keying_ = false;
    switch (result) {
    case MorseKeyer::Result::PortFailed:
        // Timed without keying, "!" logged; told once, when the message
        // ends, not once per character.
        badPort_ = true;
        break;
    case MorseKeyer::Result::InvalidSpeed:
        badSpeed_ = true;
        sender_->TakeBack();
        handed_ = false;
        handedText_.clear();
        k.CWBuffer = QString();
        break;
    default: break;
    }
    if (Check1->isChecked() && !badSpeed_) SetStatusLine(handedText_ + k.CWBuffer);
    ContinueMessage();
}

// Between characters: text added to the buffer after the keyer's thread
// ran dry follows at once; with nothing left the message ends.
void CWFrm::ContinueMessage() {
    if (program_.keyer.CWSending != 1 || handed_ || keying_) return;
    if (!program_.keyer.CWBuffer.isEmpty())
        HandNext();
    else
        EndMessage();
}

void CWFrm::EndMessage() {
    KeyerState& k = program_.keyer;
    StartRepeat();
    k.CWSending = 0;
    portFailed_ = false;
    if (badSpeed_)
        SetStatusLine(QStringLiteral("Invalid CW speed"));
    else if (Check1->isChecked())
        SetStatusLine(k.KeyboardCWMode == 1
                          ? QStringLiteral("Keyboard CW Mode is on.  Press F12 to exit.")
                          : QString());
    const bool sent = !badPort_ && !badSpeed_;
    std::vector<std::function<void(bool)>> after;
    after.swap(afterMessage_);
    if (badPort_) ReportBadPort();
    for (const std::function<void(bool)>& fn : after)
        if (fn) fn(sent);
}

// Esc, Stop or a key that ends a repeat emptied the buffer: the character
// handed to follow the one being keyed is taken back too.
void CWFrm::BufferCleared() {
    if (program_.keyer.CWSending == 1) TakeBackNext();
}

// A character handed while none is keyed yet is the one under way; only one
// handed to follow it is taken back, if the keyer has not begun it.
bool CWFrm::TakeBackNext() {
    if (!keying_ || !handed_ || !sender_->TakeBack()) return false;
    handed_ = false;
    handedText_.clear();
    return true;
}

bool CWFrm::TakeBackLast() {
    KeyerState& k = program_.keyer;
    if (k.CWSending != 1) return false;
    if (!k.CWBuffer.isEmpty()) {
        k.CWBuffer.chop(1);
        return true;
    }
    return TakeBackNext();
}

void CWFrm::LoopCalibrated(std::optional<double> loops) {
    // A clock that shows no time passing leaves the first count.
    if (program_.keyer.CWLoopOffset == 0) program_.keyer.CWLoopOffset = loops.value_or(5000000);
    txtLoop->setText(logstore::FormatNumber(program_.keyer.CWLoopOffset));
}

void CWFrm::StartRepeat() {
    // An interval of 0 would fire at once and for ever: it means no repeat.
    if (program_.keyer.CWRepeatOn == 1 && tmrRepeat->interval() > 0) tmrRepeat->start();
}

void CWFrm::tmrRepeat_Timer() {
    tmrRepeat->stop();
    FKeyCW(112);
}

}  // namespace keyers
