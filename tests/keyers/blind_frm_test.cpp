// Voice navigation: the prompts spoken at load and on the options, the prompt
// player, Done, and the window's life.
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

#include "keyers/blind_frm.h"
#include "setup/station.h"
#include "support/test_program.h"
#include "support/wave_files.h"

using keyers::BlindFrm;
using platform::kModeNotOpen;
using platform::kModePlaying;
using testing_support::TestProgram;

namespace {

// The prompt files of the working folder and how long each plays.
constexpr std::pair<const char*, int> kPrompts[] = {
    {"Call", 400},   {"SPC", 700},    {"County", 500},   {"RstRcvd", 800},
    {"RstSnt", 600}, {"Dupe", 450},   {"NavDis", 1200},  {"NavEn", 1500},
};
constexpr int kNavEnMs = 1500;

class BlindFrmTest : public ::testing::Test {
protected:
    BlindFrmTest() {
        for (const auto& [name, ms] : kPrompts)
            testing_support::WriteWaveOfMs(t.workFile(QString(name) + ".wav"), ms);
    }

    // Loads the window with the stored mode, then silences and forgets what
    // its load said.
    BlindFrm& Loaded(std::uint8_t mode) {
        t->station.VoiceNavMode = mode;
        BlindFrm& frm = t->blindFrm();
        frm.MMControl1.Close();
        t.sound.Clear();
        return frm;
    }

    // Item 22 of QSOpref.txt as written.
    QByteArray SavedVoiceNavMode() {
        const QList<QByteArray> lines = TestProgram::ReadFile(t.workFile("QSOpref.txt")).split('\n');
        return lines.size() > 21 ? lines[21].trimmed() : QByteArray();
    }

    TestProgram t;
};

}  // namespace

TEST_F(BlindFrmTest, LoadSpeaksThePromptOfTheStoredMode) {
    struct Case {
        std::uint8_t mode;
        QStringList spoken;  // once "NavEn" has been heard
        int selected;  // 1 to 3, or 0 for none
    };
    const Case cases[] = {
        {0, {"NavDis"}, 1},
        {1, {"NavEn", "Call"}, 2},
        {2, {"NavEn"}, 3},
        {3, {}, 0},
        {255, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        TestProgram fresh;
        for (const auto& [name, ms] : kPrompts)
            testing_support::WriteWaveOfMs(fresh.workFile(QString(name) + ".wav"), ms);
        fresh->station.VoiceNavMode = c.mode;
        const std::int64_t before = fresh.clock.MonotonicMs();

        BlindFrm& frm = fresh->blindFrm();
        // The load keeps nothing waiting; "Call" follows "NavEn" when it has
        // been heard.
        EXPECT_EQ(fresh.clock.MonotonicMs(), before);
        EXPECT_EQ(fresh.sound.names(), c.spoken.mid(0, 1));
        fresh.clock.AdvanceMs(kNavEnMs);
        EXPECT_EQ(fresh.sound.names(), c.spoken);
        EXPECT_FALSE(frm.isVisible());
        EXPECT_EQ(frm.Option1->isChecked(), c.selected == 1);
        EXPECT_EQ(frm.Option2->isChecked(), c.selected == 2);
        EXPECT_EQ(frm.Option3->isChecked(), c.selected == 3);
        EXPECT_EQ(fresh->station.VoiceNavMode, c.mode);
        EXPECT_TRUE(fresh.dialogs.shown.empty());
    }
}

TEST_F(BlindFrmTest, CaptionsAndFolderNote) {
    BlindFrm& frm = Loaded(0);
    EXPECT_EQ(frm.windowTitle(), "Voice Navigation Settings");
    EXPECT_EQ(frm.Frame1->title(), "Choose your preferred option:");
    EXPECT_EQ(frm.Option1->text(), "Off");
    EXPECT_EQ(frm.Option2->text(), "Call Only");
    EXPECT_EQ(frm.Option3->text(), "All Data Fields");
    EXPECT_EQ(frm.Command1->text(), "Done");
    EXPECT_EQ(frm.Label7->text(),
              "Put the audio wave files in this program's working directory: " + t.work());
    EXPECT_EQ(frm.Option1->parentWidget(), frm.Frame1);
}

TEST_F(BlindFrmTest, OptionsPreviewTheirPromptWithoutChangingTheMode) {
    BlindFrm& frm = Loaded(2);

    frm.Option1->click();
    EXPECT_EQ(t.sound.names(), QStringList{"NavDis"});

    // "Call Only" says "Call" when "NavEn" has ended; the click returns at
    // once, and the program goes on meanwhile.
    t.sound.Clear();
    const std::int64_t before = t.clock.MonotonicMs();
    frm.Option2->click();
    EXPECT_EQ(t.clock.MonotonicMs(), before);
    EXPECT_EQ(t.sound.names(), QStringList{"NavEn"});
    const int stops = t.sound.record->stops;
    t.clock.AdvanceMs(kNavEnMs - 1);
    EXPECT_EQ(t.sound.names(), QStringList{"NavEn"});
    EXPECT_EQ(t.sound.record->stops, stops);  // "NavEn" is heard whole
    t.clock.AdvanceMs(1);
    EXPECT_EQ(t.sound.names(), (QStringList{"NavEn", "Call"}));
    EXPECT_EQ(frm.MMControl1.Mode(), kModePlaying);

    t.sound.Clear();
    frm.Option3->click();
    EXPECT_EQ(t.sound.names(), QStringList{"NavEn"});

    EXPECT_EQ(t->station.VoiceNavMode, 2);
    EXPECT_FALSE(QFile::exists(t.workFile("QSOpref.txt")));
}

// Without "NavEn" there is nothing to wait for: "Call" follows at once.
TEST_F(BlindFrmTest, CallOnlyWithoutTheNavEnFileDoesNotWait) {
    QFile::remove(t.workFile("NavEn.wav"));
    BlindFrm& frm = Loaded(0);
    const std::int64_t before = t.clock.MonotonicMs();
    frm.Option2->click();
    EXPECT_EQ(t.sound.names(), QStringList{"Call"});
    EXPECT_EQ(t.clock.MonotonicMs(), before);
}

TEST_F(BlindFrmTest, BlindKeyPhonePlaysTheWorkingFoldersFileAndReturnsAtOnce) {
    BlindFrm& frm = Loaded(0);
    const std::int64_t before = t.clock.MonotonicMs();
    frm.BlindKeyPhone("County");
    EXPECT_EQ(t.sound.paths(), QStringList{t.work() + "/County.wav"});
    EXPECT_EQ(t.clock.MonotonicMs(), before);
    EXPECT_EQ(frm.MMControl1.Mode(), kModePlaying);
    t.clock.AdvanceMs(500);
    EXPECT_NE(frm.MMControl1.Mode(), kModePlaying);
}

// A prompt without a file sounds nothing, says nothing, and a wait on the
// player ends at once; it also ends the prompt that was playing.
TEST_F(BlindFrmTest, APromptWithoutAFileIsSilent) {
    BlindFrm& frm = Loaded(0);
    frm.BlindKeyPhone("SPC");
    frm.BlindKeyPhone("Nothing");
    EXPECT_EQ(t.sound.names(), QStringList{"SPC"});
    EXPECT_EQ(t.sound.record->stops, 1);
    EXPECT_NE(frm.MMControl1.Mode(), kModePlaying);
    bool ended = false;
    frm.MMControl1.WhenEnded([&] { ended = true; });
    EXPECT_TRUE(ended);
    EXPECT_TRUE(t.dialogs.shown.empty());
    EXPECT_EQ(t.dialogs.beeps, 0);
}

TEST_F(BlindFrmTest, APromptCutsThePlayingOneShort) {
    BlindFrm& frm = Loaded(0);
    frm.BlindKeyPhone("RstRcvd");
    t.clock.AdvanceMs(100);
    frm.BlindKeyPhone("Call");
    EXPECT_EQ(t.sound.names(), (QStringList{"RstRcvd", "Call"}));
    EXPECT_EQ(t.sound.record->stops, 1);
    t.clock.AdvanceMs(400);  // the length of "Call", not what was left of the first
    EXPECT_NE(frm.MMControl1.Mode(), kModePlaying);
}

// The first prompt of a run loads the window first, and the load speaks.
TEST_F(BlindFrmTest, FirstPromptOfARunFollowsTheLoadsPrompt) {
    struct Case {
        std::uint8_t mode;
        QStringList atOnce;
        QStringList spoken;  // once the load's "NavEn" has been heard
    };
    const Case cases[] = {
        {0, {"NavDis", "Dupe"}, {"NavDis", "Dupe"}},
        {1, {"NavEn"}, {"NavEn", "Call", "Dupe"}},
        {2, {"NavEn", "Dupe"}, {"NavEn", "Dupe"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        t->UnloadBlindFrm();
        t.sound.Clear();
        t->station.VoiceNavMode = c.mode;
        // As the dupe check asks for it: heard whole.
        t->blindFrm().BlindKeyPhone("Dupe", true);
        EXPECT_EQ(t.sound.names(), c.atOnce);
        if (c.mode == 1) t.clock.AdvanceMs(kNavEnMs);
        EXPECT_EQ(t.sound.names(), c.spoken);
        // The prompt asked for next waits for the end of "Dupe".
        t->blindFrm().BlindKeyPhone("County");
        t.clock.AdvanceMs(449);
        EXPECT_EQ(t.sound.names(), c.spoken);
        t.clock.AdvanceMs(1);
        EXPECT_EQ(t.sound.names(), c.spoken + QStringList{"County"});
    }
}

// Prompts asked for while one is heard whole wait and play in turn, each
// cutting short the one before; the window goes on meanwhile. Unloading the
// window drops the prompts still waiting.
TEST_F(BlindFrmTest, PromptsAskedForWhileOneIsHeardWholePlayAfterIt) {
    BlindFrm& frm = Loaded(0);
    frm.BlindKeyPhone("RstRcvd", true);
    frm.BlindKeyPhone("SPC");
    frm.BlindKeyPhone("County");
    EXPECT_EQ(t.sound.names(), QStringList{"RstRcvd"});
    t.clock.AdvanceMs(799);
    EXPECT_EQ(t.sound.names(), QStringList{"RstRcvd"});
    t.clock.AdvanceMs(1);
    EXPECT_EQ(t.sound.names(), (QStringList{"RstRcvd", "SPC", "County"}));

    t.sound.Clear();
    frm.BlindKeyPhone("Dupe", true);
    frm.BlindKeyPhone("Call");
    t->UnloadBlindFrm();
    t.clock.AdvanceMs(1000);
    EXPECT_EQ(t.sound.names(), QStringList{"Dupe"});
}

TEST_F(BlindFrmTest, DoneTakesTheChoiceHidesAndSaves) {
    struct Case {
        std::uint8_t loadedWith;
        QRadioButton* BlindFrm::*click;  // null: no option clicked
        std::uint8_t mode;
    };
    const Case cases[] = {
        {0, &BlindFrm::Option3, 2},
        {2, &BlindFrm::Option2, 1},
        {1, &BlindFrm::Option1, 0},
        {2, nullptr, 2},
        {9, nullptr, 0},  // no option selected
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.loadedWith) << " -> " << int(c.mode));
        t->UnloadBlindFrm();
        BlindFrm& frm = Loaded(c.loadedWith);
        frm.show();
        if (c.click) (frm.*c.click)->click();
        frm.Command1->click();
        EXPECT_EQ(t->station.VoiceNavMode, c.mode);
        EXPECT_FALSE(frm.isVisible());
        EXPECT_EQ(SavedVoiceNavMode(), QByteArray::number(c.mode));
        EXPECT_TRUE(t->BlindFrmLoaded());  // Done only hides
    }
    t->station.VoiceNavMode = 7;
    ASSERT_TRUE(setup::LoadQSOPref(t.program()));
    EXPECT_EQ(t->station.VoiceNavMode, 0);
}

TEST_F(BlindFrmTest, CloseBoxUnloadsAndTheNextUseLoadsAfresh) {
    BlindFrm& frm = Loaded(2);
    frm.show();
    frm.Option1->click();  // previewed, not taken
    frm.BlindKeyPhone("NavEn");
    t.sound.Clear();

    frm.close();
    EXPECT_FALSE(t->BlindFrmLoaded());
    EXPECT_EQ(t.sound.record->stops, 1);  // the player was closed
    EXPECT_EQ(t->station.VoiceNavMode, 2);
    EXPECT_FALSE(QFile::exists(t.workFile("QSOpref.txt")));

    BlindFrm& again = t->blindFrm();
    EXPECT_TRUE(again.Option3->isChecked());
    EXPECT_EQ(t.sound.names(), QStringList{"NavEn"});
}

TEST_F(BlindFrmTest, UnloadClosesThePlayer) {
    BlindFrm& frm = Loaded(0);
    frm.BlindKeyPhone("SPC");
    t->UnloadBlindFrm();
    EXPECT_EQ(t.sound.record->stops, 1);
    EXPECT_FALSE(t->BlindFrmLoaded());
    t->UnloadBlindFrm();  // twice is harmless
}
