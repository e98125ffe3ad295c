#include "platform/SettingsStore.h"

#include "platform/AppError.h"
#include "platform/UiLanguage.h"
#include "platform/WriteCheck.h"

#include <QDir>
#include <QFileInfo>
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

// A write that did not reach the file raises an error naming the file and
// the reason; the caller's handler reports it.
void checkWritten(const QSettings& s)
{
    if (s.status() == QSettings::NoError)
        return;
    const QString file = QFileInfo(s.fileName()).absoluteFilePath();
    QString why = WriteCheck::whyNotWritable(file, QFileInfo(file).size() + 4096);
    if (why.isEmpty())
        why = tr2(QStringLiteral("the file could not be written"), QStringLiteral("die Datei ließ sich nicht schreiben"));
    throw AppError(ErrNo::FileAccess,
                   tr2(QStringLiteral("The settings could not be saved in the file \"%1\": %2."),
                       QStringLiteral("Die Einstellungen konnten nicht in der Datei \"%1\" gespeichert werden: %2."))
                       .arg(file, why));
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
    checkWritten(s);
}

void DeleteSetting(const QString& appName, const QString& section, const QString& key)
{
    QSettings s(settingsFile(appName), QSettings::IniFormat);
    s.remove(key.isEmpty() ? section : section + QLatin1Char('/') + key);
    s.sync();
    checkWritten(s);
}

bool HasSetting(const QString& appName, const QString& section, const QString& key)
{
    QSettings s(settingsFile(appName), QSettings::IniFormat);
    return s.contains(section + QLatin1Char('/') + key);
}

void setRoot(const QString& folder) { g_root = folder; }

} // namespace SettingsStore
