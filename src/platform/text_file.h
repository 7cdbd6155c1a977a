#pragma once
// Plain text files as the program keeps them: 8-bit Windows-1252 text with CRLF
// line ends. Files that hold the operator's work are never truncated in place:
// they are written whole to a temporary file beside the old one and renamed.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <optional>
#include <sys/types.h>

namespace platform {

QString DecodeAnsi(QByteArrayView bytes);
QByteArray EncodeAnsi(const QString& text);
// Whether `text` is what `bytes` decode to, without decoding them.
bool EqualsAnsi(const QString& text, QByteArrayView bytes);

// A text value for a Windows-1252 settings file, and back. A text that
// Windows-1252 holds is stored as it is. One it cannot hold (a path in
// another script, say) is stored as the UTF-8 byte-order mark followed by the
// text's UTF-8 bytes, each byte as the Windows-1252 character it reads as, so
// that EncodeAnsi writes exactly those bytes: the value is never saved as a
// different text, and FromSettingsText, which recognises the mark, reads it
// back whole. A stored value without the mark, or not UTF-8 after it, is the
// text itself.
QString ToSettingsText(const QString& text);
QString FromSettingsText(const QString& stored);

// Reads a whole file; std::nullopt (and *error set) when it cannot be read.
std::optional<QByteArray> ReadWholeFile(const QString& path, QString* error = nullptr);

// Replaces the file at `path` with `bytes`: written to a temporary file in the
// same folder, flushed to disk and renamed over the old one, and then the
// folder is flushed too, so that the rename survives a power cut. On failure
// *error holds the system's description and false is returned; a failure
// before the rename leaves the old file as it was, a failure to flush the
// folder comes when the file already holds `bytes` but may not keep them.
//
// The temporary file of "log.txt" is ".log.txt.ostrel-tmp-" and six random
// letters or digits: hidden, and a name no person gives a file, so that the
// clean-up below never takes an operator's own copy ("log.txt.backup").
bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error);

// The system calls through which WriteFileAtomically reaches the disk, one
// virtual function each, so that a test can see their order or make one of
// them fail. Each does what the system call of its name does and, like it,
// returns -1 with errno set on failure.
class FileCalls {
public:
    virtual ~FileCalls() = default;
    virtual int Open(const char* path, int flags, mode_t mode);
    virtual ssize_t Write(int fd, const char* data, std::size_t size);
    virtual int Fsync(int fd);
    virtual int Close(int fd);
    virtual int Rename(const char* from, const char* to);
    virtual int Unlink(const char* path);
};

// WriteFileAtomically through `calls`.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error, FileCalls& calls);

// Removes the temporary files that WriteFileAtomically leaves beside one of
// `fileNames` in `folder` when the program is killed during a write, and no
// other file. Run at start, before anything writes. Returns how many were
// removed.
int RemoveStaleTemporaryFiles(const QString& folder, const QStringList& fileNames);

// Appends `bytes` in one write and flushes. On failure the file is cut back to
// its former length, so no partial line stays behind.
bool AppendToFile(const QString& path, const QByteArray& bytes, QString* error);

// Copies `from` to `to`, replacing `to` atomically when it exists.
bool CopyFileReplacing(const QString& from, const QString& to, QString* error);

}  // namespace platform
