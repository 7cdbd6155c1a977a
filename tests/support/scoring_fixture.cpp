#include "support/scoring_fixture.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "logstore/contact_log.h"
#include "logstore/county_table.h"
#include "setup/folders.h"

namespace testing_support {

namespace {

const scoring::SummaryInputs kInsideInputs = {
    .name = "Pat Example",
    .address1 = "12 Lake Road",
    .address2 = "Madison, WI 53703",
    .email = "wd9xyz@example.org",
    .soapbox = "Fun contest, thanks!",
    .club = "BADGER CONTESTERS",
    .entryClass = scoring::kEntryClasses[1],
    .power = scoring::PowerClass::Low,
    .operators = "",
};

const scoring::SummaryInputs kOutsideInputs = {
    .name = "Lee Sample",
    .address1 = "400 Main Street",
    .address2 = "Austin, TX 78701",
    .email = "k5out@example.net",
    .soapbox = "",
    .club = "",
    .entryClass = scoring::kEntryClasses[3],
    .power = scoring::PowerClass::Qrp,
    .operators = "K5OUT N5TWO",
};

}  // namespace

const ScoringFixture& FixtureOf(StationSideFixture side) {
    static const ScoringFixture inside{"instate", StationSideFixture::Inside, kInsideInputs,
                                       QString("100  "), QString("WI State QSO Party Contest")};
    static const ScoringFixture outside{"outstate", StationSideFixture::Outside, kOutsideInputs,
                                        std::nullopt, std::nullopt};
    return side == StationSideFixture::Inside ? inside : outside;
}

QString GoldenPath(const QString& name) { return QStringLiteral(OSTREL_GOLDEN_DIR) + "/" + name; }

QByteArray ReadGolden(const QString& name) {
    QFile f(GoldenPath(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
    return f.readAll();
}

void LoadFixture(TestProgram& t, const ScoringFixture& fixture) {
    setup::Station& s = t->station;
    s.PartyState = "WI";
    if (fixture.side == StationSideFixture::Inside) {
        s.OwnCall = "WD9XYZ/R ";  // written trimmed
        s.OwnSPC = "WI";
        s.HomeCounty = "DAN";
        s.StationSide = 0;
    } else {
        s.OwnCall = "K5OUT";
        s.OwnSPC = "TX";
        s.StationSide = 1;
    }
    setup::LoadSharedPrefs(t.program(), t->folders.SharedFolder + "/SharedUserPreferences.xml");
    t.CopyDataFile("county2.txt");
    t.CopyDataFile("ADIFCnt.txt");
    ASSERT_TRUE(logstore::LoadCountyTable(t.program().counties, t.program().logPlace()));
    TestProgram::WriteFile(t.workFile("log.txt"), ReadGolden(QString(fixture.name) + "_log.txt"));
    ASSERT_TRUE(t.program().LoadLog());
}

logstore::ContactRecord MakeContact(const QString& call, const QString& mode, const QString& spc,
                                    const QString& county, const QString& sent) {
    logstore::ContactRecord r;
    r.QSOCall = call;
    r.QSOMode = mode;
    r.QSOSPC = spc;
    r.QSOCounty = county;
    r.QSOCountySent = sent;
    r.QSODate = "2013/04/07";
    r.QSOTime = "18:05:33";
    r.QSOBand = "40";
    return r;
}

void SetContacts(Program& program, const std::vector<logstore::ContactRecord>& contacts) {
    program.log.QSOCount = 0;
    for (const logstore::ContactRecord& c : contacts) program.log.row(++program.log.QSOCount) = c;
}

void ExpectEqualsGolden(const QByteArray& actual, const QString& name) {
    const QByteArray expected = ReadGolden(name);
    if (actual == expected) return;
    QDir().mkpath("golden-actual");
    QFile out("golden-actual/" + name);
    if (out.open(QIODevice::WriteOnly)) out.write(actual);
    const QList<QByteArray> a = actual.split('\n');
    const QList<QByteArray> e = expected.split('\n');
    qsizetype line = 0;
    while (line < a.size() && line < e.size() && a[line] == e[line]) ++line;
    ADD_FAILURE() << name.toStdString() << " differs from its golden file at line " << line + 1
                  << "\n  expected: " << (line < e.size() ? e[line].toStdString() : "<end>")
                  << "\n  actual:   " << (line < a.size() ? a[line].toStdString() : "<end>")
                  << "\n  (actual bytes kept in " << QDir::current().absoluteFilePath(out.fileName()).toStdString()
                  << ")";
}

}  // namespace testing_support
