#pragma once
// The fixture logs of the two station sides (tests/scoring/golden/*_log.txt)
// loaded into a test program with their station settings, the shipped county
// table and DXCC table, and the summary inputs their golden files were
// written with.
#include <QByteArray>
#include <QLocale>
#include <QString>

#include "scoring/cabrillo.h"
#include "support/qstring_printer.h"
#include "support/test_program.h"

namespace testing_support {

enum class StationSideFixture { Inside, Outside };

struct ScoringFixture {
    const char* name;  // stem of the fixture's files: "instate" or "outstate"
    StationSideFixture side;
    scoring::SummaryInputs inputs;
    // The answers to the ADIF export's power and comment boxes.
    std::optional<QString> power;
    std::optional<QString> comment;
};

const ScoringFixture& FixtureOf(StationSideFixture side);

// The path of a file under tests/scoring/golden.
QString GoldenPath(const QString& name);
QByteArray ReadGolden(const QString& name);

// Station settings, county table, DXCC table and log of the fixture.
void LoadFixture(TestProgram& t, const ScoringFixture& fixture);

// A contact of 2013/04/07 18:05:33 on 40 m with the given call, mode,
// state/province/country, county received and county sent; the rest empty.
logstore::ContactRecord MakeContact(const QString& call, const QString& mode,
                                    const QString& spc = {}, const QString& county = {},
                                    const QString& sent = {});

// Writes the contacts into the program's table (rows 1 to n).
void SetContacts(Program& program, const std::vector<logstore::ContactRecord>& contacts);

// Holds a default locale for the life of the guard (the short date of the
// ADIF header follows it).
class DefaultLocale {
public:
    explicit DefaultLocale(const QLocale& locale) { QLocale::setDefault(locale); }
    ~DefaultLocale() { QLocale::setDefault(saved_); }
    DefaultLocale(const DefaultLocale&) = delete;
    DefaultLocale& operator=(const DefaultLocale&) = delete;

private:
    QLocale saved_;
};

// Expects `actual` to equal the golden file `name` byte for byte; on a
// difference the actual bytes are kept in golden-actual/ under the current
// folder and the first differing line is named.
void ExpectEqualsGolden(const QByteArray& actual, const QString& name);

}  // namespace testing_support
