#pragma once
// Where the program keeps its files. The "program folder" of the windows, the
// folder of the ten language databases, is the per-user data folder
// (~/.local/share/lexuvant); pictures and help come from the installed
// resources (share/lexuvant beside the program, or the build tree).
#include <QString>

namespace AppPaths {

// The program folder of the windows (App.Path): the per-user data folder.
QString appPath();
// Tests point it at a temporary folder.
void setAppPath(const QString& folder);

// The installed resources: databases/ (the templates), pictures/, help/, web/.
QString resourceDir();
void setResourceDir(const QString& folder);
QString templateDatabaseDir();
QString picturePath(const QString& fileName); // e.g. "marke.png", "GB.bmp"
QString helpDir();

// Copies every shipped database that is missing in appPath() from the
// templates; an existing file is never overwritten. Returns why the folder
// could not take them (naming the folder and the reason), or an empty text.
QString ensureUserDatabases();

// The ten language database file names, in button order.
const QStringList& languageDatabaseNames();

} // namespace AppPaths
