#pragma once
// The contact table: every contact of the contest, rows 1 to QSOCount in the
// order of log.txt, and the operations that keep the table and the file equal.
#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

#include "logstore/log_place.h"

namespace logstore {

inline constexpr int kMaxContacts = 11000;

// One contact: the 19 fields of a log.txt line, in file order.
struct ContactRecord {
    QString QSOCall;
    QString QSORSTSent;
    QString QSORSTRcvd;
    QString QSOSPC;
    QString QSOCounty;
    QString QSOStateOverride;
    QString QSOCountySent;
    QString QSOSpare8;
    QString QSOSpare9;
    QString QSOSpare10;
    QString QSOSpare11;
    QString QSODate;
    QString QSOTime;
    QString QSOMode;
    QString QSOBand;
    double QSOSpare16 = 0;
    QString QSOSpare17;
    QString QSOSpare18;
    QString QSOFrequency;

    friend bool operator==(const ContactRecord&, const ContactRecord&) = default;
};

struct ContactLog {
    // Rows 0 to kMaxContacts; row 0 is never used.
    std::vector<ContactRecord> rows = std::vector<ContactRecord>(kMaxContacts + 1);
    int QSOCount = 0;
    // The count found by the first load of this run that found any contact.
    float BackupBaseCount = 0;
    // log.txt ends where its last record ends, with a line end, so that an
    // append starts a line of its own. A file that does not (trailing blank
    // lines, no final line end, an unclosed quote in its last item) is
    // rewritten whole from the table in place of the next append.
    bool CleanEnd = true;

    ContactRecord& row(int index) { return rows.at(static_cast<std::size_t>(index)); }
    const ContactRecord& row(int index) const { return rows.at(static_cast<std::size_t>(index)); }
};

// Replaces the table with log.txt. A file that cannot be read shows "Error
// opening file." and ends the program; the result is then false. The program's
// LoadLog also clears the counters rebuilt from the table.
bool LoadLog(ContactLog& log, const LogPlace& place);

// Makes room for one more contact: clears row QSOCount + 1, raises QSOCount and
// returns the row. With the table full it says so and returns nullptr.
ContactRecord* TakeNewRow(ContactLog& log, const LogPlace& place);

// Appends row QSOCount to log.txt. When the write fails the operator is told,
// the row is taken back and the result is false.
bool AppendContact(ContactLog& log, const LogPlace& place);

// Replaces log.txt with rows 1 to QSOCount; the old file stays whole on failure.
bool RewriteLog(ContactLog& log, const LogPlace& place);

// Removes row `index` (1 to QSOCount) and rewrites the file.
bool DeleteContact(ContactLog& log, const LogPlace& place, int index);

// The first half of a new log (the program's StartNewLog): asks the operator
// to type YES and copies a log with anything in it to BACKUP. True when the
// log may be erased.
bool ConfirmNewLog(const LogPlace& place);

// The second half: empties log.txt and the table. False, with the log left
// as it was, when the file cannot be written.
bool EraseLog(ContactLog& log, const LogPlace& place);

// Copies log.txt to BACKUP when the count changed since the first load.
void BackupLog(const ContactLog& log, const LogPlace& place);

// `bytes` as a log file ready for appending: the same bytes when they read as
// a log and end cleanly, else the log they hold written anew (one record per
// line, each ended by CRLF). std::nullopt when they do not read as a log
// (a record cut short, more than 11,000 of them).
std::optional<QByteArray> CleanLogBytes(const QByteArray& bytes);

// Copies log.txt into BACKUP under the local date and time "yyyymmddhhnn",
// whatever the counts say. With keepOlder, a backup of that name that holds
// another log is kept and the copy takes the name with "-2", "-3" and so on
// added. False (and *error set) when the copy could not be made.
bool CopyLogToBackup(const LogPlace& place, QString* error, bool keepOlder = false);

// The contact with CR and LF dropped from every text field, as the log writer
// drops them; the writers of one-contact-per-line files start from it.
ContactRecord WithoutLineBreaks(ContactRecord record);

// The log.txt line of one contact, CRLF included.
QString LogFileRecord(const ContactRecord& record);

}  // namespace logstore
