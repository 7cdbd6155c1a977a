#include "platform/wave_player.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#include <QtEndian>
#include <algorithm>

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
    return format.channels > 0 && format.sampleRate > 0 &&
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
            if (!haveFormat) return std::nullopt;
            layout.dataOffset = bodyAt;
            layout.format.dataBytes = present;
            return layout;
        }
        // Chunks are padded to an even length.
        at = bodyAt + static_cast<qsizetype>(size + (size & 1));
    }
    return std::nullopt;
}

// ---- The sound card ----

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

class QtSoundChannel final : public SoundChannel {
public:
    ~QtSoundChannel() override { Stop(); }

    void Start(const QString&, const WaveFormat& format, QByteArray samples) override {
        Stop();
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull()) return;
        QAudioFormat qtFormat;
        qtFormat.setSampleRate(format.sampleRate);
        qtFormat.setChannelCount(format.channels);
        switch (format.bitsPerSample) {
        case 8: qtFormat.setSampleFormat(QAudioFormat::UInt8); break;
        case 16: qtFormat.setSampleFormat(QAudioFormat::Int16); break;
        case 24:
            qtFormat.setSampleFormat(QAudioFormat::Int32);
            samples = widen24To32(samples);
            break;
        default: qtFormat.setSampleFormat(QAudioFormat::Int32); break;
        }
        if (!device.isFormatSupported(qtFormat)) return;

        buffer_ = std::make_unique<QBuffer>();
        buffer_->setData(samples);
        buffer_->open(QIODevice::ReadOnly);
        sink_ = std::make_unique<QAudioSink>(device, qtFormat);
        QAudioSink* sink = sink_.get();
        // At the end of the samples the sink idles; let the device go.
        QObject::connect(sink, &QAudioSink::stateChanged, sink, [sink](QAudio::State state) {
            if (state == QAudio::IdleState) sink->stop();
        });
        sink_->start(buffer_.get());
    }

    void Stop() override {
        if (sink_) sink_->stop();
        sink_.reset();
        buffer_.reset();
    }

private:
    std::unique_ptr<QBuffer> buffer_;
    std::unique_ptr<QAudioSink> sink_;
};

}  // namespace

std::unique_ptr<SoundChannel> QtSoundOutput::OpenChannel() {
    return std::make_unique<QtSoundChannel>();
}

// ---- WavePlayer ----

WavePlayer::WavePlayer(Clock& clock, std::unique_ptr<SoundChannel> channel)
    : clock_(clock), channel_(std::move(channel)) {}

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

bool WavePlayer::playing() const { return started_ && PositionMs() < LengthMs(); }

int WavePlayer::Mode() const {
    if (!open_) return kModeNotOpen;
    return playing() ? kModePlaying : kModeStopped;
}

void WavePlayer::WaitWhilePlaying() {
    if (!playing()) return;
    const std::int64_t deadline = clock_.MonotonicMs() + LengthMs() - PositionMs() + 1000;
    while (Mode() == kModePlaying && clock_.MonotonicMs() < deadline) clock_.SleepMs(1);
}

}  // namespace platform
