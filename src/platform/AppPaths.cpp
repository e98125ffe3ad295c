#include "platform/AppPaths.h"

#include "engine/UiLanguage.h"
#include "engine/WriteCheck.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

namespace AppPaths {

namespace {
QString g_appPath;     // set by tests; empty = the per-user data folder
QString g_resourceDir; // set by tests; empty = found as described in resourceDir()
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
                                                  + QStringLiteral(LEXUVANT_INSTALL_DATADIR) + QStringLiteral("/lexuvant"));
        if (QFileInfo(installed).isDir())
            return installed;
    }
    return QStringLiteral(LEXUVANT_BUILD_RESOURCES);
}

void setResourceDir(const QString& folder) { g_resourceDir = folder; }

QString templateDatabaseDir() { return resourceDir() + QStringLiteral("/databases"); }

QString picturePath(const QString& fileName) { return resourceDir() + QStringLiteral("/pictures/") + fileName; }

QString helpDir() { return resourceDir() + QStringLiteral("/help"); }

QString ensureUserDatabases()
{
    const QString target = appPath();
    const QString source = templateDatabaseDir();
    for (const QString& name : languageDatabaseNames()) {
        const QString to = target + QLatin1Char('/') + name;
        const QString from = source + QLatin1Char('/') + name;
        if (QFileInfo::exists(to) || !QFileInfo::exists(from))
            continue;
        if (!QFile::copy(from, to)) {
            // A half-written copy would pass for a damaged database at every start.
            QFile::remove(to);
            QString why = WriteCheck::whyNotWritable(to, QFileInfo(from).size());
            if (why.isEmpty())
                why = tr2(QStringLiteral("copying \"%1\" failed"), QStringLiteral("das Kopieren von \"%1\" schlug fehl"))
                          .arg(name);
            return tr2(QStringLiteral("The language databases could not be copied into the folder \"%1\": %2."),
                       QStringLiteral("Die Sprachdatenbanken konnten nicht in den Ordner \"%1\" kopiert werden: %2."))
                .arg(QDir::cleanPath(target), why);
        }
        // Installed templates are read-only; the user's copy must take scores.
        QFile::setPermissions(to, QFile::permissions(to) | QFile::ReadOwner | QFile::WriteOwner);
    }
    return QString();
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
