#pragma once
// Per-user folders, the shared preferences store SharedUserPreferences.xml and
// the file-name stem of a call sign.
#include <QString>

class Program;

namespace setup {

inline const QString kMakerFolder = QStringLiteral("/Tavik Software");
inline const QString kDataSubFolder = QStringLiteral("/Dudurozuz");
inline const QString kSharedSubFolder = QStringLiteral("/Shared");
inline const QString kXmlDeclaration =
    QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>");

struct Folders {
    QString WorkingFolder;
    QString DataFolder;
    QString SharedFolder;

    QString BackupFolder() const { return DataFolder + "/BACKUP"; }
};

struct SharedPrefs {
    QString PrefsXmlText;
    QString PrefsXmlPath;
};

// Finds the per-user root and makes sure root + makerFolder and root +
// makerFolder + subFolder exist. Returns root + makerFolder, spelled as the
// folder on disk is spelled when one was found under another letter case.
QString FindDataFolder(Program& program, const QString& makerFolder, const QString& subFolder);

// Creates the single folder `path` when it is not present (its parent must
// exist). With showError, a failure is reported in a message box.
bool MakeDirectory(Program& program, const QString& path, bool showError);

// The start-up's folder work: the data and shared folders, the shared
// preferences loaded, and the BACKUP folder made.
void PrepareFolders(Program& program);

// Removes what a write cut short by a kill left behind: the temporary files
// beside the working folder's files, the shared preferences and WK.txt.
void RemoveStaleTemporaryFiles(Program& program);

void LoadSharedPrefs(Program& program, const QString& path);
// Enters one key (upper-cased) into the store; with saveNow the store is
// written. False when that write failed (the operator has been told).
bool SetSharedPref(Program& program, const QString& key, const QString& value, bool saveNow);
bool SaveSharedPrefs(Program& program, const QString& path);

// The leading run of digits and capitals A to Z of a call, or "YourCall".
QString CallFileStem(const QString& call);

}  // namespace setup
