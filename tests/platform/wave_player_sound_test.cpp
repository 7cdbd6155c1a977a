// The wave player on a real sound server: a PulseAudio server of the test's
// own with a null sink, whose monitor is recorded. What the recording holds
// of a test tone shows whether a prompt was heard whole: its body and, above
// all, its end, which a player that stops too early drops. The player runs
// in a child process (support/child_process.h), because Qt Multimedia
// connects to a sound server once per process.
#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>
#include <cstdio>

#include "keyers/blind_frm.h"
#include "mainwindow/main_window.h"
#include "platform/clock.h"
#include "platform/wave_player.h"
#include "setup/station.h"
#include "support/child_process.h"
#include "support/fake_clock.h"
#include "support/main_window_fixture.h"
#include "support/sound_server.h"
#include "support/test_program.h"
#include "support/wave_files.h"

using platform::kModePlaying;
using platform::WavePlayer;
using testing_support::ChildResult;
using testing_support::MainWindowFixture;
using testing_support::RunChild;
using testing_support::SoundServer;
using testing_support::TestProgram;
using testing_support::MakeToneWave;
using testing_support::Tone;

namespace {

// The prompt every scenario plays: half a second of one frequency, then
// 150 ms of another, longer than what the early stop used to cut off.
const Tone kPrompt{};

constexpr int kChildTimeoutMs = 60000;

// A clock that runs in real time from the fake clock's fixed date, so that
// the program's waits take real time while its dates stay known.
class RealTimeClock final : public platform::Clock {
public:
    std::int64_t MonotonicMs() const override { return system_.MonotonicMs(); }
    QDateTime UtcNow() const override { return dates_.UtcNow().addMSecs(elapsed()); }
    QDateTime LocalNow() const override { return dates_.LocalNow().addMSecs(elapsed()); }
    void SleepMs(int ms) override { system_.SleepMs(ms); }

private:
    std::int64_t elapsed() const { return system_.MonotonicMs() - start_; }
    platform::SystemClock system_;
    testing_support::FakeClock dates_;
    std::int64_t start_ = system_.MonotonicMs();
};

TestProgram::Options realSound(platform::Clock& clock, platform::SoundOutput& output) {
    TestProgram::Options options;
    options.clock = &clock;
    options.sound = &output;
    return options;
}

int fail(const char* why) {
    std::printf("%s\n", why);
    std::fflush(stdout);
    return 1;
}

// ---- Children ----

// Plays the wave file args[0] through the program's player on the default
// output and waits, the way args[1] says, until the end: "events" runs the
// event loop until the player reports the end, "blocked" blocks the thread
// while the mode reads playing. Then it closes the player at once, which
// would cut whatever was still to be heard.
int PlayChild(const QStringList& args) {
    if (args.size() < 2) return fail("usage: FILE events|blocked");
    platform::SystemClock clock;
    platform::QtSoundOutput output;
    WavePlayer player(clock, output.OpenChannel());
    if (!player.Open(args[0])) return fail("the player does not open the file");
    player.Play();
    if (player.Mode() != kModePlaying) return fail("the mode is not playing after play");
    const std::int64_t started = clock.MonotonicMs();
    if (args[1] == "blocked") {
        while (player.Mode() == kModePlaying) QThread::msleep(1);
    } else {
        bool ended = false;
        player.WhenEnded([&] { ended = true; });
        if (!QTest::qWaitFor([&] { return ended; }, kChildTimeoutMs))
            return fail("the end was never reported");
    }
    const std::int64_t played = clock.MonotonicMs() - started;
    const bool stillPlaying = player.Mode() == kModePlaying;
    player.Close();
    std::printf("played %lld ms of %lld\n", static_cast<long long>(played),
                static_cast<long long>(player.LengthMs()));
    if (stillPlaying) return fail("the wait ended while the mode read playing");
    if (played < kPrompt.bodyMs + kPrompt.endMs) return fail("the mode ended before the file's length");
    return 0;
}

// Runs the event loop until the prompt window's player has left the prompt
// that played for the next one, "Call", which has no file: the player is
// then closed, and it would have cut whatever was still to be heard.
int WaitForTheNextPrompt(keyers::BlindFrm& blind) {
    if (!QTest::qWaitFor([&] { return blind.MMControl1.Mode() == platform::kModeNotOpen; },
                         kChildTimeoutMs))
        return fail("the next prompt never came");
    return 0;
}

// The voice navigation prompt "Dupe" through the prompt window's player,
// asked for heard whole; the next prompt, asked for at once as it is when
// the focus moves on, plays when "Dupe" has ended.
int PromptWaitChild(const QStringList&) {
    RealTimeClock clock;
    platform::QtSoundOutput output;
    TestProgram t(realSound(clock, output));
    TestProgram::WriteFile(t.workFile("Dupe.wav"), MakeToneWave(kPrompt));
    keyers::BlindFrm& blind = t->blindFrm();
    blind.BlindKeyPhone("Dupe", true);
    blind.BlindKeyPhone("Call");
    return WaitForTheNextPrompt(blind);
}

// A duplicate typed into the out-of-state window with voice navigation on
// for all data fields; only "Dupe" has a file, so only it can be heard.
int DupeChild(const QStringList&) {
    RealTimeClock clock;
    platform::QtSoundOutput output;
    MainWindowFixture f(1, realSound(clock, output));
    f.program().station.VoiceNavMode = 2;
    TestProgram::WriteFile(f.t.workFile("Dupe.wav"), MakeToneWave(kPrompt));
    f.WriteLog(testing_support::Contact("K1ABC", "", "Adams", "2013/04/07", "18:00:00", "CW", "40"));
    mainwindow::MainWindow& w = f.Load();
    w.activateWindow();
    if (!QTest::qWaitForWindowActive(&w)) return fail("the main window does not become active");
    w.cmdLogOn_Click();
    w.entry().txtCall->setFocus();
    QCoreApplication::processEvents();
    f.Type("K1ABC Adams");
    if (QApplication::focusWidget() != w.entry().txtSec) return fail("the county box has not the focus");
    f.Type("\n");
    if (!w.entry().lblDialog->text().startsWith("Duplicate K1ABC")) return fail("no duplicate was reported");
    if (w.entry().txtCall->text() != "") return fail("the entry line was not emptied");
    // The focus handlers of the emptied entry line speak next.
    QCoreApplication::processEvents();
    f.program().blindFrm().BlindKeyPhone("Call");
    return WaitForTheNextPrompt(f.program().blindFrm());
}

// The player with no sound server to reach: silent, timed on the clock,
// never failing.
int NoServerChild(const QStringList& args) {
    platform::SystemClock clock;
    platform::QtSoundOutput output;
    WavePlayer player(clock, output.OpenChannel());
    if (!player.Open(args.value(0))) return fail("the player does not open the file");
    const std::int64_t started = clock.MonotonicMs();
    player.Play();
    if (player.Mode() != kModePlaying) return fail("the mode is not playing after play");
    bool ended = false;
    player.WhenEnded([&] { ended = true; });
    if (!QTest::qWaitFor([&] { return ended; }, kChildTimeoutMs))
        return fail("the end was never reported");
    if (player.Mode() == kModePlaying) return fail("the end came while the mode read playing");
    if (clock.MonotonicMs() - started < player.LengthMs() - 1)
        return fail("the wait ended before the file's length");
    // Stop, play on and close, in every order.
    player.Play();
    player.Stop();
    player.Play();
    player.Close();
    player.Play();
    if (player.Mode() != platform::kModeNotOpen) return fail("a closed player plays");
    return 0;
}

const bool kRegistered = testing_support::RegisterChild("sound-play", &PlayChild) &&
                         testing_support::RegisterChild("sound-prompt-wait", &PromptWaitChild) &&
                         testing_support::RegisterChild("sound-dupe", &DupeChild) &&
                         testing_support::RegisterChild("sound-no-server", &NoServerChild);

// ---- The tests ----

class SoundServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(kRegistered);
        const QString why = server.Start();
        ASSERT_TRUE(why.isEmpty()) << "no sound server for the test: " << why.toStdString();
        const QString notRecording = server.StartRecording();
        ASSERT_TRUE(notRecording.isEmpty()) << notRecording.toStdString();
    }

    // Runs a child against the server and gives what the sink played.
    std::vector<qint16> Heard(const QString& child, const QStringList& args = {}) {
        const ChildResult result = RunChild(child, args, server.ClientEnvironment(), kChildTimeoutMs);
        EXPECT_TRUE(result.finished && result.exitCode == 0)
            << child.toStdString() << " exit " << result.exitCode << ":\n"
            << result.output.toStdString();
        return server.StopRecording(300);
    }

    // The prompt was heard whole: every 10 ms block of its body and of its
    // end is in the recording, give or take the one block that a boundary
    // splits.
    static void ExpectWhole(const std::vector<qint16>& heard) {
        const testing_support::ToneBlocks file = testing_support::CountToneBlocks(
            testing_support::ToneSamples(kPrompt), kPrompt.rate, kPrompt.bodyHz, kPrompt.endHz,
            kPrompt.amplitude);
        ASSERT_EQ(file.body, kPrompt.bodyMs / 10);
        ASSERT_EQ(file.end, kPrompt.endMs / 10);
        const testing_support::ToneBlocks got = testing_support::CountToneBlocks(
            heard, SoundServer::kRate, kPrompt.bodyHz, kPrompt.endHz, kPrompt.amplitude);
        EXPECT_GE(got.body, file.body - 1) << "of the body, heard " << got.body * 10 << " ms";
        EXPECT_GE(got.end, file.end - 1) << "of the end, heard " << got.end * 10 << " ms";
        // Once, not twice.
        EXPECT_LE(got.body, file.body + 1);
        EXPECT_LE(got.end, file.end + 1);
    }

    QString WritePrompt() {
        const QString path = dir.path() + "/prompt.wav";
        TestProgram::WriteFile(path, MakeToneWave(kPrompt));
        return path;
    }

    QTemporaryDir dir;
    SoundServer server;
};

}  // namespace

TEST_F(SoundServerTest, PromptIsHeardWholeWhileEventsRun) {
    ExpectWhole(Heard("sound-play", {WritePrompt(), "events"}));
}

TEST_F(SoundServerTest, PromptIsHeardWholeWhileTheThreadIsBlocked) {
    ExpectWhole(Heard("sound-play", {WritePrompt(), "blocked"}));
}

TEST_F(SoundServerTest, PromptIsHeardWholeThroughThePromptWait) {
    ExpectWhole(Heard("sound-prompt-wait"));
}

TEST_F(SoundServerTest, DupePromptIsHeardWithVoiceNavigationOn) {
    ExpectWhole(Heard("sound-dupe"));
}

// Without a sound server the player stays silent and never fails.
TEST(SoundWithoutServer, PlayerIsSilentAndTimesTheFile) {
    ASSERT_TRUE(kRegistered);
    QTemporaryDir dir;
    const QString path = dir.path() + "/prompt.wav";
    TestProgram::WriteFile(path, MakeToneWave(kPrompt));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PULSE_SERVER", "unix:" + dir.path() + "/no-server/native");
    env.insert("XDG_RUNTIME_DIR", dir.path());
    const ChildResult result = RunChild("sound-no-server", {path}, env, kChildTimeoutMs);
    EXPECT_TRUE(result.finished) << result.output.toStdString();
    EXPECT_EQ(result.exitCode, 0) << result.output.toStdString();
}
