#include "support/TestFiles.h"

#include <QDir>
#include <QFile>

namespace TestFiles {

QString shippedDatabaseDir() { return QStringLiteral(LEXUVANT_BUILD_RESOURCES) + QStringLiteral("/databases"); }

QString copyShipped(const QString& fileName, const QTemporaryDir& dir)
{
    const QString target = QDir(dir.path()).filePath(fileName);
    QFile::remove(target);
    if (!QFile::copy(QDir(shippedDatabaseDir()).filePath(fileName), target))
        return QString();
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return target;
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = QDir(dir.path()).filePath(name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

QString screenshotFolder()
{
    const QString out = qEnvironmentVariable("LEXUVANT_SCREENSHOTS");
    if (!out.isEmpty())
        QDir().mkpath(out);
    return out;
}

bool saveScreenshot(const QImage& picture, const QString& name)
{
    const QString out = screenshotFolder();
    if (picture.isNull())
        return false;
    return out.isEmpty() || picture.save(QDir(out).filePath(name));
}

} // namespace TestFiles
