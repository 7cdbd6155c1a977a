#include "rig/rig_settings.h"

#include "logstore/record.h"
#include "platform/text_file.h"

#include <cmath>

namespace rig {

const QStringList& RigTypeNames() {
    static const QStringList kNames = {
        "None",          "Elecraft",        "Icom",           "Icom 735",        "Kenwood",
        "Kenwood 2",     "Ten Tec Omni VI", "Ten Tec Orion",  "Ten Tec Fnt Pnl", "Ten Tec Pegasus",
        "Yaesu",         "Yaesu 757 GX II", "Yaesu 890",      "Yaesu 920",       "Yaesu 990",
        "Yaesu 1000 D",  "Yaesu 1000",      "Yaesu FTdx9000", "Other",
    };
    return kNames;
}

QString FixedWidth(const QString& text, int width) { return text.left(width).leftJustified(width, u' '); }

RigSettingsFile ReadRigSettings(const QString& path) {
    RigSettingsFile f;
    const std::optional<QByteArray> bytes = platform::ReadWholeFile(path);
    if (!bytes) return f;
    logstore::RecordReader reader(*bytes);
    const auto text = [&](std::optional<QString>& into, int width = 0) {
        std::optional<QString> value = reader.ReadText();
        if (!value) return false;
        into = width > 0 ? FixedWidth(*value, width) : *value;
        return true;
    };
    const auto whole = [&](std::optional<int>& into, int low, int high) {
        const std::optional<logstore::RecordReader::Number> n = reader.ReadNumber();
        if (!n || !n->numeric) return false;
        const double rounded = std::nearbyint(n->value);
        if (rounded < low || rounded > high) return false;
        into = static_cast<int>(rounded);
        return true;
    };
    // Each value is read only when every value before it was.
    (void)(text(f.RigBaudText, 5) && text(f.RigParity, 1) && text(f.RigDataBits, 1) &&
           text(f.RigStopBits, 1) && text(f.ModePollString) && text(f.FreqPollString) &&
           text(f.RigCommSettings) && whole(f.RigPortNumber, 0, 255) && text(f.RigPowerLine, 1) &&
           text(f.RigPollRate, 1) && text(f.RigType) && whole(f.ConvertToHex, -32768, 32767) &&
           whole(f.UseFrequency, -32768, 32767) && whole(f.RigModeSource, -32768, 32767));
    return f;
}

QByteArray RigSettingsBytes(const RigSettings& s) {
    QString out;
    const auto text = [&](const QString& value) { out += logstore::RecordWriter().Text(value).Line(); };
    const auto whole = [&](long long value) { out += logstore::RecordWriter().Integer(value).Line(); };
    text(FixedWidth(s.RigBaudText, 5));
    text(FixedWidth(s.RigParity, 1));
    text(FixedWidth(s.RigDataBits, 1));
    text(FixedWidth(s.RigStopBits, 1));
    text(s.ModePollString);
    text(s.FreqPollString);
    text(s.RigCommSettings);
    whole(s.RigPortNumber);
    text(FixedWidth(s.RigPowerLine, 1));
    text(FixedWidth(s.RigPollRate, 1));
    text(s.RigType);
    whole(s.ConvertToHex ? 1 : 0);
    whole(s.UseFrequency ? 1 : 0);
    whole(static_cast<int>(s.RigModeSource));
    return platform::EncodeAnsi(out);
}

}  // namespace rig
