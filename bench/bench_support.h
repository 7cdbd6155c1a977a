#pragma once
// Shared pieces of the benchmarks: a program over a temporary working folder
// with quiet dialogs, a log of n contacts, and a median timer.
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "logstore/contact_log.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/settings_store.h"
#include "platform/text_file.h"
#include "platform/wave_player.h"
#include "program/program.h"

namespace bench {

class QuietDialogs final : public platform::Dialogs {
public:
    int MsgBox(const QString&, int, const QString&) override { return platform::vbOK; }
    std::optional<QString> InputBox(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> SaveFileName(const platform::FileDialogRequest&) override { return {}; }
    std::optional<QString> OpenFileName(const platform::FileDialogRequest&) override { return {}; }
    std::optional<QColor> PickColor(const QColor&) override { return std::nullopt; }
    void Beep() override {}
};

class QuietSound final : public platform::SoundOutput {
    class Channel final : public platform::SoundChannel {
    public:
        void Start(const QString&, const platform::WaveFormat&, QByteArray) override {}
        void Stop() override {}
    };

public:
    std::unique_ptr<platform::SoundChannel> OpenChannel() override {
        return std::make_unique<Channel>();
    }
};

class BenchProgram {
public:
    BenchProgram()
        : settings_(dir_.path() + "/settings.ini"),
          program_(dir_.path(), Program::Services{dialogs_, clock_, settings_, sound_,
                                                  platform::UserFolders{{}, {}, dir_.path()},
                                                  [] {}}) {}

    Program& program() { return program_; }

    // Copies a shipped file of data/ into the working folder.
    void CopyDataFile(const QString& name) {
        QFile::remove(program_.WorkPath(name));
        QFile::copy(QStringLiteral(OSTREL_DATA_DIR "/") + name, program_.WorkPath(name));
    }

    // Writes a log.txt of `count` contacts on varied bands and modes.
    void WriteLog(int count) {
        static const char* bands[] = {"160", "80", "40", "20", "15", "10", "6", "2"};
        static const char* modes[] = {"CW", "PH", "CW", "DG"};
        QString text;
        for (int i = 1; i <= count; ++i) {
            logstore::ContactRecord r;
            r.QSOCall = QString("W%1AB%2").arg(i % 10).arg(QChar('A' + i % 26));
            r.QSOSPC = i % 5 == 0 ? QString("Germany") : QString("WI");
            r.QSOCounty = QString("County %1").arg(i % 72);
            r.QSOCountySent = "ADA";
            r.QSODate = "2013/04/07";
            r.QSOTime = QString("%1:%2:00").arg(12 + i / 3600 % 12).arg(i / 60 % 60, 2, 10, QChar('0'));
            r.QSOMode = modes[i % 4];
            r.QSOBand = bands[i % 8];
            r.QSOFrequency = "7.025";
            text += logstore::LogFileRecord(r);
        }
        QString error;
        platform::WriteFileAtomically(program_.WorkPath("log.txt"), platform::EncodeAnsi(text), &error);
    }

private:
    QTemporaryDir dir_;
    QuietDialogs dialogs_;
    platform::SystemClock clock_;
    platform::SettingsStore settings_;
    QuietSound sound_;
    Program program_;
};

// The median wall time of `runs` calls, in milliseconds.
inline double MedianMs(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Keeps the optimiser from dropping work whose result is otherwise unused.
inline void KeepAlive(long long value) { asm volatile("" : : "r"(value) : "memory"); }

}  // namespace bench
