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
