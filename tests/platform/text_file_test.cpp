#include <QFile>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/text_file.h"
#include "support/file_size_limit.h"
#include "support/test_program.h"

using testing_support::TestProgram;

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
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"log.txt"});
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

TEST(AtomicWrite, StaleTemporaryFilesOfTheProgramsFilesAreRemoved) {
    QTemporaryDir dir;
    const QStringList files = {"log.txt", "log.txt.a1B2c3", "log.txt.Zz9yX8", "QSOpref.txt.q1w2e3",
                               // Not temporary files of the program's naming:
                               "log.txt.bak", "log.txt.1234567", "notes.txt.abc123",
                               "log.txt.ab-c12"};
    for (const QString& name : files) TestProgram::WriteFile(dir.path() + "/" + name, "x");
    EXPECT_EQ(platform::RemoveStaleTemporaryFiles(dir.path(), {"log.txt", "QSOpref.txt"}), 3);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name),
              (QStringList{"log.txt", "log.txt.1234567", "log.txt.ab-c12", "log.txt.bak",
                           "notes.txt.abc123"}));
}
