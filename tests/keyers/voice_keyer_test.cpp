// The voice keyer playing its messages with push-to-talk: keyed before the
// sound starts and released at the first end-of-playback check after it
// ends, the F1 repeat, files that cannot be played, the push-to-talk port,
// and wave2.txt written by Done.
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <functional>
#include <map>
#include <gtest/gtest.h>

#include "keyers/phone_frm.h"
#include "keyers/settings_file.h"
#include "mainwindow/main_window.h"
#include "support/fake_parallel_port.h"
#include "support/fake_serial_port.h"
#include "support/main_window_fixture.h"
#include "support/test_program.h"
#include "support/wave_files.h"

using keyers::PhoneFrm;
using testing_support::FakeParallelPort;
using testing_support::FakeSerialPort;
using testing_support::MainWindowFixture;
using testing_support::TestProgram;

namespace {

constexpr int kMessageMs = 500;

// A sound output that tells the test when a sound starts, so it can look at
// the push-to-talk lines at that moment.
class StartWatch final : public platform::SoundOutput {
public:
    std::function<void(const QString&)> onStart;
    QStringList started;
    std::unique_ptr<platform::SoundChannel> OpenChannel() override {
        return std::make_unique<Channel>(*this);
    }

private:
    class Channel final : public platform::SoundChannel {
    public:
        explicit Channel(StartWatch& watch) : watch_(watch) {}
        void Start(const QString& path, const platform::WaveFormat&, QByteArray) override {
            watch_.started << path;
            if (watch_.onStart) watch_.onStart(path);
        }
        void Stop() override {}

    private:
        StartWatch& watch_;
    };
};

TestProgram::Options WithSound(platform::SoundOutput& sound) {
    TestProgram::Options options;
    options.sound = &sound;
    return options;
}

// A voice keyer on a fake serial port and a fake parallel port, with a
// short message of kMessageMs as F1 and F2.
struct VoiceFixture {
    VoiceFixture() : t(WithSound(sound)) {
        auto port = std::make_unique<FakeParallelPort>(t.clock);
        parallel = port.get();
        t->parallelPort = std::move(port);
        t->serialPortFactory = [this] { return std::make_unique<FakeSerialPort>(serial); };
        message = t.workFile("cq.wav");
        TestProgram::WriteFile(message, testing_support::MakeWaveOfMs(kMessageMs));
        f = &t->phoneFrm();
        f->Text1->setText(message);
        f->Text2->setText(message);
        f->show();  // a port that will not open is reported without a modal window
    }

    // Runs the end-of-playback check every 40 ms on the fake clock until it
    // stops; the time it stopped.
    std::int64_t RunChecks() {
        for (int i = 0; i < 1000 && f->Timer1->isActive(); ++i) {
            t.clock.AdvanceMs(40);
            f->Timer1_Timer();
        }
        return t.clock.monotonic;
    }

    StartWatch sound;
    FakeSerialPort::State serial;
    TestProgram t;
    FakeParallelPort* parallel = nullptr;
    PhoneFrm* f = nullptr;
    QString message;
};

}  // namespace

TEST(VoiceKeyer, SerialPushToTalkAroundTheMessage) {
    struct Case {
        const char* name;
        QRadioButton* PhoneFrm::*option;
        bool dtr;
    };
    for (const Case& c : {Case{"RTS", &PhoneFrm::Option1, false},
                          Case{"DTR", &PhoneFrm::Option2, true},
                          // "Parallel" with a serial port keys RTS as well.
                          Case{"Parallel", &PhoneFrm::Option3, false}}) {
        SCOPED_TRACE(c.name);
        VoiceFixture v;
        (v.f->*c.option)->setChecked(true);
        v.f->Text10->setText("3");
        bool keyedAtStart = false;
        v.sound.onStart = [&](const QString&) {
            keyedAtStart = c.dtr ? v.serial.dtr : v.serial.rts;
        };

        const std::int64_t start = v.t.clock.monotonic;
        v.f->FKeyPhone(112);
        EXPECT_EQ(v.sound.started, QStringList{v.message});
        EXPECT_TRUE(keyedAtStart);
        EXPECT_EQ(v.serial.port, 3);
        const QString line = c.dtr ? "dtr" : "rts";
        EXPECT_EQ(v.serial.events,
                  (QStringList{"dtr 0", "rts 0", "open", line + " 1"}));

        const std::int64_t released = v.RunChecks() - start;
        EXPECT_GE(released, kMessageMs);
        EXPECT_LE(released, kMessageMs + 40);
        EXPECT_EQ(v.serial.events.last(), line + " 0");
        EXPECT_FALSE(v.serial.rts || v.serial.dtr);
        EXPECT_TRUE(v.serial.open);
        EXPECT_EQ(v.t.dialogs.beeps, 0);
    }
}

TEST(VoiceKeyer, ParallelPushToTalkWritesThreeThenTwo) {
    VoiceFixture v;
    v.f->Option3->setChecked(true);
    std::size_t writesAtStart = 0;
    v.sound.onStart = [&](const QString&) { writesAtStart = v.parallel->writes.size(); };
    const std::int64_t start = v.t.clock.monotonic;
    v.f->FKeyPhone(112);
    EXPECT_EQ(writesAtStart, 1u);
    v.RunChecks();
    ASSERT_EQ(v.parallel->writes.size(), 2u);
    EXPECT_EQ(v.parallel->writes[0].port, 890);
    EXPECT_EQ(v.parallel->writes[0].value, 3);
    EXPECT_EQ(v.parallel->writes[0].at, start);
    EXPECT_EQ(v.parallel->writes[1].port, 890);
    EXPECT_EQ(v.parallel->writes[1].value, 2);
    EXPECT_GE(v.parallel->writes[1].at - start, kMessageMs);
    EXPECT_LE(v.parallel->writes[1].at - start, kMessageMs + 40);
    EXPECT_TRUE(v.serial.events.isEmpty());  // no serial port set
}

// F1 with repeat seconds plays again that long after each end, until a key
// in the main window stops it; F2 plays once.
TEST(VoiceKeyer, F1RepeatsAfterItsSeconds) {
    VoiceFixture v;
    v.f->Option3->setChecked(true);
    v.f->txtPHLoop->setText("2.5");
    v.f->txtPHLoop_LostFocus();
    ASSERT_EQ(v.f->tmrRepeat->interval(), 2500);

    v.f->Command11_Click();  // Test: as F1
    EXPECT_EQ(v.t->keyer.VoiceRepeatOn, 1);
    v.RunChecks();
    EXPECT_TRUE(v.f->tmrRepeat->isActive());
    v.f->tmrRepeat_Timer();
    EXPECT_FALSE(v.f->tmrRepeat->isActive());
    EXPECT_EQ(v.sound.started.size(), 2);
    v.RunChecks();
    EXPECT_TRUE(v.f->tmrRepeat->isActive());
    // Three and two alternate: every message keyed and released.
    ASSERT_EQ(v.parallel->writes.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(v.parallel->writes[i].value, i % 2 ? 2 : 3);

    // A key stops it (what the main window does on any key).
    v.t->keyer.VoiceRepeatOn = 0;
    v.f->tmrRepeat->stop();
    v.f->FKeyPhone(113);
    v.RunChecks();
    EXPECT_FALSE(v.f->tmrRepeat->isActive());
    EXPECT_EQ(v.sound.started.size(), 3);
}

// A file that is missing or not a wave file keys nothing: a beep and a word
// on the status line.
TEST(VoiceKeyer, AFileThatCannotPlayKeysNothing) {
    testing_support::FakeSerialPort::State serial;
    MainWindowFixture mf(0);
    auto port = std::make_unique<FakeParallelPort>(mf.t.clock);
    FakeParallelPort* parallel = port.get();
    mf.program().parallelPort = std::move(port);
    mf.program().serialPortFactory = [&serial] { return std::make_unique<FakeSerialPort>(serial); };
    mf.WriteLog({});
    mainwindow::MainWindow& w = mf.Load();
    PhoneFrm& f = mf.program().phoneFrm();
    f.show();
    f.Option3->setChecked(true);
    f.Text10->setText("2");
    const QString notWave = mf.t.workFile("notes.wav");
    TestProgram::WriteFile(notWave, "not a wave file");
    for (const QString& path : {mf.t.workFile("missing.wav"), notWave}) {
        SCOPED_TRACE(path.toStdString());
        mf.t.dialogs.beeps = 0;
        f.Text1->setText(path);
        f.FKeyPhone(112);
        EXPECT_EQ(mf.t.dialogs.beeps, 1);
        EXPECT_EQ(w.entry().lblDialog->text(), "Unable to play " + path);
        EXPECT_FALSE(f.Timer1->isActive());
        EXPECT_TRUE(parallel->writes.empty());
        EXPECT_FALSE(serial.events.contains("rts 1"));
        EXPECT_TRUE(mf.t.sound.played().empty());
    }
    // An empty box does nothing at all.
    f.Text1->clear();
    f.FKeyPhone(112);
    EXPECT_EQ(mf.t.dialogs.beeps, 1);
}

// A push-to-talk port that will not open is reported; the message plays
// without it.
TEST(VoiceKeyer, APortThatWillNotOpenIsReported) {
    VoiceFixture v;
    v.serial.refuseOpen = true;
    v.f->Text10->setText("9");
    v.f->FKeyPhone(112);
    ASSERT_EQ(v.t.dialogs.shown.size(), 1u);
    EXPECT_EQ(v.t.dialogs.shown[0].title, "Invalid port.");
    EXPECT_EQ(v.t.dialogs.shown[0].text,
              "The port you have selected for Phone keying is invalid.  Please select another or "
              "enter 0 for none.");
    EXPECT_EQ(v.t.dialogs.beeps, 1);
    EXPECT_EQ(v.sound.started.size(), 1);
    EXPECT_FALSE(v.serial.rts);
}

// Whatever way the message ends early, what was keyed goes off: a parallel
// address that is no address after the serial line was raised, and the
// window unloading while a message plays.
TEST(VoiceKeyer, PushToTalkIsReleasedOnEveryWayOut) {
    {
        VoiceFixture v;
        v.f->Option3->setChecked(true);
        v.f->Text10->setText("2");
        v.f->Text11->setText("&HXYZ");
        v.f->FKeyPhone(112);
        EXPECT_EQ(v.serial.events, (QStringList{"dtr 0", "rts 0", "open", "rts 1", "rts 0"}));
        EXPECT_TRUE(v.sound.started.isEmpty());
        EXPECT_FALSE(v.f->Timer1->isActive());
    }
    {
        // A parallel port that cannot be written (none on this machine).
        testing_support::FakeSerialPort::State serial;  // outlives the window's port
        MainWindowFixture mf(0);
        auto port = std::make_unique<FakeParallelPort>(mf.t.clock);
        port->refuse = true;
        mf.program().parallelPort = std::move(port);
        mf.program().serialPortFactory = [&serial] { return std::make_unique<FakeSerialPort>(serial); };
        mf.WriteLog({});
        mainwindow::MainWindow& w = mf.Load();
        PhoneFrm& f = mf.program().phoneFrm();
        f.show();
        const QString message = mf.t.workFile("cq.wav");
        TestProgram::WriteFile(message, testing_support::MakeWaveOfMs(kMessageMs));
        f.Text1->setText(message);
        f.Option3->setChecked(true);
        f.Text10->setText("2");
        f.FKeyPhone(112);
        EXPECT_EQ(serial.events, (QStringList{"dtr 0", "rts 0", "open", "rts 1", "rts 0"}));
        EXPECT_TRUE(mf.t.sound.played().empty());
        EXPECT_EQ(mf.t.dialogs.beeps, 1);
        EXPECT_EQ(w.entry().lblDialog->text(), "refused");
    }
    {
        VoiceFixture v;
        v.f->Option3->setChecked(true);
        v.f->Text10->setText("2");
        v.f->FKeyPhone(112);
        v.t->UnloadPhoneFrm();
        EXPECT_FALSE(v.serial.rts);
        EXPECT_FALSE(v.serial.open);
        ASSERT_EQ(v.parallel->writes.size(), 2u);
        EXPECT_EQ(v.parallel->writes[1].value, 2);
    }
    {
        // The settings changed while the message played: the line that was
        // keyed is the one released.
        VoiceFixture v;
        v.f->Text10->setText("2");
        v.f->FKeyPhone(112);
        v.f->Option2->setChecked(true);
        v.RunChecks();
        EXPECT_FALSE(v.serial.rts);
    }
}

// The push-to-talk option or address changed between two messages: the
// second message keys its own line, and when it ends no line is left keyed,
// the first message's included. A line both messages key stays keyed
// between them.
TEST(VoiceKeyer, ChangingThePushToTalkBetweenMessagesLeavesNothingKeyed) {
    struct Case {
        const char* name;
        std::function<void(VoiceFixture&)> first;
        std::function<void(VoiceFixture&)> second;
    };
    const auto serialOn = [](QRadioButton* PhoneFrm::*option) {
        return [option](VoiceFixture& v) {
            v.f->Text10->setText("2");
            (v.f->*option)->setChecked(true);
        };
    };
    const auto parallelAt = [](const char* address) {
        return [address](VoiceFixture& v) {
            v.f->Option3->setChecked(true);
            v.f->Text11->setText(address);
        };
    };
    const Case cases[] = {
        {"RTS then DTR", serialOn(&PhoneFrm::Option1), serialOn(&PhoneFrm::Option2)},
        {"DTR then RTS", serialOn(&PhoneFrm::Option2), serialOn(&PhoneFrm::Option1)},
        {"parallel address moved", parallelAt("&H378"), parallelAt("&H3BC")},
        {"parallel then DTR", parallelAt("&H378"), serialOn(&PhoneFrm::Option2)},
        {"DTR then parallel", serialOn(&PhoneFrm::Option2), parallelAt("&H278")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VoiceFixture v;
        c.first(v);
        v.f->FKeyPhone(112);
        v.t.clock.AdvanceMs(100);
        c.second(v);
        v.f->FKeyPhone(113);
        EXPECT_EQ(v.sound.started.size(), 2);
        v.RunChecks();
        EXPECT_FALSE(v.serial.rts);
        EXPECT_FALSE(v.serial.dtr);
        // Every control register written ends at 2 (released).
        std::map<int, int> last;
        for (const auto& write : v.parallel->writes) last[write.port] = write.value;
        for (const auto& [port, value] : last) EXPECT_EQ(value, 2) << "register " << port;
    }

    // The same line for both messages is not dropped in between.
    VoiceFixture v;
    v.f->Text10->setText("2");
    v.f->FKeyPhone(112);
    v.f->FKeyPhone(113);
    EXPECT_EQ(v.serial.events, (QStringList{"dtr 0", "rts 0", "open", "rts 1", "rts 1"}));
    v.RunChecks();
    EXPECT_EQ(v.serial.events.last(), "rts 0");
}

// The close box hides the window with its settings, and ends what the
// window was doing: the message stops and every push-to-talk line goes off.
TEST(VoiceKeyer, TheCloseBoxReleasesPushToTalk) {
    VoiceFixture v;
    v.f->Option3->setChecked(true);
    v.f->Text10->setText("2");
    v.f->FKeyPhone(112);
    ASSERT_TRUE(v.serial.rts);
    v.f->close();
    EXPECT_FALSE(v.f->isVisible());
    EXPECT_FALSE(v.serial.rts);
    ASSERT_EQ(v.parallel->writes.size(), 2u);
    EXPECT_EQ(v.parallel->writes[1].value, 2);
    EXPECT_FALSE(v.f->Timer1->isActive());
    EXPECT_NE(v.f->MMControl1.Mode(), platform::kModePlaying);
    EXPECT_EQ(v.f->Text1->text(), v.message);
}

TEST(VoiceKeyer, DoneWritesWave2txt) {
    VoiceFixture v;
    v.f->Text1->clear();
    v.f->Text2->clear();
    v.f->Command1_Click();
    EXPECT_FALSE(v.f->isVisible());
    QByteArray expected;
    for (int i = 0; i < 9; ++i) expected += "\"\"\r\n";
    expected += "\"0\"\r\n0\r\n\"0\"\r\n\"&H378\"\r\n";
    EXPECT_EQ(TestProgram::ReadFile(v.t.workFile("wave2.txt")), expected);

    // Paths trimmed, a double quote saved as an apostrophe, the option and
    // the repeat seconds; read back as the set-up does.
    v.f->Text1->setText("  /home/op/cq \"1\".wav ");
    v.f->Option3->setChecked(true);
    v.f->txtPHLoop->setText("7.5");
    v.f->Command1_Click();
    const QByteArray bytes = TestProgram::ReadFile(v.t.workFile("wave2.txt"));
    EXPECT_EQ(bytes.count("\r\n"), 13);
    EXPECT_TRUE(bytes.startsWith("\"/home/op/cq '1'.wav\"\r\n"));
    v.t->UnloadPhoneFrm();
    ASSERT_TRUE(keyers::LoadVoiceSettings(v.t.program()));
    PhoneFrm& again = v.t->phoneFrm();
    EXPECT_EQ(again.Text1->text(), "/home/op/cq '1'.wav");
    EXPECT_TRUE(again.Option3->isChecked());
    EXPECT_EQ(again.tmrRepeat->interval(), 7500);

    // A file that cannot be written is reported and the window stays.
    QFile::remove(v.t.workFile("wave2.txt"));
    QDir().mkpath(v.t.workFile("wave2.txt"));
    again.show();
    again.Command1_Click();
    EXPECT_TRUE(again.isVisible());
    ASSERT_FALSE(v.t.dialogs.shown.empty());
    EXPECT_EQ(v.t.dialogs.shown.back().title, "Unable to write file.");
}

// A path that Windows-1252 cannot hold is kept whole in wave2.txt, and the
// message plays after the settings are read again; a path it can hold is
// written in it, byte for byte, as before.
TEST(VoiceKeyer, PathsOfAnyScriptSurviveDoneAndAReload) {
    VoiceFixture v;
    const QString cyrillic = v.t.work() + QStringLiteral("/\u0417\u0430\u043f\u0438\u0441\u044c.wav");
    const QString latin = v.t.work() + QStringLiteral("/caf\u00e9.wav");
    TestProgram::WriteFile(cyrillic, testing_support::MakeWaveOfMs(kMessageMs));
    v.f->Text1->setText(cyrillic);
    v.f->Text2->setText(latin);
    v.f->Command1_Click();
    const QList<QByteArray> lines = TestProgram::ReadFile(v.t.workFile("wave2.txt")).split('\n');
    ASSERT_GE(lines.size(), 13);
    EXPECT_EQ(lines[1], '"' + v.t.work().toUtf8() + "/caf\xe9.wav\"\r");
    EXPECT_FALSE(lines[0].contains('?'));

    v.t->UnloadPhoneFrm();
    ASSERT_TRUE(keyers::LoadVoiceSettings(v.t.program()));
    PhoneFrm& again = v.t->phoneFrm();
    EXPECT_EQ(again.Text1->text(), cyrillic);
    EXPECT_EQ(again.Text2->text(), latin);
    again.FKeyPhone(112);
    EXPECT_EQ(v.sound.started, QStringList{cyrillic});
}

TEST(VoiceKeyer, BrowseFillsTheBoxOrBeeps) {
    VoiceFixture v;
    v.t.dialogs.fileAnswers = {QString("/home/op/tu.wav"), std::nullopt};
    v.f->Browse_Click(v.f->Text4);
    EXPECT_EQ(v.f->Text4->text(), "/home/op/tu.wav");
    ASSERT_EQ(v.t.dialogs.shown.size(), 1u);
    EXPECT_EQ(v.t.dialogs.shown[0].file.filter, "(*.wav)|*.wav");
    v.f->Browse_Click(v.f->Text4);
    EXPECT_EQ(v.f->Text4->text(), "/home/op/tu.wav");
    EXPECT_EQ(v.t.dialogs.beeps, 1);
}
