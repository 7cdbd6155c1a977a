#include "setup/folders.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <optional>
#include <sys/stat.h>

#include "platform/text_file.h"
#include "program/program.h"

namespace setup {

namespace {

// The present test: the parent folder's listing (hidden entries left out)
// holds an entry whose name equals the last part of `path`, ignoring case.
// Returns `path` spelled as the entry on disk is spelled.
std::optional<QString> presentAs(const QString& path) {
    QFileInfo info(path);
    const QString name = info.fileName();
    if (name.isEmpty()) return std::nullopt;
    QDir parent = info.dir();
    const QStringList entries =
        parent.entryList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot, QDir::NoSort);
    if (entries.contains(name)) return path;
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0) return parent.filePath(entry);
    return std::nullopt;
}

// Makes `path` when it is missing; returns its spelling on disk (or `path`).
QString make(Program& program, const QString& path, bool showError = true) {
    if (auto present = presentAs(path)) return *present;
    MakeDirectory(program, path, showError);
    return presentAs(path).value_or(path);
}

}  // namespace

bool MakeDirectory(Program& program, const QString& path, bool showError) {
    if (path.isEmpty()) {
        program.dialogs().MsgBox("Invalid Path", platform::vbOKOnly, "Unable to Create Directory");
        return false;
    }
    if (presentAs(path)) return true;
    if (::mkdir(QFile::encodeName(path).constData(), 0777) == 0) return true;
    const QString systemText = QString::fromLocal8Bit(std::strerror(errno));
    if (showError)
        program.dialogs().MsgBox(systemText + "  " + path, platform::vbOKOnly,
                                 "Unable to create directory.");
    return false;
}

QString FindDataFolder(Program& program, const QString& makerFolder, const QString& subFolder) {
    const QString profile = program.userFolders().userProfile;
    const QString appData = program.userFolders().appData;

    auto underRoot = [&](const QString& rootFolder) {
        const QString maker = make(program, rootFolder + makerFolder);
        make(program, maker + subFolder);
        return maker;
    };

    if (profile.isEmpty()) {
        // No profile: the platform's own per-user data root stands in for the
        // fixed documents folder; it may be several levels deep, so all of it
        // is made.
        const QString fallback = program.userFolders().fallbackRoot;
        if (!presentAs(fallback) && !QDir().mkpath(fallback))
            program.dialogs().MsgBox(QString::fromLocal8Bit(std::strerror(errno)) + "  " + fallback,
                                     platform::vbOKOnly, "Unable to create directory.");
        return underRoot(fallback);
    }

    const QString myDocuments = profile + "/My Documents";
    if (!presentAs(myDocuments)) MakeDirectory(program, myDocuments, false);
    if (auto present = presentAs(myDocuments)) return underRoot(*present);
    if (auto documents = presentAs(profile + "/Documents")) return underRoot(*documents);

    underRoot(profile);
    // Without APPDATA the platform's own data root stands in for it, never
    // the top of the file system.
    return underRoot(appData.isEmpty() ? program.userFolders().fallbackRoot : appData);
}

void PrepareFolders(Program& program) {
    const QString dataRoot = FindDataFolder(program, kMakerFolder, kDataSubFolder);
    program.folders.DataFolder = presentAs(dataRoot + kDataSubFolder).value_or(dataRoot + kDataSubFolder);
    const QString sharedRoot = FindDataFolder(program, kMakerFolder, kSharedSubFolder);
    program.folders.SharedFolder =
        presentAs(sharedRoot + kSharedSubFolder).value_or(sharedRoot + kSharedSubFolder);
    LoadSharedPrefs(program, program.folders.SharedFolder + "/SharedUserPreferences.xml");
    MakeDirectory(program, program.folders.BackupFolder(), true);
}

void RemoveStaleTemporaryFiles(Program& program) {
    platform::RemoveStaleTemporaryFiles(
        program.folders.WorkingFolder,
        {QStringLiteral("log.txt"), QStringLiteral("QSOpref.txt"), QStringLiteral("CW.txt"),
         QStringLiteral("wave2.txt"), QStringLiteral("RigCntrl.txt"), QStringLiteral("PackSpot.txt")});
    platform::RemoveStaleTemporaryFiles(program.folders.SharedFolder,
                                        {QStringLiteral("SharedUserPreferences.xml")});
    platform::RemoveStaleTemporaryFiles(program.folders.DataFolder, {QStringLiteral("WK.txt")});
}

void LoadSharedPrefs(Program& program, const QString& path) {
    SharedPrefs& prefs = program.sharedPrefs;
    prefs.PrefsXmlPath = path;
    prefs.PrefsXmlText = kXmlDeclaration;
    QFileInfo info(path);
    if (!info.isFile() || info.isHidden()) return;
    // An unreadable store starts again from the bare declaration.
    std::optional<QByteArray> bytes = platform::ReadWholeFile(path);
    if (!bytes) return;
    QString text = platform::DecodeAnsi(*bytes);
    if (text.endsWith("\r\n"))
        text.chop(2);
    else if (text.endsWith('\n'))
        text.chop(1);
    prefs.PrefsXmlText = text;
}

bool SetSharedPref(Program& program, const QString& key, const QString& value, bool saveNow) {
    QString& text = program.sharedPrefs.PrefsXmlText;
    const QString upperKey = key.toUpper();
    QString cleanValue = value;
    cleanValue.remove('\r').remove('\n');  // one element per line

    const QString open = "<" + upperKey + ">";
    const QString close = "</" + upperKey + ">";
    const qsizetype p = text.indexOf(open);
    if (p >= 0) {
        const qsizetype e = p + open.size();  // just past the opening tag
        // The element's value ends on its own line: a closing tag further on
        // belongs to another line and is never looked for there.
        qsizetype lineEnd = e;
        while (lineEnd < text.size() && text[lineEnd] != u'\r' && text[lineEnd] != u'\n') ++lineEnd;
        const qsizetype c = text.indexOf(close, e);
        if (c >= 0 && c < lineEnd) {
            text = text.left(e) + cleanValue + text.mid(c);
        } else {
            // An opening tag with no closing tag on its line: its value runs
            // to the next element on the line, or to the line's end, and is
            // replaced and closed; what follows on the line stays.
            qsizetype valueEnd = e;
            while (valueEnd < lineEnd && text[valueEnd] != u'<') ++valueEnd;
            text = text.left(e) + cleanValue + close + text.mid(valueEnd);
        }
    } else {
        text += "\r\n" + open + cleanValue + close;
    }
    if (saveNow) return SaveSharedPrefs(program, program.sharedPrefs.PrefsXmlPath);
    return true;
}

bool SaveSharedPrefs(Program& program, const QString& path) {
    program.sharedPrefs.PrefsXmlPath = path;
    QString error;
    if (!platform::WriteFileAtomically(
            path, platform::EncodeAnsi(program.sharedPrefs.PrefsXmlText + "\r\n"), &error)) {
        program.ReportWriteFailure(error);
        return false;
    }
    return true;
}

QString CallFileStem(const QString& call) {
    qsizetype n = 0;
    while (n < call.size()) {
        const char16_t c = call[n].unicode();
        if (!((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z'))) break;
        ++n;
    }
    return n == 0 ? QStringLiteral("YourCall") : call.left(n);
}

}  // namespace setup
