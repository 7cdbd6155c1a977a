#pragma once
// What the keyer windows share in reading their settings: numbers typed into
// settings boxes, repeat intervals, and the one-value-per-line settings files
// (CW.txt, wave2.txt) read item by item into the windows' controls.
#include <QByteArray>
#include <QString>
#include <optional>

#include "logstore/record.h"

class QLineEdit;
class QTimer;

namespace keyers {

// The number a settings box holds: a decimal number, or a hexadecimal one
// after "&H" ("&H378" is 888; up to four digits make a 16-bit signed number,
// so "&HFFFF" is -1). Blanks around it are allowed. std::nullopt when the text
// is no number.
std::optional<double> BoxNumber(const QString& text);

// Sets the interval of a repeat timer to `seconds` x 1000 ms, to the nearest
// whole millisecond (halves to even), without the range check of a typed
// entry. False, leaving the timer alone, when `seconds` is no number or the
// interval would be negative or beyond what a timer takes (65535 ms).
bool SetRepeatInterval(QTimer& timer, const QString& seconds);

// Sets the interval of a repeat timer from its seconds box when the box holds
// a number v with 0 <= v < 60 (fractions allowed, to the nearest
// millisecond); otherwise the box becomes "0" and the interval 0, which ends
// the repeat. False when the box was reset.
bool CheckRepeatSeconds(QLineEdit* box, QTimer& timer);

// One text value of a settings file, in double quotes and ended by CRLF. A
// double quote inside becomes an apostrophe and line breaks are dropped, so
// the file always reads back; a text Windows-1252 cannot hold is kept whole
// (platform::ToSettingsText), and the reader below recognises it.
QString QuotedLine(QString text);

// Reads the values of a settings file in order. Each read is false (or
// std::nullopt) once the file has no value left.
class SettingsFileReader {
public:
    // std::nullopt when the file cannot be read.
    static std::optional<SettingsFileReader> Open(const QString& path);

    // The next value as text into `box`; an empty value becomes `emptyText`.
    bool Text(QLineEdit* box, const QString& emptyText = {});
    // The next value as text.
    std::optional<QString> Text();
    // The next value as a whole number within [low, high] (a value that is no
    // number reads as 0); std::nullopt at the end of the file or when it does
    // not fit.
    std::optional<int> Whole(int low, int high);

private:
    explicit SettingsFileReader(QByteArray bytes) : reader_(std::move(bytes)) {}
    logstore::RecordReader reader_;
};

}  // namespace keyers
