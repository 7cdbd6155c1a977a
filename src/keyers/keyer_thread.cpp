#include "keyers/keyer_thread.h"

#include <QMetaObject>
#include <QObject>

#include "platform/clock.h"

namespace keyers {

// The settings as the keyer reads them, element by element; the port was
// opened (or found to fail) by the window before the message began.
class KeyerThread::Controls final : public KeyerControls {
public:
    explicit Controls(KeyerThread& t) : t_(t) {}
    int KeyingInterface() override { return Read().keyingInterface; }
    KeyLine Line() override { return Read().line; }
    QString Speed() override { return Read().speed; }
    QString WordSpace() override { return Read().wordSpace; }
    QString ParallelAddress() override { return Read().parallelAddress; }
    TimingMethod Method() override { return Read().method; }
    double LoopOffset() override { return Read().loopOffset; }
    bool PortOpen() override { return !Read().portFailed; }
    bool OpenPort() override { return false; }
    // The message of the character being sent was stopped or replaced.
    bool Stopped() override {
        std::lock_guard lock(t_.mutex_);
        return t_.quit_ || t_.running_ != t_.message_;
    }
    void LogContact() override {
        std::uint64_t message = 0;
        {
            std::lock_guard lock(t_.mutex_);
            message = t_.running_;
        }
        t_.Post([fn = t_.reports_.logContact, message] {
            if (fn) fn(message);
        });
    }

private:
    KeyerSettings Read() {
        std::lock_guard lock(t_.mutex_);
        return t_.settings_;
    }
    KeyerThread& t_;
};

// The lines as the keyer switches them: refused once the message is stopped,
// and the one keyed remembered, so that a stop releases it at once.
class KeyerThread::Guard final : public KeyingLines {
public:
    Guard(KeyerThread& t, KeyingLines& lines) : t_(t), lines_(lines) {}
    bool SetRTS(bool on) override {
        std::lock_guard lock(t_.mutex_);
        if (!Live() || !lines_.SetRTS(on)) return false;
        Keyed(on, KeyLine::RTS, 0);
        return true;
    }
    bool SetDTR(bool on) override {
        std::lock_guard lock(t_.mutex_);
        if (!Live() || !lines_.SetDTR(on)) return false;
        Keyed(on, KeyLine::DTR, 0);
        return true;
    }
    bool WriteParallelControl(std::uint16_t baseAddress, std::uint8_t value) override {
        std::lock_guard lock(t_.mutex_);
        if (!Live() || !lines_.WriteParallelControl(baseAddress, value)) return false;
        Keyed(value == 3, KeyLine::Printer, baseAddress);
        return true;
    }
    // Releases the line keyed, if any (the lock held).
    void Release() {
        if (!down_) return;
        switch (*down_) {
        case KeyLine::RTS: lines_.SetRTS(false); break;
        case KeyLine::DTR: lines_.SetDTR(false); break;
        case KeyLine::Printer: lines_.WriteParallelControl(address_, 2); break;
        case KeyLine::None: break;
        }
        down_.reset();
    }

private:
    bool Live() const { return t_.running_ != 0 && t_.running_ == t_.message_; }
    void Keyed(bool on, KeyLine line, std::uint16_t address) {
        if (on) {
            down_ = line;
            address_ = address;
        } else if (down_ == line) {
            down_.reset();
        }
    }

    KeyerThread& t_;
    KeyingLines& lines_;
    std::optional<KeyLine> down_;
    std::uint16_t address_ = 0;
};

KeyerThread::KeyerThread(platform::Clock& clock, KeyingLines& lines, std::recursive_mutex& linesLock,
                         QObject* context, Reports reports)
    : clock_(clock), context_(context), reports_(std::move(reports)), mutex_(linesLock) {
    controls_ = std::make_unique<Controls>(*this);
    guard_ = std::make_unique<Guard>(*this, lines);
    keyer_ = std::make_unique<MorseKeyer>(clock_, *guard_, *controls_);
    thread_ = std::thread([this] { Run(); });
}

KeyerThread::~KeyerThread() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    Stop();
    wake_.notify_all();
    thread_.join();
}

void KeyerThread::SetSettings(const KeyerSettings& settings) {
    std::lock_guard lock(mutex_);
    settings_ = settings;
}

std::uint64_t KeyerThread::Begin() {
    std::lock_guard lock(mutex_);
    message_ = ++lastMessage_;
    handed_.reset();
    // A character of an earlier message still under way keys nothing more.
    guard_->Release();
    return message_;
}

void KeyerThread::Hand(std::uint64_t message, QChar character) {
    {
        std::lock_guard lock(mutex_);
        if (message != message_) return;
        handed_ = character;
        handedMessage_ = message;
    }
    wake_.notify_all();
}

bool KeyerThread::TakeBack() {
    std::lock_guard lock(mutex_);
    const bool had = handed_.has_value();
    handed_.reset();
    return had;
}

std::uint64_t KeyerThread::Stop() {
    std::lock_guard lock(mutex_);
    message_ = ++lastMessage_;
    handed_.reset();
    guard_->Release();
    // A calibration asked for or under way ends too, with no count.
    calibrate_ = false;
    ++stops_;
    return message_;
}

void KeyerThread::Calibrate() {
    {
        std::lock_guard lock(mutex_);
        calibrate_ = true;
    }
    wake_.notify_all();
}

void KeyerThread::Post(std::function<void()> fn) {
    QMetaObject::invokeMethod(context_, std::move(fn), Qt::QueuedConnection);
}

void KeyerThread::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return quit_ || calibrate_ || (handed_ && handedMessage_ == message_); });
        if (quit_) return;
        if (calibrate_) {
            calibrate_ = false;
            const std::uint64_t stops = stops_;
            const auto stopped = [this, stops] {
                std::lock_guard hold(mutex_);
                return quit_ || stops_ != stops;
            };
            lock.unlock();
            const std::optional<double> loops = MorseKeyer::CalibrateLoop(clock_, stopped);
            if (!stopped())
                Post([fn = reports_.calibrated, loops] {
                    if (fn) fn(loops);
                });
            lock.lock();
            continue;
        }
        const QChar character = *handed_;
        handed_.reset();
        const std::uint64_t message = running_ = handedMessage_;
        lock.unlock();
        const auto begun = [this, message] {
            Post([fn = reports_.begun, message] {
                if (fn) fn(message);
            });
        };
        // "!" asks for the contact to be logged before anything after it.
        if (character != u'!') begun();
        const MorseKeyer::Result result = keyer_->Transmit(character, std::function<bool()>([this, message] {
            std::lock_guard more(mutex_);
            return handed_.has_value() && handedMessage_ == message && message_ == message;
        }));
        if (character == u'!') begun();
        lock.lock();
        // With nothing to follow, the message may end here: its last silence
        // is waited out first.
        if (!(handed_ && handedMessage_ == message_)) {
            lock.unlock();
            keyer_->FinishGap();
            lock.lock();
        }
        running_ = 0;
        lock.unlock();
        Post([fn = reports_.sent, message, result] {
            if (fn) fn(message, result);
        });
        lock.lock();
    }
}

}  // namespace keyers
