#pragma once
// Temporary copies of the shipped databases and small files a test builds.
#include <QString>
#include <QTemporaryDir>

namespace TestFiles {

// Folder of the built language databases (the templates).
QString shippedDatabaseDir();
// Copies one shipped database (e.g. "Englisch.lxt") into dir and returns the copy's path.
QString copyShipped(const QString& fileName, const QTemporaryDir& dir);
// Writes bytes into a new file in dir and returns its path.
QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes);

} // namespace TestFiles
