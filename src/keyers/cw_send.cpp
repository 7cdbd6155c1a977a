// The sending side of the CW keyer window: the keyer's lines and controls,
// the function-key messages, the send buffer's drain and the F1 repeat.
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QTimer>

#include "keyers/cw_frm.h"
#include "keyers/cw_frm_keying.h"
#include "keyers/cw_macros.h"
#include "keyers/phone_frm.h"
#include "keyers/settings_file.h"
#include "keyers/winkey_hook.h"
#include "mainwindow/main_window.h"
#include "platform/dialogs.h"
#include "platform/modal.h"
#include "platform/parallel_port.h"
#include "platform/serial_port.h"
#include "program/program.h"

namespace keyers {

void CWFrm::InitKeyer() {
    lines_ = std::make_unique<Lines>(*this);
    controls_ = std::make_unique<Controls>(*this);
    keyer_ = std::make_unique<MorseKeyer>(program_.clock(), *lines_, *controls_);
}

MorseKeyer::Result CWFrm::Transmit(QChar CodeCharacter, MorseKeyer::Gap gap) {
    return keyer_->Transmit(CodeCharacter, gap);
}

void CWFrm::LogContact() {
    mainwindow::MainWindow* w = program_.mainWindow();
    if (w && w->entry().txtCall && !w->entry().txtCall->text().isEmpty()) w->entry().Mains();
}

void CWFrm::SetStatusLine(const QString& text) {
    if (mainwindow::MainWindow* w = program_.mainWindow()) w->entry().lblDialog->setText(text);
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
    k.CWBuffer.clear();
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

    k.CWSending = 1;
    bool badPort = false;
    bool badSpeed = false;
    while (!k.CWBuffer.isEmpty()) {
        const QChar character = k.CWBuffer.front();
        k.CWBuffer.remove(0, 1);
        // With more to send, the character leaves the end of its silence to
        // the events that run before the next one.
        const MorseKeyer::Gap gap =
            k.CWBuffer.isEmpty() ? MorseKeyer::Gap::Wait : MorseKeyer::Gap::Overlap;
        switch (Transmit(character, gap)) {
        case MorseKeyer::Result::PortFailed:
            // Timed without keying, "!" logged; told once, after the drain,
            // not once per character.
            badPort = true;
            break;
        case MorseKeyer::Result::InvalidSpeed:
            badSpeed = true;
            k.CWBuffer.clear();
            break;
        default: break;
        }
        if (Check1->isChecked() && !badSpeed) SetStatusLine(k.CWBuffer);
        QCoreApplication::processEvents();
    }
    // The message ends with the end of its last silence.
    keyer_->FinishGap();
    StartRepeat();
    k.CWSending = 0;
    if (badSpeed)
        SetStatusLine(QStringLiteral("Invalid CW speed"));
    else if (Check1->isChecked())
        SetStatusLine(k.KeyboardCWMode == 1
                          ? QStringLiteral("Keyboard CW Mode is on.  Press F12 to exit.")
                          : QString());
    if (badPort) ReportBadPort();
    return !badPort && !badSpeed;
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
