#include "platform/settings_store.h"

#include <QSettings>
#include <QStandardPaths>

namespace platform {

SettingsStore::SettingsStore(const QString& iniPath)
    : settings_(std::make_unique<QSettings>(iniPath, QSettings::IniFormat)) {}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::DefaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           "/Ostrel/settings.ini";
}

static QString keyPath(const QString& appName, const QString& section, const QString& key) {
    return appName + "/" + section + "/" + key;
}

QString SettingsStore::GetSetting(const QString& appName, const QString& section,
                                  const QString& key, const QString& defaultValue) const {
    return settings_->value(keyPath(appName, section, key), defaultValue).toString();
}

bool SettingsStore::SaveSetting(const QString& appName, const QString& section,
                                const QString& key, const QString& value) {
    settings_->setValue(keyPath(appName, section, key), value);
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

}  // namespace platform
