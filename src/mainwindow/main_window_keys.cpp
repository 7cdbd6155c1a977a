// The keyboard map of the main windows: Ctrl shortcuts that open the keyer
// windows, the keys that stop a repeating message, the function keys of the
// voice and CW keyers, the CW speed keys, F12 keyboard CW and the Esc chain.
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include "keyers/blind_frm.h"
#include "keyers/cw_frm.h"
#include "keyers/phone_frm.h"
#include "keyers/winkey_hook.h"
#include "mainwindow/main_window.h"
#include "platform/colors.h"
#include "platform/key_adapter.h"
#include "platform/modal.h"
#include "platform/same_text.h"
#include "program/program.h"
#include "rig/band_plan_chart.h"
#include "rig/rig_tune_frm.h"
#include "setup/key_filters.h"

namespace mainwindow {

namespace {

const QColor kKeyboardCWYellow(255, 255, 192);
constexpr int kPlaying = 526;

}  // namespace

void MainWindow::Form_KeyDown(int& KeyCode, int& Shift) {
    keyers::KeyerState& k = program_.keyer;
    // 1. Window shortcuts with Ctrl alone held. A key without Ctrl ends
    //    what an earlier Ctrl left pending, so the letter it types is kept.
    if (Shift != platform::vbCtrlMask) CtrlKeyPending = 0;
    if (Shift == platform::vbCtrlMask) {
        CtrlKeyPending = 1;
        switch (KeyCode) {
        case 'C':
        case 'S': {
            KeyCode = 0;
            keyers::CWFrm& cw = program_.cwFrm();
            cw.show();
            cw.setWindowState(cw.windowState() & ~Qt::WindowMinimized);
            return;
        }
        case 'D':
            KeyCode = 0;
            ShowSpotting();
            return;
        case 'B':
            KeyCode = 0;
            ShowSpectrumMap();
            return;
        case 'G':
            KeyCode = 0;
            rig::ShowRigTune(program_);
            return;
        case 'F':
            KeyCode = 0;
            rig::ShowPrivilegesChart(program_);
            return;
        case 'R':
            KeyCode = 0;
            mnuRigInterface_Click();
            return;
        case 'P': {
            KeyCode = 0;
            keyers::PhoneFrm& phone = program_.phoneFrm();
            phone.show();
            phone.setWindowState(phone.windowState() & ~Qt::WindowMinimized);
            return;
        }
        default: break;
        }
    }

    // 2. Any other key stops a repeating message.
    if (k.CWRepeatOn == 1) {
        if (k.WKOpen != 0 && program_.winKey) program_.winKey->wk_clearbuf();
        k.CWBuffer.clear();
        k.CWRepeatOn = 0;
        if (program_.CWFrmLoaded()) program_.cwFrm().tmrRepeat->stop();
    }
    if (k.VoiceRepeatOn == 1) {
        k.VoiceRepeatOn = 0;
        if (program_.PhoneFrmLoaded()) program_.phoneFrm().tmrRepeat->stop();
    }

    // 3. Phone: the voice messages.
    if (platform::SameText(program_.station.CurrentMode, QStringLiteral("PH"))) {
        if (KeyCode == 121)
            KeyCode = 0;
        else if (KeyCode >= 112 && KeyCode <= 120)
            program_.phoneFrm().FKeyPhone(KeyCode);
        return;
    }

    // 4. CW with a keying line: speed keys, messages and keyboard CW.
    if (!platform::SameText(program_.station.CurrentMode, QStringLiteral("CW")) ||
        k.CWKeyingLine == 0)
        return;
    if (KeyCode == platform::vbKeyDown || KeyCode == platform::vbKeyUp) {
        keyers::CWFrm& cw = program_.cwFrm();
        if (KeyCode == platform::vbKeyDown)
            cw.UpDown1_DownClick();
        else
            cw.UpDown1_UpClick();
        entry_->lblDialog->setText(cw.Text11->text() + QStringLiteral(" WPM"));
        KeyCode = 0;
        return;
    }
    if (KeyCode < 112 || KeyCode > 123) return;
    if (KeyCode == 121) KeyCode = 124;
    if (KeyCode == 123) {
        if (k.KeyboardCWMode == 1) {
            k.KeyboardCWMode = 0;
            entry_->lblDialog->setText(QString());
            platform::SetBackColor(entry_->lblDialog, entry::kStatusTeal);
        } else {
            k.KeyboardCWMode = 1;
            entry_->lblDialog->setText(side_ == Side::In
                                   ? QStringLiteral("Press F12 to exit keyboard CW mode.")
                                   : QStringLiteral("Keyboard CW mode is ON!  Press F12 to exit."));
            platform::SetBackColor(entry_->lblDialog, kKeyboardCWYellow);
        }
        return;
    }
    program_.cwFrm().FKeyCW(KeyCode);
}

void MainWindow::Form_KeyPress(int& KeyAscii) {
    keyers::KeyerState& k = program_.keyer;
    // 1. The control character of a key pressed with Ctrl alone held; a
    //    letter typed after Ctrl was let go goes through.
    if (CtrlKeyPending == 1) {
        CtrlKeyPending = 0;
        if (KeyAscii > 0 && KeyAscii < 32) {
            KeyAscii = 0;
            return;
        }
    }
    // 2. The files cannot carry a double quote; the apostrophe goes with it.
    if (KeyAscii == '\'' || KeyAscii == '"') {
        KeyAscii = 0;
        return;
    }
    // 3. to 6. The Esc chain.
    if (KeyAscii == platform::vbKeyEscape) {
        if (platform::SameText(program_.station.CurrentMode, QStringLiteral("PH")) &&
            program_.PhoneFrmLoaded() && program_.phoneFrm().MMControl1.Mode() == kPlaying) {
            program_.phoneFrm().MMControl1.Stop();
            KeyAscii = 0;
            return;
        }
        if (k.CWKeyingLine == 5 && k.WKOpen != 0 && program_.winKey) {
            k.WKStatus = program_.winKey->wk_getstatus();
            // A message may wait for the device's open, with nothing in the
            // device yet: it is stopped all the same.
            if (k.WKStatus > 0 || (k.WKOpen == keyers::kWKOpening && !k.CWBuffer.isEmpty())) {
                program_.winKey->wk_clearbuf();
                k.CWBuffer.clear();
                KeyAscii = 0;
                return;
            }
        }
        if (k.CWSending == 0)
            entry_->ClearEntry();
        else
            k.CWBuffer.clear();
        KeyAscii = 0;
        return;
    }
    // 7. The WinKeyer's status, while it is open.
    if (k.WKOpen != 0 && program_.winKey) k.WKStatus = program_.winKey->wk_getstatus();
    // 8. and 9. Backspace in keyboard CW takes back the last character not
    //    yet sent.
    if (KeyAscii == platform::vbKeyBack && k.KeyboardCWMode == 1) {
        if (k.WKStatus > 0 && k.WKOpen != 0 && program_.winKey) {
            // The last character typed still waits in the buffer while the
            // buffer holds any: the device holds only earlier ones.
            if (!k.CWBuffer.isEmpty())
                k.CWBuffer.chop(1);
            else
                program_.winKey->wk_backspace();
            KeyAscii = 0;
            return;
        }
        if (k.CWSending == 1 && program_.CWFrmLoaded() && program_.cwFrm().TakeBackLast()) {
            KeyAscii = 0;
            return;
        }
    }
    // 10. Keyboard CW: every character is taken; only printable ones are
    //     sent, since a control character would reach a WinKeyer as a
    //     command.
    if (platform::SameText(program_.station.CurrentMode, QStringLiteral("CW")) &&
        k.KeyboardCWMode == 1) {
        setup::Cap(KeyAscii);
        const int character = KeyAscii;
        KeyAscii = 0;
        if (character < 0x20 || character > 0x7E) return;
        k.CWBuffer += QChar(static_cast<char16_t>(character));
        if (k.CWSending == 0) program_.cwFrm().LoopThroughCWBuffer();
    }
}

void MainWindow::mnuCW_Click() { platform::ShowModal(program_.cwFrm()); }

void MainWindow::mnuVoice_Click() { platform::ShowModal(program_.phoneFrm()); }

void MainWindow::mnuBlind_Click() { program_.blindFrm().show(); }

}  // namespace mainwindow
