#include "platform/wave_player.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QThread>
#include <QTimer>
#include <QtEndian>
#include <algorithm>
#include <atomic>
#include <deque>
#include <functional>

#include "platform/clock.h"
#include "platform/text_file.h"

namespace platform {

namespace {

constexpr quint16 kFormatPcm = 1;
constexpr quint16 kFormatExtensible = 0xFFFE;

quint16 u16(QByteArrayView bytes, qsizetype at) {
    return qFromLittleEndian<quint16>(bytes.data() + at);
}
quint32 u32(QByteArrayView bytes, qsizetype at) {
    return qFromLittleEndian<quint32>(bytes.data() + at);
}

// The "fmt " chunk's body; false when it does not describe PCM this player
// can time.
bool readFormat(QByteArrayView body, WaveFormat& format) {
    if (body.size() < 16) return false;
    quint16 tag = u16(body, 0);
    if (tag == kFormatExtensible) {
        // cbSize, valid bits, channel mask, then the sub-format GUID, whose
        // first two bytes are the format tag.
        if (body.size() < 40) return false;
        tag = u16(body, 24);
    }
    if (tag != kFormatPcm) return false;
    format.channels = u16(body, 2);
    format.sampleRate = static_cast<int>(u32(body, 4));
    format.bitsPerSample = u16(body, 14);
    const int bits = format.bitsPerSample;
    return format.channels >= 1 && format.channels <= kMaxChannels &&
           format.sampleRate >= kMinSampleRate && format.sampleRate <= kMaxSampleRate &&
           (bits == 8 || bits == 16 || bits == 24 || bits == 32);
}

}  // namespace

std::int64_t WaveFormat::Frames() const {
    const int frameBytes = FrameBytes();
    return frameBytes > 0 ? dataBytes / frameBytes : 0;
}

std::int64_t WaveFormat::DurationMs() const {
    if (sampleRate <= 0) return 0;
    return (Frames() * 1000 + sampleRate - 1) / sampleRate;
}

std::optional<WaveLayout> ParseWaveHeader(QByteArrayView bytes) {
    if (bytes.size() < 12 || bytes.first(4) != "RIFF" || bytes.sliced(8, 4) != "WAVE")
        return std::nullopt;
    WaveLayout layout;
    bool haveFormat = false;
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArrayView id = bytes.sliced(at, 4);
        const std::int64_t size = u32(bytes, at + 4);
        const qsizetype bodyAt = at + 8;
        const qsizetype present =
            static_cast<qsizetype>(std::min<std::int64_t>(size, bytes.size() - bodyAt));
        if (id == "fmt ") {
            if (!readFormat(bytes.sliced(bodyAt, present), layout.format)) return std::nullopt;
            haveFormat = true;
        } else if (id == "data") {
            // A data chunk that claims more than the file holds is a damaged
            // header: its other numbers cannot be trusted either.
            if (!haveFormat || present < size) return std::nullopt;
            layout.dataOffset = bodyAt;
            layout.format.dataBytes = size;
            return layout;
        }
        // Chunks are padded to an even length.
        at = bodyAt + static_cast<qsizetype>(size + (size & 1));
    }
    return std::nullopt;
}

// ---- The sound server ----

namespace {

// 24-bit samples go out as 32-bit ones, the only wider format Qt takes.
QByteArray widen24To32(const QByteArray& samples) {
    QByteArray wide;
    wide.reserve(samples.size() / 3 * 4);
    for (qsizetype i = 0; i + 3 <= samples.size(); i += 3) {
        wide.append('\0');
        wide.append(samples.constData() + i, 3);
    }
    return wide;
}

QAudioFormat qtFormatOf(const WaveFormat& format) {
    QAudioFormat qtFormat;
    qtFormat.setSampleRate(format.sampleRate);
    qtFormat.setChannelCount(format.channels);
    switch (format.bitsPerSample) {
    case 8: qtFormat.setSampleFormat(QAudioFormat::UInt8); break;
    case 16: qtFormat.setSampleFormat(QAudioFormat::Int16); break;
    default: qtFormat.setSampleFormat(QAudioFormat::Int32); break;
    }
    return qtFormat;
}

// One channel on the default output. The caller's thread only posts work to
// the channel's thread and reads two counters; the sink, its buffer and the
// end check live on the channel's thread, whose own event loop feeds the
// sink, so the sound goes on whatever the caller's thread does. The end of a
// sound is posted back to the caller's thread.
class QtSoundChannel final : public SoundChannel {
public:
    QtSoundChannel() : owner_(std::make_unique<QObject>()), context_(std::make_unique<QObject>()) {
        endCheck_ = new QTimer(context_.get());
        endCheck_->setInterval(kEndCheckMs);
        QObject::connect(endCheck_, &QTimer::timeout, context_.get(), [this] { checkEnd(); });
        thread_.setObjectName(QStringLiteral("sound"));
        context_->moveToThread(&thread_);
        thread_.start();
    }

    ~QtSoundChannel() override {
        generation_.fetch_add(1);
        sounding_.store(0);
        QMetaObject::invokeMethod(context_.get(), [this] {
            stopSink();
            // A sink stopped just now may still get the server's late report,
            // and the channel goes with its window, at the program's end:
            // such sinks are let go of, not deleted.
            for (Retired& r : retired_) {
                static_cast<void>(r.sink.release());
                static_cast<void>(r.buffer.release());
            }
        }, Qt::BlockingQueuedConnection);
        thread_.quit();
        thread_.wait();
        context_.reset();
    }

    void Start(const QString&, const WaveFormat& format, QByteArray samples) override {
        const quint64 generation = generation_.fetch_add(1) + 1;
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        const QAudioFormat qtFormat = qtFormatOf(format);
        if (format.bitsPerSample == 24) samples = widen24To32(samples);
        if (device.isNull() || samples.isEmpty() || !device.isFormatSupported(qtFormat)) {
            // Nothing to sound here: silence, and the end of what sounded.
            sounding_.store(0);
            post([this] { stopSink(); });
            return;
        }
        sounding_.store(generation);
        const qint64 durationUs = qtFormat.durationForBytes(static_cast<qint32>(samples.size()));
        post([this, generation, device, qtFormat, samples, durationUs] {
            play(generation, device, qtFormat, samples, durationUs);
        });
    }

    void Stop() override {
        generation_.fetch_add(1);
        sounding_.store(0);
        post([this] { stopSink(); });
    }

    bool Sounding() const override { return sounding_.load() != 0; }

private:
    // How often the channel's thread asks the sink how far it has played.
    static constexpr int kEndCheckMs = 10;
    // A sink that has not played its samples this long after their length
    // is given up, so a stalled server holds no sink for ever.
    static constexpr qint64 kGiveUpAfterMs = 10000;
    // How long a stopped sink is kept before it is deleted.
    static constexpr int kRetireMs = 2000;

    void post(std::function<void()> work) {
        QMetaObject::invokeMethod(context_.get(), std::move(work), Qt::QueuedConnection);
    }

    // ---- On the channel's thread ----

    void play(quint64 generation, const QAudioDevice& device, const QAudioFormat& format,
              const QByteArray& samples, qint64 durationUs) {
        stopSink();
        // A Stop or a later Start came after this one: it has nothing to do.
        if (generation_.load() != generation) return;
        buffer_ = std::make_unique<QBuffer>();
        buffer_->setData(samples);
        buffer_->open(QIODevice::ReadOnly);
        sink_ = std::make_unique<QAudioSink>(device, format);
        sinkGeneration_ = generation;
        durationUs_ = durationUs;
        giveUpAfterMs_ = durationUs / 1000 + kGiveUpAfterMs;
        started_.start();
        sink_->start(buffer_.get());
        endCheck_->start();
        checkEnd();
    }

    // The sound has ended when the sink has taken every sample from the
    // buffer (idle) and the server says it has played them all: stopping the
    // sink earlier drops what the server still holds.
    void checkEnd() {
        if (!sink_) return;
        const QAudio::State state = sink_->state();
        const bool played =
            state == QAudio::IdleState && sink_->processedUSecs() >= durationUs_;
        if (played || state == QAudio::StoppedState || started_.elapsed() > giveUpAfterMs_) {
            stopSink();
            quint64 generation = sinkGeneration_;
            if (sounding_.compare_exchange_strong(generation, 0))
                QMetaObject::invokeMethod(owner_.get(), [this] { SoundEnded(); },
                                          Qt::QueuedConnection);
        }
    }

    void stopSink() {
        endCheck_->stop();
        if (!sink_) return;
        sink_->stop();
        // The sound server's thread may still report the stopped stream's
        // state for a moment, to the sink it was made for: deleting the sink
        // at once let such a late report crash the program. A stopped sink
        // and its buffer are kept a while before they go.
        retired_.push_back({std::move(sink_), std::move(buffer_)});
        QTimer::singleShot(kRetireMs, context_.get(), [this] {
            if (!retired_.empty()) retired_.pop_front();
        });
    }

    QThread thread_;
    // Lives on the caller's thread; what is posted to it dies with it.
    std::unique_ptr<QObject> owner_;
    std::unique_ptr<QObject> context_;  // lives on thread_
    QTimer* endCheck_ = nullptr;        // a child of context_

    // Shared with the caller's thread: the number of the latest Start or
    // Stop, and the number of the Start that still sounds (0: none).
    std::atomic<quint64> generation_{0};
    std::atomic<quint64> sounding_{0};

    // Only on thread_.
    std::unique_ptr<QBuffer> buffer_;
    std::unique_ptr<QAudioSink> sink_;
    struct Retired {
        std::unique_ptr<QAudioSink> sink;
        std::unique_ptr<QBuffer> buffer;
    };
    std::deque<Retired> retired_;
    quint64 sinkGeneration_ = 0;
    qint64 durationUs_ = 0;
    qint64 giveUpAfterMs_ = 0;
    QElapsedTimer started_;
};

}  // namespace

std::unique_ptr<SoundChannel> QtSoundOutput::OpenChannel() {
    return std::make_unique<QtSoundChannel>();
}

// ---- WavePlayer ----

WavePlayer::WavePlayer(Clock& clock, std::unique_ptr<SoundChannel> channel)
    : clock_(clock), channel_(std::move(channel)), context_(std::make_unique<QObject>()) {
    channel_->SetEndHandler([this] { checkEnded(generation_); });
}

WavePlayer::~WavePlayer() { Close(); }

bool WavePlayer::Open(const QString& path) {
    Close();
    std::optional<QByteArray> bytes = ReadWholeFile(path);
    if (!bytes) return false;
    std::optional<WaveLayout> layout = ParseWaveHeader(*bytes);
    if (!layout) return false;
    format_ = layout->format;
    samples_ = bytes->mid(layout->dataOffset, format_.dataBytes);
    fileName_ = path;
    open_ = true;
    return true;
}

void WavePlayer::Play() {
    if (!open_) return;
    std::int64_t from = PositionMs();
    if (from >= LengthMs()) from = 0;
    Stop();
    const std::int64_t frame = from * format_.sampleRate / 1000;
    channel_->Start(fileName_, format_, samples_.mid(frame * format_.FrameBytes()));
    started_ = true;
    startedAtMs_ = clock_.MonotonicMs();
    startPositionMs_ = from;
}

void WavePlayer::Stop() {
    ++generation_;
    ended_ = nullptr;
    if (!started_) return;
    positionMs_ = PositionMs();
    started_ = false;
    channel_->Stop();
}

void WavePlayer::Close() {
    Stop();
    open_ = false;
    fileName_.clear();
    samples_.clear();
    format_ = {};
    positionMs_ = 0;
}

std::int64_t WavePlayer::LengthMs() const { return open_ ? format_.DurationMs() : 0; }

std::int64_t WavePlayer::PositionMs() const {
    if (!started_) return positionMs_;
    return std::min(LengthMs(), startPositionMs_ + clock_.MonotonicMs() - startedAtMs_);
}

bool WavePlayer::playing() const {
    if (!started_) return false;
    if (PositionMs() < LengthMs()) return true;
    // Past the file's length on the clock the output may still hold its last
    // samples; it is listened to for kWaitSlackMs at most.
    const std::int64_t endMs = startedAtMs_ + LengthMs() - startPositionMs_;
    return channel_->Sounding() && clock_.MonotonicMs() < endMs + kWaitSlackMs;
}

int WavePlayer::Mode() const {
    if (!open_) return kModeNotOpen;
    return playing() ? kModePlaying : kModeStopped;
}

void WavePlayer::WhenEnded(std::function<void()> ended) {
    if (!playing()) {
        ended();
        return;
    }
    ended_ = std::move(ended);
    endBy_ = clock_.MonotonicMs() + std::min(LengthMs() - PositionMs() + kWaitSlackMs, kMaxWaitMs);
    armEndCheck();
}

void WavePlayer::armEndCheck() {
    // The file's end on the clock, and after it the latest end allowed; an
    // output that holds the last samples reports their end itself.
    const std::int64_t now = clock_.MonotonicMs();
    const std::int64_t fileEnd = startedAtMs_ + LengthMs() - startPositionMs_;
    const std::int64_t at = now < fileEnd ? std::min(fileEnd, endBy_) : endBy_;
    const std::uint64_t generation = generation_;
    clock_.SingleShot(static_cast<int>(std::max<std::int64_t>(at - now, 0)), context_.get(),
                      [this, generation] { checkEnded(generation); });
}

void WavePlayer::checkEnded(std::uint64_t generation) {
    if (generation != generation_ || !ended_) return;
    if (playing() && clock_.MonotonicMs() < endBy_) {
        armEndCheck();
        return;
    }
    const std::function<void()> ended = std::move(ended_);
    ended_ = nullptr;
    ended();
}

}  // namespace platform
