#include "platform/Shell.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace Shell {
namespace {

// Result codes as the classic shell calls return them: > 32 is success.
constexpr int kOk = 42;
constexpr int kFileNotFound = 2;
constexpr int kNoAssociation = 31;

bool startDetached(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments);
}

bool (*g_starter)(const QString&, const QStringList&) = startDetached;

QStringList envDirs(const char* name, const QString& fallback)
{
    QStringList dirs;
    for (const QString& dir : qEnvironmentVariable(name).split(QLatin1Char(':'), Qt::SkipEmptyParts))
        dirs << dir;
    if (dirs.isEmpty() && !fallback.isEmpty())
        dirs = fallback.split(QLatin1Char(':'));
    return dirs;
}

QString home() { return QDir::homePath(); }

QString dataHome()
{
    const QString dir = qEnvironmentVariable("XDG_DATA_HOME");
    return dir.isEmpty() ? home() + QStringLiteral("/.local/share") : dir;
}

QString configHome()
{
    const QString dir = qEnvironmentVariable("XDG_CONFIG_HOME");
    return dir.isEmpty() ? home() + QStringLiteral("/.config") : dir;
}

QStringList dataDirs()
{
    return QStringList{dataHome()} + envDirs("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
}

// The path of a desktop entry by its id; "a-b.desktop" may also live in a/b.desktop.
QString desktopFilePath(const QString& desktopId)
{
    for (const QString& dir : dataDirs()) {
        const QString plain = dir + QStringLiteral("/applications/") + desktopId;
        if (QFileInfo(plain).isFile())
            return plain;
        QString nested = desktopId;
        nested.replace(QLatin1Char('-'), QLatin1Char('/'));
        const QString sub = dir + QStringLiteral("/applications/") + nested;
        if (QFileInfo(sub).isFile())
            return sub;
    }
    return {};
}

// One key of one group of a desktop-style key file ("[Group]", "Key=Value").
QString keyFileValue(const QString& path, const QString& group, const QString& key)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    const QString header = QLatin1Char('[') + group + QLatin1Char(']');
    bool inGroup = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inGroup = line == header;
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (inGroup && eq > 0 && line.left(eq).trimmed() == key)
            return line.mid(eq + 1).trimmed();
    }
    return {};
}

QString execLine(const QString& desktopFile)
{
    return keyFileValue(desktopFile, QStringLiteral("Desktop Entry"), QStringLiteral("Exec"));
}

// The desktop's own answer, when its tool is installed.
QString queryXdgMime(const QString& mimeType)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (tool.isEmpty())
        return {};
    QProcess process;
    process.start(tool, {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed().split(QLatin1Char(';')).value(0);
}

// The default application from the mimeapps.list files, in their order of precedence.
QString queryMimeAppsLists(const QString& mimeType)
{
    QStringList lists;
    const QStringList desktops =
        qEnvironmentVariable("XDG_CURRENT_DESKTOP").toLower().split(QLatin1Char(':'), Qt::SkipEmptyParts);
    QStringList folders{configHome()};
    folders += envDirs("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg"));
    for (const QString& dir : dataDirs())
        folders << dir + QStringLiteral("/applications");
    for (const QString& folder : folders) {
        for (const QString& desktop : desktops)
            lists << folder + QLatin1Char('/') + desktop + QStringLiteral("-mimeapps.list");
        lists << folder + QStringLiteral("/mimeapps.list");
        lists << folder + QStringLiteral("/defaults.list");
    }
    for (const QString& list : lists) {
        if (!QFileInfo(list).isFile())
            continue;
        const QStringList ids =
            keyFileValue(list, QStringLiteral("Default Applications"), mimeType).split(QLatin1Char(';'));
        for (const QString& id : ids)
            if (!id.trimmed().isEmpty() && !desktopFilePath(id.trimmed()).isEmpty())
                return id.trimmed();
    }
    return {};
}

} // namespace

int FindExecutable(const QString& file, const QString& directory, QString& result)
{
    result.clear();
    const QFileInfo info(directory.isEmpty() ? file : QDir(directory).filePath(file));
    if (!info.isFile())
        return kFileNotFound;
    QString mimeType = QMimeDatabase().mimeTypeForFile(info).name();
    // Without a readable MIME database the type still follows from the extension.
    const QString suffix = info.suffix().toLower();
    if ((mimeType.isEmpty() || mimeType == QLatin1String("application/octet-stream"))
        && (suffix == QLatin1String("htm") || suffix == QLatin1String("html")))
        mimeType = QStringLiteral("text/html");
    QString desktopId = queryXdgMime(mimeType);
    if (desktopId.isEmpty() || desktopFilePath(desktopId).isEmpty())
        desktopId = queryMimeAppsLists(mimeType);
    if (desktopId.isEmpty())
        return kNoAssociation;
    result = execLine(desktopFilePath(desktopId));
    return result.isEmpty() ? kNoAssociation : kOk;
}

int ShellExecute(const QString& operation, const QString& file, const QString& parameters, const QString& directory,
                 int showCommand)
{
    Q_UNUSED(operation);
    Q_UNUSED(directory);
    Q_UNUSED(showCommand);
    QStringList words = QProcess::splitCommand(file);
    if (words.isEmpty())
        return kFileNotFound;
    // Field codes of a desktop entry: the file or address codes take the
    // parameters, the others are dropped.
    QStringList arguments;
    bool placed = false;
    const QString program = words.takeFirst();
    for (const QString& word : std::as_const(words)) {
        if (word == QLatin1String("%u") || word == QLatin1String("%U") || word == QLatin1String("%f")
            || word == QLatin1String("%F")) {
            if (!parameters.isEmpty())
                arguments << parameters;
            placed = true;
        } else if (word.size() == 2 && word.startsWith(QLatin1Char('%')) && word != QLatin1String("%%")) {
            continue;
        } else {
            arguments << QString(word).replace(QLatin1String("%%"), QLatin1String("%"));
        }
    }
    if (!placed && !parameters.isEmpty())
        arguments << parameters;
    return g_starter(program, arguments) ? kOk : kFileNotFound;
}

void setStarter(bool (*starter)(const QString& program, const QStringList& arguments))
{
    g_starter = starter ? starter : startDetached;
}

} // namespace Shell
