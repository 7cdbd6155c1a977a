// The wave player: reading wave headers, and its mode over time on the fake
// clock, with the sound going to the recording output.
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include "platform/wave_player.h"
#include "support/fake_clock.h"
#include "support/fake_sound.h"
#include "support/test_program.h"
#include "support/wave_files.h"

using platform::kModeNotOpen;
using platform::kModePlaying;
using platform::kModeStopped;
using platform::ParseWaveHeader;
using platform::WaveFormat;
using platform::WavePlayer;
using testing_support::FakeClock;
using testing_support::FakeSoundOutput;
using testing_support::MakeWave;
using testing_support::TestProgram;

namespace {

struct HeaderCase {
    const char* what;
    int channels, rate, bits;
    std::int64_t dataBytes;
    std::int64_t durationMs;
};

const HeaderCase kHeaderCases[] = {
    {"mono 16-bit 16 kHz", 1, 16000, 16, 32000, 1000},
    {"mono 8-bit 8 kHz", 1, 8000, 8, 4000, 500},
    {"stereo 8-bit 22.05 kHz", 2, 22050, 8, 44100, 1000},
    {"stereo 16-bit 44.1 kHz", 2, 44100, 16, 441000, 2500},
    {"mono 24-bit 48 kHz", 1, 48000, 24, 144000, 1000},
    {"stereo 32-bit 48 kHz", 2, 48000, 32, 96000, 250},
    {"one frame rounds up to 1 ms", 1, 44100, 16, 2, 1},
    {"half a frame is no frame", 2, 8000, 16, 3, 0},
    {"no samples", 1, 11025, 16, 0, 0},
};

}  // namespace

TEST(WaveHeader, GivesFormatAndLengthOfPcmFiles) {
    for (const HeaderCase& c : kHeaderCases) {
        SCOPED_TRACE(c.what);
        const WaveFormat format{c.channels, c.rate, c.bits, c.dataBytes};
        std::optional<platform::WaveLayout> layout = ParseWaveHeader(MakeWave(format));
        ASSERT_TRUE(layout);
        EXPECT_EQ(layout->format, format);
        EXPECT_EQ(layout->dataOffset, 44);
        EXPECT_EQ(layout->format.DurationMs(), c.durationMs);
    }
}

TEST(WaveHeader, FindsChunksPastOthersAndRefusesDataTheFileLacks) {
    const WaveFormat format{1, 8000, 16, 16000};
    QByteArray plain = MakeWave(format);

    // A LIST chunk of odd length (padded) between "fmt " and "data".
    QByteArray withList = plain.left(36);
    withList += QByteArray("LIST\x03\x00\x00\x00" "abc\x00", 12);
    withList += plain.mid(36);
    std::optional<platform::WaveLayout> layout = ParseWaveHeader(withList);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->dataOffset, 56);
    EXPECT_EQ(layout->format.DurationMs(), 1000);

    // A chunk after the samples is no part of them.
    layout = ParseWaveHeader(plain + QByteArray("LIST\x04\x00\x00\x00" "abcd", 12));
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->format.dataBytes, 16000);

    // A data chunk that claims more than the file holds: a damaged header.
    EXPECT_FALSE(ParseWaveHeader(plain.left(44 + 8000)));
    EXPECT_FALSE(ParseWaveHeader(plain.left(44)));
}

// A header whose numbers no recording has is refused, so that nothing is
// timed from them.
TEST(WaveHeader, RefusesImplausibleFormats) {
    struct Case {
        int channels, rate;
        bool taken;
    };
    const Case cases[] = {
        {1, 128, false},    {1, 1, false},      {1, 7999, false}, {1, 8000, true},
        {2, 192000, true},  {1, 192001, false}, {8, 44100, true}, {9, 44100, false},
        {1, 0x7FFFFFFF, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.channels << " channels at " << c.rate << " Hz");
        QByteArray wave = MakeWave({c.channels, 8000, 16, 3200});
        qToLittleEndian<quint32>(static_cast<quint32>(c.rate), wave.data() + 24);
        EXPECT_EQ(ParseWaveHeader(wave).has_value(), c.taken);
    }
}

TEST(WaveHeader, TakesExtensiblePcmAndRefusesTheRest) {
    const QByteArray plain = MakeWave({2, 16000, 16, 64000});
    // The extensible form: a 40-byte format whose sub-format starts with the
    // PCM tag.
    auto extensible = [&](quint16 subFormat) {
        QByteArray fmt = plain.mid(20, 16);
        qToLittleEndian<quint16>(0xFFFE, fmt.data());
        char tail[24] = {};
        tail[0] = 22;  // cbSize
        qToLittleEndian<quint16>(subFormat, tail + 8);
        fmt.append(tail, 24);
        QByteArray file = plain.left(12) + QByteArray("fmt \x28\x00\x00\x00", 8) + fmt;
        return file + plain.mid(36);
    };
    std::optional<platform::WaveLayout> layout = ParseWaveHeader(extensible(1));
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->format.DurationMs(), 1000);
    EXPECT_FALSE(ParseWaveHeader(extensible(3)));  // floating point

    QByteArray floatTag = plain;
    floatTag[20] = 3;
    QByteArray twelveBits = plain;
    twelveBits[34] = 12;
    QByteArray noChannels = plain;
    noChannels[22] = 0;
    for (const QByteArray& bad :
         {QByteArray(), QByteArray("RIFF\0\0\0\0WAVE", 12), plain.left(36), floatTag, twelveBits,
          noChannels, QByteArray("RIFX") + plain.mid(4), plain.left(8) + "AVI " + plain.mid(12)})
        EXPECT_FALSE(ParseWaveHeader(bad)) << bad.left(16).toHex().toStdString();
}

class WavePlayerTest : public ::testing::Test {
protected:
    WavePlayerTest() : player(clock, sound.OpenChannel()) {}

    QString Write(const QString& name, std::int64_t ms) {
        const QString path = dir.path() + "/" + name;
        testing_support::WriteWaveOfMs(path, ms);
        return path;
    }

    QTemporaryDir dir;
    FakeClock clock;
    FakeSoundOutput sound;
    WavePlayer player;
};

TEST_F(WavePlayerTest, PlaysForTheFilesLengthOnTheClock) {
    const QString path = Write("Call.wav", 800);
    EXPECT_EQ(player.Mode(), kModeNotOpen);
    ASSERT_TRUE(player.Open(path));
    EXPECT_EQ(player.Mode(), kModeStopped);
    EXPECT_EQ(player.FileName(), path);
    EXPECT_EQ(player.LengthMs(), 800);
    EXPECT_TRUE(sound.played().empty());

    player.Play();
    ASSERT_EQ(sound.paths(), QStringList{path});
    EXPECT_EQ(sound.played()[0].sampleBytes, 800 * 16);
    EXPECT_EQ(sound.played()[0].format.sampleRate, 8000);
    EXPECT_EQ(player.Mode(), kModePlaying);
    clock.AdvanceMs(799);
    EXPECT_EQ(player.Mode(), kModePlaying);
    clock.AdvanceMs(1);
    EXPECT_EQ(player.Mode(), kModeStopped);
    clock.AdvanceMs(5000);
    EXPECT_EQ(player.Mode(), kModeStopped);

    // Played again from the start once it has ended.
    player.Play();
    EXPECT_EQ(player.Mode(), kModePlaying);
    EXPECT_EQ(sound.played().size(), 2u);
    EXPECT_EQ(sound.played()[1].sampleBytes, 800 * 16);
}

TEST_F(WavePlayerTest, StopHoldsThePositionAndPlayGoesOnFromIt) {
    ASSERT_TRUE(player.Open(Write("F1.wav", 1000)));
    player.Play();
    clock.AdvanceMs(250);
    player.Stop();
    EXPECT_EQ(player.Mode(), kModeStopped);
    EXPECT_EQ(player.PositionMs(), 250);
    EXPECT_EQ(sound.record->stops, 1);
    clock.AdvanceMs(10000);
    EXPECT_EQ(player.Mode(), kModeStopped);

    player.Play();
    EXPECT_EQ(sound.played().back().sampleBytes, 750 * 16);
    clock.AdvanceMs(749);
    EXPECT_EQ(player.Mode(), kModePlaying);
    clock.AdvanceMs(1);
    EXPECT_EQ(player.Mode(), kModeStopped);
}

TEST_F(WavePlayerTest, CloseEndsTheSoundAndTheFile) {
    ASSERT_TRUE(player.Open(Write("Dupe.wav", 1000)));
    player.Play();
    clock.AdvanceMs(100);
    player.Close();
    EXPECT_EQ(player.Mode(), kModeNotOpen);
    EXPECT_EQ(sound.record->stops, 1);
    EXPECT_TRUE(player.FileName().isEmpty());
    EXPECT_EQ(player.LengthMs(), 0);
    player.Play();  // nothing open: nothing plays
    EXPECT_EQ(sound.played().size(), 1u);
    EXPECT_EQ(player.Mode(), kModeNotOpen);
}

TEST_F(WavePlayerTest, OpeningAnotherFileEndsTheOneThatPlays) {
    ASSERT_TRUE(player.Open(Write("NavEn.wav", 2000)));
    player.Play();
    clock.AdvanceMs(100);
    ASSERT_TRUE(player.Open(Write("Call.wav", 300)));
    EXPECT_EQ(sound.record->stops, 1);
    EXPECT_EQ(player.Mode(), kModeStopped);
    player.Play();
    clock.AdvanceMs(300);
    EXPECT_EQ(player.Mode(), kModeStopped);
}

TEST_F(WavePlayerTest, AFileThatCannotPlayNeverPlays) {
    TestProgram::WriteFile(dir.path() + "/text.wav", "not a wave file");
    for (const QString& path : {dir.path() + "/missing.wav", dir.path() + "/text.wav", dir.path()}) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_FALSE(player.Open(path));
        player.Play();
        EXPECT_EQ(player.Mode(), kModeNotOpen);
        bool ended = false;
        player.WhenEnded([&] { ended = true; });
        EXPECT_TRUE(ended);
    }
    EXPECT_TRUE(sound.played().empty());
    // A failed open closes the file that was open.
    ASSERT_TRUE(player.Open(Write("Call.wav", 500)));
    player.Play();
    EXPECT_FALSE(player.Open(dir.path() + "/missing.wav"));
    EXPECT_EQ(player.Mode(), kModeNotOpen);
}

// The end of a sound is reported from the event loop when it comes; nothing
// waits for it meanwhile.
TEST_F(WavePlayerTest, TheEndIsReportedWhenTheSoundEnds) {
    ASSERT_TRUE(player.Open(Write("NavEn.wav", 1234)));
    player.Play();
    clock.AdvanceMs(200);
    int ended = 0;
    std::int64_t endedAt = 0;
    player.WhenEnded([&] {
        ++ended;
        endedAt = clock.MonotonicMs();
        EXPECT_EQ(player.Mode(), kModeStopped);
    });
    const std::int64_t before = clock.MonotonicMs();
    EXPECT_EQ(ended, 0);
    clock.AdvanceMs(5000);
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(endedAt - before, 1034);

    // Not playing: at once.
    player.WhenEnded([&] { ++ended; });
    EXPECT_EQ(ended, 2);

    // Played again, stopped or closed before its end: never.
    for (void (WavePlayer::*cut)() : {&WavePlayer::Play, &WavePlayer::Stop, &WavePlayer::Close}) {
        ASSERT_TRUE(player.Open(Write("NavEn.wav", 1234)));
        player.Play();
        player.WhenEnded([&] { ++ended; });
        clock.AdvanceMs(100);
        (player.*cut)();
        clock.AdvanceMs(5000);
    }
    EXPECT_EQ(ended, 2);
}

// Players sound on channels of their own.
TEST_F(WavePlayerTest, EachPlayerHasItsOwnChannel) {
    WavePlayer other(clock, sound.OpenChannel());
    ASSERT_TRUE(player.Open(Write("a.wav", 500)));
    ASSERT_TRUE(other.Open(Write("b.wav", 500)));
    player.Play();
    other.Play();
    ASSERT_EQ(sound.played().size(), 2u);
    EXPECT_NE(sound.played()[0].channel, sound.played()[1].channel);
    EXPECT_EQ(sound.record->stops, 0);
    EXPECT_EQ(player.Mode(), kModePlaying);
}

// An output that still holds the last samples when the file's length has
// passed on the clock keeps the mode at playing until they have been heard,
// but never longer than the wait allows for the output's delay.
TEST_F(WavePlayerTest, PlaysUntilTheOutputHasSoundedTheLastSample) {
    sound.record->holdsSound = true;
    ASSERT_TRUE(player.Open(Write("County.wav", 800)));
    player.Play();
    clock.AdvanceMs(900);
    EXPECT_EQ(player.Mode(), kModePlaying);
    sound.record->holdsSound = false;  // the server has played the last sample
    EXPECT_EQ(player.Mode(), kModeStopped);

    // The end is reported when the output has sounded the last sample...
    sound.record->holdsSound = true;
    player.Play();
    bool ended = false;
    player.WhenEnded([&] { ended = true; });
    clock.AdvanceMs(900);
    EXPECT_FALSE(ended);
    sound.HearTheEnd();
    EXPECT_TRUE(ended);
    EXPECT_EQ(player.Mode(), kModeStopped);

    // ...and no later than the slack allowed for the output's delay.
    player.Play();
    ended = false;
    player.WhenEnded([&] { ended = true; });
    clock.AdvanceMs(800 + WavePlayer::kWaitSlackMs - 1);
    EXPECT_FALSE(ended);
    clock.AdvanceMs(1);
    EXPECT_TRUE(ended);
    EXPECT_EQ(player.Mode(), kModeStopped);
}

// What waits for the end waits a few seconds at most, whatever the file's
// length.
TEST_F(WavePlayerTest, WaitIsCappedWhateverTheFile) {
    ASSERT_TRUE(player.Open(Write("Long.wav", 60000)));
    player.Play();
    bool ended = false;
    player.WhenEnded([&] { ended = true; });
    clock.AdvanceMs(WavePlayer::kMaxWaitMs - 1);
    EXPECT_FALSE(ended);
    clock.AdvanceMs(1);
    EXPECT_TRUE(ended);
}

// The shipped "Dupe" prompt with its sample rate byte-edited to 128 Hz (and
// to 1 Hz) claims to play for minutes or hours: it is refused, so nothing
// plays and nothing waits for it.
TEST_F(WavePlayerTest, PromptWithAnEditedSampleRateIsRefused) {
    const QByteArray shipped =
        TestProgram::ReadFile(QStringLiteral(OSTREL_DATA_DIR) + "/Dupe.wav");
    ASSERT_TRUE(ParseWaveHeader(shipped));
    for (quint32 rate : {128u, 1u}) {
        SCOPED_TRACE(rate);
        QByteArray edited = shipped;
        qToLittleEndian<quint32>(rate, edited.data() + 24);
        qToLittleEndian<quint32>(rate * 2, edited.data() + 28);
        const QString path = dir.path() + "/Dupe.wav";
        TestProgram::WriteFile(path, edited);
        EXPECT_FALSE(player.Open(path));
        player.Play();
        EXPECT_EQ(player.Mode(), kModeNotOpen);
        bool ended = false;
        player.WhenEnded([&] { ended = true; });
        EXPECT_TRUE(ended);
    }
    EXPECT_TRUE(sound.played().empty());
}
