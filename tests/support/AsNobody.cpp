#include "support/AsNobody.h"

#include "support/ChildWait.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace AsNobody {

namespace {

struct Account {
    bool drop = false; // false: already unprivileged
    uid_t uid = 0;
    gid_t gid = 0;
};

// Looked up before the fork: the name service allocates and locks, which a
// forked copy of a process with threads must not do.
bool lookUpNobody(Account& a)
{
    if (getuid() != 0)
        return true;
    const passwd* pw = getpwnam("nobody");
    if (!pw)
        return false;
    const group* gr = getgrnam("nogroup");
    a = {true, pw->pw_uid, gr ? gr->gr_gid : pw->pw_gid};
    return true;
}

// Only system calls: safe between fork and exec.
bool dropRights(const Account& a)
{
    return !a.drop || (setgroups(0, nullptr) == 0 && setgid(a.gid) == 0 && setuid(a.uid) == 0 && geteuid() != 0);
}

constexpr int kWindowWork = 5; // exit code of a forked child that touched a window

void waitForChild(pid_t pid, const QString& what)
{
    int status = 0;
    ASSERT_TRUE(ChildWait::ended(pid, status)) << "the child as nobody (" << qPrintable(what) << ") did not end within "
                                               << ChildWait::kSeconds << " s and was killed";
    ASSERT_FALSE(WIFEXITED(status) && WEXITSTATUS(status) == kWindowWork)
        << "AsNobody::run (" << qPrintable(what) << ") did window work in a fork of a process with threads; "
        << "use AsNobody::runTest";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the child as nobody (" << qPrintable(what) << ") failed (exit "
        << (WIFEXITED(status) ? WEXITSTATUS(status) : -1) << ")";
}

// In the forked child: the first event to a widget or a window ends it.
class RefuseWindows : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent*) override
    {
        if (watched->isWidgetType() || watched->isWindowType())
            _exit(kWindowWork);
        return false;
    }
};

QString currentTest()
{
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return info ? QString::fromUtf8(info->test_suite_name()) + u'.' + QString::fromUtf8(info->name()) : QString();
}

} // namespace

void run(const std::function<void()>& body)
{
    Account nobody;
    ASSERT_TRUE(lookUpNobody(nobody)) << "no account nobody";
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (!dropRights(nobody))
            _exit(3);
        RefuseWindows refuse;
        QCoreApplication::instance()->installEventFilter(&refuse);
        body();
        std::fflush(stdout);
        _exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    waitForChild(pid, currentTest());
}

void runTest(const QString& test, const QList<QPair<QByteArray, QByteArray>>& env)
{
    Account nobody;
    ASSERT_TRUE(lookUpNobody(nobody)) << "no account nobody";
    QTemporaryDir scratch(qEnvironmentVariable("LEXUVANT_TEST_FOLDER") + QStringLiteral("/child-XXXXXX"));
    ASSERT_TRUE(scratch.isValid());
    QFile::setPermissions(scratch.path(), QFile::Permissions(0x7777));
    openPath(scratch.path());
    QList<QPair<QByteArray, QByteArray>> childEnv = env;
    for (const QByteArray& name : {QByteArray("TMPDIR"), QByteArray("HOME")})
        if (std::none_of(env.begin(), env.end(), [&](const auto& pair) { return pair.first == name; }))
            childEnv.append({name, QFile::encodeName(scratch.path())});
    // Arguments and environment are built here, before the fork.
    QList<QByteArray> args = {QFile::encodeName(QCoreApplication::applicationFilePath()),
                              "--gtest_filter=" + test.toUtf8(), "--gtest_also_run_disabled_tests"};
    std::vector<char*> argv;
    for (QByteArray& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    QList<QByteArray> added;
    for (const auto& [name, value] : childEnv)
        added << name + '=' + value;
    std::vector<char*> envp;
    for (char** e = environ; *e; ++e) {
        const char* eq = std::strchr(*e, '=');
        const QByteArray name(*e, eq ? int(eq - *e) : int(std::strlen(*e)));
        if (std::none_of(childEnv.begin(), childEnv.end(), [&](const auto& pair) { return pair.first == name; }))
            envp.push_back(*e);
    }
    for (QByteArray& a : added)
        envp.push_back(a.data());
    envp.push_back(nullptr);
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (dropRights(nobody))
            ::execve(argv[0], argv.data(), envp.data());
        _exit(3);
    }
    waitForChild(pid, test);
}

void openPath(const QString& path)
{
    // Only inside this test program's own temporary folder: the folders above
    // it belong to the machine, not to the test.
    const QString own = QDir::cleanPath(qEnvironmentVariable("LEXUVANT_TEST_FOLDER"));
    const QString target = QDir::cleanPath(path);
    ASSERT_TRUE(!own.isEmpty() && (target == own || target.startsWith(own + QLatin1Char('/'))))
        << qPrintable(target) << " is outside the test's own folder " << qPrintable(own);
    for (QString p = target;; p = QFileInfo(p).absolutePath()) {
        const QByteArray name = QFile::encodeName(p);
        struct stat st {};
        if (::stat(name.constData(), &st) == 0) {
            const mode_t wanted = S_ISDIR(st.st_mode) ? (S_IRGRP | S_IXGRP | S_IROTH | S_IXOTH) : (S_IRGRP | S_IROTH);
            if ((st.st_mode & wanted) != wanted)
                ::chmod(name.constData(), (st.st_mode & 07777) | wanted); // keeps sticky and set-id bits
        }
        if (p == own)
            break;
    }
}

void makeReadOnly(const QString& folder) { ::chmod(QFile::encodeName(folder).constData(), 0555); }

} // namespace AsNobody
