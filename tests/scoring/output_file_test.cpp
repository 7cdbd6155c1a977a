// What the Cabrillo and ADIF writers share: a write that fails leaves no
// part of the new file and any earlier file whole, says so and remembers
// nothing.
#include <QDir>
#include <functional>
#include <gtest/gtest.h>

#include "scoring/adif.h"
#include "scoring/cabrillo.h"
#include "support/file_size_limit.h"
#include "support/scoring_fixture.h"

using testing_support::StationSideFixture;
using testing_support::TestProgram;

TEST(OutputFiles, AFailedWriteLeavesNoHalfFile) {
    struct Writer {
        const char* name;
        std::function<bool(TestProgram&, const QString& path)> write;
    };
    const Writer writers[] = {
        {"Cabrillo",
         [](TestProgram& t, const QString& path) {
             t.dialogs.fileAnswers = {path};
             return scoring::WriteSubmissionFile(
                 t.program(), testing_support::FixtureOf(StationSideFixture::Inside).inputs);
         }},
        {"ADIF",
         [](TestProgram& t, const QString& path) {
             t.dialogs.inputAnswers = {QString("100"), QString("comment")};
             t.dialogs.fileAnswers = {path};
             return scoring::ExportADIF(t.program());
         }},
    };
    for (const Writer& w : writers) {
        SCOPED_TRACE(w.name);
        // A disk that fills up part way, and a folder that does not exist.
        for (bool diskFull : {true, false}) {
            TestProgram t;
            testing_support::LoadFixture(t, testing_support::FixtureOf(StationSideFixture::Inside));
            const QString folder = t.root() + "/out";
            QDir().mkpath(folder);
            const QString path = diskFull ? folder + "/submission" : folder + "/none/submission";
            if (diskFull) TestProgram::WriteFile(path, "old\r\n");
            bool written = true;
            {
                const testing_support::FileSizeLimit limit(diskFull ? 300 : RLIM_INFINITY);
                written = w.write(t, path);
            }
            EXPECT_FALSE(written);
            EXPECT_EQ(TestProgram::ReadFile(path), diskFull ? QByteArray("old\r\n") : QByteArray());
            EXPECT_EQ(QDir(folder).entryList(QDir::Files),
                      diskFull ? QStringList{"submission"} : QStringList{});
            ASSERT_FALSE(t.dialogs.shown.empty());
            EXPECT_EQ(t.dialogs.shown.back().title, "Unable to write file.");
            EXPECT_EQ(t.dialogs.shown.back().text,
                      diskFull ? "File too large" : "No such file or directory");
            EXPECT_EQ(t.dialogs.beeps, 1);
            EXPECT_EQ(scoring::RememberedSummaryInputs(t.program()).name, "");
        }
    }
}
