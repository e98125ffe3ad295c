#pragma once
// The per-user settings store by application, section and key, on QSettings
// (an INI file under the user's configuration folder). Tests point it at a
// temporary folder with setRoot.
//
// A settings file that is there but no regular file (a named pipe, a device,
// a folder) is neither read nor written: reads give the defaults and writes
// do nothing. The first save to it, or CheckFile, raises an AppError naming
// the file and what it is; later ones are silent, so the user is told once.
#include <QHash>
#include <QList>
#include <QString>

#include <utility>

namespace SettingsStore {

QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue = QString());
// Every key of a section with its value, from one reading of the file: for
// sections of many keys, which a read per key would parse again each time.
QHash<QString, QString> GetAllSettings(const QString& appName, const QString& section);
// The writes raise an AppError naming the settings file and the reason when
// the file cannot be written; the file then stays as it was, and reads give
// what it holds, never the change that failed.
void SaveSetting(const QString& appName, const QString& section, const QString& key, const QString& value);
// Replaces the whole section by these keys and values in one write: the file
// is written anew beside the old one and renamed over it, so a process killed
// meanwhile leaves the old section or the new one, never a part of either.
void ReplaceSection(const QString& appName, const QString& section,
                    const QList<std::pair<QString, QString>>& keysAndValues);
// Deletes one key, or the whole section when key is empty; an absent entry is no error.
void DeleteSetting(const QString& appName, const QString& section, const QString& key = QString());

// Raises the AppError above when appName's settings file is no regular file
// and that was not yet raised; the start-up calls it to report the file.
void CheckFile(const QString& appName);

// The file that holds appName's settings.
QString fileName(const QString& appName);

// Folder that holds the settings files; empty = the user's configuration folder.
// Forgets which unusable settings files were reported.
void setRoot(const QString& folder);

} // namespace SettingsStore
