#pragma once
// The software Morse keyer on a thread of its own, so that a busy window
// never stretches or cuts an element and the window's thread never waits on
// one. It touches no widget: the window hands it one character at a time
// (the next while the one before is keyed), a copy of the controls it reads
// (replaced whenever they change, so a speed stepped during a message acts at
// the next element) and the lines to key; it reports back through calls
// queued to the window's thread, in the order things happened.
#include <QChar>
#include <QString>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "keyers/morse_keyer.h"

class QObject;

namespace platform {
class Clock;
}

namespace keyers {

// The keyer's controls as the window last read them.
struct KeyerSettings {
    int keyingInterface = 0;
    KeyLine line = KeyLine::None;
    QString speed;
    QString wordSpace;
    QString parallelAddress;
    TimingMethod method = TimingMethod::Timer;
    double loopOffset = 0;
    // The serial keying port would not open: the message is timed without
    // keying.
    bool portFailed = false;
};

class KeyerThread {
public:
    // Each runs on the thread of `context`, queued; `message` tells which
    // message the report belongs to.
    struct Reports {
        // A character has begun ("!": the contact is to be logged first), so
        // the next one may be handed.
        std::function<void(std::uint64_t message)> begun;
        // "!" is being sent: the contact is to be logged now.
        std::function<void(std::uint64_t message)> logContact;
        // A character is over (with nothing handed to follow it, its last
        // silence waited out too).
        std::function<void(std::uint64_t message, MorseKeyer::Result result)> sent;
        // The result of Calibrate().
        std::function<void(std::optional<double> loopsPer60Ms)> calibrated;
    };

    // `lines` are switched on this object's thread, each switch under
    // `linesLock`, which whoever else uses the same ports takes too.
    KeyerThread(platform::Clock& clock, KeyingLines& lines, std::recursive_mutex& linesLock,
                QObject* context, Reports reports);
    // Stops at once and ends the thread.
    ~KeyerThread();
    KeyerThread(const KeyerThread&) = delete;
    KeyerThread& operator=(const KeyerThread&) = delete;

    void SetSettings(const KeyerSettings& settings);
    // A new message: the one before, if any, keys nothing more (a line it
    // holds is released).
    std::uint64_t Begin();
    // Hands the next character of `message` (nothing when that message was
    // stopped).
    void Hand(std::uint64_t message, QChar character);
    // Takes back the character handed and not yet begun; false when there
    // is none.
    bool TakeBack();
    // Stops the message under way at once: the character handed is dropped,
    // the line keyed is released now, and the character being sent keys and
    // times nothing more, whatever the line. Returns the message that
    // follows; the reports of the one stopped, which come once its unit is
    // over, name the old one. A calibration asked for or under way ends
    // without a report.
    std::uint64_t Stop();
    // Measures the "Loop" timing's passes per 60 ms on this thread.
    void Calibrate();

private:
    class Controls;
    class Guard;

    void Run();
    void Post(std::function<void()> fn);

    platform::Clock& clock_;
    QObject* context_;
    Reports reports_;
    std::recursive_mutex& mutex_;
    std::condition_variable_any wake_;
    KeyerSettings settings_;
    std::uint64_t lastMessage_ = 0;
    // The message that may key; one stopped is no longer it.
    std::uint64_t message_ = 0;
    // The message of the character being sent (0 between characters).
    std::uint64_t running_ = 0;
    std::optional<QChar> handed_;
    std::uint64_t handedMessage_ = 0;
    bool calibrate_ = false;
    // Counts the stops, so that a calibration learns of one.
    std::uint64_t stops_ = 0;
    bool quit_ = false;
    std::unique_ptr<Controls> controls_;
    std::unique_ptr<Guard> guard_;
    std::unique_ptr<MorseKeyer> keyer_;
    std::thread thread_;
};

}  // namespace keyers
