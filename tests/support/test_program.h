#pragma once
// A fresh program over a temporary working folder with fake dialogs, a fake
// clock, a sound output that records what it plays, a settings store and user folders inside the same temporary tree.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

#include "program/program.h"
#include "support/fake_clock.h"
#include "support/fake_dialogs.h"
#include "support/fake_sound.h"

namespace testing_support {

class TestProgram {
public:
    // Folder names inside the temporary tree that stand for USERPROFILE and
    // APPDATA; empty leaves the variable unset.
    struct Options {
        QString userProfile;
        QString appData;
        // In place of the fake clock and the recording sound output, for a
        // test that plays real sound in real time.
        platform::Clock* clock = nullptr;
        platform::SoundOutput* sound = nullptr;
    };
    TestProgram() : TestProgram(Options{}) {}
    explicit TestProgram(const Options& options);
    ~TestProgram();

    Program& program() { return *program_; }
    Program* operator->() { return program_.get(); }
    FakeDialogs dialogs;
    FakeClock clock;
    FakeSoundOutput sound;
    int endCalls = 0;

    // Paths inside the temporary tree.
    QString root() const { return dir_.path(); }
    QString work() const { return dir_.path() + "/work"; }
    QString workFile(const QString& name) const { return work() + "/" + name; }

    // Writes or reads a file (bytes as they stand on disk).
    static void WriteFile(const QString& path, const QByteArray& bytes);
    static QByteArray ReadFile(const QString& path);
    // Writes one value per line, each line ended by CRLF, as settings files are.
    static void WriteLines(const QString& path, const QStringList& lines);

    // Copies a shipped file of data/ into the working folder.
    void CopyDataFile(const QString& name);

private:
    QTemporaryDir dir_;
    std::unique_ptr<platform::SettingsStore> settings_;
    std::unique_ptr<Program> program_;
};

}  // namespace testing_support
