#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include "scoring/adif.h"
#include "support/scoring_fixture.h"

using logstore::ContactRecord;
using testing_support::TestProgram;

namespace {

scoring::DxccTable sampleTable() {
    return {{"USA", "Canada", "Alaska", "Hawaii", "Germany", "Germany"}, {291, 1, 6, 110, 230, 999}};
}

ContactRecord contact(const QString& call, const QString& spc, const QString& county = {}) {
    return testing_support::MakeContact(call, "CW", spc, county);
}

const QString kPowerPrompt =
    "Please enter the power value that you would like to record.  This is an optional value "
    "that will be included in each QSO record and displayed in Quillo's power output column.";
const QString kCommentPrompt =
    "Please enter a comment that you would like to appear on each QSO record.  This is an "
    "optional description that will be displayed in Quillo's Comments column.";

}  // namespace

TEST(AdifFields, BandModeDateAndTimeTexts) {
    const std::pair<const char*, const char*> bands[] = {
        {"160", "160M"}, {"80", "80M"},   {"40", "40M"},     {"20", "20M"},   {"15", "15M"},
        {"10", "10M"},   {"6", "6M"},     {"2", "2M"},       {"222", "1.25M"}, {"432", "70CM"},
        {"902", "33CM"}, {"1.3 G", "23CM"},
        // Compared exactly; any other band text gets "M".
        {"1.3 g", "1.3 gM"}, {"30", "30M"}, {"", ""},
    };
    for (const auto& [band, text] : bands) EXPECT_EQ(scoring::AdifBand(band), text) << band;

    const std::pair<const char*, const char*> modes[] = {
        {"PH", "SSB"}, {"CW", "CW"}, {"DG", "DG"}, {"ph", "PH"}, {"rtty", "RTTY"}, {"", ""}};
    for (const auto& [mode, text] : modes) EXPECT_EQ(scoring::AdifMode(mode), text) << mode;

    const std::pair<const char*, const char*> dates[] = {
        {"2013/04/07", "20130407"}, {"2013-4-7", "20130407"}, {" 2013/04/07 ", "20130407"},
        {"2013/02/30", ""},         {"07.04.2013", ""},       {"", ""}};
    for (const auto& [date, text] : dates) EXPECT_EQ(scoring::AdifDate(date), text) << date;

    const std::pair<const char*, const char*> times[] = {
        {"18:05:33", "1805"}, {"9:05", "0905"}, {"", "0000"}, {" 18:05 ", "1805"},
        {"1805", "1805"},     {"123456", "1234"}, {"7", "0007"}};
    for (const auto& [time, text] : times) EXPECT_EQ(scoring::AdifTime(time), text) << time;
}

TEST(AdifFields, LocationOfAContact) {
    struct Case {
        ContactRecord record;
        scoring::ContactLocation location;
        int dxcc;
    };
    const Case cases[] = {
        {contact("K9ABC", "IL"), {"USA", "NA", "IL"}, 291},
        {contact("KL7AB", "AK"), {"Alaska", "NA", "AK"}, 6},
        {contact("KH6AB", "HI"), {"Hawaii", "NA", "HI"}, 110},
        // Only upper-case A, K, N and W are U.S. calls.
        {contact("VE3AB", "ON"), {"Canada", "", ""}, 1},
        {contact("k9abc", "IL"), {"Canada", "", ""}, 1},
        {contact("", "IL"), {"Canada", "", ""}, 1},
        {contact("DL1AB", "Germany"), {"Germany", "", ""}, 230},
        {contact("DL1AB", "germany"), {"germany", "", ""}, 0},
        {contact("XX1AB", "Atlantis"), {"Atlantis", "", ""}, 0},
        // Out-of-state contacts: no state field, a county received.
        {contact("W9AAA", "", "Dane"), {"USA", "NA", "WI"}, 291},
        {contact("W9AAA", "W", ""), {"", "", "WI"}, 0},
        // A county makes the contact a U.S. one whatever else it holds.
        {contact("VE3AB", "ON", "Dane"), {"USA", "NA", ""}, 291},
    };
    const scoring::DxccTable table = sampleTable();
    for (const Case& c : cases) {
        const scoring::ContactLocation l = scoring::AdifLocation(c.record, "WI");
        const std::string name = (c.record.QSOCall + "/" + c.record.QSOSPC).toStdString();
        EXPECT_EQ(l.country, c.location.country) << name;
        EXPECT_EQ(l.continent, c.location.continent) << name;
        EXPECT_EQ(l.state, c.location.state) << name;
        EXPECT_EQ(scoring::DxccNumber(table, l.country), c.dxcc) << name;
    }
    // A party state longer than two letters is cut.
    EXPECT_EQ(scoring::AdifLocation(contact("W9AAA", ""), "WIS").state, "WI");
    EXPECT_EQ(scoring::DxccNumber(table, "  Germany "), 230);  // trimmed, first row wins
}

TEST(AdifRecord, PiecesAndLineBreaksFollowWhatIsPresent) {
    struct Case {
        const char* name;
        ContactRecord record;
        scoring::AdifExtras extras;
        QString text;
    };
    auto with = [](ContactRecord r, auto change) {
        change(r);
        return r;
    };
    const ContactRecord dane = [] {
        ContactRecord r = contact("W9AAA", "", "Dane");
        r.QSORSTSent = "599 ";
        r.QSORSTRcvd = "579";
        r.QSOFrequency = " 7.025 ";
        return r;
    }();
    const Case cases[] = {
        {"everything", dane, {"100  ", "WI State QSO Party Contest"},
         "<Call:5>W9AAA <Qso_Date:8:d>20130407 <Band:3>40M <Mode:2>CW\r\n"
         "<Tx_Pwr:3>100 <Freq:5>7.025 <Time_On:4>1805 <DXCC:3>291 <State:2>WI <Cnty:7>WI,Dane "
         "<Cont:2>NA <RST_Rcvd:3>579 <RST_Sent:3>599 <Comment:26>WI State QSO Party Contest\r\n"
         "<eor>\r\n\r\n"},
        {"no comment puts eor on the second line", dane, {"", ""},
         "<Call:5>W9AAA <Qso_Date:8:d>20130407 <Band:3>40M <Mode:2>CW\r\n"
         "<Freq:5>7.025 <Time_On:4>1805 <DXCC:3>291 <State:2>WI <Cnty:7>WI,Dane <Cont:2>NA "
         "<RST_Rcvd:3>579 <RST_Sent:3>599 <eor>\r\n\r\n"},
        {"no mode joins the first two lines", with(contact("DL1AB", "Germany"), [](auto& r) {
             r.QSOMode.clear();
         }),
         {"", "x"},
         "<Call:5>DL1AB <Qso_Date:8:d>20130407 <Band:3>40M <Time_On:4>1805 <DXCC:3>230 "
         "<Comment:1>x\r\n<eor>\r\n\r\n"},
        {"empty date, band and call left out; empty time is 0000",
         with(contact("", "Atlantis"), [](auto& r) {
             r.QSODate = "soon";
             r.QSOBand.clear();
             r.QSOTime.clear();
             r.QSOMode = "PH";
         }),
         {"", ""}, "<Mode:3>SSB\r\n<Time_On:4>0000 <eor>\r\n\r\n"},
        {"a time below 0000 is left out", with(contact("DL1AB", "Germany"), [](auto& r) {
             r.QSOTime = "-1";
         }),
         {"", ""},
         "<Call:5>DL1AB <Qso_Date:8:d>20130407 <Band:3>40M <Mode:2>CW\r\n<DXCC:3>230 <eor>\r\n\r\n"},
        {"line breaks in fields and extras dropped", with(dane, [](auto& r) {
             r.QSOCall = "W9\r\nAAA";
             r.QSOCounty = "Da\nne";
             r.QSORSTRcvd = "5\r79";
             r.QSOFrequency = "7.0\r\n25";
         }),
         {"1\r\n00", "WI\n Party"},
         "<Call:5>W9AAA <Qso_Date:8:d>20130407 <Band:3>40M <Mode:2>CW\r\n"
         "<Tx_Pwr:3>100 <Freq:5>7.025 <Time_On:4>1805 <DXCC:3>291 <State:2>WI <Cnty:7>WI,Dane "
         "<Cont:2>NA <RST_Rcvd:3>579 <RST_Sent:3>599 <Comment:8>WI Party\r\n"
         "<eor>\r\n\r\n"},
        {"Canadian contact has no state, continent or county",
         with(contact("VE3AB", "ON"), [](auto& r) { r.QSOBand = "902"; }), {"5", ""},
         "<Call:5>VE3AB <Qso_Date:8:d>20130407 <Band:4>33CM <Mode:2>CW\r\n"
         "<Tx_Pwr:1>5 <Time_On:4>1805 <DXCC:1>1 <eor>\r\n\r\n"},
    };
    const scoring::DxccTable table = sampleTable();
    for (const Case& c : cases)
        EXPECT_EQ(scoring::AdifRecord(c.record, table, "WI", c.extras), c.text) << c.name;
}

TEST(DxccTable, IsTakenFromTheSharedThenDataThenWorkingFolder) {
    TestProgram t;
    const QString shared = t->folders.SharedFolder + "/ADIFCnt.txt";
    const QString data = t->folders.DataFolder + "/ADIFCnt.txt";
    const QString work = t.workFile("ADIFCnt.txt");
    TestProgram::WriteFile(work, "\"USA\",291\r\n");
    TestProgram::WriteFile(data, "\"USA\",292\r\n");
    TestProgram::WriteFile(shared, "\"USA\",293\r\n\"Canada\",1\r\n\r\n");
    QString error;
    struct Step {
        QString removeFirst;
        std::vector<int> numbers;
    };
    for (const Step& step : {Step{{}, {293, 1}}, Step{shared, {292}}, Step{data, {291}}}) {
        if (!step.removeFirst.isEmpty()) QFile::remove(step.removeFirst);
        std::optional<scoring::DxccTable> table = scoring::LoadDxccTable(t.program(), &error);
        ASSERT_TRUE(table) << error.toStdString();
        EXPECT_EQ(table->numbers, step.numbers);
    }
}

TEST(DxccTable, FailsOnAMissingFileABadRowOrTooManyRows) {
    QByteArray thousand;
    for (int i = 1; i <= 1000; ++i) thousand += QString("\"C%1\",%1\r\n").arg(i).toLatin1();
    struct Case {
        const char* name;
        std::optional<QByteArray> file;  // none: no ADIFCnt.txt anywhere
        std::optional<QString> error;    // none: the table loads
    };
    const Case cases[] = {
        {"missing", std::nullopt, "No such file or directory"},
        {"1,000 rows", thousand, std::nullopt},
        {"1,001 rows", thousand + "\"X\",1\r\n", "Subscript out of range"},
        {"not a number", "\"USA\",many\r\n", "Type mismatch"},
        {"beyond 16 bits", "\"USA\",40000\r\n", "Overflow"},
        {"name without number", "\"USA\"", "Input past end of file"},
    };
    for (const Case& c : cases) {
        TestProgram t;
        if (c.file) TestProgram::WriteFile(t.workFile("ADIFCnt.txt"), *c.file);
        QString error;
        std::optional<scoring::DxccTable> table = scoring::LoadDxccTable(t.program(), &error);
        EXPECT_EQ(table.has_value(), !c.error.has_value()) << c.name;
        if (c.error) {
            EXPECT_EQ(error, *c.error) << c.name;
        }
    }
}

TEST(AdifExport, AsksPowerAndCommentAndAnEmptyLogGivesTheHeaderOnly) {
    const testing_support::DefaultLocale usDates(QLocale(QLocale::English, QLocale::UnitedStates));
    TestProgram t;
    t->station.PartyState = "WI";
    t.CopyDataFile("ADIFCnt.txt");
    const QString path = t.root() + "/empty.adi";
    t.dialogs.fileAnswers = {path};  // both input boxes cancelled
    ASSERT_TRUE(scoring::ExportADIF(t.program()));

    ASSERT_EQ(t.dialogs.shown.size(), 4u);
    EXPECT_EQ(t.dialogs.shown[0].title, "Please enter your transmitter output power.");
    EXPECT_EQ(t.dialogs.shown[0].text, kPowerPrompt);
    EXPECT_EQ(t.dialogs.shown[0].defaultText, "100");
    EXPECT_EQ(t.dialogs.shown[1].title, "Please enter a comment.");
    EXPECT_EQ(t.dialogs.shown[1].text, kCommentPrompt);
    EXPECT_EQ(t.dialogs.shown[1].defaultText, "WI State QSO Party Contest");
    const platform::FileDialogRequest& request = t.dialogs.shown[2].file;
    EXPECT_EQ(request.fileName, t->folders.DataFolder + "/WI.adi");
    EXPECT_EQ(request.filter, "ADIF Files (*.adi) | *.adi");
    EXPECT_TRUE(request.confirmOverwrite);
    EXPECT_EQ(t.dialogs.shown[3].title, "File Written Successfully.");
    EXPECT_EQ(t.dialogs.shown[3].text,
              "The file was successfully written to the directory:\r\n\r\n" + path + ".");

    // The local date of the fake clock (UTC 2013-04-07 18:05 less 5 hours).
    EXPECT_EQ(TestProgram::ReadFile(path),
              "Exported from Tavik's WI Ostrel 2.0\r\n"
              "Ostrel, the Dudurozuz QSO Party logger, by Tavik Software.\r\n"
              "Questions and suggestions: Tavik Software.\r\n"
              "Log exported on: 4/7/13\r\n\r\n<EOH>\r\n\r\n");
}

TEST(AdifExport, AMissingDxccTableFailsBeforeTheSaveDialog) {
    TestProgram t;
    t.dialogs.inputAnswers = {QString("100"), QString("c")};
    t.dialogs.fileAnswers = {t.root() + "/x.adi"};
    EXPECT_FALSE(scoring::ExportADIF(t.program()));
    const std::vector<QString> titles = {"Please enter your transmitter output power.",
                                         "Please enter a comment.", "Unable to write file."};
    EXPECT_EQ(t.dialogs.titles(), titles);
    EXPECT_EQ(t.dialogs.shown[2].text, "No such file or directory");
    EXPECT_EQ(t.dialogs.beeps, 1);
    EXPECT_FALSE(QFileInfo::exists(t.root() + "/x.adi"));
}

TEST(AdifExport, CancellingTheSaveDialogWritesNothingAndShowsNothing) {
    TestProgram t;
    t.CopyDataFile("ADIFCnt.txt");
    t.dialogs.inputAnswers = {QString("100"), QString("c")};
    const QStringList before = QDir(t->folders.DataFolder).entryList(QDir::Files);
    EXPECT_FALSE(scoring::ExportADIF(t.program()));
    ASSERT_EQ(t.dialogs.shown.size(), 3u);
    EXPECT_EQ(t.dialogs.shown[2].kind, testing_support::ShownBox::SaveFile);
    EXPECT_EQ(t.dialogs.beeps, 0);
    EXPECT_EQ(QDir(t->folders.DataFolder).entryList(QDir::Files), before);
}
