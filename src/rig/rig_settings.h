#pragma once
// The rig link's settings as RigCntrl.txt keeps them, and the radio models
// the rig dialog offers.
#include <QString>
#include <QStringList>
#include <optional>

namespace rig {

// The radio models, in the order of the rig list.
const QStringList& RigTypeNames();

// Where the mode reported to the main window comes from ("Mode by:").
enum class ModeSource { Rig = 1, Frequency = 2, DontUse = 3 };

struct RigSettings {
    QString RigBaudText = QStringLiteral("56000");  // five characters, blank-padded
    QString RigParity = QStringLiteral("N");
    QString RigDataBits = QStringLiteral("8");
    QString RigStopBits = QStringLiteral("1");
    QString ModePollString;
    QString FreqPollString;
    QString RigCommSettings;
    int RigPortNumber = 1;
    QString RigPowerLine = QStringLiteral("N");
    QString RigPollRate = QStringLiteral("M");
    QString RigType = QStringLiteral("None");
    // "Convert to Hex", "Convert from Hex", "Use Frequency" and "Mode by:".
    bool ConvertToHex = false;
    bool ConvertFromHex = false;
    bool UseFrequency = true;
    ModeSource RigModeSource = ModeSource::Rig;
};

// Keeps `text` in a field of `width` characters: cut, or padded with blanks.
QString FixedWidth(const QString& text, int width);

// The values of RigCntrl.txt as read: each is set only when the file reached
// it, so a short or faulty file leaves the later ones unset.
struct RigSettingsFile {
    std::optional<QString> RigBaudText, RigParity, RigDataBits, RigStopBits;
    std::optional<QString> ModePollString, FreqPollString, RigCommSettings;
    std::optional<int> RigPortNumber;
    std::optional<QString> RigPowerLine, RigPollRate, RigType;
    std::optional<int> ConvertToHex, UseFrequency, RigModeSource;

    // True when all 14 values were read.
    bool Complete() const { return RigModeSource.has_value(); }
};

// Reads RigCntrl.txt at `path` value by value, stopping at the first value
// that is missing or does not fit its type.
RigSettingsFile ReadRigSettings(const QString& path);
// The file's bytes for `settings`: 14 values, one per line.
QByteArray RigSettingsBytes(const RigSettings& settings);

}  // namespace rig
