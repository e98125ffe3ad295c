#include "platform/WriteCheck.h"

#include "platform/UiLanguage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

QString reason(int err)
{
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
    default:
        return QString::fromLocal8Bit(std::strerror(err));
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

} // namespace WriteCheck
