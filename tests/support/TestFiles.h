#pragma once
// Temporary copies of the shipped databases and small files a test builds.
#include <QImage>
#include <QString>
#include <QTemporaryDir>

namespace TestFiles {

// Folder of the built language databases (the templates).
QString shippedDatabaseDir();
// Copies one shipped database (e.g. "Englisch.lxt") into dir and returns the copy's path.
QString copyShipped(const QString& fileName, const QTemporaryDir& dir);
// Writes bytes into a new file in dir and returns its path.
QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes);

// Pictures of windows, for looking at by eye, go to the folder named by
// LEXUVANT_SCREENSHOTS (created here); empty when it is unset.
QString screenshotFolder();
// Writes picture as name into that folder when it is set. True when the
// picture was taken (and, with the folder set, written).
bool saveScreenshot(const QImage& picture, const QString& name);

} // namespace TestFiles
