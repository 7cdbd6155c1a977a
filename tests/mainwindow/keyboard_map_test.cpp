// The keyboard map of both main windows as the operator meets it: speed
// keys, F12 keyboard CW, the function keys in CW and PH mode, the Esc chain,
// the quote filter, the Ctrl shortcuts and the keyer menu items.
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "keyers/blind_frm.h"
#include "keyers/cw_frm.h"
#include "keyers/phone_frm.h"
#include "platform/colors.h"
#include "support/cw_fixture.h"
#include "support/qstring_printer.h"
#include "support/wave_files.h"

using testing_support::CWFixture;

namespace {

class KeyboardMap : public testing::TestWithParam<int> {};

// Hides `window` as soon as it shows, so that a modal display returns.
void HideWhenShown(QWidget* window, bool* shown) {
    auto* watch = new QTimer(window);
    QObject::connect(watch, &QTimer::timeout, window, [window, shown, watch] {
        if (!window->isVisible()) return;
        *shown = true;
        window->hide();
        watch->deleteLater();
    });
    watch->start(5);
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(BothWindows, KeyboardMap, testing::Values(0, 1),
                         [](const testing::TestParamInfo<int>& side) {
                             return side.param == 0 ? std::string("Infrm") : std::string("Outfrm");
                         });

TEST_P(KeyboardMap, ArrowKeysStepTheSpeedAndShowIt) {
    CWFixture c(GetParam());
    c.cw->Text11->setText("24");
    c.Key(Qt::Key_Up);
    EXPECT_EQ(c.w->entry().lblDialog->text(), "25 WPM");
    EXPECT_EQ(c.cw->Text11->text(), "25");
    c.Key(Qt::Key_Down);
    c.Key(Qt::Key_Down);
    EXPECT_EQ(c.w->entry().lblDialog->text(), "23 WPM");

    // Without a keying line the arrows are left alone.
    c.cw->Option4->setChecked(true);
    c.Key(Qt::Key_Up);
    EXPECT_EQ(c.cw->Text11->text(), "23");
}

TEST_P(KeyboardMap, F12SwitchesKeyboardCWWithTheWindowsTextAndColour) {
    CWFixture c(GetParam());
    c.Key(Qt::Key_F12);
    EXPECT_EQ(c.program().keyer.KeyboardCWMode, 1);
    EXPECT_EQ(c.w->entry().lblDialog->text(), GetParam() == 0
                                          ? "Press F12 to exit keyboard CW mode."
                                          : "Keyboard CW mode is ON!  Press F12 to exit.");
    EXPECT_EQ(platform::BackColor(c.w->entry().lblDialog), QColor(255, 255, 192));

    // Typed characters are sent, upper-cased, and never reach the entry line;
    // Enter and quotes send nothing and log nothing.
    c.Type("cq");
    c.Key(Qt::Key_Return);
    c.Type("\"'");
    c.WaitSent();
    EXPECT_EQ(c.Sent(), "CQ");
    EXPECT_TRUE(c.w->entry().txtCall->text().isEmpty());
    EXPECT_TRUE(c.program().keyer.CWBuffer.isEmpty());
    EXPECT_EQ(c.program().log.QSOCount, 0);
    EXPECT_EQ(c.w->entry().lblDialog->text(), "Keyboard CW Mode is on.  Press F12 to exit.");

    c.Key(Qt::Key_F12);
    EXPECT_EQ(c.program().keyer.KeyboardCWMode, 0);
    EXPECT_EQ(c.w->entry().lblDialog->text(), "");
    EXPECT_EQ(platform::BackColor(c.w->entry().lblDialog), QColor(0, 192, 192));
    c.Type("k");
    EXPECT_EQ(c.w->entry().txtCall->text(), "K");
}

TEST_P(KeyboardMap, BackspaceInKeyboardCWTakesBackTheLastWaitingCharacter) {
    CWFixture c(GetParam());
    c.Key(Qt::Key_F12);
    c.cw->Text1->setText("ABC");
    QTimer::singleShot(0, c.w, [&] { c.Key(Qt::Key_Backspace); });
    c.Key(Qt::Key_F1);
    c.WaitSent();
    EXPECT_EQ(c.Sent(), "AB");
}

// The software keyer holds the character that follows the one being keyed;
// while it has not begun, it is the last one waiting, and Backspace takes it
// back (the keyer is held within the A here).
TEST_P(KeyboardMap, BackspaceInKeyboardCWTakesBackTheCharacterHandedToFollow) {
    CWFixture c(GetParam());
    c.Key(Qt::Key_F12);
    c.cw->Text1->setText("AB");
    const std::int64_t start = c.f.t.clock.monotonic;
    c.f.t.clock.HoldSleepsFrom(start + 60);
    c.Key(Qt::Key_F1);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return c.f.t.clock.Held() && c.program().keyer.CWBuffer.isEmpty(); }, 5000));
    c.Key(Qt::Key_Backspace);
    c.f.t.clock.ReleaseSleeps();
    c.WaitSent();
    EXPECT_EQ(c.Sent(), "A");
}

TEST_P(KeyboardMap, FunctionKeysSendInCWModeAndPlayInPhoneMode) {
    CWFixture c(GetParam());
    c.cw->Text1->setText("CQ");
    c.cw->Text12->setText("TEN");
    c.Key(Qt::Key_F1);
    c.WaitSent();
    EXPECT_EQ(c.Sent(), "CQ");
    c.Forget();
    c.Key(Qt::Key_F10);
    c.WaitSent();
    EXPECT_EQ(c.Sent(), "TEN");

    const QString wave = c.f.t.workFile("cq.wav");
    testing_support::WriteWaveOfMs(wave, 800);
    c.program().phoneFrm().Text1->setText(wave);
    c.w->mnuSSB_Click();
    c.Forget();
    c.Key(Qt::Key_F1);
    EXPECT_EQ(c.Writes(), 0u);
    EXPECT_EQ(c.f.t.sound.paths(), QStringList{wave});
    EXPECT_EQ(c.program().phoneFrm().MMControl1.Mode(), 526);

    // Esc stops the message and leaves the entry line alone.
    c.w->entry().txtCall->setText("W9XYZ");
    c.Key(Qt::Key_Escape);
    EXPECT_NE(c.program().phoneFrm().MMControl1.Mode(), 526);
    EXPECT_EQ(c.w->entry().txtCall->text(), "W9XYZ");
    // Pressed again, with nothing playing, it clears the entry line.
    c.Key(Qt::Key_Escape);
    EXPECT_EQ(c.w->entry().txtCall->text(), "");

    // F12 and the arrows are not for phone.
    c.Key(Qt::Key_F12);
    EXPECT_EQ(c.program().keyer.KeyboardCWMode, 0);
}

TEST_P(KeyboardMap, QuotesNeverReachTheCallBox) {
    CWFixture c(GetParam());
    c.Type("w\"9'x");
    EXPECT_EQ(c.w->entry().txtCall->text(), "W9X");
}

TEST_P(KeyboardMap, CtrlShortcutsOpenTheKeyerWindowsAndKeepTheNextLetter) {
    CWFixture c(GetParam());
    c.Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(c.cw->isVisible());
    c.cw->hide();
    c.w->activateWindow();
    c.Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(c.cw->isVisible());
    c.cw->hide();
    c.w->activateWindow();
    c.Key(Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(c.program().phoneFrm().isVisible());
    c.program().phoneFrm().hide();
    c.w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(c.w));
    c.w->entry().txtCall->setFocus();

    // Ctrl pressed and let go: the next letter is typed as usual.
    c.Key(Qt::Key_Control, Qt::ControlModifier);
    c.Type("w");
    EXPECT_EQ(c.w->entry().txtCall->text(), "W");
}

TEST_P(KeyboardMap, KeyerMenuItemsOpenTheirWindows) {
    CWFixture c(GetParam());
    bool shown = false;
    HideWhenShown(c.cw, &shown);
    c.w->mnuCW->trigger();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(c.program().CWFrmLoaded());  // stays loaded

    shown = false;
    HideWhenShown(&c.program().phoneFrm(), &shown);
    c.w->mnuVoice->trigger();
    EXPECT_TRUE(shown);

    c.w->mnuBlind->trigger();
    EXPECT_TRUE(c.program().blindFrm().isVisible());
}
