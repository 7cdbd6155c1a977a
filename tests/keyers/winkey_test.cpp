// The WinKeyer over a real pseudo-terminal pair, against a device simulator
// written from the device's serial protocol: opening, the settings, a
// message handed over character by character, Esc and the give-up of a
// device that stops answering, and WK.txt.
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>
#include <optional>

#include "keyers/code_practice.h"
#include "keyers/cw_frm.h"
#include "keyers/keyer_device.h"
#include "keyers/winkey_frm.h"
#include "mainwindow/main_window.h"
#include "platform/key_adapter.h"
#include "support/main_window_fixture.h"
#include "support/pty_pair.h"
#include "support/test_program.h"
#include "support/winkey_simulator.h"

using keyers::frmWinKey;
using keyers::WinKeyLayer;
using testing_support::MainWindowFixture;
using testing_support::PtyPair;
using testing_support::TestProgram;
using testing_support::WinKeySimulator;

namespace {

constexpr int kPort = 5;

TestProgram::Options RealClock(platform::Clock& clock) {
    TestProgram::Options options;
    options.clock = &clock;
    return options;
}

WinKeyLayer& Layer(Program& program) { return static_cast<WinKeyLayer&>(*program.winKey); }

// The WinKeyer window with its port box set to `port`, and the CW speed 18.
frmWinKey& WindowOnPort(TestProgram& t, int port) {
    QDir().mkpath(t->folders.DataFolder);
    t->cwFrm().Text11->setText("18");
    frmWinKey& w = Layer(t.program()).window();
    w.txtWKComPort->setText(QString::number(port));
    w.txtWKComPort_LostFocus();
    return w;
}

// Waits until the simulator has been told `count` commands.
QStringList CommandsAfter(const WinKeySimulator& sim, qsizetype count) {
    for (int i = 0; i < 500 && sim.Commands().size() < count; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return sim.Commands();
}

// Lets events run until the WinKeyer's open has ended: it goes on from the
// device's answers after the call that started it has returned.
bool Opened(Program& p, int timeoutMs = 5000) {
    return QTest::qWaitFor([&p] { return !Layer(p).device().Opening(); }, timeoutMs);
}

// Lets events run until the WinKeyer's sender has drained CWBuffer: the
// sender goes on from timers after the call that started it has returned.
bool WaitUntilSent(Program& p, int timeoutMs = 15000) {
    return QTest::qWaitFor([&p] { return p.keyer.WKSending == 0; }, timeoutMs);
}

// A program with a simulator on the WinKeyer's port that keys each
// character for `charMs`, and the WinKeyer window set to that port.
struct WinKeyOnPort {
    explicit WinKeyOnPort(int charMs) {
        EXPECT_TRUE(pty.ok());
        pty.MapAsPort(t.work(), kPort);
        sim.emplace(pty.masterFd(), charMs);
        w = &WindowOnPort(t, kPort);
    }
    TestProgram t;
    PtyPair pty;
    std::optional<WinKeySimulator> sim;
    frmWinKey* w = nullptr;
};

// A loaded main window on the real clock, with the WinKeyer chosen and a
// simulator on its port that keys each character for `charMs`.
struct WinKeyOnMainWindow {
    explicit WinKeyOnMainWindow(int charMs) : f(0, RealClock(clock)) {
        EXPECT_TRUE(pty.ok());
        pty.MapAsPort(f.t.work(), kPort);
        sim.emplace(pty.masterFd(), charMs);
        f.WriteLog({});
        w = &f.Load();
        WindowOnPort(f.t, kPort);
        f.program().keyer.CWKeyingLine = 5;
    }
    platform::SystemClock clock;
    MainWindowFixture f;
    PtyPair pty;
    std::optional<WinKeySimulator> sim;
    mainwindow::MainWindow* w = nullptr;
};

}  // namespace

TEST(WinKey, OpenResultTexts) {
    const std::pair<int, const char*> cases[] = {
        {0, "WK Success!"},       {-1, "No Echo Response"},  {-2, "Echo Mismatch"},
        {-3, "No Open Response"}, {-4, "Com Open Failed"},   {-5, "Get Com ST Failed"},
        {-6, "Set Com ST Failed"}, {-7, ""},                 {-8, "WK Already Open"},
        {-9, "WK Not Open"},      {1, ""},
    };
    for (const auto& [code, text] : cases) EXPECT_EQ(keyers::WinKeyOpenStatusText(code), text);
}

TEST(WinKey, OpensPushesTheSettingsAndCloses) {
    TestProgram t;
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    pty.MapAsPort(t.work(), kPort);
    WinKeySimulator sim(pty.masterFd(), 5);
    frmWinKey& w = WindowOnPort(t, kPort);

    w.cmdOpenWinkey_Click();
    ASSERT_TRUE(Opened(t.program()));
    EXPECT_TRUE(t.dialogs.shown.empty());
    EXPECT_EQ(t->keyer.WKOpen, WinKeySimulator::kVersion);
    EXPECT_EQ(w.lblOpenStatus->text(), "WK Success!");
    EXPECT_EQ(w.lblVersion->text(), "Version # 23");
    // Echo-back is always on, whatever keyer mode is chosen.
    EXPECT_EQ(CommandsAfter(sim, 8),
              (QStringList{"open", "mode 4", "speed 18", "weight 50", "leadtail 0 0", "ratio 50",
                           "pins 6", "mode 4"}));

    // The ratio goes out from 32 to 67; a box outside that range keeps its
    // text and sends nothing; an empty box becomes "50".
    for (const char* ratio : {"31", "32", "67", "68", ""}) {
        w.txtRatio->setText(ratio);
        w.txtRatio_LostFocus();
    }
    EXPECT_EQ(w.txtRatio->text(), "50");
    w.txtWKWPM->setText("30");
    w.txtWKWPM_LostFocus();
    w.optIambicA->setChecked(true);
    EXPECT_EQ(CommandsAfter(sim, 17).mid(8),
              (QStringList{"ratio 32", "ratio 67", "speed 30", "speed 30", "weight 50",
                           "leadtail 0 0", "ratio 50", "pins 6", "mode 20"}));

    // Opening again is refused without a box.
    w.cmdOpenWinkey_Click();
    EXPECT_EQ(w.lblOpenStatus->text(), "WK Already Open");
    EXPECT_TRUE(t.dialogs.shown.empty());

    w.cmdCloseWinkey_Click();
    EXPECT_EQ(t->keyer.WKOpen, 0);
    EXPECT_EQ(w.lblOpenStatus->text(), "Closed");
    EXPECT_EQ(w.lblVersion->text(), "Version #");
    EXPECT_EQ(t->winKey->wk_getstatus(), 0);
    EXPECT_EQ(CommandsAfter(sim, 18).last(), "close");
    // Taking back a character of a closed device sends nothing.
    t->winKey->wk_backspace();
    EXPECT_EQ(sim.Commands().size(), 18);
}

TEST(WinKey, AFailedOpenIsReportedAndKeepsItClosed) {
    struct Case {
        const char* name;
        int port;
        bool device;  // a simulator on the port
        const char* status;
    };
    for (const Case& c : {Case{"no port", 200, false, "Com Open Failed"},
                          Case{"silent device", kPort, true, "No Echo Response"}}) {
        SCOPED_TRACE(c.name);
        TestProgram t;
        PtyPair pty;
        ASSERT_TRUE(pty.ok());
        if (c.device) pty.MapAsPort(t.work(), c.port);
        std::optional<WinKeySimulator> sim;
        if (c.device) {
            sim.emplace(pty.masterFd(), 5);
            sim->StopAnswering();
        }
        frmWinKey& w = WindowOnPort(t, c.port);
        // A silent device is waited for a second on the clock, no more.
        auto waitOutSilence = [&] {
            if (!c.device) return;
            t.clock.AdvanceMs(keyers::KeyerDevice::kAnswerTimeoutMs - 1);
            EXPECT_TRUE(Layer(t.program()).device().Opening());
            EXPECT_TRUE(t.dialogs.shown.empty());
            t.clock.AdvanceMs(1);
        };
        w.cmdOpenWinkey_Click();
        waitOutSilence();
        ASSERT_EQ(t.dialogs.shown.size(), 1u);
        EXPECT_EQ(t.dialogs.shown[0].title, "Unable to establish connection with Winkey.");
        EXPECT_EQ(t.dialogs.shown[0].text,
                  QStringLiteral("Unable to establish connection with WinKey on com port %1.  "
                                 "Please check to make sure that you have specified the correct "
                                 "port and that the Winkey device is properly connected.")
                      .arg(c.port));
        EXPECT_EQ(w.lblOpenStatus->text(), c.status);
        EXPECT_EQ(w.lblVersion->text(), "Version #");
        EXPECT_EQ(t->keyer.WKOpen, 0);

        // A message for a device that does not open is dropped.
        t.dialogs.shown.clear();
        t->keyer.CWBuffer = "TEST";
        t->winKey->WKTransmit();
        waitOutSilence();
        EXPECT_TRUE(t->keyer.CWBuffer.isEmpty());
        EXPECT_EQ(t->keyer.WKSending, 0);
        EXPECT_EQ(t->keyer.WKOpen, 0);
        EXPECT_EQ(t.dialogs.shown.size(), 1u);
    }
}

// Open returns before the device has answered: the open goes on from the
// device's answers. A message asked for meanwhile waits for the open and
// follows the settings; a second Open meanwhile sends nothing more.
TEST(WinKey, TheOpenGoesOnFromTheDevicesAnswers) {
    WinKeyOnPort o(5);
    TestProgram& t = o.t;
    frmWinKey& w = *o.w;
    o.sim->DelayOpenAnswers(100);
    w.cmdOpenWinkey_Click();
    EXPECT_TRUE(Layer(t.program()).device().Opening());
    EXPECT_EQ(t->keyer.WKOpen, keyers::kWKOpening);
    EXPECT_EQ(w.lblOpenStatus->text(), "Closed");

    t->keyer.CWBuffer = "TEST";
    t->winKey->WKTransmit();
    EXPECT_EQ(t->keyer.WKSending, 1);
    EXPECT_EQ(t->keyer.CWBuffer, "TEST");
    w.cmdOpenWinkey_Click();

    ASSERT_TRUE(WaitUntilSent(t.program()));
    EXPECT_TRUE(t.dialogs.shown.empty());
    EXPECT_EQ(t->keyer.WKOpen, WinKeySimulator::kVersion);
    EXPECT_EQ(w.lblOpenStatus->text(), "WK Success!");
    EXPECT_EQ(w.lblVersion->text(), "Version # 23");
    ASSERT_TRUE(o.sim->WaitForKeyed(4, 5000)) << o.sim->Keyed().toStdString();
    EXPECT_EQ(o.sim->Keyed(), "TEST");
    EXPECT_EQ(CommandsAfter(*o.sim, 8),
              (QStringList{"open", "mode 4", "speed 18", "weight 50", "leadtail 0 0", "ratio 50",
                           "pins 6", "mode 4"}));
}

// Close while the open waits for the device ends it: no answer is reported
// later, and a message that waited for it is dropped.
TEST(WinKey, CloseEndsAnOpenUnderWay) {
    WinKeyOnPort o(5);
    TestProgram& t = o.t;
    o.sim->StopAnswering();
    frmWinKey& w = *o.w;
    t->keyer.CWBuffer = "TEST";
    t->winKey->WKTransmit();
    ASSERT_TRUE(Layer(t.program()).device().Opening());
    w.cmdCloseWinkey_Click();
    EXPECT_FALSE(Layer(t.program()).device().Opening());
    EXPECT_EQ(t->keyer.WKOpen, 0);
    EXPECT_EQ(t->keyer.WKSending, 0);
    EXPECT_TRUE(t->keyer.CWBuffer.isEmpty());
    t.clock.AdvanceMs(keyers::KeyerDevice::kAnswerTimeoutMs * 3);
    EXPECT_TRUE(t.dialogs.shown.empty());
    EXPECT_EQ(w.lblOpenStatus->text(), "Closed");
}

// A message reaches the device one character at a time, never more than four
// waiting; only printable characters are sent and "!" is not sent at all.
TEST(WinKey, SendsAMessageCharacterByCharacter) {
    platform::SystemClock realClock;
    TestProgram t(RealClock(realClock));
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    pty.MapAsPort(t.work(), kPort);
    WinKeySimulator sim(pty.masterFd(), 30);
    WindowOnPort(t, kPort);

    t->keyer.CWBuffer = QStringLiteral("CQ CQ\x01 TEST\t DE W1AW\u00e9 5NN TU!");
    t->winKey->WKTransmit();  // opens the device on the way
    ASSERT_TRUE(WaitUntilSent(t.program()));
    EXPECT_EQ(t->keyer.WKOpen, WinKeySimulator::kVersion);
    EXPECT_TRUE(t->keyer.CWBuffer.isEmpty());
    const QString expected = "CQ CQ TEST DE W1AW 5NN TU";
    ASSERT_TRUE(sim.WaitForKeyed(static_cast<int>(expected.size()), 5000)) << sim.Keyed().toStdString();
    EXPECT_EQ(sim.Keyed(), expected);
    EXPECT_LE(sim.MaxWaiting(), 4);
    EXPECT_GE(sim.MaxWaiting(), 3);  // the sender runs ahead, as it should
    // No status request: the count comes from the echoes.
    for (const QString& command : sim.Commands()) EXPECT_FALSE(command.startsWith("command"));
    for (int i = 0; i < 500 && t->winKey->wk_getstatus() != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_EQ(t->winKey->wk_getstatus(), 0);
}

// Esc in the main window while a message goes out clears the device's buffer
// and the send buffer; the sender returns.
TEST(WinKey, EscClearsTheDeviceBuffer) {
    platform::SystemClock realClock;
    MainWindowFixture f(0, RealClock(realClock));
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    pty.MapAsPort(f.t.work(), kPort);
    WinKeySimulator sim(pty.masterFd(), 40);
    f.WriteLog({});
    mainwindow::MainWindow& w = f.Load();
    WindowOnPort(f.t, kPort);
    f.program().station.CurrentMode = "CW";
    f.program().keyer.CWKeyingLine = 5;

    f.program().keyer.CWBuffer = "CQ CQ CQ TEST DE W1AW W1AW TEST";
    QTimer::singleShot(200, &w, [&w] {
        int esc = platform::vbKeyEscape;
        w.Form_KeyPress(esc);
    });
    f.program().winKey->WKTransmit();
    ASSERT_TRUE(WaitUntilSent(f.program()));
    EXPECT_TRUE(f.program().keyer.CWBuffer.isEmpty());
    EXPECT_TRUE(CommandsAfter(sim, 9).contains("clear"));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_LT(sim.Keyed().size(), 10);
    EXPECT_EQ(f.program().keyer.WKOpen, WinKeySimulator::kVersion);
}

// Code practice through a WinKeyer whose open is still under way waits for
// it; a device that never answers is reported once and the run ends there,
// with nothing listed as sent.
TEST(WinKey, CodePracticeWaitsForTheOpenAndStopsWhenItFails) {
    WinKeyOnPort o(5);
    TestProgram& t = o.t;
    o.sim->StopAnswering();
    t->cwFrm().Option5->setChecked(true);
    ASSERT_EQ(t->keyer.CWKeyingLine, 5);
    keyers::frmCodePractice p(t.program());
    p.Text1->setPlainText("CQ TEST");
    p.Command3->click();
    ASSERT_TRUE(Layer(t.program()).device().Opening());
    QTest::qWait(50);
    t.clock.AdvanceMs(keyers::KeyerDevice::kAnswerTimeoutMs);
    EXPECT_TRUE(QTest::qWaitFor([&] { return t->keyer.PracticeSending == 0; }, 5000));
    QTest::qWait(50);
    t.clock.AdvanceMs(keyers::KeyerDevice::kAnswerTimeoutMs);
    QTest::qWait(50);
    EXPECT_EQ(t.dialogs.shown.size(), 1u);
    EXPECT_EQ(p.Text2->toPlainText(), "");
    EXPECT_EQ(t->keyer.PracticeSending, 0);
    EXPECT_EQ(t->keyer.WKOpen, 0);
}

// Esc while a message waits for the WinKeyer's open stops it: nothing is
// keyed once the device answers.
TEST(WinKey, EscStopsAMessageThatWaitsForTheOpen) {
    WinKeyOnMainWindow o(5);
    Program& p = o.f.program();
    p.station.CurrentMode = "CW";
    o.sim->DelayOpenAnswers(100);
    Layer(p).window().cmdOpenWinkey_Click();
    ASSERT_TRUE(Layer(p).device().Opening());
    p.keyer.CWBuffer = "TEST";
    p.winKey->WKTransmit();
    int esc = platform::vbKeyEscape;
    o.w->Form_KeyPress(esc);
    EXPECT_TRUE(p.keyer.CWBuffer.isEmpty());
    ASSERT_TRUE(Opened(p));
    ASSERT_TRUE(WaitUntilSent(p));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(o.sim->Keyed(), "");
    EXPECT_EQ(p.keyer.WKOpen, WinKeySimulator::kVersion);
}

// F3 through the WinKeyer: the key handler hands the message to the sender
// and returns before it has gone; a key typed meanwhile reaches the call box
// at once, and the whole message still reaches the device, in order.
TEST(WinKey, TheFKeyReturnsBeforeTheMessageHasGone) {
    WinKeyOnMainWindow o(40);
    Program& p = o.f.program();
    const QString message = "CQ TEST DE W1AW";
    p.cwFrm().Text3->setText(message);
    p.station.CurrentMode = "CW";
    mainwindow::MainWindow& w = *o.w;

    int f3 = 114;
    int shift = 0;
    w.Form_KeyDown(f3, shift);
    EXPECT_EQ(p.keyer.WKSending, 1);
    EXPECT_FALSE(p.keyer.CWBuffer.isEmpty());

    w.entry().txtCall->setFocus();
    o.f.Type("K1");
    EXPECT_EQ(w.entry().txtCall->text(), "K1");
    EXPECT_EQ(p.keyer.WKSending, 1);  // typed while the message went out

    ASSERT_TRUE(WaitUntilSent(p));
    ASSERT_TRUE(o.sim->WaitForKeyed(static_cast<int>(message.size()), 5000)) << o.sim->Keyed().toStdString();
    EXPECT_EQ(o.sim->Keyed(), message);
    EXPECT_LE(o.sim->MaxWaiting(), 4);
    EXPECT_EQ(w.entry().txtCall->text(), "K1");
}

// Code practice hands its text to the WinKeyer a character at a time while
// the sender still drains the ones before: every character is keyed, in order.
TEST(WinKey, CodePracticeKeysEveryCharacter) {
    WinKeyOnMainWindow o(5);
    Program& p = o.f.program();
    keyers::frmCodePractice practice(p);
    practice.Text1->setPlainText("CQ TEST DE W1AW");
    practice.Command3_Click();
    ASSERT_TRUE(WaitUntilSent(p));
    ASSERT_TRUE(o.sim->WaitForKeyed(15, 5000)) << o.sim->Keyed().toStdString();
    EXPECT_EQ(o.sim->Keyed(), "CQ TEST DE W1AW");
    EXPECT_EQ(practice.Text2->toPlainText(), "CQ TEST DE W1AW");
}

// A device that stops keying is given up after 10 s without progress: closed,
// the buffer emptied and the operator told.
TEST(WinKey, GivesUpOnADeviceThatStopsAnswering) {
    MainWindowFixture f(0);
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    pty.MapAsPort(f.t.work(), kPort);
    WinKeySimulator sim(pty.masterFd(), 5);
    f.WriteLog({});
    mainwindow::MainWindow& w = f.Load();
    frmWinKey& wk = WindowOnPort(f.t, kPort);
    wk.cmdOpenWinkey_Click();
    ASSERT_TRUE(Opened(f.program()));
    ASSERT_EQ(f.program().keyer.WKOpen, WinKeySimulator::kVersion);
    sim.StopAnswering();

    f.program().keyer.CWBuffer = "CQ CQ CQ TEST";
    const std::int64_t start = f.t.clock.monotonic;
    f.program().winKey->WKTransmit();
    const std::int64_t waited = f.t.clock.monotonic - start;
    EXPECT_GE(waited, WinKeyLayer::kGiveUpMs);
    EXPECT_LT(waited, WinKeyLayer::kGiveUpMs + 1000);
    EXPECT_TRUE(f.program().keyer.CWBuffer.isEmpty());
    EXPECT_EQ(f.program().keyer.WKOpen, 0);
    EXPECT_EQ(f.program().keyer.WKSending, 0);
    EXPECT_EQ(f.program().winKey->wk_getstatus(), 0);
    EXPECT_EQ(wk.lblOpenStatus->text(), "Closed");
    EXPECT_EQ(w.entry().lblDialog->text(), "WinKey not responding");
}

// The window's close box closes the device, as Close does; the next message
// opens it again.
TEST(WinKey, TheCloseBoxClosesTheDevice) {
    WinKeyOnPort o(5);
    TestProgram& t = o.t;
    WinKeySimulator& sim = *o.sim;
    frmWinKey& w = *o.w;
    w.show();
    w.cmdOpenWinkey_Click();
    ASSERT_TRUE(Opened(t.program()));
    ASSERT_EQ(t->keyer.WKOpen, WinKeySimulator::kVersion);

    w.close();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(t->keyer.WKOpen, 0);
    EXPECT_EQ(w.lblOpenStatus->text(), "Closed");
    EXPECT_EQ(CommandsAfter(sim, 9).last(), "close");

    t->keyer.CWBuffer = "E";
    t->winKey->WKTransmit();
    ASSERT_TRUE(WaitUntilSent(t.program()));
    EXPECT_TRUE(sim.WaitForKeyed(1, 2000));
    EXPECT_EQ(t->keyer.WKOpen, WinKeySimulator::kVersion);
    EXPECT_TRUE(t.dialogs.shown.empty());
}

// Backspace in keyboard CW while the WinKeyer is busy takes back the last
// character typed: from the send buffer while characters still wait there,
// from the device only when the buffer has handed everything over.
TEST(WinKey, BackspaceTakesBackTheLastCharacterTyped) {
    WinKeyOnMainWindow o(60);
    WinKeySimulator& sim = *o.sim;
    mainwindow::MainWindow& w = *o.w;
    Program& p = o.f.program();
    p.station.CurrentMode = "CW";
    p.keyer.KeyboardCWMode = 1;

    // Typed ahead: the device holds what it was handed, the rest waits.
    p.keyer.CWBuffer = "ABCDEFGH";
    bool pressed = false;
    QTimer backspace;
    QObject::connect(&backspace, &QTimer::timeout, &w, [&] {
        if (pressed || p.keyer.CWBuffer.isEmpty() || p.winKey->wk_getstatus() == 0) return;
        pressed = true;
        int key = platform::vbKeyBack;
        w.Form_KeyPress(key);
        EXPECT_EQ(key, 0);
    });
    backspace.start(0);
    p.cwFrm().LoopThroughCWBuffer();
    ASSERT_TRUE(WaitUntilSent(p));
    backspace.stop();
    EXPECT_TRUE(pressed);
    ASSERT_TRUE(sim.WaitForKeyed(7, 5000)) << sim.Keyed().toStdString();
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_EQ(sim.Keyed(), "ABCDEFG");

    // Nothing left to hand over: the device drops its own last character.
    p.keyer.CWBuffer = "KLM";
    p.cwFrm().LoopThroughCWBuffer();
    ASSERT_TRUE(WaitUntilSent(p));
    int key = platform::vbKeyBack;
    w.Form_KeyPress(key);
    ASSERT_TRUE(sim.WaitForKeyed(9, 5000));
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_EQ(sim.Keyed(), "ABCDEFGKL");
}

// A paddle break-in empties the device's buffer; its status bytes say so,
// and the count of characters not yet keyed follows them, so the sender
// neither stalls nor gives the device up.
TEST(WinKey, ABreakInStatusEmptiesTheUnsentCount) {
    WinKeyOnPort o(5000);
    o.w->cmdOpenWinkey_Click();
    ASSERT_TRUE(Opened(o.t.program()));
    WinKeySimulator& sim = *o.sim;
    keyers::KeyerDevice& device = Layer(o.t.program()).device();
    for (char c : QByteArray("CQ TE")) device.wk_char(static_cast<std::uint8_t>(c));
    EXPECT_EQ(device.wk_getstatus(), 5);
    sim.BreakIn();
    for (int i = 0; i < 1000 && device.wk_getstatus() != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_EQ(device.wk_getstatus(), 0);
}

TEST(WinKey, TheSenderGoesOnAfterABreakIn) {
    WinKeyOnMainWindow o(40);
    WinKeySimulator& sim = *o.sim;
    mainwindow::MainWindow& w = *o.w;
    Program& p = o.f.program();

    p.keyer.CWBuffer = "CQ CQ CQ TEST";
    bool broke = false;
    QTimer paddle;
    QObject::connect(&paddle, &QTimer::timeout, &w, [&] {
        // The device holds all the sender may hand it.
        if (broke || p.winKey->wk_getstatus() < 5) return;
        broke = true;
        sim.BreakIn();
    });
    paddle.start(0);
    p.winKey->WKTransmit();
    ASSERT_TRUE(WaitUntilSent(p));
    paddle.stop();
    EXPECT_TRUE(broke);
    EXPECT_EQ(p.keyer.WKOpen, WinKeySimulator::kVersion);
    EXPECT_NE(w.entry().lblDialog->text(), "WinKey not responding");
    ASSERT_TRUE(sim.WaitForKeyed(4, 5000));
    for (int i = 0; i < 500 && !sim.Keyed().endsWith("TEST"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_TRUE(sim.Keyed().endsWith("TEST")) << sim.Keyed().toStdString();
}

TEST(WinKey, SavesAndReadsWKtxt) {
    TestProgram t;
    frmWinKey& w = WindowOnPort(t, kPort);
    w.show();
    w.cmdDone_Click();
    EXPECT_FALSE(w.isVisible());
    const QString path = t->folders.DataFolder + "/WK.txt";
    EXPECT_EQ(TestProgram::ReadFile(path),
              "5\r\n\"18\"\r\n\"50\"\r\n\"0\"\r\n\"0\"\r\n\"50\"\r\n6\r\n0\r\n");

    // Options, a box holding a double quote (saved as an apostrophe), and a
    // reload that reads them back; the speed comes from the CW keyer.
    w.optPTT->setChecked(true);
    w.optBug->setChecked(true);
    w.txtWeight->setText("4\"0");
    w.cmdDone_Click();
    t->winKey->Unload();
    t->cwFrm().Text11->setText("24");
    frmWinKey& again = Layer(t.program()).window();
    EXPECT_EQ(again.txtWKComPort->text(), "5");
    EXPECT_EQ(again.txtWKWPM->text(), "24");
    EXPECT_EQ(again.txtWeight->text(), "4'0");
    EXPECT_TRUE(again.optPTT->isChecked());
    EXPECT_TRUE(again.optBug->isChecked());

    // Six lines: pin configuration and mode stay 6 and 0.
    t->winKey->Unload();
    TestProgram::WriteLines(path, {"7", R"("18")", R"("45")", R"("1")", R"("2")", R"("40")"});
    frmWinKey& six = Layer(t.program()).window();
    EXPECT_EQ(six.txtWKComPort->text(), "7");
    EXPECT_EQ(six.txtWeight->text(), "45");
    EXPECT_TRUE(six.optTone->isChecked());
    EXPECT_TRUE(six.optIambicB->isChecked());
    EXPECT_EQ(Layer(t.program()).WKPinConfig, 6);
    EXPECT_TRUE(t.dialogs.shown.empty());
}

TEST(WinKey, AFileThatCannotBeWrittenKeepsTheWindowOpen) {
    TestProgram t;
    frmWinKey& w = WindowOnPort(t, kPort);
    // A folder where the file should be: the rename cannot replace it.
    QDir().mkpath(t->folders.DataFolder + "/WK.txt");
    w.show();
    w.cmdDone_Click();
    EXPECT_TRUE(w.isVisible());
    ASSERT_EQ(t.dialogs.shown.size(), 1u);
    EXPECT_EQ(t.dialogs.shown[0].title, "Unable to write file.");
}
