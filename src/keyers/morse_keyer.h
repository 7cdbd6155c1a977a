#pragma once
// The software Morse keyer: sends one character at a time by switching a
// keying line on and off and timing every element itself, by counting or
// sleeping. It blocks while it times, so it runs on the keyer's own thread
// (KeyerThread), never on the window's. It has no window: the keyer thread
// hands it the controls (read afresh for every element, so a speed stepped
// during a message acts at the next element) and the lines to key.
#include <QChar>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

namespace platform {
class Clock;
}

namespace keyers {

// The element string of a character: "1" keys the line for one unit, "0"
// releases it for one unit; every character ends with "000". Empty for a
// character that sends nothing ("$", "#", "!", ...). Lower-case letters are
// their upper-case forms.
QString MorseElements(QChar character);

// The speeds the keyer sends at, in words per minute.
inline constexpr double kMinWpm = 5;
inline constexpr double kMaxWpm = 99;

// The keying line chosen among the keying options.
enum class KeyLine { None, RTS, DTR, Printer };

enum class TimingMethod { Timer, Sleep, Loop };

// The lines the keyer switches: RTS or DTR of the CW keying port, or the
// parallel port's control register.
class KeyingLines {
public:
    virtual ~KeyingLines() = default;
    virtual bool SetRTS(bool on) = 0;
    virtual bool SetDTR(bool on) = 0;
    // Writes `value` to the control register at `baseAddress` + 2.
    virtual bool WriteParallelControl(std::uint16_t baseAddress, std::uint8_t value) = 0;
};

// The settings the keyer reads, and the two things it asks of its window.
class KeyerControls {
public:
    virtual ~KeyerControls() = default;
    // CWKeyingLine: 0 none, 1 RTS, 2 DTR, 3 parallel port, 5 WinKeyer.
    virtual int KeyingInterface() = 0;
    virtual KeyLine Line() = 0;
    // The speed box's text, in words per minute.
    virtual QString Speed() = 0;
    // The word-space adjustment box's text, in units.
    virtual QString WordSpace() = 0;
    // The parallel port's base address as typed ("&H378").
    virtual QString ParallelAddress() = 0;
    virtual TimingMethod Method() = 0;
    // Passes of the timing loop per 60 ms.
    virtual double LoopOffset() = 0;
    // The CW keying serial port: whether it is open, and opening it without
    // any report; false when it cannot be opened.
    virtual bool PortOpen() = 0;
    virtual bool OpenPort() = 0;
    // "!": logs the contact on the entry line when its call box is not empty.
    virtual void LogContact() = 0;
    // The keyer has been told to stop: the character under way keys and
    // times nothing more after the unit it is in, whatever the line.
    virtual bool Stopped() { return false; }
};

class MorseKeyer {
public:
    enum class Result {
        Sent,          // sent to its end (or nothing to send)
        InvalidSpeed,  // the speed is no number, 0 or below: nothing keyed
        PortFailed,    // the serial keying port could not be opened
        LineFailed,    // a line could not be set; the character ended there
        Stopped,       // told to stop; the character ended there
    };

    // How Transmit waits out the silence that ends a character.
    enum class Gap {
        // Returns when the character is over, its trailing silence included.
        Wait,
        // Returns up to kOverlapMs before that silence is over, so that events
        // may run between two characters without stretching the gap; the next
        // character (or FinishGap) waits out the rest. "Timer" and "Sleep"
        // only: the "Loop" method always waits.
        Overlap,
    };
    // The most of a trailing silence Gap::Overlap leaves to the caller.
    static constexpr double kOverlapMs = 10;

    MorseKeyer(platform::Clock& clock, KeyingLines& lines, KeyerControls& controls)
        : clock_(clock), lines_(lines), controls_(controls) {}

    // Sends one character. Whatever way it ends, the keying line is left
    // released. Each character is timed from the planned end of the one
    // before when it starts within that one's silence, else from the moment
    // it starts: a late start lengthens the gap before it, never an element.
    // A serial keying port that will not open keys nothing, but the character
    // is timed all the same (and "!" logs the contact): PortFailed.
    Result Transmit(QChar character, Gap gap = Gap::Wait);
    // The same, leaving the end of the silence as Gap::Overlap does when
    // `more` says, as the last unit begins, that another character is ready
    // (else as Gap::Wait): a sender on a thread of its own learns of the next
    // character while this one is keyed.
    Result Transmit(QChar character, const std::function<bool()>& more);
    // Waits out the rest of a silence that Transmit left with Gap::Overlap.
    void FinishGap();

    // The milliseconds of one unit at `speed` words per minute (1200 /
    // speed, the speed held within 5 to 99), or nothing when the speed is no
    // number, 0 or below.
    static std::optional<double> UnitMs(const QString& speed);

    // Counts a double-precision counter up from 0 in steps of 1 while it is
    // below `limit`: the "Loop" wait, and the measure of the calibration.
    // Every so many passes it asks `stopped`, if given, and gives up when it
    // says so: false then, true when the count ran to its end.
    static bool CountPasses(double limit, const std::function<bool()>& stopped = {});
    // Measures the passes of CountPasses per 60 ms on `clock`, counting for
    // about 250 ms. Nothing when no time could be measured or `stopped` said
    // to stop.
    static std::optional<double> CalibrateLoop(platform::Clock& clock,
                                               const std::function<bool()>& stopped = {});

private:
    Result Send(QChar character, Gap gap, const std::function<bool()>* more);
    bool SetLine(KeyLine line, bool on);
    // Waits one unit from the planned end of the unit before, `shortMs`
    // less (the end planned stays the unit's whole end).
    void WaitUnit(double unitMs, TimingMethod method, double shortMs = 0);
    // Waits until the counter reads `end` or later.
    void WaitUntil(double end, TimingMethod method);

    platform::Clock& clock_;
    KeyingLines& lines_;
    KeyerControls& controls_;
    // The planned end of the last unit (at first the counter reading at
    // which the character began): the next unit is timed from it.
    double end_ = 0;
    // The method the silence left by Gap::Overlap is timed by.
    TimingMethod gapMethod_ = TimingMethod::Timer;
};

}  // namespace keyers
