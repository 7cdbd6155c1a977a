#include "logstore/record.h"

#include <charconv>
#include <cmath>
#include <string>

namespace logstore {

namespace {
bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }
bool isLineEnd(QChar c) { return c == u'\r' || c == u'\n'; }
}  // namespace

bool RecordReader::OnlyBlankLinesLeft() const {
    for (qsizetype i = pos_; i < text_.size(); ++i)
        if (!isBlank(text_[i]) && !isLineEnd(text_[i])) return false;
    return true;
}

std::optional<QString> RecordReader::readItem(bool* quoted) {
    if (AtEnd()) return std::nullopt;
    const qsizetype n = text_.size();
    while (pos_ < n && isBlank(text_[pos_])) ++pos_;

    QString item;
    *quoted = pos_ < n && text_[pos_] == u'"';
    if (*quoted) {
        const qsizetype start = pos_ + 1;
        qsizetype close = text_.indexOf(u'"', start);
        if (close < 0) close = n;
        item = text_.mid(start, close - start);
        pos_ = close + 1;
        // Anything between the closing quote and the delimiter is passed over.
        while (pos_ < n && text_[pos_] != u',' && !isLineEnd(text_[pos_])) ++pos_;
    } else {
        const qsizetype start = pos_;
        while (pos_ < n && text_[pos_] != u',' && !isLineEnd(text_[pos_])) ++pos_;
        item = text_.mid(start, pos_ - start);
        while (!item.isEmpty() && isBlank(item.back())) item.chop(1);
    }

    // Consume the delimiter: a comma, or one line end (CRLF, LF or CR).
    if (pos_ < n) {
        if (text_[pos_] == u',') {
            ++pos_;
        } else if (text_[pos_] == u'\r') {
            ++pos_;
            if (pos_ < n && text_[pos_] == u'\n') ++pos_;
        } else if (text_[pos_] == u'\n') {
            ++pos_;
        }
    }
    return item;
}

std::optional<QString> RecordReader::ReadText() {
    bool quoted = false;
    return readItem(&quoted);
}

std::optional<RecordReader::Number> RecordReader::ReadNumber() {
    bool quoted = false;
    std::optional<QString> item = readItem(&quoted);
    if (!item) return std::nullopt;
    const QString trimmed = item->trimmed();
    if (trimmed.isEmpty()) return Number{0, true};
    if (std::optional<double> v = ParseNumber(trimmed)) return Number{*v, true};
    return Number{0, false};
}

std::optional<double> ParseNumber(QStringView text) {
    std::string ascii;
    ascii.reserve(static_cast<std::size_t>(text.size()));
    for (QChar c : text) {
        if (c.unicode() > 127) return std::nullopt;
        ascii.push_back(static_cast<char>(c.unicode()));
    }
    const char* first = ascii.data();
    const char* last = ascii.data() + ascii.size();
    if (first != last && *first == '+') ++first;
    double value = 0;
    auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec != std::errc() || end != last || first == last) return std::nullopt;
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

namespace {
template <typename T>
QString formatFixed(T value) {
    if (value == 0) return QStringLiteral("0");  // also turns -0 into 0
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (ec != std::errc()) return QStringLiteral("0");
    return QString::fromLatin1(buffer, end - buffer);
}
}  // namespace

QString FormatNumber(double value) { return formatFixed(value); }
QString FormatSingle(float value) { return formatFixed(value); }

void RecordWriter::separate() {
    if (!first_) line_ += u',';
    first_ = false;
}

RecordWriter& RecordWriter::Text(const QString& text) {
    separate();
    line_ += u'"';
    for (QChar c : text)
        if (c != u'"' && !isLineEnd(c)) line_ += c;
    line_ += u'"';
    return *this;
}

RecordWriter& RecordWriter::Number(double value) {
    separate();
    line_ += FormatNumber(value);
    return *this;
}

RecordWriter& RecordWriter::Single(float value) {
    separate();
    line_ += FormatSingle(value);
    return *this;
}

RecordWriter& RecordWriter::Integer(long long value) {
    separate();
    line_ += QString::number(value);
    return *this;
}

}  // namespace logstore
