#include "platform/SettingsStore.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace {
QString g_root;

QString settingsFile(const QString& appName)
{
    const QString root = g_root.isEmpty()
                             ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                             : g_root;
    return QDir(root).filePath(appName + QStringLiteral(".ini"));
}
} // namespace

namespace SettingsStore {

QString GetSetting(const QString& appName, const QString& section, const QString& key, const QString& defaultValue)
{
    QSettings s(settingsFile(appName), QSettings::IniFormat);
    return s.value(section + QLatin1Char('/') + key, defaultValue).toString();
}

void SaveSetting(const QString& appName, const QString& section, const QString& key, const QString& value)
{
    QSettings s(settingsFile(appName), QSettings::IniFormat);
    s.setValue(section + QLatin1Char('/') + key, value);
    s.sync();
}

void DeleteSetting(const QString& appName, const QString& section, const QString& key)
{
    QSettings s(settingsFile(appName), QSettings::IniFormat);
    s.remove(key.isEmpty() ? section : section + QLatin1Char('/') + key);
    s.sync();
}

void setRoot(const QString& folder) { g_root = folder; }

} // namespace SettingsStore
