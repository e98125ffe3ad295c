#include "platform/SettingsStore.h"

#include "engine/AppError.h"
#include "engine/UiLanguage.h"
#include "engine/WriteCheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>

#include <memory>
#include <sys/stat.h>

namespace {
QString g_root;
QSet<QString> g_refusedReported; // settings files whose refusal was shown

QString settingsFile(const QString& appName)
{
    const QString root = g_root.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                                          : g_root;
    return QDir(root).filePath(appName + QStringLiteral(".ini"));
}

// What stands at `file` when it is there but no regular file (a named pipe,
// a device, a folder); empty otherwise. Opening a named pipe to read waits for
// a writer, for ever, and a folder or device holds no settings.
QString notARegularFile(const QString& file)
{
    struct stat st {};
    if (::stat(QFile::encodeName(file).constData(), &st) != 0 || S_ISREG(st.st_mode))
        return QString();
    if (S_ISDIR(st.st_mode))
        return tr2(QStringLiteral("a folder"), QStringLiteral("ein Ordner"));
    if (S_ISFIFO(st.st_mode))
        return tr2(QStringLiteral("a named pipe (FIFO)"), QStringLiteral("eine benannte Pipe (FIFO)"));
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        return tr2(QStringLiteral("a device"), QStringLiteral("ein Gerät"));
    if (S_ISSOCK(st.st_mode))
        return tr2(QStringLiteral("a socket"), QStringLiteral("ein Socket"));
    return tr2(QStringLiteral("something else"), QStringLiteral("etwas anderes"));
}

// The refusal of a settings file that is no regular file: the store then
// neither reads nor writes it, and the program works with the defaults.
AppError refusal(const QString& path, const QString& kind)
{
    return AppError(ErrNo::FileAccess,
                    tr2(QStringLiteral("The settings file \"%1\" is not a regular file but %2. The program goes on "
                                       "with the default settings and saves none in it."),
                        QStringLiteral("Die Einstellungsdatei \"%1\" ist keine gewöhnliche Datei, sondern %2. Das "
                                       "Programm arbeitet mit den Voreinstellungen weiter und speichert darin keine "
                                       "Einstellungen."))
                        .arg(path, kind));
}

// False when the settings file is no regular file. With `raise`, the first
// refusal of a file raises the error that tells why; later ones are silent,
// so that the user hears of it once.
bool usable(const QString& file, bool raise)
{
    const QString kind = notARegularFile(file);
    if (kind.isEmpty())
        return true;
    const QString path = QFileInfo(file).absoluteFilePath();
    if (raise && !g_refusedReported.contains(path)) {
        g_refusedReported.insert(path);
        throw refusal(path, kind);
    }
    return false;
}

// The store of appName, or null when its file is no regular file (a write
// raises the refusal the first time, see usable).
std::unique_ptr<QSettings> openStore(const QString& appName, bool write = false)
{
    const QString file = settingsFile(appName);
    return usable(file, write) ? std::make_unique<QSettings>(file, QSettings::IniFormat) : nullptr;
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
    const auto s = openStore(appName);
    return s ? s->value(section + QLatin1Char('/') + key, defaultValue).toString() : defaultValue;
}

void SaveSetting(const QString& appName, const QString& section, const QString& key, const QString& value)
{
    if (const auto s = openStore(appName, true)) {
        s->setValue(section + QLatin1Char('/') + key, value);
        s->sync();
        checkWritten(*s);
    }
}

void ReplaceSection(const QString& appName, const QString& section, const QList<std::pair<QString, QString>>& keysAndValues)
{
    if (const auto s = openStore(appName, true)) {
        // The default, needed here: sync writes a temporary file and renames
        // it over the settings file, or writes nothing.
        s->setAtomicSyncRequired(true);
        s->remove(section);
        s->beginGroup(section);
        for (const auto& [key, value] : keysAndValues)
            s->setValue(key, value);
        s->endGroup();
        s->sync();
        checkWritten(*s);
    }
}

void DeleteSetting(const QString& appName, const QString& section, const QString& key)
{
    if (const auto s = openStore(appName)) {
        s->remove(key.isEmpty() ? section : section + QLatin1Char('/') + key);
        s->sync();
        checkWritten(*s);
    }
}

QHash<QString, QString> GetAllSettings(const QString& appName, const QString& section)
{
    QHash<QString, QString> all;
    if (const auto s = openStore(appName)) {
        s->beginGroup(section);
        const QStringList keys = s->childKeys();
        all.reserve(keys.size());
        for (const QString& key : keys)
            all.insert(key, s->value(key).toString());
    }
    return all;
}

void CheckFile(const QString& appName) { usable(settingsFile(appName), true); }

QString fileName(const QString& appName) { return settingsFile(appName); }

void setRoot(const QString& folder)
{
    g_root = folder;
    g_refusedReported.clear();
}

} // namespace SettingsStore
