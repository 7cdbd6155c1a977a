#include "scoring/cabrillo.h"

#include <QHash>

#include "logstore/county_table.h"
#include "logstore/log_moment.h"
#include "logstore/record.h"
#include "program/program.h"
#include "scoring/contest_bands.h"
#include "scoring/multipliers.h"
#include "scoring/output_file.h"
#include "setup/folders.h"

namespace scoring {

namespace {

// The remembered address block: settings store key, shared preferences key
// and the input that holds it.
struct RememberedValue {
    const char* settingsKey;
    const char* sharedKey;
    QString SummaryInputs::*field;
};
constexpr std::array<RememberedValue, 5> kRemembered = {{
    {"UserAddressName", "OWN_ADDRESS_NAME", &SummaryInputs::name},
    {"UserAddressLine1", "OWN_ADDRESS_Line1", &SummaryInputs::address1},
    {"UserAddressLine2", "OWN_ADDRESS_Line2", &SummaryInputs::address2},
    {"UserEMail", "OWN_EMAIL", &SummaryInputs::email},
    {"UserClubName", "OWN_CLUB_NAME", &SummaryInputs::club},
}};

constexpr int kRoverBonusPerCounty = 500;
constexpr int kRoverBonusContacts = 12;

// A line of fields placed at columns counted from 1.
class ColumnLine {
public:
    // Starts `text` at `column` when the line ends before the column with room
    // for a blank; otherwise after one blank behind what the line holds. A
    // line break inside the text is dropped: it would split the line.
    void Put(int column, const QString& field) {
        const QString text = logstore::WithoutLineBreaks(field);
        const qsizetype start = column - 1;
        if (line_.isEmpty() || line_.size() < start)
            line_.append(QString(start - line_.size(), u' '));
        else
            line_.append(u' ');
        line_.append(text);
    }
    const QString& text() const { return line_; }

private:
    QString line_;
};

bool insideDudurozuz(const Program& program) { return program.station.StationSide == 0; }

QString sentExchange(const Program& program, const logstore::ContactRecord& record) {
    if (!insideDudurozuz(program)) return program.station.OwnSPC;
    return logstore::ToCountyAbbreviation(program.counties, record.QSOCountySent);
}

QString receivedExchange(const Program& program, const logstore::ContactRecord& record) {
    if (!insideDudurozuz(program) || !record.QSOCounty.isEmpty())
        return logstore::ToCountyAbbreviation(program.counties, record.QSOCounty);
    if (record.QSOSPC.size() > 2) return QStringLiteral("DX ");
    return record.QSOSPC;
}

}  // namespace

double PowerFactor(PowerClass power) {
    switch (power) {
    case PowerClass::High: return 1;
    case PowerClass::Low: return 1.5;
    case PowerClass::Qrp: return 2;
    }
    return 1;
}

QString PowerCategoryText(PowerClass power) {
    switch (power) {
    case PowerClass::High: return QStringLiteral(" HIGH");
    case PowerClass::Low: return QStringLiteral(" LOW");
    case PowerClass::Qrp: return QStringLiteral(" QRP");
    }
    return QStringLiteral(" HIGH");
}

SummaryInputs RememberedSummaryInputs(Program& program) {
    SummaryInputs inputs;
    for (const RememberedValue& value : kRemembered)
        inputs.*value.field = program.settings().GetSetting(platform::kSettingsApp, platform::kSettingsSection,
                                                  QString::fromLatin1(value.settingsKey));
    return inputs;
}

void RememberAddressBlock(Program& program, const SummaryInputs& inputs) {
    bool saved = true;
    for (const RememberedValue& value : kRemembered)
        saved = program.settings().SaveSetting(platform::kSettingsApp, platform::kSettingsSection,
                                               QString::fromLatin1(value.settingsKey),
                                               (inputs.*value.field).trimmed()) &&
                saved;
    if (!saved)
        program.ReportWriteFailure(QStringLiteral("The address block could not be kept in %1.")
                                       .arg(platform::SettingsStore::DefaultPath()));
    for (std::size_t i = 0; i < kRemembered.size(); ++i) {
        const bool last = i + 1 == kRemembered.size();
        setup::SetSharedPref(program, QString::fromLatin1(kRemembered[i].sharedKey),
                             (inputs.*kRemembered[i].field).trimmed(), last);
    }
}

std::vector<RoverCounty> RoverTally(const logstore::ContactLog& log) {
    std::vector<RoverCounty> tally;
    QHash<QString, std::size_t> index;  // case-folded county -> tally entry
    for (int i = 1; i <= log.QSOCount; ++i) {
        const QString& county = log.row(i).QSOCountySent;
        const QString folded = county.toCaseFolded();
        auto found = index.constFind(folded);
        if (found != index.constEnd()) {
            ++tally[*found].contacts;
        } else {
            index.insert(folded, tally.size());
            tally.push_back({county, 1});
        }
    }
    return tally;
}

int RoverBonus(const Program& program) {
    if (!insideDudurozuz(program) || program.station.RoverMode != 1) return 0;
    const std::vector<RoverCounty> tally = RoverTally(program.log);
    if (tally.size() <= 1) return 0;
    int bonus = 0;
    for (const RoverCounty& county : tally)
        if (county.contacts >= kRoverBonusContacts) bonus += kRoverBonusPerCounty;
    return bonus;
}

double ClaimedScore(const Program& program, PowerClass power) {
    const double points = LogPoints(program.log) * PowerFactor(power);
    return points * Multipliers(program) + RoverBonus(program);
}

QString ClaimedScoreText(double score) {
    return QStringLiteral(" ") + logstore::FormatNumber(score) + QStringLiteral(" ");
}

QString CabrilloFrequencyField(const QString& band) {
    for (const ContestBand& entry : kContestBands)
        if (band.compare(QLatin1String(entry.band), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(entry.cabrilloField);
    return QString();
}

QString CabrilloTime(const QString& storedTime) {
    if (std::optional<QTime> time = logstore::ParseLogTime(storedTime))
        return time->toString(QStringLiteral("HHmm"));
    return storedTime.left(2) + storedTime.mid(3, 2);
}

std::optional<QString> CabrilloContactLine(const Program& program,
                                           const logstore::ContactRecord& stored,
                                           const QString& ownCall) {
    const logstore::ContactRecord record = logstore::WithoutLineBreaks(stored);
    const std::optional<QDate> date = logstore::ParseLogDate(record.QSODate);
    if (!date) return std::nullopt;
    ColumnLine line;
    line.Put(1, QStringLiteral("QSO:"));
    line.Put(6, CabrilloFrequencyField(record.QSOBand));
    line.Put(12, record.QSOMode);
    line.Put(15, date->toString(QStringLiteral("yyyy-MM-dd")));
    line.Put(26, CabrilloTime(record.QSOTime));
    line.Put(31, ownCall);
    line.Put(49, sentExchange(program, record).left(10).trimmed());
    line.Put(56, record.QSOCall);
    line.Put(74, receivedExchange(program, record));
    return line.text();
}

std::optional<QString> CabrilloLogText(const Program& program, const SummaryInputs& inputs,
                                       QString* error) {
    const setup::Station& station = program.station;
    const QString ownCall = station.OwnCall.trimmed();
    // Each header line is a tag and a value; a line break inside a value is
    // dropped, since it would split the line.
    const std::pair<const char*, QString> lines[] = {
        {"START-OF-LOG: 2.0", QString()},
        {"CREATED-BY: Tavik's Fenw ", program.VersionText},
        {"LOCATION: ", station.OwnSPC},
        {"CONTEST: Dudurozuz State QSO Party", QString()},
        {"CALLSIGN: ", ownCall},
        {"NAME: ", inputs.name},
        {"ADDRESS: ", inputs.address1},
        {"ADDRESS: ", inputs.address2},
        {"EMAIL: ", inputs.email},
        {"ADDRESS-COUNTY: ", station.HomeCounty},
        {"CLUB: ", inputs.club},
        {"OPERATORS: ", inputs.operators},
        {"CATEGORY: ", inputs.entryClass},
        {"CATEGORY-POWER: ", PowerCategoryText(inputs.power)},
        {"CLAIMED-SCORE: ", ClaimedScoreText(ClaimedScore(program, inputs.power))},
        {"SOAPBOX: ", inputs.soapbox},
    };
    const QString crlf = QStringLiteral("\r\n");
    QString text;
    text.reserve(static_cast<qsizetype>(program.log.QSOCount + 20) * 90);
    for (const auto& [tag, value] : lines)
        text += QLatin1String(tag) + logstore::WithoutLineBreaks(value) + crlf;
    for (int i = 1; i <= program.log.QSOCount; ++i) {
        const logstore::ContactRecord& record = program.log.row(i);
        std::optional<QString> line = CabrilloContactLine(program, record, ownCall);
        if (!line) {
            if (error)
                *error = QStringLiteral("Contact %1 (%2) has the date \"%3\", which is not a date.")
                             .arg(i)
                             .arg(record.QSOCall, record.QSODate);
            return std::nullopt;
        }
        text += *line + crlf;
    }
    text += QStringLiteral("END-OF-LOG:") + crlf;
    return text;
}

platform::FileDialogRequest CabrilloSaveRequest(const Program& program) {
    platform::FileDialogRequest request;
    request.initialDir = program.folders.DataFolder;
    request.fileName = program.folders.DataFolder + "/" +
                       setup::CallFileStem(program.station.OwnCall.trimmed()) + ".log";
    request.filter = QStringLiteral("LOG Files (*.log) | *.log");
    request.confirmOverwrite = true;
    return request;
}

bool WriteCabrilloFile(Program& program, const SummaryInputs& inputs, const QString& path) {
    QString error;
    const std::optional<QString> text = CabrilloLogText(program, inputs, &error);
    if (!text) {
        ReportOutputFailure(program, error);
        return false;
    }
    if (!WriteOutputFile(program, path, *text)) return false;
    program.dialogs().MsgBox(
        FileWrittenText(path) +
            QStringLiteral("\r\n\r\nAttach this file to an e-mail addressed for contest submission.  "
                           "If you wish to print this file, you can open it with Notepad or "
                           "Wordpad to print."),
        platform::vbOKOnly, kFileWrittenTitle);
    program.dialogs().MsgBox(
        QStringLiteral("Thanks for using this program.  I hope that you enjoyed it!  If so, please "
                       "tell a friend!"),
        platform::vbOKOnly, QStringLiteral("  Thanks!"));
    return true;
}

bool WriteSubmissionFile(Program& program, const SummaryInputs& inputs) {
    program.station.OwnCall = program.station.OwnCall.trimmed();
    const std::optional<QString> path = program.dialogs().SaveFileName(CabrilloSaveRequest(program));
    if (!path) return false;
    if (!WriteCabrilloFile(program, inputs, *path)) return false;
    RememberAddressBlock(program, inputs);
    return true;
}

}  // namespace scoring
