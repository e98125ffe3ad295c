#include "support/AsNobody.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace AsNobody {

namespace {
bool dropRights()
{
    if (getuid() != 0)
        return true;
    const passwd* pw = getpwnam("nobody");
    if (!pw)
        return false;
    const group* gr = getgrnam("nogroup");
    const gid_t gid = gr ? gr->gr_gid : pw->pw_gid;
    return setgroups(0, nullptr) == 0 && setgid(gid) == 0 && setuid(pw->pw_uid) == 0 && geteuid() != 0;
}
} // namespace

void run(const std::function<void()>& body)
{
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (!dropRights()) {
            std::fprintf(stderr, "cannot drop to the account nobody\n");
            _exit(3);
        }
        body();
        std::fflush(stdout);
        _exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the child as nobody failed (exit " << (WIFEXITED(status) ? WEXITSTATUS(status) : -1) << ")";
}

void runTest(const QString& test, const QList<QPair<QByteArray, QByteArray>>& env)
{
    const QByteArray program = QFile::encodeName(QCoreApplication::applicationFilePath());
    const QByteArray filter = "--gtest_filter=" + test.toUtf8();
    const QByteArray disabled = "--gtest_also_run_disabled_tests";
    run([&] {
        for (const auto& [name, value] : env)
            ::setenv(name.constData(), value.constData(), 1);
        char* const argv[] = {const_cast<char*>(program.constData()), const_cast<char*>(filter.constData()),
                              const_cast<char*>(disabled.constData()), nullptr};
        ::execv(program.constData(), argv);
        ADD_FAILURE() << "cannot start " << program.constData();
    });
}

void openPath(const QString& path)
{
    for (QString p = QDir::cleanPath(path); !QDir(p).isRoot(); p = QFileInfo(p).absolutePath()) {
        const QByteArray name = QFile::encodeName(p);
        struct stat st {};
        if (::stat(name.constData(), &st) != 0)
            continue;
        const mode_t wanted = S_ISDIR(st.st_mode) ? (S_IRGRP | S_IXGRP | S_IROTH | S_IXOTH) : (S_IRGRP | S_IROTH);
        if ((st.st_mode & wanted) != wanted)
            ::chmod(name.constData(), (st.st_mode & 07777) | wanted);   // keeps sticky and set-id bits
    }
}

void makeReadOnly(const QString& folder) { ::chmod(QFile::encodeName(folder).constData(), 0555); }

} // namespace AsNobody
