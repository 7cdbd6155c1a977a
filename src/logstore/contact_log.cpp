#include "logstore/contact_log.h"

#include <QDir>
#include <QFileInfo>
#include <array>
#include <memory>

#include "logstore/record.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/text_file.h"

namespace logstore {

namespace {

const QString kLogFile = QStringLiteral("log.txt");

// The text fields of a record in file order, around the one number field.
using TextField = QString ContactRecord::*;
constexpr std::array<TextField, 15> kFieldsBeforeNumber = {
    &ContactRecord::QSOCall,      &ContactRecord::QSORSTSent, &ContactRecord::QSORSTRcvd,
    &ContactRecord::QSOSPC,       &ContactRecord::QSOCounty,  &ContactRecord::QSOStateOverride,
    &ContactRecord::QSOCountySent, &ContactRecord::QSOSpare8, &ContactRecord::QSOSpare9,
    &ContactRecord::QSOSpare10,   &ContactRecord::QSOSpare11, &ContactRecord::QSODate,
    &ContactRecord::QSOTime,      &ContactRecord::QSOMode,    &ContactRecord::QSOBand,
};
constexpr std::array<TextField, 3> kFieldsAfterNumber = {
    &ContactRecord::QSOSpare17, &ContactRecord::QSOSpare18, &ContactRecord::QSOFrequency};

// Puts an item into `target`, keeping an equal string already held: the row's
// old value when the log is read again, or the value of the row above. A
// reload after a band change then allocates only for what changed.
bool readField(RecordReader& reader, QString& target, const QString* above) {
    std::optional<QByteArrayView> raw = reader.ReadRaw();
    if (!raw) return false;
    if (platform::EqualsAnsi(target, *raw)) return true;
    if (above && platform::EqualsAnsi(*above, *raw))
        target = *above;
    else
        target = platform::DecodeAnsi(*raw);
    return true;
}

bool readRecord(RecordReader& reader, ContactRecord& record, const ContactRecord* above) {
    for (TextField field : kFieldsBeforeNumber)
        if (!readField(reader, record.*field, above ? &(above->*field) : nullptr)) return false;
    std::optional<RecordReader::Number> number = reader.ReadNumber();
    if (!number) return false;
    record.QSOSpare16 = number->value;
    for (TextField field : kFieldsAfterNumber)
        if (!readField(reader, record.*field, above ? &(above->*field) : nullptr)) return false;
    return true;
}

bool failLoad(const LogPlace& place) {
    place.dialogs.MsgBox("Error opening file.", platform::vbOKOnly, "File Error");
    if (place.endProgram) place.endProgram();
    return false;
}

QString allRecords(const ContactLog& log) {
    QString text;
    text.reserve(static_cast<qsizetype>(log.QSOCount) * 100);
    for (int i = 1; i <= log.QSOCount; ++i) text += LogFileRecord(log.row(i));
    return text;
}

// Writes rows 1 to QSOCount over log.txt; the file then ends cleanly.
bool writeWholeLog(ContactLog& log, const LogPlace& place, QString* error) {
    if (!platform::WriteFileAtomically(place.WorkPath(kLogFile), platform::EncodeAnsi(allRecords(log)),
                                       error))
        return false;
    log.CleanEnd = true;
    return true;
}

}  // namespace

void ReportWriteFailure(platform::Dialogs& dialogs, const QString& systemText) {
    dialogs.MsgBox(systemText, platform::vbOKOnly | platform::vbCritical,
                   QStringLiteral("Unable to write file."));
}

// The backup is named by the local date and time "yyyymmddhhnn".
bool CopyLogToBackup(const LogPlace& place, QString* error, bool keepOlder) {
    const QString& backup = place.BackupFolder;
    if (!QFileInfo(backup).isDir() && !QDir().mkpath(backup)) {
        if (error) *error = QStringLiteral("The folder %1 cannot be made.").arg(backup);
        return false;
    }
    std::optional<QByteArray> log = platform::ReadWholeFile(place.WorkPath(kLogFile), error);
    if (!log) return false;
    const QString stem = backup + "/" + place.clock.LocalNow().toString("yyyyMMddHHmm");
    QString path = stem + ".log";
    for (int n = 2; keepOlder && QFileInfo::exists(path); ++n) {
        if (platform::ReadWholeFile(path) == log) return true;  // that copy is there already
        path = stem + "-" + QString::number(n) + ".log";
    }
    return platform::WriteFileAtomically(path, *log, error);
}

ContactRecord WithoutLineBreaks(ContactRecord record) {
    for (TextField field : kFieldsBeforeNumber) record.*field = WithoutLineBreaks(record.*field);
    for (TextField field : kFieldsAfterNumber) record.*field = WithoutLineBreaks(record.*field);
    return record;
}

QString LogFileRecord(const ContactRecord& record) {
    RecordWriter writer;
    for (TextField field : kFieldsBeforeNumber) writer.Text(record.*field);
    writer.Number(record.QSOSpare16);
    for (TextField field : kFieldsAfterNumber) writer.Text(record.*field);
    return writer.Line();
}

namespace {
// Reads every record of `bytes` into rows 1 onwards; false when a record is
// cut short or there are more than 11,000. Sets log.CleanEnd.
bool readLog(QByteArray bytes, ContactLog& log) {
    RecordReader reader(std::move(bytes));
    // Blank lines after the last record are passed over, not read as the
    // start of one more record.
    while (!reader.OnlyBlankLinesLeft()) {
        if (log.QSOCount >= kMaxContacts) return false;
        ++log.QSOCount;
        const ContactRecord* above = log.QSOCount > 1 ? &log.row(log.QSOCount - 1) : nullptr;
        if (!readRecord(reader, log.row(log.QSOCount), above)) return false;
    }
    log.CleanEnd = reader.AtCleanEnd();
    return true;
}
}  // namespace

bool LoadLog(ContactLog& log, const LogPlace& place) {
    log.QSOCount = 0;
    std::optional<QByteArray> bytes = platform::ReadWholeFile(place.WorkPath(kLogFile));
    if (!bytes || !readLog(std::move(*bytes), log)) return failLoad(place);
    if (log.BackupBaseCount == 0) log.BackupBaseCount = static_cast<float>(log.QSOCount);
    return true;
}

std::optional<QByteArray> CleanLogBytes(const QByteArray& bytes) {
    auto scratch = std::make_unique<ContactLog>();
    if (!readLog(bytes, *scratch)) return std::nullopt;
    if (scratch->CleanEnd) return bytes;
    return platform::EncodeAnsi(allRecords(*scratch));
}

ContactRecord* TakeNewRow(ContactLog& log, const LogPlace& place) {
    if (log.QSOCount >= kMaxContacts) {
        place.dialogs.MsgBox(
            "The log holds 11,000 contacts, as many as it can hold. This contact was not "
            "logged. Archive the log and start a new one to log more contacts.",
            platform::vbOKOnly | platform::vbExclamation, "Log Full");
        return nullptr;
    }
    ++log.QSOCount;
    ContactRecord& record = log.row(log.QSOCount);
    record = ContactRecord{};
    return &record;
}

bool AppendContact(ContactLog& log, const LogPlace& place) {
    if (log.QSOCount < 1) return false;
    QString error;
    // Appended to a file that does not end cleanly, the record would run on
    // from the last one and shift its items; such a file is written anew.
    const bool written =
        log.CleanEnd ? platform::AppendToFile(place.WorkPath(kLogFile),
                                              platform::EncodeAnsi(LogFileRecord(log.row(log.QSOCount))),
                                              &error)
                     : writeWholeLog(log, place, &error);
    if (!written) {
        ReportWriteFailure(place.dialogs, error);
        // The file did not take the contact, so neither does the table.
        log.row(log.QSOCount) = ContactRecord{};
        --log.QSOCount;
        return false;
    }
    return true;
}

bool RewriteLog(ContactLog& log, const LogPlace& place) {
    QString error;
    if (!writeWholeLog(log, place, &error)) {
        ReportWriteFailure(place.dialogs, error);
        return false;
    }
    return true;
}

bool DeleteContact(ContactLog& log, const LogPlace& place, int index) {
    if (index < 1 || index > log.QSOCount) return false;
    for (int i = index; i < log.QSOCount; ++i) log.row(i) = std::move(log.row(i + 1));
    log.row(log.QSOCount) = ContactRecord{};
    --log.QSOCount;
    return RewriteLog(log, place);
}

bool ConfirmNewLog(const LogPlace& place) {
    std::optional<QString> answer = place.dialogs.InputBox(
        "Are you sure that you want to start a new log file?  This function will ERASE the "
        "existing log file!\r\n\r\nTo verify that you want to start a new log file, please "
        "type: YES",
        "WARNING - Your existing log file will be ERASED!", QString());
    if (!answer || answer->toUpper() != QLatin1String("YES")) return false;

    // Whatever the counts say, a log with anything in it is copied to BACKUP
    // before it is erased; when that copy fails, nothing is erased.
    const QFileInfo logInfo(place.WorkPath(kLogFile));
    if (logInfo.exists() && logInfo.size() > 0) {
        QString error;
        if (!CopyLogToBackup(place, &error, true)) {
            ReportWriteFailure(place.dialogs, error);
            return false;
        }
    }
    return true;
}

bool EraseLog(ContactLog& log, const LogPlace& place) {
    QString error;
    if (!platform::WriteFileAtomically(place.WorkPath(kLogFile), QByteArray(), &error)) {
        ReportWriteFailure(place.dialogs, error);
        return false;
    }
    log.QSOCount = 0;
    return true;
}

void BackupLog(const ContactLog& log, const LogPlace& place) {
    if (static_cast<float>(log.QSOCount) == log.BackupBaseCount || log.QSOCount <= 0) return;
    CopyLogToBackup(place, nullptr);
}

}  // namespace logstore
