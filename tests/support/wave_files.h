#pragma once
// Wave files made in tests: a RIFF/WAVE header for a PCM format and silent
// samples of a given length.
#include <QByteArray>
#include <QString>
#include <QtEndian>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "platform/wave_player.h"
#include "support/test_program.h"

namespace testing_support {

// A plain 44-byte header followed by `format.dataBytes` silent bytes.
inline QByteArray MakeWave(const platform::WaveFormat& format) {
    auto u16 = [](QByteArray& out, quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        out.append(b, 2);
    };
    auto u32 = [](QByteArray& out, quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        out.append(b, 4);
    };
    const auto data = static_cast<quint32>(format.dataBytes);
    const auto frameBytes = static_cast<quint16>(format.FrameBytes());
    QByteArray out("RIFF");
    u32(out, 36 + data);
    out.append("WAVEfmt ");
    u32(out, 16);
    u16(out, 1);
    u16(out, static_cast<quint16>(format.channels));
    u32(out, static_cast<quint32>(format.sampleRate));
    u32(out, static_cast<quint32>(format.sampleRate) * frameBytes);
    u16(out, frameBytes);
    u16(out, static_cast<quint16>(format.bitsPerSample));
    out.append("data");
    u32(out, data);
    out.append(QByteArray(static_cast<qsizetype>(data), format.bitsPerSample == 8 ? '\x80' : '\0'));
    return out;
}

// A mono 16-bit 8 kHz file that plays for `ms` milliseconds.
inline QByteArray MakeWaveOfMs(std::int64_t ms) {
    return MakeWave({.channels = 1, .sampleRate = 8000, .bitsPerSample = 16,
                     .dataBytes = ms * 8 * 2});
}

// A mono 16-bit tone: `bodyMs` at `bodyHz`, then `endMs` at `endHz`, both
// at `amplitude`; the end frequency tells whether the end was heard.
struct Tone {
    int rate = 16000;
    int bodyMs = 500;
    double bodyHz = 400;
    int endMs = 150;
    double endHz = 1000;
    double amplitude = 12000;
};

inline std::vector<qint16> ToneSamples(const Tone& tone) {
    std::vector<qint16> samples;
    auto add = [&](int ms, double hz) {
        const int n = tone.rate / 1000 * ms;
        for (int i = 0; i < n; ++i)
            samples.push_back(static_cast<qint16>(
                std::lround(tone.amplitude * std::sin(2 * std::numbers::pi * hz * i / tone.rate))));
    };
    add(tone.bodyMs, tone.bodyHz);
    add(tone.endMs, tone.endHz);
    return samples;
}

inline QByteArray MakeToneWave(const Tone& tone) {
    const std::vector<qint16> samples = ToneSamples(tone);
    QByteArray wave = MakeWave({.channels = 1, .sampleRate = tone.rate, .bitsPerSample = 16,
                                .dataBytes = static_cast<std::int64_t>(samples.size()) * 2});
    qToLittleEndian<qint16>(samples.data(), static_cast<qsizetype>(samples.size()),
                            wave.data() + 44);
    return wave;
}

inline void WriteWaveOfMs(const QString& path, std::int64_t ms) {
    TestProgram::WriteFile(path, MakeWaveOfMs(ms));
}

}  // namespace testing_support
