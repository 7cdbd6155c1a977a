#include "platform/text_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <array>
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
    if (written != bytes.size() || !file.flush() || ::fsync(file.handle()) != 0) {
        if (error) *error = file.errorString();
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

bool AppendToFile(const QString& path, const QByteArray& bytes, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        if (error) *error = file.errorString();
        return false;
    }
    const qint64 before = file.size();
    if (file.write(bytes) != bytes.size() || !file.flush() || ::fsync(file.handle()) != 0) {
        if (error) *error = file.errorString();
        if (::ftruncate(file.handle(), before) != 0 && error)
            *error += QStringLiteral(" The file could not be cut back to its former length.");
        return false;
    }
    return true;
}

bool CopyFileReplacing(const QString& from, const QString& to, QString* error) {
    std::optional<QByteArray> bytes = ReadWholeFile(from, error);
    if (!bytes) return false;
    return WriteFileAtomically(to, *bytes, error);
}

}  // namespace platform
