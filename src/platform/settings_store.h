#pragma once
// The per-user settings store: named values under an application and a
// section, kept in an INI file under the user's configuration folder.
#include <QString>
#include <memory>

class QSettings;

namespace platform {

// The application name and section under which the program keeps its values.
inline const QString kSettingsApp = QStringLiteral("Tavik_Software");
inline const QString kSettingsSection = QStringLiteral("Settings");

class SettingsStore {
public:
    // A store kept in the INI file at `iniPath`.
    explicit SettingsStore(const QString& iniPath);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // The store of this user: <config folder>/Ostrel/settings.ini.
    static QString DefaultPath();

    QString GetSetting(const QString& appName, const QString& section, const QString& key,
                       const QString& defaultValue = QString()) const;
    // False when the store could not be written.
    bool SaveSetting(const QString& appName, const QString& section, const QString& key,
                     const QString& value);

private:
    std::unique_ptr<QSettings> settings_;
};

}  // namespace platform
