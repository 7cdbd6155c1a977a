// The Morse keyer on its own: what it keys, and for how long, on a line that
// records every setting, on the fake clock; one real-clock run per timing
// method.
#include <gtest/gtest.h>

#include <ctime>
#include <functional>

#include "keyers/morse_keyer.h"
#include "platform/clock.h"
#include "support/fake_clock.h"
#include "support/morse_decoder.h"
#include "support/qstring_printer.h"

using keyers::KeyLine;
using keyers::MorseKeyer;
using keyers::TimingMethod;
using testing_support::DecodeMorse;
using testing_support::ElementsOf;
using testing_support::FakeClock;
using testing_support::LineSetting;

namespace {

// Every line setting with the time it was made.
class RecordingLines final : public keyers::KeyingLines {
public:
    explicit RecordingLines(const platform::Clock& clock) : clock_(clock) {}
    struct Setting {
        KeyLine line;
        std::int64_t at;
        int value;  // 1/0 for RTS and DTR, the register value for the printer port
        int port;
    };
    bool SetRTS(bool on) override { return record(KeyLine::RTS, on ? 1 : 0, 0); }
    bool SetDTR(bool on) override { return record(KeyLine::DTR, on ? 1 : 0, 0); }
    bool WriteParallelControl(std::uint16_t baseAddress, std::uint8_t value) override {
        return record(KeyLine::Printer, value, baseAddress + 2);
    }
    // The settings as keyed or released.
    std::vector<LineSetting> Line() const {
        std::vector<LineSetting> out;
        for (const Setting& s : settings) out.push_back({s.at, s.value == 1 || s.value == 3});
        return out;
    }

    std::vector<Setting> settings;
    // The write with this index (0 the first) fails.
    int failAt = -1;

private:
    bool record(KeyLine line, int value, int port) {
        if (static_cast<int>(attempts_++) == failAt) return false;
        settings.push_back({line, clock_.MonotonicMs(), value, port});
        return true;
    }
    const platform::Clock& clock_;
    std::size_t attempts_ = 0;
};

// The recording reads the clock without moving it.
class PeekClock final : public platform::Clock {
public:
    explicit PeekClock(FakeClock& clock) : clock_(clock) {}
    std::int64_t MonotonicMs() const override { return clock_.monotonic; }
    QDateTime LocalNow() const override { return clock_.LocalNow(); }
    QDateTime UtcNow() const override { return clock_.UtcNow(); }
    void SleepMs(int) override {}

private:
    FakeClock& clock_;
};

class FakeControls final : public keyers::KeyerControls {
public:
    int keyingInterface = 1;
    KeyLine line = KeyLine::RTS;
    std::function<QString()> speed = [] { return QStringLiteral("20"); };
    QString wordSpace = QStringLiteral("0");
    QString address = QStringLiteral("&H378");
    TimingMethod method = TimingMethod::Sleep;
    double loopOffset = 0;
    bool portOpen = true;
    bool portOpens = true;
    int openCalls = 0;
    int logCalls = 0;

    int KeyingInterface() override { return keyingInterface; }
    KeyLine Line() override { return line; }
    QString Speed() override { return speed(); }
    QString WordSpace() override { return wordSpace; }
    QString ParallelAddress() override { return address; }
    TimingMethod Method() override { return method; }
    double LoopOffset() override { return loopOffset; }
    bool PortOpen() override { return portOpen; }
    bool OpenPort() override {
        ++openCalls;
        portOpen = portOpens;
        return portOpens;
    }
    void LogContact() override { ++logCalls; }
};

// The fake clock as the keyer uses it, with the milliseconds it slept.
class SleepTallyClock final : public platform::Clock {
public:
    explicit SleepTallyClock(FakeClock& clock) : clock_(clock) {}
    std::int64_t MonotonicMs() const override { return clock_.MonotonicMs(); }
    QDateTime LocalNow() const override { return clock_.LocalNow(); }
    QDateTime UtcNow() const override { return clock_.UtcNow(); }
    void SleepMs(int ms) override {
        slept += ms;
        clock_.SleepMs(ms);
    }
    std::int64_t slept = 0;

private:
    FakeClock& clock_;
};

struct KeyerRig {
    FakeClock clock;
    PeekClock peek{clock};
    RecordingLines lines{peek};
    FakeControls controls;
    MorseKeyer keyer{clock, lines, controls};
    std::int64_t start = clock.monotonic;

    void Send(const QString& text) {
        for (QChar c : text) keyer.Transmit(c);
    }
    // From the first setting of the line (or the start, when there is none)
    // to now.
    std::int64_t Elapsed() const {
        return clock.monotonic - (lines.settings.empty() ? start : lines.settings.front().at);
    }
    std::string Elements(double unitMs) const {
        return ElementsOf(lines.Line(), clock.monotonic, unitMs);
    }
};

}  // namespace

TEST(MorseKeyer, KeysTheElementsOfEachCharacterOneUnitEach) {
    struct Case {
        QString text;
        std::string elements;
        QString decoded;
    };
    const Case cases[] = {
        {"A", "10111000", "A"},
        {"e", "1000", "E"},
        {" ", "00000000", " "},
        {"-", "1110101010111000", "="},
        {"=", "1110101010111000", "="},
        {"\\", "111010111010101110101000", "<-.-..-..>"},
        {"[", "1011101011101000", "<.-.-.>"},
        {"]", "101010111010111000", "<...-.->"},
        {";", "111010111011101000", "<-.--.>"},
        {",", "1110111010101110111000", "<--..-->"},
        {"0", "1110111011101110111000", "0"},
        {"CQ DE W9XYZ", "", "CQ DE W9XYZ"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        for (TimingMethod method : {TimingMethod::Sleep, TimingMethod::Timer}) {
            KeyerRig rig;
            rig.controls.method = method;
            if (method == TimingMethod::Timer) rig.clock.advancePerReadMs = 1;
            rig.Send(c.text);
            const std::string elements = rig.Elements(60);
            if (!c.elements.empty()) {
                EXPECT_EQ(elements, c.elements);
                EXPECT_EQ(rig.Elapsed(), static_cast<std::int64_t>(c.elements.size()) * 60);
            }
            EXPECT_EQ(DecodeMorse(elements), c.decoded);
            // Every character ends released.
            ASSERT_FALSE(rig.lines.settings.empty());
            EXPECT_EQ(rig.lines.settings.back().value, 0);
        }
    }
}

TEST(MorseKeyer, ParisTakesFiftyFourUnitsOrFiftyWithWordSpaceMinusFour) {
    const std::pair<QString, int> cases[] = {{"0", 54}, {"-4", 50}, {"3", 57}, {"-8", 46}};
    for (const auto& [space, units] : cases) {
        SCOPED_TRACE(space.toStdString());
        KeyerRig rig;
        rig.controls.wordSpace = space;
        rig.Send("PARIS ");
        EXPECT_EQ(rig.Elapsed(), units * 60);
        EXPECT_EQ(DecodeMorse(rig.Elements(60)).trimmed(), "PARIS");
    }
}

TEST(MorseKeyer, WordSpaceAdjustsTheUnitsOfABlank) {
    const std::pair<QString, int> cases[] = {
        {"0", 8}, {"3", 11}, {"2.7", 10}, {"0.5", 8}, {"-2", 6}, {"-8", 0}, {"-2.5", 6}, {"-3.5", 4},
    };
    for (const auto& [space, units] : cases) {
        SCOPED_TRACE(space.toStdString());
        KeyerRig rig;
        rig.controls.wordSpace = space;
        rig.Send(" ");
        EXPECT_EQ(rig.Elapsed(), units * 60);
        EXPECT_EQ(rig.lines.settings.size(), static_cast<std::size_t>(units));
    }
}

TEST(MorseKeyer, UnitLengthByMethodAndSpeed) {
    struct Case {
        QString speed;
        TimingMethod method;
        std::vector<std::int64_t> ends;  // of the four units of "E"
    };
    // Sleep: 1200 / speed to the nearest millisecond, halves to even. Timer:
    // each unit ends at the first counter reading at least 1200 / speed after
    // the planned end of the unit before (92.3 ms at 13 WPM).
    const Case cases[] = {
        {"13", TimingMethod::Sleep, {92, 184, 276, 368}},
        {"13", TimingMethod::Timer, {93, 185, 277, 370}},
        {"20", TimingMethod::Sleep, {60, 120, 180, 240}},
        {"20", TimingMethod::Timer, {60, 120, 180, 240}},
        {"32", TimingMethod::Sleep, {38, 76, 114, 152}},
        {"32", TimingMethod::Timer, {38, 75, 113, 150}},
        {"16", TimingMethod::Sleep, {75, 150, 225, 300}},
        {"24.5", TimingMethod::Sleep, {49, 98, 147, 196}},
        // Outside 5 to 99 WPM the nearer end is sent.
        {"150", TimingMethod::Sleep, {12, 24, 36, 48}},
        {"2", TimingMethod::Sleep, {240, 480, 720, 960}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.speed.toStdString() + (c.method == TimingMethod::Sleep ? " sleep" : " timer"));
        KeyerRig rig;
        rig.controls.method = c.method;
        rig.controls.speed = [s = c.speed] { return s; };
        if (c.method == TimingMethod::Timer) rig.clock.advancePerReadMs = 1;
        rig.Send("E");
        ASSERT_EQ(rig.lines.settings.size(), 4u);
        std::vector<std::int64_t> ends;
        const std::int64_t first = rig.lines.settings[0].at;
        for (std::size_t i = 1; i < 4; ++i) ends.push_back(rig.lines.settings[i].at - first);
        ends.push_back(rig.clock.monotonic - first);
        EXPECT_EQ(ends, c.ends);
        EXPECT_EQ(DecodeMorse(rig.Elements(static_cast<double>(c.ends.back()) / 4)), "E");
    }
}

// "Timer" keeps its edges exact and sleeps through each unit: it reads the
// counter once after an edge and again only in the last two milliseconds
// before the next (each reading moves this clock on by 1 ms, so the time not
// slept is at most 3 ms a unit).
TEST(MorseKeyer, TimerSleepsThroughEachUnitButItsLastMilliseconds) {
    struct Case {
        QString speed;
        QChar character;
        std::int64_t elapsed;
    };
    const Case cases[] = {
        {"20", u'A', 8 * 60}, {"20", u'0', 22 * 60}, {"13", u'E', 370},
        {"32", u'R', 375},    {"5", u'T', 6 * 240},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.speed.toStdString() + " " + QString(c.character).toStdString());
        FakeClock fake;
        fake.advancePerReadMs = 1;
        SleepTallyClock clock(fake);
        PeekClock peek(fake);
        RecordingLines lines(peek);
        FakeControls controls;
        controls.method = TimingMethod::Timer;
        controls.speed = [s = c.speed] { return s; };
        MorseKeyer keyer(clock, lines, controls);
        keyer.Transmit(c.character);
        ASSERT_FALSE(lines.settings.empty());
        const std::int64_t elapsed = fake.monotonic - lines.settings.front().at;
        EXPECT_EQ(elapsed, c.elapsed);
        const auto units = static_cast<std::int64_t>(lines.settings.size());
        EXPECT_LE(elapsed - clock.slept, 3 * units);
        EXPECT_EQ(DecodeMorse(ElementsOf(lines.Line(), fake.monotonic, static_cast<double>(elapsed) /
                                                                          static_cast<double>(units))),
                  QString(c.character));
    }
}

// A character that begins a little after the planned end of the one before
// (events ran in between) keys its first element for a whole unit: the
// late start lengthens the gap before it, never the element.
TEST(MorseKeyer, ALateCharacterKeysWholeElements) {
    for (TimingMethod method : {TimingMethod::Sleep, TimingMethod::Timer}) {
        for (const std::int64_t late : {1, 3, 6, 10, 25}) {
            SCOPED_TRACE(std::to_string(late) + (method == TimingMethod::Sleep ? " sleep" : " timer"));
            KeyerRig rig;
            rig.controls.method = method;
            if (method == TimingMethod::Timer) rig.clock.advancePerReadMs = 1;
            rig.Send("E");
            rig.clock.AdvanceMs(late);
            rig.Send("I");
            ASSERT_EQ(rig.lines.settings.size(), 4u + 6u);
            const auto& s = rig.lines.settings;
            EXPECT_EQ(s[4].value, 1);
            EXPECT_EQ(s[5].at - s[4].at, 60);  // the first dit of I
            EXPECT_EQ(s[6].value, 1);
            EXPECT_EQ(s[7].at - s[6].at, 60);  // the second
            // The gap before it: three units and the time it came late.
            EXPECT_GE(s[4].at - s[1].at, 3 * 60 + late);
            EXPECT_EQ(rig.clock.monotonic - s[4].at, 6 * 60);
        }
    }
}

// Sent as the send buffer sends it, a character leaves the last few
// milliseconds of its silence to the events that run before the next one:
// events shorter than that change no gap; longer ones lengthen the gap by
// what they take beyond it.
TEST(MorseKeyer, EventsBetweenCharactersFitInTheSilence) {
    for (TimingMethod method : {TimingMethod::Sleep, TimingMethod::Timer}) {
        for (const std::int64_t events : {0, 6, 10, 25}) {
            SCOPED_TRACE(std::to_string(events) + (method == TimingMethod::Sleep ? " sleep" : " timer"));
            KeyerRig rig;
            rig.controls.method = method;
            if (method == TimingMethod::Timer) rig.clock.advancePerReadMs = 1;
            rig.keyer.Transmit(u'E', MorseKeyer::Gap::Overlap);
            const std::int64_t left = rig.lines.settings[0].at + 4 * 60 - rig.clock.monotonic;
            EXPECT_GT(left, 0);
            EXPECT_LE(left, MorseKeyer::kOverlapMs);
            rig.clock.AdvanceMs(events);
            rig.keyer.Transmit(u'E');
            const auto& s = rig.lines.settings;
            ASSERT_EQ(s.size(), 8u);
            // (On the fake counter each reading moves it on by 1 ms.)
            const std::int64_t read = method == TimingMethod::Timer && events >= left ? 1 : 0;
            EXPECT_EQ(s[4].at - s[1].at, 3 * 60 + std::max<std::int64_t>(0, events - left) + read);
            EXPECT_EQ(s[5].at - s[4].at, 60);
            EXPECT_EQ(rig.clock.monotonic - s[4].at, 4 * 60);
        }
    }
    // The buffer's last character waits its silence out.
    KeyerRig rig;
    rig.keyer.Transmit(u'E', MorseKeyer::Gap::Overlap);
    rig.keyer.FinishGap();
    EXPECT_EQ(rig.Elapsed(), 4 * 60);
}

TEST(MorseKeyer, CharactersWithoutElementsTakeNoTime) {
    for (const QString text : {"$", "#", "*", "^", "'", "(", ":", "!"}) {
        SCOPED_TRACE(text.toStdString());
        KeyerRig rig;
        rig.Send(text);
        EXPECT_TRUE(rig.lines.settings.empty());
        EXPECT_EQ(rig.Elapsed(), 0);
    }
}

TEST(MorseKeyer, ExclamationLogsTheContactOnce) {
    KeyerRig rig;
    rig.Send("TU!");
    EXPECT_EQ(rig.controls.logCalls, 1);
    EXPECT_EQ(DecodeMorse(rig.Elements(60)), "TU");
}

TEST(MorseKeyer, InterfaceNoneSendsNothingAndLogsNothing) {
    KeyerRig rig;
    rig.controls.keyingInterface = 0;
    rig.Send("CQ!");
    EXPECT_TRUE(rig.lines.settings.empty());
    EXPECT_EQ(rig.controls.logCalls, 0);
    EXPECT_EQ(rig.Elapsed(), 0);
}

TEST(MorseKeyer, PrinterPortGetsThreeForKeyAndTwoForRelease) {
    KeyerRig rig;
    rig.controls.keyingInterface = 3;
    rig.controls.line = KeyLine::Printer;
    rig.Send("A");
    std::vector<int> values;
    for (const auto& s : rig.lines.settings) {
        EXPECT_EQ(s.port, 890);
        values.push_back(s.value);
    }
    EXPECT_EQ(values, (std::vector<int>{3, 2, 3, 3, 3, 2, 2, 2}));
    EXPECT_EQ(rig.Elements(60), "10111000");

    KeyerRig decimal;
    decimal.controls.keyingInterface = 3;
    decimal.controls.line = KeyLine::Printer;
    decimal.controls.address = "632";
    decimal.Send("E");
    EXPECT_EQ(decimal.lines.settings.front().port, 634);
}

TEST(MorseKeyer, DtrLineIsKeyedWhenChosen) {
    KeyerRig rig;
    rig.controls.keyingInterface = 2;
    rig.controls.line = KeyLine::DTR;
    rig.Send("T");
    for (const auto& s : rig.lines.settings) EXPECT_EQ(s.line, KeyLine::DTR);
    EXPECT_EQ(rig.Elements(60), "111000");
}

TEST(MorseKeyer, SpeedChangeActsFromTheNextElement) {
    KeyerRig rig;
    int reads = 0;
    // "0" (a dah): the speed doubles after its first unit.
    rig.controls.speed = [&reads] { return ++reads <= 1 ? QStringLiteral("20") : QStringLiteral("40"); };
    rig.Send("T");
    ASSERT_EQ(rig.lines.settings.size(), 6u);
    EXPECT_EQ(rig.lines.settings[1].at - rig.lines.settings[0].at, 60);
    EXPECT_EQ(rig.lines.settings[2].at - rig.lines.settings[1].at, 30);
    EXPECT_EQ(rig.Elapsed(), 60 + 5 * 30);
}

TEST(MorseKeyer, AnySpeedThatGivesNoUnitSendsNothing) {
    for (const QString speed : {"0", "-5", "abc", ""}) {
        SCOPED_TRACE(speed.toStdString());
        KeyerRig rig;
        rig.controls.speed = [speed] { return speed; };
        EXPECT_EQ(rig.keyer.Transmit(u'A'), MorseKeyer::Result::InvalidSpeed);
        EXPECT_TRUE(rig.lines.settings.empty());
        EXPECT_EQ(rig.Elapsed(), 0);
    }
}

TEST(MorseKeyer, LineIsReleasedWhateverWayACharacterEnds) {
    // The speed turns to 0 while the line is keyed.
    KeyerRig rig;
    int reads = 0;
    rig.controls.speed = [&reads] { return ++reads <= 3 ? QStringLiteral("20") : QStringLiteral("0"); };
    EXPECT_EQ(rig.keyer.Transmit(u'T'), MorseKeyer::Result::InvalidSpeed);
    ASSERT_FALSE(rig.lines.settings.empty());
    EXPECT_EQ(rig.lines.settings.back().value, 0);

    // A write fails in the middle of a dah on the printer port.
    KeyerRig printer;
    printer.controls.keyingInterface = 3;
    printer.controls.line = KeyLine::Printer;
    printer.lines.failAt = 2;
    EXPECT_EQ(printer.keyer.Transmit(u'T'), MorseKeyer::Result::LineFailed);
    ASSERT_EQ(printer.lines.settings.size(), 3u);
    EXPECT_EQ(printer.lines.settings.back().value, 2);

    // The line option changes to DTR while RTS is keyed: RTS is let go.
    KeyerRig moved;
    int lineReads = 0;
    moved.controls.line = KeyLine::RTS;
    moved.controls.speed = [&] {
        if (++lineReads > 1) moved.controls.line = KeyLine::DTR;
        return QStringLiteral("20");
    };
    moved.Send("T");
    bool rtsReleased = false;
    for (const auto& s : moved.lines.settings)
        if (s.line == KeyLine::RTS && s.value == 0) rtsReleased = true;
    EXPECT_TRUE(rtsReleased);
}

TEST(MorseKeyer, SerialPortIsOpenedFirstAndAFailureSendsNothing) {
    KeyerRig rig;
    rig.controls.portOpen = false;
    rig.Send("E");
    EXPECT_EQ(rig.controls.openCalls, 1);
    EXPECT_EQ(rig.Elements(60), "1000");

    // A port that will not open keys nothing; the character takes its time
    // all the same, and "!" logs the contact.
    KeyerRig failing;
    failing.controls.portOpen = false;
    failing.controls.portOpens = false;
    EXPECT_EQ(failing.keyer.Transmit(u'E'), MorseKeyer::Result::PortFailed);
    EXPECT_TRUE(failing.lines.settings.empty());
    EXPECT_EQ(failing.Elapsed(), 4 * 60);
    EXPECT_EQ(failing.keyer.Transmit(u'!'), MorseKeyer::Result::PortFailed);
    EXPECT_EQ(failing.controls.logCalls, 1);

    // The printer port needs no serial port.
    KeyerRig printer;
    printer.controls.keyingInterface = 3;
    printer.controls.line = KeyLine::Printer;
    printer.controls.portOpen = false;
    printer.Send("E");
    EXPECT_EQ(printer.controls.openCalls, 0);
}

TEST(MorseKeyer, CalibrationWithoutMeasurableTimeGivesNothing) {
    FakeClock clock;
    EXPECT_FALSE(MorseKeyer::CalibrateLoop(clock).has_value());
}

// The processor time of this thread: it stands still while the thread is
// not running, so a loaded machine does not upset the loop timing's check.
class ThreadTimeClock final : public platform::Clock {
public:
    std::int64_t MonotonicMs() const override {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
    }
    QDateTime LocalNow() const override { return {}; }
    QDateTime UtcNow() const override { return {}; }
    void SleepMs(int) override {}
};

// The real clock: "PARIS " with word space -4 is 50 units. The "Timer" and
// "Sleep" waits are checked on the monotonic clock, the "Loop" wait, which
// only counts, on the processor time it was calibrated in. A busy machine may
// stretch a run, so the best of up to six counts.
TEST(MorseKeyerRealClock, EachMethodKeepsTheWordLengthWithinAFewPerCent) {
    platform::SystemClock system;
    ThreadTimeClock thread;
    const double unitMs = 25;  // 48 WPM
    const double ideal = 50 * unitMs;
    for (TimingMethod method : {TimingMethod::Timer, TimingMethod::Sleep, TimingMethod::Loop}) {
        platform::Clock& clock = method == TimingMethod::Loop ? static_cast<platform::Clock&>(thread)
                                                              : static_cast<platform::Clock&>(system);
        double best = 1e9;
        for (int attempt = 0; attempt < 6 && std::abs(best / ideal - 1) > 0.03; ++attempt) {
            RecordingLines lines(clock);
            FakeControls controls;
            controls.method = method;
            if (method == TimingMethod::Loop) {
                // Calibrated just before, as selecting "Loop" does.
                const std::optional<double> passes = MorseKeyer::CalibrateLoop(clock);
                ASSERT_TRUE(passes.has_value());
                controls.loopOffset = *passes;
            }
            controls.wordSpace = "-4";
            controls.speed = [] { return QStringLiteral("48"); };
            MorseKeyer keyer(clock, lines, controls);
            const std::int64_t start = clock.MonotonicMs();
            for (QChar c : QStringLiteral("PARIS ")) keyer.Transmit(c);
            const double took = static_cast<double>(clock.MonotonicMs() - start);
            if (std::abs(took / ideal - 1) < std::abs(best / ideal - 1)) best = took;
        }
        EXPECT_NEAR(best / ideal, 1.0, 0.03) << "method " << static_cast<int>(method);
    }
}
