#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include "logstore/county_table.h"
#include "scoring/cabrillo.h"
#include "setup/folders.h"
#include "support/file_size_limit.h"
#include "support/scoring_fixture.h"

using logstore::ContactRecord;
using scoring::PowerClass;
using testing_support::TestProgram;

namespace {

ContactRecord contact(const QString& mode, const QString& county = {}, const QString& spc = {},
                      const QString& sent = {}) {
    return testing_support::MakeContact("W9AAA", mode, spc, county, sent);
}

void append(std::vector<ContactRecord>& log, int count, const ContactRecord& r) {
    log.insert(log.end(), static_cast<std::size_t>(count), r);
}

// The in-state example: 10 CW and 20 phone contacts, 5 counties and 10 states.
std::vector<ContactRecord> tenCwTwentyPhone() {
    const QStringList counties = {"Adams", "Dane", "Door", "Vilas", "Milwaukee"};
    const QStringList states = {"MA", "ME", "NH", "RI", "VT", "NY", "NJ", "DE", "PA", "MD"};
    std::vector<ContactRecord> log;
    for (int i = 0; i < 30; ++i)
        log.push_back(contact(i < 10 ? "CW" : "PH", i < 5 ? counties[i] : QString(),
                              states[i % 10]));
    return log;
}

// Contacts sent from each county in turn: {county, contacts}.
std::vector<ContactRecord> sentFrom(std::initializer_list<std::pair<const char*, int>> counties) {
    std::vector<ContactRecord> log;
    for (const auto& [county, count] : counties) append(log, count, contact("PH", {}, {}, county));
    return log;
}

// 300 CW and 17 phone contacts (617 points) in 2 counties.
std::vector<ContactRecord> sixHundredSeventeenPoints() {
    std::vector<ContactRecord> log;
    append(log, 300, contact("CW", "Dane"));
    append(log, 17, contact("PH", "Vilas"));
    return log;
}

void loadShippedCounties(TestProgram& t) {
    t->station.PartyState = "WI";
    t.CopyDataFile("county2.txt");
    ASSERT_TRUE(logstore::LoadCountyTable(t.program().counties, t.program().logPlace()));
}

}  // namespace

TEST(ClaimedScore, FollowsTheContestScoringOnEachSide) {
    struct Case {
        const char* name;
        int side;
        int rover;
        std::vector<ContactRecord> log;
        PowerClass power;
        double score;
    };
    const Case cases[] = {
        {"empty log", 0, 0, {}, PowerClass::Low, 0},
        {"in-state high", 0, 0, tenCwTwentyPhone(), PowerClass::High, 600},
        {"in-state low", 0, 0, tenCwTwentyPhone(), PowerClass::Low, 900},
        {"in-state QRP", 0, 0, tenCwTwentyPhone(), PowerClass::Qrp, 1200},
        {"low power keeps its fraction", 0, 0,
         {contact("PH", "Dane"), contact("PH", "Door"), contact("PH", "Vilas")}, PowerClass::Low,
         13.5},
        // Digital contacts count 2 points like CW, on both sides.
        {"in-state digital", 0, 0, {contact("DG", "Dane"), contact("RTTY", "Dane")}, PowerClass::High, 4},
        {"out-of-state digital", 1, 0, {contact("DG", "Dane")}, PowerClass::High, 2},
        {"mode case ignored", 0, 0, {contact("ph", "Dane"), contact("cw", "Dane")}, PowerClass::High, 3},
        // Counties differing in letter case are one multiplier; a county outside
        // the county table and a two-letter code outside the state table are none.
        {"multipliers", 0, 0,
         {contact("PH", "Dane"), contact("PH", "DANE"), contact("PH", "Nowhere"),
          contact("PH", {}, "QU"), contact("PH", {}, "wi"), contact("PH", {}, "WI"),
          contact("PH", {}, "Germany")},
         PowerClass::High, 7 * 2},
        // Out of state the states and provinces are no multipliers.
        {"out-of-state counties only", 1, 0,
         {contact("CW", "Dane"), contact("CW", {}, "MA")}, PowerClass::High, 4},
        {"out-of-state 1,234 QRP", 1, 0, sixHundredSeventeenPoints(), PowerClass::Qrp, 2468},
        {"rover 12 and 11", 0, 1, sentFrom({{"DAN", 12}, {"MIL", 11}}), PowerClass::High, 500},
        {"rover 12 and 12", 0, 1, sentFrom({{"DAN", 12}, {"MIL", 12}}), PowerClass::High, 1000},
        {"rover from one county", 0, 1, sentFrom({{"DAN", 23}}), PowerClass::High, 0},
        {"rover counties ignore case", 0, 1, sentFrom({{"DAN", 6}, {"dan", 6}, {"MIL", 1}}),
         PowerClass::High, 500},
        {"no rover", 0, 0, sentFrom({{"DAN", 12}, {"MIL", 12}}), PowerClass::High, 0},
        {"no rover bonus out of state", 1, 1, sentFrom({{"DAN", 12}, {"MIL", 12}}),
         PowerClass::High, 0},
        {"bonus on top of the score", 0, 1,
         [] {
             auto log = sentFrom({{"DAN", 12}, {"MIL", 12}});
             log[0].QSOCounty = "Dane";
             return log;
         }(),
         PowerClass::Low, 24 * 1.5 + 1000},
    };
    for (const Case& c : cases) {
        TestProgram t;
        t->station.StationSide = static_cast<std::uint8_t>(c.side);
        t->station.RoverMode = static_cast<std::uint8_t>(c.rover);
        t->station.PartyState = "WI";
        t.CopyDataFile("county2.txt");
        ASSERT_TRUE(logstore::LoadCountyTable(t.program().counties, t.program().logPlace()));
        testing_support::SetContacts(t.program(), c.log);
        EXPECT_DOUBLE_EQ(scoring::ClaimedScore(t.program(), c.power), c.score) << c.name;
    }
}

TEST(ClaimedScore, IsWrittenWithAPointWhateverTheLocale) {
    const testing_support::DefaultLocale german(QLocale(QLocale::German, QLocale::Germany));
    struct Case {
        double score;
        const char* text;
    };
    const Case cases[] = {{0, " 0 "}, {13.5, " 13.5 "}, {1200, " 1200 "}, {1234567.5, " 1234567.5 "}};
    for (const Case& c : cases) EXPECT_EQ(scoring::ClaimedScoreText(c.score), c.text) << c.text;
}

TEST(RoverTally, CountsEachCountySentInOrderOfFirstAppearance) {
    TestProgram t;
    testing_support::SetContacts(t.program(), sentFrom({{"DAN", 2}, {"Milwaukee", 1}, {"dan", 1}}));
    const std::vector<scoring::RoverCounty> tally = scoring::RoverTally(t->log);
    ASSERT_EQ(tally.size(), 2u);
    EXPECT_EQ(tally[0].county, "DAN");
    EXPECT_EQ(tally[0].contacts, 3);
    EXPECT_EQ(tally[1].county, "Milwaukee");
    EXPECT_EQ(tally[1].contacts, 1);
}

namespace {

// A contact line built from its fields and the columns they start at.
QString fieldsAt(const std::vector<std::pair<int, QString>>& fields) {
    QString line;
    for (const auto& [column, text] : fields) {
        if (column > 1) {
            EXPECT_LT(line.size(), column - 1) << "no blank before column " << column;
        }
        line = line.leftJustified(column - 1, u' ') + text;
    }
    return line;
}

// The fields of the 40 m CW contact of 2013-04-07 18:05 from the first
// column to the own call, then `rest`.
QString standardLine(std::initializer_list<std::pair<int, QString>> rest,
                     const QString& freq = " 7000", const QString& time = "1805",
                     const QString& ownCall = "WD9XYZ") {
    std::vector<std::pair<int, QString>> fields = {
        {1, "QSO:"}, {6, freq}, {12, "CW"}, {15, "2013-04-07"}, {26, time}, {31, ownCall}};
    fields.insert(fields.end(), rest);
    return fieldsAt(fields);
}

}  // namespace

TEST(CabrilloContactLine, PlacesEachFieldAtItsColumnOrOneBlankLater) {
    struct Case {
        const char* name;
        int side;
        ContactRecord record;
        QString ownCall;
        QString line;
    };
    const ContactRecord base = contact("CW", {}, "IL", "DAN");
    auto with = [&](auto change) {
        ContactRecord r = base;
        change(r);
        return r;
    };
    const Case cases[] = {
        {"columns", 0, base, "WD9XYZ", standardLine({{49, "DAN"}, {56, "W9AAA"}, {74, "IL"}})},
        {"6 m", 0, with([](ContactRecord& r) { r.QSOBand = "6"; }), "WD9XYZ",
         standardLine({{49, "DAN"}, {56, "W9AAA"}, {74, "IL"}}, "   50")},
        {"band in any case", 0, with([](ContactRecord& r) { r.QSOBand = "1.3 g"; }), "WD9XYZ",
         standardLine({{49, "DAN"}, {56, "W9AAA"}, {74, "IL"}}, "  1.2")},
        {"band outside the contest", 0, with([](ContactRecord& r) { r.QSOBand = "30"; }),
         "WD9XYZ", standardLine({{49, "DAN"}, {56, "W9AAA"}, {74, "IL"}}, "")},
        {"hours of one digit", 0, with([](ContactRecord& r) { r.QSOTime = "9:05"; }), "WD9XYZ",
         standardLine({{49, "DAN"}, {56, "W9AAA"}, {74, "IL"}}, " 7000", "0905")},
        {"hours and minutes", 0, with([](ContactRecord& r) { r.QSOTime = "23:59"; }), "WD9XYZ",
         standardLine({{49, "DAN"}, {56, "W9AAA"}, {74, "IL"}}, " 7000", "2359")},
        {"dashed date", 0, with([](ContactRecord& r) { r.QSODate = "2013-4-7"; }), "WD9XYZ",
         standardLine({{49, "DAN"}, {56, "W9AAA"}, {74, "IL"}})},
        // A sent exchange of 7 characters ends in column 55: one blank, then the call.
        {"7-character exchange", 0, with([](ContactRecord& r) { r.QSOCountySent = "Madison"; }),
         "WD9XYZ", standardLine({{49, "Madison"}, {57, "W9AAA"}, {74, "IL"}})},
        // Longer ones are cut to 10 and trimmed; the call follows on the same line.
        {"long exchange", 0, with([](ContactRecord& r) { r.QSOCountySent = "Ho-Chunk Nation"; }),
         "WD9XYZ", standardLine({{49, "Ho-Chunk N"}, {60, "W9AAA"}, {74, "IL"}})},
        {"exchange trimmed after the cut", 0,
         with([](ContactRecord& r) { r.QSOCountySent = "Ho-Chunk   Nation"; }), "WD9XYZ",
         standardLine({{49, "Ho-Chunk"}, {58, "W9AAA"}, {74, "IL"}})},
        // No call is cut: a long own call or call widens the line.
        {"long own call", 0, base, "WD9XYZ/ROVER/MOBILE",
         standardLine({{51, "DAN"}, {56, "W9AAA"}, {74, "IL"}}, " 7000", "1805",
                      "WD9XYZ/ROVER/MOBILE")},
        {"13-character call", 0, with([](ContactRecord& r) { r.QSOCall = "KB9ABCD/ROVER"; }),
         "WD9XYZ", standardLine({{49, "DAN"}, {56, "KB9ABCD/ROVER"}, {74, "IL"}})},
        {"call up to column 73", 0,
         with([](ContactRecord& r) { r.QSOCall = "KB9ABCD/ROVER/MOB"; }), "WD9XYZ",
         standardLine({{49, "DAN"}, {56, "KB9ABCD/ROVER/MOB"}, {74, "IL"}})},
        {"call into column 73", 0,
         with([](ContactRecord& r) { r.QSOCall = "KB9ABCD/ROVER/MOBI"; }), "WD9XYZ",
         standardLine({{49, "DAN"}, {56, "KB9ABCD/ROVER/MOBI"}, {75, "IL"}})},
        // Exchanges of the in-state station.
        {"DX country", 0, with([](ContactRecord& r) { r.QSOSPC = "Germany"; }), "WD9XYZ",
         standardLine({{49, "DAN"}, {56, "W9AAA"}, {74, "DX "}})},
        {"county received as abbreviation", 0,
         with([](ContactRecord& r) { r.QSOCounty = "fond du lac"; }), "WD9XYZ",
         standardLine({{49, "DAN"}, {56, "W9AAA"}, {74, "FON"}})},
        {"county outside the table as stored", 0,
         with([](ContactRecord& r) { r.QSOCounty = "Ho-Chunk Nation"; }), "WD9XYZ",
         standardLine({{49, "DAN"}, {56, "W9AAA"}, {74, "Ho-Chunk Nation"}})},
        {"rover county sent by name", 0,
         with([](ContactRecord& r) { r.QSOCountySent = "Marquette"; }), "WD9XYZ",
         standardLine({{49, "MRQ"}, {56, "W9AAA"}, {74, "IL"}})},
        {"no state field", 0, with([](ContactRecord& r) { r.QSOSPC.clear(); }), "WD9XYZ",
         standardLine({{49, "DAN"}, {56, "W9AAA"}, {74, ""}})},
        // The out-of-state station sends its own state and receives a county.
        {"out of state", 1, with([](ContactRecord& r) { r.QSOCounty = "Dane"; }), "WD9XYZ",
         standardLine({{49, "TX"}, {56, "W9AAA"}, {74, "DAN"}})},
        // A line break inside a field of a damaged log never splits the line.
        {"line breaks in fields", 0, with([](ContactRecord& r) {
             r.QSOCall = "W9\r\nAAA";
             r.QSOSPC = "I\nL";
             r.QSOMode = "C\rW";
             r.QSOCountySent = "DA\r\nN";
         }),
         "WD9\nXYZ", standardLine({{49, "DAN"}, {56, "W9AAA"}, {74, "IL"}})},
    };
    TestProgram t;
    loadShippedCounties(t);
    t->station.OwnSPC = "TX";
    for (const Case& c : cases) {
        t->station.StationSide = static_cast<std::uint8_t>(c.side);
        EXPECT_EQ(scoring::CabrilloContactLine(t.program(), c.record, c.ownCall), c.line) << c.name;
    }
    // A date that cannot be read gives no line.
    EXPECT_EQ(scoring::CabrilloContactLine(
                  t.program(), with([](ContactRecord& r) { r.QSODate = "07.04.2013"; }), "WD9XYZ"),
              std::nullopt);
}

TEST(CabrilloTime, TakesHoursAndMinutes) {
    const std::pair<const char*, const char*> cases[] = {
        {"18:05:33", "1805"}, {"9:05", "0905"}, {"09:05", "0905"}, {" 7:30 ", "0730"},
        {"0:00:00", "0000"},
        // What is no time keeps the characters of the fixed positions.
        {"1805", "185"},     {"", ""},
    };
    for (const auto& [stored, time] : cases) EXPECT_EQ(scoring::CabrilloTime(stored), time) << stored;
}

TEST(CabrilloFile, AnEmptyLogHasTheHeaderAndTheEnd) {
    TestProgram t;
    t->station.OwnCall = " AB9CDEFGH ";
    t->station.OwnSPC = "WI";
    t->station.HomeCounty = "DAN";
    scoring::SummaryInputs in;
    in.name = " Pat ";  // written as typed
    in.power = PowerClass::High;
    // A line break typed into a field would start a line of its own.
    in.soapbox = "Fun\r\nQSO:  7000 CW";
    in.address1 = "1 Main\nSt";
    QString error;
    EXPECT_EQ(scoring::CabrilloLogText(t.program(), in, &error),
              "START-OF-LOG: 2.0\r\nCREATED-BY: Tavik's Fenw 2.0\r\nLOCATION: WI\r\n"
              "CONTEST: Dudurozuz State QSO Party\r\nCALLSIGN: AB9CDEFGH\r\nNAME:  Pat \r\n"
              "ADDRESS: 1 MainSt\r\nADDRESS: \r\nEMAIL: \r\nADDRESS-COUNTY: DAN\r\nCLUB: \r\n"
              "OPERATORS: \r\nCATEGORY: Single OP Fixed\r\nCATEGORY-POWER:  HIGH\r\n"
              "CLAIMED-SCORE:  0 \r\nSOAPBOX: FunQSO:  7000 CW\r\nEND-OF-LOG:\r\n");
}

TEST(CabrilloFile, SaveDialogProposesTheTrimmedCallsFileAndCancelWritesNothing) {
    TestProgram t;
    testing_support::LoadFixture(t, testing_support::FixtureOf(testing_support::StationSideFixture::Inside));
    const QStringList before = QDir(t->folders.DataFolder).entryList(QDir::Files);

    EXPECT_FALSE(scoring::WriteSubmissionFile(t.program(), scoring::SummaryInputs{}));
    EXPECT_EQ(t->station.OwnCall, "WD9XYZ/R");  // stays trimmed
    ASSERT_EQ(t.dialogs.shown.size(), 1u);
    const platform::FileDialogRequest& request = t.dialogs.shown[0].file;
    EXPECT_EQ(t.dialogs.shown[0].kind, testing_support::ShownBox::SaveFile);
    EXPECT_EQ(request.fileName, t->folders.DataFolder + "/WD9XYZ.log");
    EXPECT_EQ(request.initialDir, t->folders.DataFolder);
    EXPECT_EQ(request.filter, "LOG Files (*.log) | *.log");
    EXPECT_TRUE(request.confirmOverwrite);
    EXPECT_EQ(t.dialogs.beeps, 0);
    EXPECT_EQ(QDir(t->folders.DataFolder).entryList(QDir::Files), before);
    EXPECT_EQ(scoring::RememberedSummaryInputs(t.program()).name, "");
}

TEST(CabrilloFile, AnUnreadableDateWritesNothingAndSaysWhy) {
    TestProgram t;
    testing_support::SetContacts(t.program(), {contact("CW", "Dane")});
    t->log.row(1).QSODate = "sometime";
    const QString path = t.root() + "/out.log";
    EXPECT_FALSE(scoring::WriteCabrilloFile(t.program(), scoring::SummaryInputs{}, path));
    EXPECT_FALSE(QFileInfo::exists(path));
    ASSERT_EQ(t.dialogs.titles(), std::vector<QString>{"Unable to write file."});
    EXPECT_EQ(t.dialogs.shown[0].text,
              "Contact 1 (W9AAA) has the date \"sometime\", which is not a date.");
    EXPECT_EQ(t.dialogs.beeps, 1);
}

TEST(CabrilloFile, SuccessNamesTheFileThanksAndRemembersTheAddressBlock) {
    TestProgram t;
    testing_support::LoadFixture(t, testing_support::FixtureOf(testing_support::StationSideFixture::Outside));
    const scoring::SummaryInputs in = {
        .name = "  Lee Sample ",
        .address1 = " 400 Main Street",
        .address2 = "Austin, TX 78701 ",
        .email = " k5out@example.net ",
        .soapbox = "not remembered",
        .club = " LONE STAR DX ",
        .entryClass = scoring::kEntryClasses[0],
        .power = PowerClass::High,
        .operators = "K5OUT",
    };
    const QString path = t.root() + "/K5OUT.log";
    t.dialogs.fileAnswers = {path};
    ASSERT_TRUE(scoring::WriteSubmissionFile(t.program(), in));

    ASSERT_EQ(t.dialogs.shown.size(), 3u);
    EXPECT_EQ(t.dialogs.shown[1].title, "File Written Successfully.");
    EXPECT_EQ(t.dialogs.shown[1].text,
              "The file was successfully written to the directory:\r\n\r\n" + path +
                  ".\r\n\r\nAttach this file to an e-mail addressed for contest submission.  If "
                  "you wish to print this file, you can open it with Notepad or Wordpad to print.");
    EXPECT_EQ(t.dialogs.shown[2].title, "  Thanks!");
    EXPECT_EQ(t.dialogs.shown[2].text,
              "Thanks for using this program.  I hope that you enjoyed it!  If so, please tell a "
              "friend!");

    // The next opening of the dialog finds the address block, trimmed, and
    // the defaults for everything else.
    const scoring::SummaryInputs remembered = {
        .name = "Lee Sample",
        .address1 = "400 Main Street",
        .address2 = "Austin, TX 78701",
        .email = "k5out@example.net",
        .soapbox = "",
        .club = "LONE STAR DX",
        .entryClass = "Single OP Fixed",
        .power = PowerClass::Low,
        .operators = "",
    };
    EXPECT_TRUE(scoring::RememberedSummaryInputs(t.program()) == remembered);
    EXPECT_EQ(t->settings().GetSetting("Tavik_Software", "Settings", "UserEMail"),
              "k5out@example.net");

    // The shared preferences file holds the five keys, upper-cased.
    const QByteArray xml = TestProgram::ReadFile(t->folders.SharedFolder + "/SharedUserPreferences.xml");
    EXPECT_EQ(xml, "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n"
                   "<OWN_ADDRESS_NAME>Lee Sample</OWN_ADDRESS_NAME>\r\n"
                   "<OWN_ADDRESS_LINE1>400 Main Street</OWN_ADDRESS_LINE1>\r\n"
                   "<OWN_ADDRESS_LINE2>Austin, TX 78701</OWN_ADDRESS_LINE2>\r\n"
                   "<OWN_EMAIL>k5out@example.net</OWN_EMAIL>\r\n"
                   "<OWN_CLUB_NAME>LONE STAR DX</OWN_CLUB_NAME>\r\n");
}
