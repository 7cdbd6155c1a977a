#include "logstore/record.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "platform/text_file.h"

namespace logstore {

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }
bool isLineEnd(QChar c) { return c == u'\r' || c == u'\n'; }
}  // namespace

bool RecordReader::OnlyBlankLinesLeft() const {
    for (qsizetype i = pos_; i < bytes_.size(); ++i)
        if (!isBlank(bytes_[i]) && !isLineEnd(bytes_[i])) return false;
    return true;
}

bool RecordReader::AtCleanEnd() const {
    // An unclosed quote reads to the end and one past it.
    return pos_ == bytes_.size() && (bytes_.isEmpty() || isLineEnd(bytes_.back()));
}

std::optional<QByteArrayView> RecordReader::ReadRaw() {
    if (AtEnd()) return std::nullopt;
    const char* data = bytes_.constData();
    const qsizetype n = bytes_.size();
    while (pos_ < n && isBlank(data[pos_])) ++pos_;

    QByteArrayView item;
    if (pos_ < n && data[pos_] == '"') {
        const qsizetype start = pos_ + 1;
        const void* close = std::memchr(data + start, '"', static_cast<std::size_t>(n - start));
        const qsizetype end = close ? static_cast<const char*>(close) - data : n;
        item = QByteArrayView(data + start, end - start);
        pos_ = end + 1;
        // Anything between the closing quote and the delimiter is passed over.
        while (pos_ < n && data[pos_] != ',' && !isLineEnd(data[pos_])) ++pos_;
    } else {
        const qsizetype start = pos_;
        while (pos_ < n && data[pos_] != ',' && !isLineEnd(data[pos_])) ++pos_;
        qsizetype end = pos_;
        while (end > start && isBlank(data[end - 1])) --end;
        item = QByteArrayView(data + start, end - start);
    }

    // Consume the delimiter: a comma, or one line end (CRLF, LF or CR).
    if (pos_ < n) {
        if (data[pos_] == ',') {
            ++pos_;
        } else if (data[pos_] == '\r') {
            ++pos_;
            if (pos_ < n && data[pos_] == '\n') ++pos_;
        } else if (data[pos_] == '\n') {
            ++pos_;
        }
    }
    return item;
}

std::optional<QString> RecordReader::ReadText() {
    std::optional<QByteArrayView> raw = ReadRaw();
    if (!raw) return std::nullopt;
    return platform::DecodeAnsi(*raw);
}

std::optional<RecordReader::Number> RecordReader::ReadNumber() {
    std::optional<QByteArrayView> raw = ReadRaw();
    if (!raw) return std::nullopt;
    const QByteArrayView trimmed = raw->trimmed();
    if (trimmed.isEmpty()) return Number{0, true};
    if (std::optional<double> v = ParseNumber(trimmed)) return Number{*v, true};
    return Number{0, false};
}

std::optional<double> ParseNumber(QStringView text) {
    QByteArray ascii;
    ascii.reserve(text.size());
    for (QChar c : text) {
        if (c.unicode() > 127) return std::nullopt;
        ascii.append(static_cast<char>(c.unicode()));
    }
    return ParseNumber(QByteArrayView(ascii));
}

std::optional<double> ParseNumber(QByteArrayView ascii) {
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

QString WithoutLineBreaks(const QString& text) {
    QString out = text;
    out.removeIf([](QChar c) { return isLineEnd(c); });
    return out;
}

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
