// The main() of every test program: a QApplication on the offscreen platform,
// the German texts of the program, settings in a temporary folder.
#include "common/Global.h"
#include "platform/SettingsStore.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                    : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QTemporaryDir settings;
    SettingsStore::setRoot(settings.path());
    InitGlobals();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
