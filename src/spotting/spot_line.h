#pragma once
// DX cluster spot lines. A line is a spot line when it begins with "DX" in any
// letter case; the frequency in kHz stands right-aligned in columns 16-24 and
// the spotted call in columns 27-39 (columns count from 1):
//
//   DX de S53M:       7064.6  KL7SB        rtty, ufb sig                  0302Z
//
// Every column read is bounded by the line: a short line yields the
// characters that exist, never more.
#include <QString>
#include <QStringView>
#include <optional>

namespace spotting {

// `line` without blanks (spaces only) at either end.
QStringView TrimSpaces(QStringView line);
// Up to `count` characters from column `first` (counting from 1); empty when
// the range lies past the end.
QStringView Columns(QStringView line, qsizetype first, qsizetype count);
// Whether the line's first two characters are "DX", letter case ignored.
bool BeginsWithDX(QStringView line);

struct SpotLine {
    QString frequency;  // kHz, as text
    QString call;
    QString record;  // the line less its first 3 characters, blanks trimmed
};

// The spot of a line that begins with "DX": its frequency, call and record.
// A line that is no spot line, or whose frequency is not a number or whose
// call column is empty (a short or garbled line), gives nothing.
std::optional<SpotLine> ParseSpotLine(QStringView line);

}  // namespace spotting
