#pragma once
// The per-user settings store by application, section and key, on QSettings
// (an INI file under the user's configuration folder). Tests point it at a
// temporary folder with setRoot.
//
// A settings file that is there but no regular file (a named pipe, a device,
// a folder) is neither read nor written: reads give the defaults, writes do
// nothing, and the first such use shows one error box naming the file.
#include <QHash>
#include <QString>

namespace SettingsStore {

QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue = QString());
bool HasSetting(const QString& appName, const QString& section, const QString& key);
// Every key of a section with its value, from one reading of the file: for
// sections of many keys, which a read per key would parse again each time.
QHash<QString, QString> GetAllSettings(const QString& appName, const QString& section);
// Both writes raise an AppError naming the settings file and the reason when
// the file cannot be written.
void SaveSetting(const QString& appName, const QString& section, const QString& key, const QString& value);
// Deletes one key, or the whole section when key is empty; an absent entry is no error.
void DeleteSetting(const QString& appName, const QString& section, const QString& key = QString());

// The file that holds appName's settings.
QString fileName(const QString& appName);

// Folder that holds the settings files; empty = the user's configuration folder.
// Forgets which unusable settings files were reported.
void setRoot(const QString& folder);

} // namespace SettingsStore
