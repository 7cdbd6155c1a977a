// The three keying ports on one interface: the CW keying port, the voice
// keyer's push-to-talk port and the WinKeyer close each other when one of
// them opens, so any of them can take a serial port the other one held. Run
// on the real serial class over a pseudo-terminal pair; the lines it is told
// to set while open are recorded on the way.
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

#include "keyers/cw_frm.h"
#include "keyers/phone_frm.h"
#include "keyers/winkey_frm.h"
#include "platform/serial_port.h"
#include "support/cw_fixture.h"
#include "support/pty_pair.h"
#include "support/test_program.h"
#include "support/wave_files.h"
#include "support/winkey_simulator.h"

using testing_support::PtyPair;
using testing_support::TestProgram;
using testing_support::WinKeySimulator;

namespace {

constexpr int kPort = 3;

// The system's serial port, noting each line set while it is open as
// "dtr 1", "rts 0", ...
class WatchedPort final : public platform::SerialPort {
public:
    WatchedPort(std::unique_ptr<platform::SerialPort> real, QStringList& lines)
        : real_(std::move(real)), lines_(lines) {}
    void SetPortNumber(int port) override { real_->SetPortNumber(port); }
    int PortNumber() const override { return real_->PortNumber(); }
    void SetSettings(const QString& settings) override { real_->SetSettings(settings); }
    QString Settings() const override { return real_->Settings(); }
    void SetHandshaking(platform::Handshaking mode) override { real_->SetHandshaking(mode); }
    platform::Handshaking GetHandshaking() const override { return real_->GetHandshaking(); }
    void SetDtr(bool on) override {
        real_->SetDtr(on);
        if (real_->IsOpen()) lines_ << QStringLiteral("dtr %1").arg(on ? 1 : 0);
    }
    bool Dtr() const override { return real_->Dtr(); }
    void SetRts(bool on) override {
        real_->SetRts(on);
        if (real_->IsOpen()) lines_ << QStringLiteral("rts %1").arg(on ? 1 : 0);
    }
    bool Rts() const override { return real_->Rts(); }
    bool Open(QString* error) override { return real_->Open(error); }
    void Close() override { real_->Close(); }
    bool IsOpen() const override { return real_->IsOpen(); }
    QByteArray Input() override { return real_->Input(); }
    bool Output(const QByteArray& bytes, QString* error) override {
        return real_->Output(bytes, error);
    }
    int OutBufferCount() const override { return real_->OutBufferCount(); }
    int InBufferCount() const override { return real_->InBufferCount(); }
    void DiscardInput() override { real_->DiscardInput(); }
    QString DevicePath() const override { return real_->DevicePath(); }

private:
    std::unique_ptr<platform::SerialPort> real_;
    QStringList& lines_;
};

// One interface on COM3: the CW keyer keys DTR with "E" in F1, the voice
// keyer keys RTS for a short F1 message, the WinKeyer answers there too.
struct OneInterface {
    OneInterface() {
        pty.MapAsPort(t.work(), kPort);
        t->serialPortFactory = [this] {
            return std::make_unique<WatchedPort>(
                platform::NewSystemSerialPort(t->folders.WorkingFolder), lines);
        };
        keyers::CWFrm& cw = t->cwFrm();
        cw.show();  // a port that will not open is reported without a modal window
        cw.Option2->setChecked(true);
        cw.OptSleep->setChecked(true);
        cw.Text10->setText(QString::number(kPort));
        cw.Text11->setText("20");
        cw.Text1->setText("E");
        keyers::PhoneFrm& phone = t->phoneFrm();
        phone.show();
        phone.Text10->setText(QString::number(kPort));
        const QString message = t.workFile("cq.wav");
        TestProgram::WriteFile(message, testing_support::MakeWaveOfMs(200));
        phone.Text1->setText(message);
        QDir().mkpath(t->folders.DataFolder);
        keyers::frmWinKey& wk = winKey().window();
        wk.txtWKComPort->setText(QString::number(kPort));
        wk.txtWKComPort_LostFocus();
    }
    keyers::WinKeyLayer& winKey() { return static_cast<keyers::WinKeyLayer&>(*t->winKey); }

    void SendCW() {
        t->cwFrm().FKeyCW(112);
        EXPECT_TRUE(testing_support::WaitForKeyer(t.program()));
    }
    void PlayVoice() { t->phoneFrm().FKeyPhone(112); }
    // Open, and the device's answers: the open goes on from them.
    void OpenWinKey() {
        winKey().window().cmdOpenWinkey_Click();
        EXPECT_TRUE(QTest::qWaitFor([this] { return !winKey().device().Opening(); }, 5000));
    }

    PtyPair pty;
    QStringList lines;  // outlives the windows' ports
    TestProgram t;
};

}  // namespace

TEST(KeyingPorts, EachKeyerTakesThePortTheOthersHeld) {
    struct Case {
        const char* name;
        std::function<void(OneInterface&)> before;
        std::function<void(OneInterface&)> after;
        const char* keyed;  // the line the second keyer sets on the open port
    };
    const Case cases[] = {
        {"voice, then CW", &OneInterface::PlayVoice, &OneInterface::SendCW, "dtr 1"},
        {"WinKeyer, then CW", &OneInterface::OpenWinKey, &OneInterface::SendCW, "dtr 1"},
        {"CW, then voice", &OneInterface::SendCW, &OneInterface::PlayVoice, "rts 1"},
        {"WinKeyer, then voice", &OneInterface::OpenWinKey, &OneInterface::PlayVoice, "rts 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OneInterface o;
        ASSERT_TRUE(o.pty.ok());
        WinKeySimulator sim(o.pty.masterFd(), 5);
        c.before(o);
        EXPECT_TRUE(o.t.dialogs.shown.empty());
        o.lines.clear();
        c.after(o);
        EXPECT_TRUE(o.t.dialogs.shown.empty());
        EXPECT_TRUE(o.lines.contains(c.keyed)) << o.lines.join(", ").toStdString();
        EXPECT_EQ(o.t->keyer.WKOpen, 0);
    }

    // The WinKeyer takes the port from the CW keyer.
    OneInterface o;
    ASSERT_TRUE(o.pty.ok());
    WinKeySimulator sim(o.pty.masterFd(), 5);
    o.SendCW();
    o.OpenWinKey();
    EXPECT_TRUE(o.t.dialogs.shown.empty());
    EXPECT_EQ(o.t->keyer.WKOpen, WinKeySimulator::kVersion);
    EXPECT_FALSE(o.t->cwFrm().Comm().IsOpen());
}
