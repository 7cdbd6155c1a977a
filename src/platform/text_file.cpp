#include "platform/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <array>
#include <cerrno>
#include <cstring>
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

bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (error) *error = file.errorString();
        return false;
    }
    // A short write is followed by another, so that a full disk reports its
    // own error instead of a bare short count.
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0) break;
        written += n;
    }
    int failure = 0;
    if (written != bytes.size() || !file.flush()) {
        if (file.error() == QFileDevice::NoError) failure = ENOSPC;
    } else if (::fsync(file.handle()) != 0) {
        failure = errno;
    }
    if (written != bytes.size() || failure != 0) {
        // The system's words for a failed flush to disk; Qt has none.
        if (error) *error = failure != 0 ? systemText(failure) : file.errorString();
        file.cancelWriting();
        file.commit();
        return false;
    }
    if (!file.commit()) {
        if (error) *error = file.errorString();
        return false;
    }
    return true;
}

int RemoveStaleTemporaryFiles(const QString& folder, const QStringList& fileNames) {
    // QSaveFile's temporary file: the target's name and six random letters
    // or digits.
    auto isTemporaryOf = [](const QString& entry, const QString& name) {
        if (entry.size() != name.size() + 7 || !entry.startsWith(name + u'.')) return false;
        for (QChar c : QStringView(entry).mid(name.size() + 1))
            if (!((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9')))
                return false;
        return true;
    };
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
