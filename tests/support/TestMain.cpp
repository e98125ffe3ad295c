// The main() of every test program: a QApplication on the offscreen platform,
// the German texts of the program, settings and the temporary folder of its own.
#include "common/Global.h"
#include "platform/SettingsStore.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <iostream>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QTemporaryDir settings;
    SettingsStore::setRoot(settings.path());
    InitGlobals();
    // Pictures are written only where LEXUVANT_SCREENSHOTS says; one left in
    // the temporary folder fails the run.
    QTemporaryDir temp;
    qputenv("TMPDIR", temp.path().toLocal8Bit());
    qputenv("LEXUVANT_TEST_FOLDER", temp.path().toLocal8Bit()); // stays when a test points TMPDIR elsewhere
    ::testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    const QStringList pictures = QDir(temp.path()).entryList({QStringLiteral("*.png")}, QDir::Files);
    if (!pictures.isEmpty()) {
        std::cerr << "pictures written into the temporary folder: " << pictures.join(u' ').toStdString() << '\n';
        result = 1;
    }
    return result;
}
