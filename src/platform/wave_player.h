#pragma once
// The wave player: plays one PCM wave file at a time on the sound output and
// reports its state as the multimedia control's mode number, 526 while a file
// plays. The mode reads playing for at least the file's length on the
// monotonic clock, and on for as long as the sound output still has samples
// of it to sound. A caller that must let a prompt be heard to its end asks
// to be called then (WhenEnded) and returns to the event loop meanwhile. The
// sound itself goes to a SoundChannel: the sound server in the program, a
// recorder in tests.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QObject;

namespace platform {

class Clock;

// The format and extent of a PCM wave file, as its RIFF header gives them.
struct WaveFormat {
    int channels = 0;
    int sampleRate = 0;     // frames per second
    int bitsPerSample = 0;  // 8, 16, 24 or 32
    std::int64_t dataBytes = 0;  // sample bytes present in the file

    int FrameBytes() const { return channels * (bitsPerSample / 8); }
    std::int64_t Frames() const;
    // The playing time in milliseconds, rounded up to a whole millisecond.
    std::int64_t DurationMs() const;

    friend bool operator==(const WaveFormat&, const WaveFormat&) = default;
};

// A wave file's format and where its samples lie in the file's bytes.
struct WaveLayout {
    WaveFormat format;
    std::int64_t dataOffset = 0;
};

// The formats a wave file may claim: anything outside them is a damaged or
// hostile header, not a recording.
inline constexpr int kMinSampleRate = 8000;
inline constexpr int kMaxSampleRate = 192000;
inline constexpr int kMaxChannels = 8;

// Reads the RIFF/WAVE header of a file's bytes: plain PCM, or the extensible
// format with a PCM sub-format, at a sample rate of kMinSampleRate to
// kMaxSampleRate and 1 to kMaxChannels channels, whose data chunk the file
// holds whole. std::nullopt for anything else.
std::optional<WaveLayout> ParseWaveHeader(QByteArrayView bytes);

// Where the sound is heard. Each player has a channel of its own, so two
// players can sound at once.
class SoundChannel {
public:
    virtual ~SoundChannel() = default;
    // Starts sounding `samples` (PCM in `format`, taken from the file `path`)
    // at once, ending what this channel sounds now. It never fails: a machine
    // without a sound device plays nothing.
    virtual void Start(const QString& path, const WaveFormat& format, QByteArray samples) = 0;
    // Ends what this channel sounds, if anything.
    virtual void Stop() = 0;
    // True from Start until the last sample has been heard (or Stop); false
    // for an output that cannot tell, whose sound the player then times on
    // the clock alone. Read from the caller's thread while the sound plays.
    virtual bool Sounding() const { return false; }
    // Called, from the event loop of the thread that opened the channel,
    // when a sound that Sounding() reported has been heard to its end.
    void SetEndHandler(std::function<void()> handler) { endHandler_ = std::move(handler); }

protected:
    void SoundEnded() {
        if (endHandler_) endHandler_();
    }

private:
    std::function<void()> endHandler_;
};

class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    virtual std::unique_ptr<SoundChannel> OpenChannel() = 0;
};

// The machine's default sound output, through Qt Multimedia. Each channel
// feeds its sound from a thread of its own, so a sound plays on whatever the
// thread that started it does; nothing but the channel's own audio objects
// is touched from that thread, which reports the end of a sound back to the
// opening thread's event loop. Without a sound server the channels stay
// silent.
class QtSoundOutput final : public SoundOutput {
public:
    std::unique_ptr<SoundChannel> OpenChannel() override;
};

// The multimedia control's mode numbers.
enum WaveMode : int {
    kModeNotOpen = 524,
    kModeStopped = 525,
    kModePlaying = 526,
};

class WavePlayer {
public:
    WavePlayer(Clock& clock, std::unique_ptr<SoundChannel> channel);
    ~WavePlayer();
    WavePlayer(const WavePlayer&) = delete;
    WavePlayer& operator=(const WavePlayer&) = delete;

    // Closes what is open, then opens the wave file at `path`. A file that is
    // missing, unreadable or not a PCM wave file leaves the player closed
    // (false); nothing is reported.
    bool Open(const QString& path);
    // Plays the open file from its position; a file played to its end plays
    // again from its start. Returns at once. Nothing happens when no file is
    // open.
    void Play();
    // Ends the sound; the position stays where it got to.
    void Stop();
    // Ends the sound and closes the file.
    void Close();

    // kModePlaying while the open file sounds (its length on the clock, then
    // until the output has sounded its last sample, kWaitSlackMs at most),
    // kModeStopped when it is open and silent, kModeNotOpen without a file.
    int Mode() const;
    // The open file's path; empty when none is open.
    QString FileName() const { return fileName_; }
    // The open file's playing time; 0 when none is open.
    std::int64_t LengthMs() const;
    std::int64_t PositionMs() const;

    // Calls `ended` once, from the event loop, when what plays now has been
    // heard to its end: when the mode leaves playing, but no later than what
    // remained of the file plus kWaitSlackMs for the sound output's own
    // delay, and no later than kMaxWaitMs from now whatever the file. When
    // nothing plays it is called at once, before this returns. A Play, Stop
    // or Close before then drops it.
    void WhenEnded(std::function<void()> ended);
    static constexpr std::int64_t kWaitSlackMs = 2000;
    static constexpr std::int64_t kMaxWaitMs = 5000;

private:
    bool playing() const;
    // Looks again at the next moment the mode may leave playing.
    void armEndCheck();
    void checkEnded(std::uint64_t generation);

    Clock& clock_;
    std::unique_ptr<SoundChannel> channel_;
    QString fileName_;
    QByteArray samples_;
    WaveFormat format_;
    bool open_ = false;
    // While playing: when the sound started and from which position.
    bool started_ = false;
    std::int64_t startedAtMs_ = 0;
    std::int64_t startPositionMs_ = 0;
    std::int64_t positionMs_ = 0;  // while not playing

    // Who waits for the end of what plays, and until when at most.
    std::function<void()> ended_;
    std::int64_t endBy_ = 0;
    // Moves on with every Play, Stop and Close: a check armed before finds
    // another number and does nothing.
    std::uint64_t generation_ = 0;
    // Receives the clock's timers and the channel's end on this thread; gone
    // with the player, and they with it.
    std::unique_ptr<QObject> context_;
};

}  // namespace platform
