#include "keyers/settings_file.h"

#include <QLineEdit>
#include <QTimer>
#include <cmath>
#include <cstdint>

#include "platform/text_file.h"

namespace keyers {

QString QuotedLine(QString text) {
    text.replace(u'"', u'\'');
    text.remove(u'\r');
    text.remove(u'\n');
    return u'"' + platform::ToSettingsText(text) + QStringLiteral("\"\r\n");
}

std::optional<double> BoxNumber(const QString& text) {
    const QString t = text.trimmed();
    if (!t.startsWith(QStringLiteral("&H"), Qt::CaseInsensitive))
        return logstore::ParseNumber(QStringView(t));
    const QString digits = t.mid(2);
    if (digits.isEmpty() || digits.size() > 8) return std::nullopt;
    bool ok = false;
    const quint32 value = digits.toUInt(&ok, 16);
    if (!ok) return std::nullopt;
    if (digits.size() <= 4) return static_cast<std::int16_t>(value);
    return static_cast<std::int32_t>(value);
}

bool SetRepeatInterval(QTimer& timer, const QString& seconds) {
    const std::optional<double> value = BoxNumber(seconds);
    if (!value) return false;
    const double ms = std::nearbyint(*value * 1000);
    if (ms < 0 || ms > 65535) return false;
    timer.setInterval(static_cast<int>(ms));
    return true;
}

bool CheckRepeatSeconds(QLineEdit* box, QTimer& timer) {
    const std::optional<double> seconds = BoxNumber(box->text());
    if (seconds && *seconds >= 0 && *seconds < 60) {
        timer.setInterval(static_cast<int>(std::nearbyint(*seconds * 1000)));
        return true;
    }
    box->setText(QStringLiteral("0"));
    timer.setInterval(0);
    return false;
}

std::optional<SettingsFileReader> SettingsFileReader::Open(const QString& path) {
    std::optional<QByteArray> bytes = platform::ReadWholeFile(path);
    if (!bytes) return std::nullopt;
    return SettingsFileReader(std::move(*bytes));
}

std::optional<QString> SettingsFileReader::Text() {
    std::optional<QString> value = reader_.ReadText();
    if (value) *value = platform::FromSettingsText(*value);
    return value;
}

bool SettingsFileReader::Text(QLineEdit* box, const QString& emptyText) {
    std::optional<QString> value = Text();
    if (!value) return false;
    box->setText(value->isEmpty() ? emptyText : *value);
    return true;
}

std::optional<int> SettingsFileReader::Whole(int low, int high) {
    std::optional<logstore::RecordReader::Number> number = reader_.ReadNumber();
    if (!number) return std::nullopt;
    const double rounded = std::nearbyint(number->value);
    if (rounded < low || rounded > high) return std::nullopt;
    return static_cast<int>(rounded);
}

}  // namespace keyers
