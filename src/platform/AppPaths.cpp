#include "platform/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

namespace AppPaths {

namespace {
QString g_appPath;       // set by tests; empty = the per-user data folder
QString g_resourceDir;   // set by tests; empty = found as described in resourceDir()
} // namespace

QString appPath()
{
    QString folder = g_appPath;
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(folder);
    return folder;
}

void setAppPath(const QString& folder) { g_appPath = folder; }

QString resourceDir()
{
    if (!g_resourceDir.isEmpty())
        return g_resourceDir;
    const QString fromEnv = qEnvironmentVariable("LEXUVANT_RESOURCES");
    if (!fromEnv.isEmpty())
        return fromEnv;
    // Installed: <prefix>/bin/lexuvant next to <prefix>/share/lexuvant.
    if (QCoreApplication::instance()) {
        const QString installed = QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../")
                                                  + QStringLiteral(LEXUVANT_INSTALL_DATADIR)
                                                  + QStringLiteral("/lexuvant"));
        if (QFileInfo(installed).isDir())
            return installed;
    }
    return QStringLiteral(LEXUVANT_BUILD_RESOURCES);
}

void setResourceDir(const QString& folder) { g_resourceDir = folder; }

QString templateDatabaseDir() { return resourceDir() + QStringLiteral("/databases"); }

QString picturePath(const QString& fileName) { return resourceDir() + QStringLiteral("/pictures/") + fileName; }

QString helpDir() { return resourceDir() + QStringLiteral("/help"); }

void ensureUserDatabases()
{
    const QString target = appPath();
    const QString source = templateDatabaseDir();
    for (const QString& name : languageDatabaseNames()) {
        const QString to = target + QLatin1Char('/') + name;
        const QString from = source + QLatin1Char('/') + name;
        if (QFileInfo::exists(to) || !QFileInfo::exists(from))
            continue;
        if (QFile::copy(from, to)) {
            // Installed templates are read-only; the user's copy must take scores.
            QFile::setPermissions(to, QFile::permissions(to) | QFile::ReadOwner | QFile::WriteOwner);
        }
    }
}

const QStringList& languageDatabaseNames()
{
    static const QStringList names = {
        QStringLiteral("Dänisch.lxt"),       QStringLiteral("Englisch.lxt"),   QStringLiteral("Finnisch.lxt"),
        QStringLiteral("Französisch.lxt"),   QStringLiteral("Isländisch.lxt"), QStringLiteral("Italienisch.lxt"),
        QStringLiteral("Portugiesisch.lxt"), QStringLiteral("Schwedisch.lxt"), QStringLiteral("Spanisch.lxt"),
        QStringLiteral("Ungarisch.lxt"),
    };
    return names;
}

} // namespace AppPaths
