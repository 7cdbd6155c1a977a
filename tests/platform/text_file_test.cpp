#include <QFile>
#include <QFileInfo>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cerrno>
#include <csignal>
#include <map>
#include <set>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/text_file.h"
#include "setup/folders.h"
#include "support/file_size_limit.h"
#include "support/test_program.h"

using testing_support::TestProgram;

namespace {

// Every file of the folder, hidden ones included, sorted by name.
QStringList allFiles(const QString& folder) {
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    names.sort();
    return names;
}

// Passes every call of an atomic write on to the system and notes it, naming
// each file by its part: "temporary", the file's own name, or "folder". A
// call named in `failing` ("fsync folder") fails with `errorNumber` instead.
class RecordingCalls : public platform::FileCalls {
public:
    explicit RecordingCalls(QString folder, QString failing = {}, int errorNumber = 0)
        : folder_(std::move(folder)), failing_(std::move(failing)), errorNumber_(errorNumber) {}

    QStringList calls;
    std::set<int> openNow;

    int Open(const char* path, int flags, mode_t mode) override {
        const QString name = nameOf(path);
        if (note("open " + name)) return -1;
        const int fd = FileCalls::Open(path, flags, mode);
        if (fd >= 0) {
            names_[fd] = name;
            openNow.insert(fd);
        }
        return fd;
    }
    ssize_t Write(int fd, const char* data, std::size_t size) override {
        return note("write " + names_[fd]) ? -1 : FileCalls::Write(fd, data, size);
    }
    int Fsync(int fd) override { return note("fsync " + names_[fd]) ? -1 : FileCalls::Fsync(fd); }
    int Close(int fd) override {
        // A descriptor is gone after close, even one whose close fails.
        openNow.erase(fd);
        const int result = FileCalls::Close(fd);
        return note("close " + names_[fd]) ? -1 : result;
    }
    int Rename(const char* from, const char* to) override {
        return note("rename " + nameOf(from) + " " + nameOf(to)) ? -1 : FileCalls::Rename(from, to);
    }
    int Unlink(const char* path) override {
        return note("unlink " + nameOf(path)) ? -1 : FileCalls::Unlink(path);
    }

private:
    QString nameOf(const char* path) const {
        const QString text = QFile::decodeName(path);
        if (text == folder_) return QStringLiteral("folder");
        const QString name = QFileInfo(text).fileName();
        return name.contains(".ostrel-tmp-") ? QStringLiteral("temporary") : name;
    }
    // Notes the call; true when it is the one to fail (the call itself is
    // then not made, as when the system refuses it).
    bool note(const QString& call) {
        calls << call;
        if (call != failing_) return false;
        errno = errorNumber_;
        return true;
    }

    QString folder_;
    QString failing_;
    int errorNumber_;
    std::map<int, QString> names_;
};

}  // namespace

TEST(AnsiText, EveryByteSurvivesDecodeAndEncode) {
    QByteArray all;
    for (int b = 0; b < 256; ++b) all.append(static_cast<char>(b));
    QString text = platform::DecodeAnsi(all);
    EXPECT_EQ(text[0x80], QChar(0x20AC));  // the euro sign of Windows-1252
    EXPECT_EQ(text[0xE9], QChar(0xE9));
    EXPECT_EQ(platform::EncodeAnsi(text), all);
}

// A settings value Windows-1252 holds is written in it unchanged; one it
// cannot hold is written as the UTF-8 mark and UTF-8 bytes; both read back.
TEST(SettingsText, WindowsTextStaysAndAnyOtherTextIsKeptWhole) {
    struct Case {
        QString text;
        QByteArray written;
    };
    const Case cases[] = {
        {QStringLiteral("/home/op/cq.wav"), "/home/op/cq.wav"},
        {QStringLiteral("caf\u00e9 \u20ac"), "caf\xe9 \x80"},
        {QStringLiteral("/\u0417\u0430\u043f\u0438\u0441\u044c.wav"),
         "\xef\xbb\xbf/\xd0\x97\xd0\xb0\xd0\xbf\xd0\xb8\xd1\x81\xd1\x8c.wav"},
        // A Windows text that happens to begin as the mark reads is marked too.
        {QStringLiteral("\u00ef\u00bb\u00bfx"), "\xef\xbb\xbf\xc3\xaf\xc2\xbb\xc2\xbfx"},
        {QString(), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const QByteArray written = platform::EncodeAnsi(platform::ToSettingsText(c.text));
        EXPECT_EQ(written, c.written);
        EXPECT_EQ(platform::FromSettingsText(platform::DecodeAnsi(written)), c.text);
    }
    // The mark without UTF-8 after it is read as the text it is.
    const QString odd = platform::DecodeAnsi("\xef\xbb\xbf\xc3");
    EXPECT_EQ(platform::FromSettingsText(odd), odd);
}

TEST(AtomicWrite, ReplacesWholeAndLeavesOldFileOnFailure) {
    QTemporaryDir dir;
    QString path = dir.path() + "/log.txt";
    QString error;
    ASSERT_TRUE(platform::WriteFileAtomically(path, "old\r\n", &error));
    ASSERT_TRUE(platform::WriteFileAtomically(path, "new\r\n", &error));
    EXPECT_EQ(TestProgram::ReadFile(path), "new\r\n");

    // A folder that does not exist cannot take the temporary file.
    EXPECT_FALSE(platform::WriteFileAtomically(dir.path() + "/none/x.txt", "x", &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(AtomicWrite, AFullDiskReportsItsOwnErrorAndKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/log.txt";
    QString error;
    ASSERT_TRUE(platform::WriteFileAtomically(path, "old\r\n", &error));
    {
        const testing_support::FileSizeLimit limit(100);
        EXPECT_FALSE(platform::WriteFileAtomically(path, QByteArray(1000, 'x'), &error));
    }
    EXPECT_EQ(error, "File too large");
    EXPECT_EQ(TestProgram::ReadFile(path), "old\r\n");
    EXPECT_EQ(allFiles(dir.path()), QStringList{"log.txt"});
}

TEST(AtomicWrite, AppendAddsOneWholeLine) {
    QTemporaryDir dir;
    QString path = dir.path() + "/log.txt";
    QString error;
    ASSERT_TRUE(platform::AppendToFile(path, "a\r\n", &error));
    ASSERT_TRUE(platform::AppendToFile(path, "b\r\n", &error));
    EXPECT_EQ(TestProgram::ReadFile(path), "a\r\nb\r\n");
}

TEST(AtomicWrite, AFailedAppendGivesTheSystemsTextAndLeavesNoPartLine) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/log.txt";
    QString error;
    ASSERT_TRUE(platform::AppendToFile(path, QByteArray(90, 'a'), &error));
    {
        // Room for part of the line only: the part written is taken back.
        const testing_support::FileSizeLimit limit(100);
        EXPECT_FALSE(platform::AppendToFile(path, QByteArray(20, 'b'), &error));
    }
    EXPECT_EQ(error, "File too large");
    EXPECT_EQ(TestProgram::ReadFile(path), QByteArray(90, 'a'));

    // A device that is always full, as a full disk answers.
    if (!QFile::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    const QString full = dir.path() + "/full.txt";
    ASSERT_TRUE(QFile::link("/dev/full", full));
    error.clear();
    EXPECT_FALSE(platform::AppendToFile(full, "\"K1ABC\"\r\n", &error));
    EXPECT_EQ(error, "No space left on device");
}

TEST(AtomicWrite, TheCleanUpRemovesOnlyTheProgramsOwnTemporaryFiles) {
    QTemporaryDir dir;
    const QStringList removed = {".log.txt.ostrel-tmp-a1B2c3", ".QSOpref.txt.ostrel-tmp-Zz9yX8"};
    const QStringList kept = {
        "log.txt", "QSOpref.txt",
        // The operator's own copies, whatever they look like.
        "log.txt.backup", "QSOpref.txt.before", "CW.txt.orig12", "log.txt.a1B2c3", "log.txt.Zz9yX8",
        // Near misses of the program's naming.
        "log.txt.ostrel-tmp-a1B2c3", ".log.txt.ostrel-tmp-a1B2", ".log.txt.ostrel-tmp-a1B2c3d",
        ".log.txt.ostrel-tmp-ab-c12", ".notes.txt.ostrel-tmp-abc123"};
    for (const QString& name : removed + kept) TestProgram::WriteFile(dir.path() + "/" + name, "x");
    EXPECT_EQ(platform::RemoveStaleTemporaryFiles(dir.path(), {"log.txt", "QSOpref.txt", "CW.txt"}), 2);
    QStringList expected = kept;
    expected.sort();
    EXPECT_EQ(allFiles(dir.path()), expected);
}

TEST(AtomicWrite, AWriteKilledHalfWayIsCleanedUpAtStartAndTheOperatorsCopiesStay) {
    TestProgram t;
    const QStringList operatorFiles = {"CW.txt.orig12", "QSOpref.txt.before", "log.txt.backup"};
    for (const QString& name : operatorFiles) TestProgram::WriteFile(t.workFile(name), "mine\r\n");
    TestProgram::WriteFile(t.workFile("log.txt"), "old\r\n");

    // The program dies in the middle of writing log.txt (here: the file
    // grows past the size limit, whose signal ends the process).
    const QByteArray bytes(100000, 'x');
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlimit noCore{0, 0};
        setrlimit(RLIMIT_CORE, &noCore);
        const rlimit small{1000, 1000};
        setrlimit(RLIMIT_FSIZE, &small);
        std::signal(SIGXFSZ, SIG_DFL);
        QString error;
        platform::WriteFileAtomically(t.workFile("log.txt"), bytes, &error);
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
    EXPECT_EQ(TestProgram::ReadFile(t.workFile("log.txt")), "old\r\n");
    EXPECT_EQ(allFiles(t.work()).size(), operatorFiles.size() + 2) << allFiles(t.work()).join(" ").toStdString();

    setup::RemoveStaleTemporaryFiles(t.program());
    QStringList expected = operatorFiles + QStringList{"log.txt"};
    expected.sort();
    EXPECT_EQ(allFiles(t.work()), expected);
    for (const QString& name : operatorFiles) EXPECT_EQ(TestProgram::ReadFile(t.workFile(name)), "mine\r\n");
}

// The new text is on disk before its name is moved to it, and the folder that
// holds the name is synced after the move: until then a power cut can bring
// the old file back under the name.
TEST(AtomicWrite, TheFolderIsSyncedAfterTheRename) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/log.txt";
    TestProgram::WriteFile(path, "old\r\n");
    RecordingCalls calls(QFileInfo(path).absolutePath());
    QString error;
    ASSERT_TRUE(platform::WriteFileAtomically(path, "new\r\n", &error, calls)) << error.toStdString();
    EXPECT_EQ(calls.calls, (QStringList{"open temporary", "write temporary", "fsync temporary", "close temporary",
                                        "rename temporary log.txt", "open folder", "fsync folder",
                                        "close folder"}));
    EXPECT_TRUE(calls.openNow.empty());
    EXPECT_EQ(TestProgram::ReadFile(path), "new\r\n");
    EXPECT_EQ(allFiles(dir.path()), QStringList{"log.txt"});
}

// A failure to make the write last is the write's failure, told in the
// system's words. Before the rename the old file stays; after it the file
// already holds the new text, but the operator hears that it may not last.
TEST(AtomicWrite, AFailedSyncIsTheWritesFailure) {
    struct Case {
        const char* failing;
        int errorNumber;
        const char* error;  // empty: the write succeeds
        QByteArray content;
    };
    const Case cases[] = {
        {"fsync temporary", EIO, "Input/output error", "old\r\n"},
        {"rename temporary log.txt", EXDEV, "Invalid cross-device link", "old\r\n"},
        {"open folder", EACCES, "Permission denied", "new\r\n"},
        {"fsync folder", EIO, "Input/output error", "new\r\n"},
        // A file system that cannot sync a folder at all has nothing to
        // promise there; the write stands.
        {"fsync folder", EINVAL, "", "new\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.failing) + " " + std::to_string(c.errorNumber));
        QTemporaryDir dir;
        const QString path = dir.path() + "/log.txt";
        TestProgram::WriteFile(path, "old\r\n");
        RecordingCalls calls(QFileInfo(path).absolutePath(), QString::fromLatin1(c.failing), c.errorNumber);
        QString error;
        EXPECT_EQ(platform::WriteFileAtomically(path, "new\r\n", &error, calls), *c.error == 0);
        EXPECT_TRUE(calls.calls.contains(QString::fromLatin1(c.failing))) << calls.calls.join(", ").toStdString();
        EXPECT_EQ(error, QString::fromLatin1(c.error));
        EXPECT_TRUE(calls.openNow.empty());
        EXPECT_EQ(TestProgram::ReadFile(path), c.content);
        EXPECT_EQ(allFiles(dir.path()), QStringList{"log.txt"});
    }
}
