#include "platform/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {
// Windows-1252 code points of the bytes 0x80 to 0x9F; the five undefined bytes
// map to the C1 control of the same value, so every byte survives a round trip.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};
}  // namespace

namespace {
QString systemText(int errorNumber) { return QString::fromLocal8Bit(std::strerror(errorNumber)); }

QChar decodeByte(unsigned char b) {
    return (b >= 0x80 && b < 0xA0) ? QChar(kHighControls[b - 0x80]) : QChar(b);
}
}  // namespace

bool EqualsAnsi(const QString& text, QByteArrayView bytes) {
    if (text.size() != bytes.size()) return false;
    const QChar* chars = text.constData();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        if (chars[i] != decodeByte(static_cast<unsigned char>(bytes[i]))) return false;
    return true;
}

QString DecodeAnsi(QByteArrayView bytes) {
    QString out;
    out.resize(bytes.size());
    QChar* dst = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        dst[i] = decodeByte(static_cast<unsigned char>(bytes[i]));
    }
    return out;
}

QByteArray EncodeAnsi(const QString& text) {
    QByteArray out;
    out.resize(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        char16_t c = text[i].unicode();
        char b = '?';
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            b = static_cast<char>(c);
        } else {
            for (std::size_t k = 0; k < kHighControls.size(); ++k)
                if (kHighControls[k] == c) b = static_cast<char>(0x80 + k);
        }
        out[i] = b;
    }
    return out;
}

namespace {
// The UTF-8 byte-order mark, and the text Windows-1252 reads it as.
constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";
const QString kUtf8MarkText = QStringLiteral("\u00EF\u00BB\u00BF");
}  // namespace

QString ToSettingsText(const QString& text) {
    if (EqualsAnsi(text, EncodeAnsi(text)) && !text.startsWith(kUtf8MarkText)) return text;
    return DecodeAnsi(QByteArray(kUtf8Mark) + text.toUtf8());
}

QString FromSettingsText(const QString& stored) {
    if (!stored.startsWith(kUtf8MarkText)) return stored;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(EncodeAnsi(stored.mid(kUtf8MarkText.size())));
    return utf8.hasError() ? stored : text;
}

std::optional<QByteArray> ReadWholeFile(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = file.errorString();
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error) *error = file.errorString();
        return std::nullopt;
    }
    return bytes;
}

namespace {

// The temporary file of a write: a leading dot, the file's own name, this tag
// and six random letters or digits.
const QString kTemporaryTag = QStringLiteral(".ostrel-tmp-");
constexpr int kTemporaryRandomLength = 6;

bool isLetterOrDigit(QChar c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9');
}

QString temporaryNameOf(const QString& fileName) {
    static constexpr char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString name = u'.' + fileName + kTemporaryTag;
    for (int k = 0; k < kTemporaryRandomLength; ++k)
        name += QLatin1Char(kChars[QRandomGenerator::global()->bounded(int(sizeof kChars) - 1)]);
    return name;
}

bool isTemporaryOf(const QString& entry, const QString& fileName) {
    const qsizetype fixed = 1 + fileName.size() + kTemporaryTag.size();
    if (entry.size() != fixed + kTemporaryRandomLength || !entry.startsWith(u'.') ||
        !QStringView(entry).mid(1).startsWith(fileName) ||
        !QStringView(entry).mid(1 + fileName.size()).startsWith(kTemporaryTag))
        return false;
    for (QChar c : QStringView(entry).mid(fixed))
        if (!isLetterOrDigit(c)) return false;
    return true;
}

// Writes all of `bytes`; 0, or the system's error number.
int writeAll(FileCalls& calls, int fd, const QByteArray& bytes) {
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = calls.Write(fd, bytes.constData() + written,
                                      static_cast<std::size_t>(bytes.size() - written));
        if (n < 0 && errno == EINTR) continue;
        // A short write is followed by another, so that a full disk reports
        // its own error instead of a bare short count.
        if (n <= 0) return n < 0 ? errno : ENOSPC;
        written += n;
    }
    return 0;
}

// Syncs the folder, so that a rename in it lasts: until then a power cut can
// bring the old file back under its name. 0, or the system's error number; a
// file system that cannot sync a folder (EINVAL) has nothing to promise there.
int syncFolder(FileCalls& calls, const QString& folder) {
    const int fd = calls.Open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (fd < 0) return errno;
    const int failure = calls.Fsync(fd) != 0 && errno != EINVAL ? errno : 0;
    // Nothing was written through this descriptor, so its closing loses nothing.
    calls.Close(fd);
    return failure;
}

}  // namespace

int FileCalls::Open(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }
ssize_t FileCalls::Write(int fd, const char* data, std::size_t size) { return ::write(fd, data, size); }
int FileCalls::Fsync(int fd) { return ::fsync(fd); }
int FileCalls::Close(int fd) { return ::close(fd); }
int FileCalls::Rename(const char* from, const char* to) { return ::rename(from, to); }
int FileCalls::Unlink(const char* path) { return ::unlink(path); }

bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    FileCalls system;
    return WriteFileAtomically(path, bytes, error, system);
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error, FileCalls& calls) {
    auto fail = [error](int errorNumber) {
        if (error) *error = systemText(errorNumber);
        return false;
    };
    // A link is followed: the file it names is replaced and the link stays.
    QFileInfo target(path);
    for (int depth = 0; depth < 128 && target.isSymLink(); ++depth) target.setFile(target.symLinkTarget());
    const QByteArray targetName = QFile::encodeName(target.filePath());
    struct stat old {};
    const bool exists = ::stat(targetName.constData(), &old) == 0;
    // A file the operator made read-only stays as it is.
    if (exists && ::access(targetName.constData(), W_OK) != 0) return fail(errno);

    const QString folder = target.absolutePath();
    QByteArray temporaryName;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporaryName = QFile::encodeName(folder + u'/' + temporaryNameOf(target.fileName()));
        fd = calls.Open(temporaryName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return fail(errno);
    }
    if (fd < 0) return fail(EEXIST);

    // The new file keeps the old one's permissions.
    int failure = exists && ::fchmod(fd, old.st_mode & 07777) != 0 ? errno : 0;
    if (failure == 0) failure = writeAll(calls, fd, bytes);
    if (failure == 0 && calls.Fsync(fd) != 0 && errno != EINVAL) failure = errno;
    if (calls.Close(fd) != 0 && failure == 0) failure = errno;
    if (failure == 0 && calls.Rename(temporaryName.constData(), targetName.constData()) != 0) failure = errno;
    if (failure != 0) {
        calls.Unlink(temporaryName.constData());
        return fail(failure);
    }
    failure = syncFolder(calls, folder);
    return failure == 0 ? true : fail(failure);
}

int RemoveStaleTemporaryFiles(const QString& folder, const QStringList& fileNames) {
    int removed = 0;
    const QDir dir(folder);
    for (const QString& entry : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        for (const QString& name : fileNames) {
            if (!isTemporaryOf(entry, name)) continue;
            if (QFile::remove(dir.filePath(entry))) ++removed;
            break;
        }
    }
    return removed;
}

bool AppendToFile(const QString& path, const QByteArray& bytes, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        if (error) *error = file.errorString();
        return false;
    }
    const int fd = file.handle();
    const off_t before = ::lseek(fd, 0, SEEK_END);
    // The bytes go out with the system's own calls, so that a failure is
    // told in the system's words ("No space left on device").
    qsizetype written = 0;
    int failure = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + written,
                                  static_cast<std::size_t>(bytes.size() - written));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            failure = n < 0 ? errno : ENOSPC;
            break;
        }
        written += n;
    }
    if (failure == 0 && ::fsync(fd) != 0 && errno != EINVAL) failure = errno;
    if (failure == 0) return true;
    if (error) *error = systemText(failure);
    // No partial line stays behind.
    if (written > 0 && before >= 0 && ::ftruncate(fd, before) != 0 && error)
        *error += QStringLiteral(" The file could not be cut back to its former length.");
    return false;
}

bool CopyFileReplacing(const QString& from, const QString& to, QString* error) {
    std::optional<QByteArray> bytes = ReadWholeFile(from, error);
    if (!bytes) return false;
    return WriteFileAtomically(to, *bytes, error);
}

}  // namespace platform
