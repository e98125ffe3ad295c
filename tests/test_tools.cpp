// The command-line tools: an option they do not know, or --help, prints
// their usage and writes nothing (no file named after the option).
#include "support/ChildWait.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(Tools, OptionsPrintTheUsageAndWriteNothing)
{
    struct Case {
        const char* tool;
        const char* option;
        int exitCode;
        bool toStandardOutput;
    };
    const Case cases[] = {
        {"gen_large_db", "--help", 0, true},
        {"gen_large_db", "-x", 2, false},
        {"draw_pictures", "--help", 0, true},
        {"draw_pictures", "--out", 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.tool) + " " + c.option);
        QTemporaryDir cwd;
        QProcess p;
        p.setWorkingDirectory(cwd.path());
        p.start(QStringLiteral(LEXUVANT_TEST_TOOLS_DIR "/") + QLatin1String(c.tool), {QLatin1String(c.option)});
        ASSERT_TRUE(ChildWait::finished(p, QStringLiteral("the usage")));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), c.exitCode);
        const QByteArray usage = c.toStandardOutput ? p.readAllStandardOutput() : p.readAllStandardError();
        EXPECT_TRUE(usage.contains("usage: " + QByteArray(c.tool))) << usage.constData();
        const QStringList written = QDir(cwd.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        EXPECT_TRUE(written.isEmpty()) << "wrote " << written.join(QStringLiteral(", ")).toStdString();
    }
}
