#include "scoring/adif.h"

#include <QFileInfo>
#include <QLocale>
#include <cmath>
#include <limits>

#include "logstore/log_moment.h"
#include "logstore/record.h"
#include "platform/text_file.h"
#include "program/program.h"
#include "scoring/contest_bands.h"
#include "scoring/output_file.h"

namespace scoring {

namespace {

const QString kDxccFile = QStringLiteral("ADIFCnt.txt");

QString trimEnd(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == u' ') --end;
    return text.left(end);
}

// "<Name:length>value"; the length counts the characters of the value. A line
// break inside the value is dropped, as the log writer drops it.
QString tag(const char* name, const QString& field) {
    const QString value = logstore::WithoutLineBreaks(field);
    return QStringLiteral("<%1:%2>").arg(QLatin1String(name)).arg(value.size()) + value;
}

bool fileExists(const QString& path) { return QFileInfo(path).isFile(); }

}  // namespace

QString DxccTableFilePath(const Program& program) {
    const QString shared = program.folders.SharedFolder + "/" + kDxccFile;
    if (fileExists(shared)) return shared;
    const QString data = program.folders.DataFolder + "/" + kDxccFile;
    if (fileExists(data)) return data;
    return program.WorkPath(kDxccFile);
}

std::optional<DxccTable> LoadDxccTable(const Program& program, QString* error) {
    auto fail = [error](const QString& text) -> std::optional<DxccTable> {
        if (error) *error = text;
        return std::nullopt;
    };
    QString readError;
    std::optional<QByteArray> bytes = platform::ReadWholeFile(DxccTableFilePath(program), &readError);
    if (!bytes) return fail(readError);

    DxccTable table;
    logstore::RecordReader reader(std::move(*bytes));
    while (!reader.OnlyBlankLinesLeft()) {
        if (table.names.size() >= static_cast<std::size_t>(kMaxDxccRows))
            return fail(QStringLiteral("Subscript out of range"));
        std::optional<QString> name = reader.ReadText();
        std::optional<logstore::RecordReader::Number> number = reader.ReadNumber();
        if (!name || !number) return fail(QStringLiteral("Input past end of file"));
        if (!number->numeric) return fail(QStringLiteral("Type mismatch"));
        const double rounded = std::nearbyint(number->value);
        if (rounded < std::numeric_limits<std::int16_t>::min() ||
            rounded > std::numeric_limits<std::int16_t>::max())
            return fail(QStringLiteral("Overflow"));
        table.names.push_back(*name);
        table.numbers.push_back(static_cast<int>(rounded));
    }
    return table;
}

int DxccNumber(const DxccTable& table, const QString& country) {
    const QString wanted = country.trimmed();
    for (std::size_t i = 0; i < table.names.size(); ++i)
        if (table.names[i] == wanted) return table.numbers[i];
    return 0;
}

QString AdifBand(const QString& band) {
    if (band.isEmpty()) return QString();
    for (const ContestBand& entry : kContestBands)
        if (band == QLatin1String(entry.band)) return QString::fromLatin1(entry.adifBand);
    return band + "M";
}

QString AdifMode(const QString& mode) {
    return QString(mode).replace(QStringLiteral("PH"), QStringLiteral("SSB")).toUpper();
}

QString AdifDate(const QString& storedDate) {
    const std::optional<QDate> date = logstore::ParseLogDate(storedDate);
    return date ? date->toString(QStringLiteral("yyyyMMdd")) : QString();
}

QString AdifTime(const QString& storedTime) {
    QString time = storedTime.trimmed();
    const qsizetype colon = time.indexOf(u':');
    if (colon >= 0) time = time.left(colon) + time.mid(colon + 1, 2);
    return time.left(4).rightJustified(4, u'0');
}

ContactLocation AdifLocation(const logstore::ContactRecord& record, const QString& partyState) {
    ContactLocation location;
    const QString& field = record.QSOSPC;
    if (field.size() == 2) {
        const QChar first = record.QSOCall.isEmpty() ? QChar() : record.QSOCall[0];
        if (first == u'A' || first == u'K' || first == u'N' || first == u'W') {
            location.country = QStringLiteral("USA");
            location.continent = QStringLiteral("NA");
            location.state = field;
            if (location.state == QLatin1String("HI")) location.country = QStringLiteral("Hawaii");
            if (location.state == QLatin1String("AK")) location.country = QStringLiteral("Alaska");
        } else {
            location.country = QStringLiteral("Canada");
        }
    } else if (field.size() > 2) {
        location.country = field;
    } else {
        location.state = partyState;
    }
    if (location.state.size() > 2) location.state.truncate(2);
    if (!record.QSOCounty.isEmpty()) {
        location.country = QStringLiteral("USA");
        location.continent = QStringLiteral("NA");
    }
    return location;
}

AdifExtras AskAdifExtras(Program& program) {
    AdifExtras extras;
    extras.power =
        program.dialogs()
            .InputBox(QStringLiteral("Please enter the power value that you would like to record.  "
                                     "This is an optional value that will be included in each QSO "
                                     "record and displayed in Quillo's power output column."),
                      QStringLiteral("Please enter your transmitter output power."),
                      QStringLiteral("100"))
            .value_or(QString());
    extras.comment =
        program.dialogs()
            .InputBox(QStringLiteral("Please enter a comment that you would like to appear on each "
                                     "QSO record.  This is an optional description that will be "
                                     "displayed in Quillo's Comments column."),
                      QStringLiteral("Please enter a comment."),
                      program.station.PartyState + QStringLiteral(" State QSO Party Contest"))
            .value_or(QString());
    return extras;
}

QString AdifRecord(const logstore::ContactRecord& stored, const DxccTable& table,
                   const QString& partyState, const AdifExtras& extras) {
    const logstore::ContactRecord record = logstore::WithoutLineBreaks(stored);
    const QString blank = QStringLiteral(" ");
    const QString crlf = QStringLiteral("\r\n");
    const QString date = AdifDate(record.QSODate);
    const QString time = AdifTime(record.QSOTime);
    const QString band = AdifBand(record.QSOBand);
    const QString mode = AdifMode(record.QSOMode);
    const ContactLocation location = AdifLocation(record, partyState);
    const int dxcc = DxccNumber(table, location.country);

    QString out;
    if (!record.QSOCall.isEmpty()) out += tag("Call", record.QSOCall) + blank;
    if (!date.isEmpty()) out += QStringLiteral("<Qso_Date:%1:d>").arg(date.size()) + date + blank;
    if (!band.isEmpty()) out += tag("Band", band) + blank;
    if (!mode.isEmpty()) out += tag("Mode", mode) + crlf;
    if (!extras.power.isEmpty()) out += tag("Tx_Pwr", trimEnd(extras.power)) + blank;
    if (!record.QSOFrequency.isEmpty()) out += tag("Freq", record.QSOFrequency.trimmed()) + blank;
    if (time.compare(QLatin1String("0000")) >= 0) out += tag("Time_On", time) + blank;
    if (dxcc > 0) out += tag("DXCC", QString::number(dxcc)) + blank;
    if (!location.state.isEmpty()) out += tag("State", location.state) + blank;
    if (!record.QSOCounty.isEmpty())
        out += tag("Cnty", location.state + "," + record.QSOCounty) + blank;
    if (!location.continent.isEmpty()) out += tag("Cont", location.continent) + blank;
    if (!record.QSORSTRcvd.isEmpty()) out += tag("RST_Rcvd", trimEnd(record.QSORSTRcvd)) + blank;
    if (!record.QSORSTSent.isEmpty()) out += tag("RST_Sent", trimEnd(record.QSORSTSent)) + blank;
    if (!extras.comment.isEmpty()) out += tag("Comment", extras.comment) + crlf;
    out += QStringLiteral("<eor>") + crlf + crlf;
    return out;
}

QString AdifFileText(Program& program, const DxccTable& table, const AdifExtras& extras) {
    const QString& partyState = program.station.PartyState;
    const QString crlf = QStringLiteral("\r\n");
    const QString exportedOn =
        QLocale().toString(program.clock().LocalNow().date(), QLocale::ShortFormat);
    QString text = QStringLiteral("Exported from Tavik's ") + partyState +
                   QStringLiteral(" Ostrel ") + program.VersionText + crlf +
                   QStringLiteral("Ostrel, the Dudurozuz QSO Party logger, by Tavik Software.") +
                   crlf + QStringLiteral("Questions and suggestions: Tavik Software.") + crlf +
                   QStringLiteral("Log exported on: ") + exportedOn + crlf + crlf +
                   QStringLiteral("<EOH>") + crlf + crlf;
    for (int i = 1; i <= program.log.QSOCount; ++i)
        text += AdifRecord(program.log.row(i), table, partyState, extras);
    return text;
}

platform::FileDialogRequest AdifSaveRequest(const Program& program) {
    platform::FileDialogRequest request;
    request.initialDir = program.folders.DataFolder;
    request.fileName = program.folders.DataFolder + "/" + program.station.PartyState + ".adi";
    request.filter = QStringLiteral("ADIF Files (*.adi) | *.adi");
    request.confirmOverwrite = true;
    return request;
}

bool ExportADIF(Program& program) {
    const AdifExtras extras = AskAdifExtras(program);
    QString error;
    const std::optional<DxccTable> table = LoadDxccTable(program, &error);
    if (!table) {
        ReportOutputFailure(program, error);
        return false;
    }
    const std::optional<QString> path = program.dialogs().SaveFileName(AdifSaveRequest(program));
    if (!path) return false;
    if (!WriteOutputFile(program, *path, AdifFileText(program, *table, extras))) return false;
    program.dialogs().MsgBox(FileWrittenText(*path), platform::vbOKOnly, kFileWrittenTitle);
    return true;
}

}  // namespace scoring
