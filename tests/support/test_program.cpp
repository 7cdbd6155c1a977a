#include "support/test_program.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace testing_support {

TestProgram::TestProgram(const Options& options) {
    QDir(dir_.path()).mkpath("work");
    QDir(dir_.path()).mkpath("xdg");
    settings_ = std::make_unique<platform::SettingsStore>(dir_.path() + "/settings.ini");
    platform::UserFolders folders;
    folders.fallbackRoot = dir_.path() + "/xdg";
    if (!options.userProfile.isEmpty()) folders.userProfile = dir_.path() + "/" + options.userProfile;
    if (!options.appData.isEmpty()) folders.appData = dir_.path() + "/" + options.appData;
    program_ = std::make_unique<Program>(
        work(), Program::Services{dialogs, options.clock ? *options.clock : clock, *settings_,
                                  options.sound ? *options.sound : sound, folders,
                                  [this] { ++endCalls; }});
    program_->folders.DataFolder = folders.fallbackRoot + "/Tavik Software/Dudurozuz";
    program_->folders.SharedFolder = folders.fallbackRoot + "/Tavik Software/Shared";
    QDir().mkpath(program_->folders.BackupFolder());
    QDir().mkpath(program_->folders.SharedFolder);
}

TestProgram::~TestProgram() {
    program_.reset();
    // Windows unloaded during the test go now, not in a later test.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestProgram::WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(bytes);
}

void TestProgram::WriteLines(const QString& path, const QStringList& lines) {
    WriteFile(path, (lines.join("\r\n") + "\r\n").toLatin1());
}

QByteArray TestProgram::ReadFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

void TestProgram::CopyDataFile(const QString& name) {
    QFile::remove(workFile(name));
    ASSERT_TRUE(QFile::copy(QStringLiteral(OSTREL_DATA_DIR) + "/" + name, workFile(name)))
        << name.toStdString();
}

}  // namespace testing_support
