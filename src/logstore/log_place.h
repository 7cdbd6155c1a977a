#pragma once
// What the log store reads of the program around it: the folders it reads
// and writes, the party state whose counties it keeps, and the services
// through which it tells the operator. The program builds one for each call.
#include <QString>
#include <functional>

namespace platform {
class Clock;
class Dialogs;
}  // namespace platform

namespace logstore {

struct LogPlace {
    // The working folder: log.txt and county2.txt.
    QString WorkingFolder;
    // Where backups and archives of the log go.
    QString BackupFolder;
    // The two-letter code of the party state.
    QString PartyState;
    platform::Dialogs& dialogs;
    platform::Clock& clock;
    // Ends the program when the log cannot be read.
    std::function<void()> endProgram;

    // The full path of a file of the working folder.
    QString WorkPath(const QString& fileName) const { return WorkingFolder + "/" + fileName; }
};

// Tells the operator that a file could not be written.
void ReportWriteFailure(platform::Dialogs& dialogs, const QString& systemText);

}  // namespace logstore
