#pragma once
// The ADIF export: the whole log as an ADIF file that general-purpose logging
// programs import, with a transmitter power and a comment typed once per
// export and the DXCC entity number of each contact's country from
// ADIFCnt.txt. The menu command calls ExportADIF; the pieces below it are
// public for tests.
#include <QString>
#include <optional>
#include <vector>

#include "logstore/contact_log.h"
#include "platform/dialogs.h"

class Program;

namespace scoring {

inline constexpr int kMaxDxccRows = 1000;

// ADIFCnt.txt: country names and DXCC entity numbers, in file order.
struct DxccTable {
    std::vector<QString> names;
    std::vector<int> numbers;
};

// The ADIFCnt.txt of the shared folder when it exists, else the data
// folder's when it exists, else the working folder's.
QString DxccTableFilePath(const Program& program);

// Reads the table. std::nullopt and *error set (the system's text) when the
// file cannot be read, a row is not a name and a 16-bit whole number, or the
// file holds more than 1,000 rows.
std::optional<DxccTable> LoadDxccTable(const Program& program, QString* error);

// The number of the first row whose name equals `country` with leading and
// trailing blanks removed (letter case counts); 0 when none does.
int DxccNumber(const DxccTable& table, const QString& country);

// The band as ADIF names it ("160M" ... "2M", "1.25M", "70CM", "33CM",
// "23CM"); another non-empty band text with "M" appended; empty for none.
QString AdifBand(const QString& band);
// The mode with "PH" replaced by "SSB", upper-cased.
QString AdifMode(const QString& mode);
// "YYYYMMDD" of a stored date, or empty when it is no date.
QString AdifDate(const QString& storedDate);
// Four characters: the trimmed time with ":" and seconds dropped, cut to 4
// and filled with "0" on the left ("9:05" gives "0905", "" gives "0000").
QString AdifTime(const QString& storedTime);

// Country, continent and state of a contact.
struct ContactLocation {
    QString country;
    QString continent;
    QString state;
};
ContactLocation AdifLocation(const logstore::ContactRecord& record, const QString& partyState);

// The two values asked once per export; an empty one is left out of every
// record.
struct AdifExtras {
    QString power;
    QString comment;
};

// Asks the power (default "100") and the comment (default PartyState and
// " State QSO Party Contest"); a cancelled box gives an empty value.
AdifExtras AskAdifExtras(Program& program);

// The record of one contact: its tags, "<eor>" and an empty line, CRLF ends.
QString AdifRecord(const logstore::ContactRecord& record, const DxccTable& table,
                   const QString& partyState, const AdifExtras& extras);

// The whole file: the free-text header closed by "<EOH>", then the records of
// contacts 1 to QSOCount.
QString AdifFileText(Program& program, const DxccTable& table, const AdifExtras& extras);

// The save dialog of the export: proposed name <DataFolder>/<PartyState>.adi,
// "ADIF Files (*.adi) | *.adi", asking before an existing file is replaced.
platform::FileDialogRequest AdifSaveRequest(const Program& program);

// The menu command "Export ADIF File": asks power and comment, reads the DXCC
// table (a failure is reported before any file dialog), asks for the file and
// writes it whole or not at all. Cancelling the save dialog ends it without a
// message; a failure beeps and shows "Unable to write file." with the system's
// text; success shows "File Written Successfully.". True when written.
bool ExportADIF(Program& program);

}  // namespace scoring
