#pragma once
// The comma record convention of the program's text files (log.txt,
// county2.txt, the reference tables and the one-value-per-line settings
// files): text items in double quotes, numbers bare with "." as the decimal
// point, items separated by commas, records ended by CRLF.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

namespace logstore {

// Reads items one after another from a file's bytes (Windows-1252 text). A
// line end ends an item but not a record: a record takes its items wherever
// they stand.
class RecordReader {
public:
    explicit RecordReader(QByteArray bytes) : bytes_(std::move(bytes)) {}

    // Nothing is left to read.
    bool AtEnd() const { return pos_ >= bytes_.size(); }
    // Only blanks and line ends are left.
    bool OnlyBlankLinesLeft() const;
    // Everything was read, and the file is empty or ends with the line end
    // that the last item read ended with: a record added at the end starts
    // on a line of its own.
    bool AtCleanEnd() const;

    // The next item as text; std::nullopt at the end of the file.
    std::optional<QString> ReadText();
    // The next item's bytes as they stand in the file (valid while the reader
    // lives); std::nullopt at the end of the file.
    std::optional<QByteArrayView> ReadRaw();

    struct Number {
        double value = 0;
        bool numeric = true;  // false when the item was not a number (value 0)
    };
    // The next item as a number; std::nullopt at the end of the file. An empty
    // item reads as 0.
    std::optional<Number> ReadNumber();

private:
    QByteArray bytes_;
    qsizetype pos_ = 0;
};

// Parses a plain decimal number ("5", "-5.5", ".25", "1e3"); std::nullopt when
// the text is not one.
std::optional<double> ParseNumber(QStringView text);
std::optional<double> ParseNumber(QByteArrayView text);

// Formats a number as the files hold it: "." as decimal point, no exponent, no
// trailing zeros, "0" for zero. Single-precision values are written with the
// digits that single precision carries.
QString FormatNumber(double value);
QString FormatSingle(float value);

// `text` without its CR and LF characters: a line break inside a field would
// split the line of any file written one record or contact per line.
QString WithoutLineBreaks(const QString& text);

// Builds one record.
class RecordWriter {
public:
    // A text item; a double quote, CR or LF inside it is dropped, since the
    // file format cannot carry them.
    RecordWriter& Text(const QString& text);
    RecordWriter& Number(double value);
    RecordWriter& Single(float value);
    RecordWriter& Integer(long long value);
    // The finished record with its CRLF.
    QString Line() const { return line_ + QStringLiteral("\r\n"); }

private:
    void separate();
    QString line_;
    bool first_ = true;
};

}  // namespace logstore
