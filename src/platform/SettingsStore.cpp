#include "platform/SettingsStore.h"

#include "engine/AppError.h"
#include "engine/UiLanguage.h"
#include "engine/WriteCheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <algorithm>
#include <fcntl.h>
#include <functional>
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

// The store of appName for reading, or null when its file is no regular file.
std::unique_ptr<QSettings> openStore(const QString& appName)
{
    const QString file = settingsFile(appName);
    return usable(file, false) ? std::make_unique<QSettings>(file, QSettings::IniFormat) : nullptr;
}

// The error of a save that did not reach the file, naming the file and the
// reason. Nothing of the save is kept (see writeThroughCopy), so the box can
// say what the program goes on with.
AppError saveFailed(const QString& file)
{
    const QString path = QFileInfo(file).absoluteFilePath();
    QString why = WriteCheck::whyNotWritable(path, QFileInfo(path).size() + 4096);
    if (why.isEmpty())
        why = tr2(QStringLiteral("the file could not be written"), QStringLiteral("die Datei ließ sich nicht schreiben"));
    return AppError(ErrNo::FileAccess,
                    tr2(QStringLiteral("The settings could not be saved in the file \"%1\": %2. The program goes on "
                                       "with the settings the file holds."),
                        QStringLiteral("Die Einstellungen konnten nicht in der Datei \"%1\" gespeichert werden: %2. "
                                       "Das Programm arbeitet mit den Einstellungen weiter, die in der Datei stehen."))
                        .arg(path, why));
}

// Saves `change` to appName's settings file: made on a copy beside the file,
// which takes the file's place once all of it is written. QSettings keeps a
// change it could not write, shows it to every later reader of that file in
// this process and writes it with the next one that can; through the copy, a
// failed save leaves the file as it was and nothing of the change behind, so
// the program reads what the file holds. A process killed meanwhile leaves
// the old file or the new one, never a part.
void writeThroughCopy(const QString& appName, bool raiseRefusal, const std::function<void(QSettings&)>& change)
{
    const QString file = settingsFile(appName);
    if (!usable(file, raiseRefusal))
        return;
    const QFileInfo info(file);
    // A link stays a link: the file it points to is replaced.
    const QString target = info.isSymLink() ? info.symLinkTarget() : info.absoluteFilePath();
    const QByteArray targetName = QFile::encodeName(target);
    struct stat old {};
    const bool existed = ::stat(targetName.constData(), &old) == 0;
    // A file the user made read-only is not replaced, although its folder would allow it.
    if (existed && !QFileInfo(target).isWritable())
        throw saveFailed(file);

    QTemporaryFile copy(target + QStringLiteral(".XXXXXX"));
    if (!copy.open())
        throw saveFailed(file);
    if (existed) {
        QFile current(target);
        if (!current.open(QIODevice::ReadOnly))
            throw saveFailed(file);
        const QByteArray bytes = current.readAll();
        if (copy.write(bytes) != bytes.size() || !copy.flush())
            throw saveFailed(file);
    }
    copy.close();
    QMap<QString, QVariant> saved;
    {
        QSettings s(copy.fileName(), QSettings::IniFormat);
        change(s);
        s.sync();
        if (s.status() != QSettings::NoError)
            throw saveFailed(file);
        for (const QString& key : s.allKeys())
            saved.insert(key, s.value(key));
    }
    // QSettings does not notice every failed write: a full disk can cut the
    // copy short unseen. A new time makes it read the copy again, which must
    // hold all that was saved. The time is later than the file's too, so that
    // readers in this process take the new file even within one millisecond.
    const QByteArray copyName = QFile::encodeName(copy.fileName());
    struct stat written {};
    if (::stat(copyName.constData(), &written) != 0)
        throw saveFailed(file);
    const auto ms = [](const timespec& t) { return qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000; };
    const qint64 later = std::max(ms(written.st_mtim), existed ? ms(old.st_mtim) : 0) + 1;
    const timespec times[2] = {{0, UTIME_OMIT}, {time_t(later / 1000), long(later % 1000) * 1000000}};
    if (::utimensat(AT_FDCWD, copyName.constData(), times, 0) != 0)
        throw saveFailed(file);
    {
        const QSettings check(copy.fileName(), QSettings::IniFormat);
        const QStringList keys = check.allKeys();
        if (check.status() != QSettings::NoError || keys.size() != saved.size()
            || !std::all_of(keys.cbegin(), keys.cend(),
                            [&](const QString& k) { return saved.value(k) == check.value(k); }))
            throw saveFailed(file);
    }
    mode_t mode = 0;
    if (existed) {
        mode = old.st_mode & 07777;
    } else {
        mode = ::umask(0);
        ::umask(mode);
        mode = 0666 & ~mode;
    }
    if (::chmod(copyName.constData(), mode) != 0 || ::rename(copyName.constData(), targetName.constData()) != 0)
        throw saveFailed(file);
    copy.setAutoRemove(false);
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
    writeThroughCopy(appName, true, [&](QSettings& s) { s.setValue(section + QLatin1Char('/') + key, value); });
}

void ReplaceSection(const QString& appName, const QString& section, const QList<std::pair<QString, QString>>& keysAndValues)
{
    writeThroughCopy(appName, true, [&](QSettings& s) {
        s.remove(section);
        s.beginGroup(section);
        for (const auto& [key, value] : keysAndValues)
            s.setValue(key, value);
        s.endGroup();
    });
}

void DeleteSetting(const QString& appName, const QString& section, const QString& key)
{
    // Nothing to delete from a file that is not there; no empty file is made.
    if (!QFileInfo::exists(settingsFile(appName)))
        return;
    writeThroughCopy(appName, false,
                     [&](QSettings& s) { s.remove(key.isEmpty() ? section : section + QLatin1Char('/') + key); });
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
