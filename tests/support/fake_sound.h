#pragma once
// A sound output that sounds nothing and records what it was given: each
// start with its file, format and sample bytes, and each stop. The record is
// shared by every channel and outlives the output, so a player that goes
// after the test's output cannot reach a dead one.
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "platform/wave_player.h"

namespace testing_support {

struct PlayedSound {
    int channel = 0;  // which channel, in the order they were opened
    QString path;
    platform::WaveFormat format;
    qsizetype sampleBytes = 0;
};

struct SoundRecord {
    std::vector<PlayedSound> played;
    int stops = 0;        // stops of a channel that was sounding
    int channelsOpened = 0;
    // When set, a started channel reports that it sounds until it is
    // stopped, as an output whose server holds the last samples does; when
    // clear it cannot tell, and the player times the file on the clock.
    bool holdsSound = false;
    // The channels alive now, by the end of their sound: what the output
    // does when it has sounded the last sample.
    std::vector<std::pair<int, std::function<void()>>> enders;
};

class FakeSoundOutput final : public platform::SoundOutput {
public:
    std::shared_ptr<SoundRecord> record = std::make_shared<SoundRecord>();

    std::unique_ptr<platform::SoundChannel> OpenChannel() override {
        return std::make_unique<Channel>(record, ++record->channelsOpened);
    }

    const std::vector<PlayedSound>& played() const { return record->played; }
    // The files started, in order.
    QStringList paths() const {
        QStringList out;
        for (const PlayedSound& sound : record->played) out << sound.path;
        return out;
    }
    // The base names of the files started ("NavEn" for ".../NavEn.wav").
    QStringList names() const {
        QStringList out;
        for (const PlayedSound& sound : record->played)
            out << QFileInfo(sound.path).completeBaseName();
        return out;
    }
    void Clear() {
        record->played.clear();
        record->stops = 0;
    }
    // The output has sounded the last samples of every sound it holds: each
    // sounding channel stops sounding and reports the end.
    void HearTheEnd() {
        const auto enders = record->enders;
        for (const auto& entry : enders) entry.second();
    }

private:
    class Channel final : public platform::SoundChannel {
    public:
        Channel(std::shared_ptr<SoundRecord> record, int number)
            : record_(std::move(record)), number_(number) {
            record_->enders.emplace_back(number_, [this] {
                if (!sounding_) return;
                sounding_ = false;
                SoundEnded();
            });
        }
        ~Channel() override {
            std::erase_if(record_->enders, [this](const auto& entry) { return entry.first == number_; });
        }
        void Start(const QString& path, const platform::WaveFormat& format,
                   QByteArray samples) override {
            Stop();
            record_->played.push_back({number_, path, format, samples.size()});
            sounding_ = true;
        }
        void Stop() override {
            if (sounding_) ++record_->stops;
            sounding_ = false;
        }
        bool Sounding() const override { return record_->holdsSound && sounding_; }

    private:
        std::shared_ptr<SoundRecord> record_;
        int number_;
        bool sounding_ = false;
    };
};

}  // namespace testing_support
