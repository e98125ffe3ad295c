#include "engine/WriteCheck.h"

#include "engine/UiLanguage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

QString reason(int err)
{
    // The system's own texts are English; the boxes that show a reason are not.
    switch (err) {
    case EACCES:
    case EPERM:
        return tr2(QStringLiteral("permission denied"), QStringLiteral("keine Schreibberechtigung"));
    case EROFS:
        return tr2(QStringLiteral("the file system is read-only"), QStringLiteral("das Dateisystem ist schreibgeschützt"));
    case ENOSPC:
        return tr2(QStringLiteral("the disk is full"), QStringLiteral("der Datenträger ist voll"));
    case EDQUOT:
        return tr2(QStringLiteral("the disk quota is used up"), QStringLiteral("das Speicherkontingent ist erschöpft"));
    case ENOTDIR:
        return tr2(QStringLiteral("a part of the path is not a folder"),
                   QStringLiteral("ein Teil des Pfades ist kein Ordner"));
    case ENOENT:
        return tr2(QStringLiteral("a folder of the path does not exist"),
                   QStringLiteral("ein Ordner des Pfades existiert nicht"));
    case EISDIR:
        return tr2(QStringLiteral("it is a folder"), QStringLiteral("es ist ein Ordner"));
    case ENAMETOOLONG:
        return tr2(QStringLiteral("the name is too long"), QStringLiteral("der Name ist zu lang"));
    case ELOOP:
        return tr2(QStringLiteral("the path has too many links"), QStringLiteral("der Pfad hat zu viele Verknüpfungen"));
    case EFBIG:
        return tr2(QStringLiteral("the file would be too large"), QStringLiteral("die Datei würde zu groß"));
    case EMFILE:
    case ENFILE:
        return tr2(QStringLiteral("too many files are open"), QStringLiteral("es sind zu viele Dateien geöffnet"));
    case EBUSY:
    case ETXTBSY:
        return tr2(QStringLiteral("the file is in use"), QStringLiteral("die Datei wird gerade benutzt"));
    case EIO:
        return tr2(QStringLiteral("a read or write error of the disk"),
                   QStringLiteral("ein Lese- oder Schreibfehler des Datenträgers"));
    default:
        return tr2(QStringLiteral("system error %1"), QStringLiteral("Systemfehler %1")).arg(err);
    }
}

// Creates, fills and removes a trial file in folder; returns the errno that stopped it, 0 if none.
int trialWrite(const QString& folder, qint64 bytes)
{
    QByteArray name = QFile::encodeName(folder + QStringLiteral("/.lexuvant-write-XXXXXX"));
    const int fd = mkstemp(name.data());
    if (fd < 0)
        return errno;
    int err = 0;
    const QByteArray block(4096, '\0');
    while (bytes > 0 && !err) {
        const ssize_t n = ::write(fd, block.constData(), size_t(std::min<qint64>(bytes, block.size())));
        if (n < 0)
            err = errno;
        else
            bytes -= n;
    }
    if (!err && ::fsync(fd) != 0)
        err = errno;
    if (::close(fd) != 0 && !err)
        err = errno;
    ::unlink(name.constData());
    return err;
}

} // namespace

namespace WriteCheck {

QString whyNotWritable(const QString& file, qint64 bytes)
{
    const QFileInfo info(file);
    if (info.exists() && ::access(QFile::encodeName(info.absoluteFilePath()).constData(), W_OK) != 0)
        return reason(errno);

    QString folder = info.absolutePath();
    while (!QFileInfo::exists(folder) && !QDir(folder).isRoot())
        folder = QFileInfo(folder).absolutePath();
    if (!QFileInfo(folder).isDir())
        return reason(ENOTDIR);
    const int err = trialWrite(folder, bytes);
    return err ? reason(err) : QString();
}

QString whyNotCreatable(const QString& file, qint64 bytes)
{
    const QFileInfo info(file);
    const QFileInfo folder(info.absolutePath());
    if (!folder.exists())
        return tr2(QStringLiteral("the folder \"%1\" does not exist"), QStringLiteral("den Ordner \"%1\" gibt es nicht"))
            .arg(QDir::toNativeSeparators(folder.filePath()));
    if (!folder.isDir())
        return tr2(QStringLiteral("\"%1\" is not a folder"), QStringLiteral("\"%1\" ist kein Ordner"))
            .arg(QDir::toNativeSeparators(folder.filePath()));
    if (info.isDir())
        return tr2(QStringLiteral("a folder of that name exists"), QStringLiteral("es gibt einen Ordner dieses Namens"));
    return whyNotWritable(file, bytes);
}

QString reasonFor(int err) { return reason(err); }

} // namespace WriteCheck
