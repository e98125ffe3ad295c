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

// Entries of the "large file" cases: 100,000, as the program must handle. The
// sanitizer build runs such a case twenty to thirty times slower, so there it
// uses a tenth; the plain build still covers the full size.
constexpr int largeEntryCount()
{
#if defined(__SANITIZE_ADDRESS__)
    return 10000;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return 10000;
#else
    return 100000;
#endif
#else
    return 100000;
#endif
}

} // namespace TestFiles
