// The Cabrillo file and the ADIF export of each station side's fixture log,
// compared byte for byte with the golden files under tests/scoring/golden.
// The readers in tests/readers check the same golden files with independent
// Cabrillo and ADIF parsers.
#include <gtest/gtest.h>

#include "scoring/adif.h"
#include "scoring/cabrillo.h"
#include "support/scoring_fixture.h"

using testing_support::DefaultLocale;
using testing_support::StationSideFixture;
using testing_support::TestProgram;

TEST(GoldenFiles, EachStationSideWritesItsCabrilloAndAdifFiles) {
    const DefaultLocale usDates(QLocale(QLocale::English, QLocale::UnitedStates));
    for (StationSideFixture side : {StationSideFixture::Inside, StationSideFixture::Outside}) {
        const auto& fixture = testing_support::FixtureOf(side);
        SCOPED_TRACE(fixture.name);
        TestProgram t;
        testing_support::LoadFixture(t, fixture);

        const QString cabrillo = t.root() + "/" + fixture.name + ".log";
        t.dialogs.fileAnswers = {cabrillo};
        ASSERT_TRUE(scoring::WriteSubmissionFile(t.program(), fixture.inputs));
        testing_support::ExpectEqualsGolden(TestProgram::ReadFile(cabrillo),
                                            QString(fixture.name) + ".log");

        const QString adif = t.root() + "/" + fixture.name + ".adi";
        t.dialogs.inputAnswers = {fixture.power, fixture.comment};
        t.dialogs.fileAnswers = {adif};
        ASSERT_TRUE(scoring::ExportADIF(t.program()));
        testing_support::ExpectEqualsGolden(TestProgram::ReadFile(adif),
                                            QString(fixture.name) + ".adi");

        const std::vector<QString> titles = {
            "", "File Written Successfully.", "  Thanks!",                     // Cabrillo
            "Please enter your transmitter output power.", "Please enter a comment.",
            "", "File Written Successfully.",                                   // ADIF
        };
        EXPECT_EQ(t.dialogs.titles(), titles);
        EXPECT_EQ(t.dialogs.beeps, 0);
    }
}
