#include "support/KillLoop.h"

#include "mainwindow/Form1.h"
#include "mainwindow/Forms.h"
#include "platform/AppPaths.h"
#include "platform/Database.h"
#include "platform/Recordset.h"
#include "selection/Form2.h"
#include "support/FakeMessageService.h"
#include "support/TestDatabase.h"
#include "trainer/ConfirmDlg.h"
#include "trainer/Trainer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace KillLoop {

namespace {

constexpr int kEntries = 6;
const char* const kFile = "Killtest.lxt";

// The writer reports the running number of each write once it returned.
void report(int fd, long k)
{
    if (write(fd, &k, sizeof k) != sizeof k)
        _exit(3);
}

[[noreturn]] void engineWriter(const QString& path, long from, int fd)
{
    auto db = Database::OpenDatabase(path);
    auto rs = db->OpenRecordset(QStringLiteral("SELECT * FROM Vokabular"));
    for (long k = from;; ++k) {
        rs->FindFirst(QStringLiteral("ID LIKE '%1'").arg(k % kEntries + 1));
        rs->Edit();
        rs->SetField(QStringLiteral("Score"), int(k % 6) + 1);
        rs->SetField(QStringLiteral("Zusatzinfo"), QString::number(k));
        rs->Update();
        report(fd, k);
    }
}

// The first entry of the list, answered right and wrong in turn, each answer
// written by the trainer's own score procedure.
[[noreturn]] void trainerWriter(const QString& path, long from, int fd)
{
    ScopedFakeMessages msgs;
    AppPaths::setAppPath(QFileInfo(path).absolutePath());
    Forms::form1().Open_DB(QFileInfo(path).fileName());
    Forms::form2().Command4_Click();
    Trainer& t = Forms::trainer();
    t.OptTest = true;
    t.OptionsToUI();
    for (long k = from;; ++k) {
        t.back_Click();
        msgs->queueDialog([k](QDialog* d) {
            auto* dlg = qobject_cast<ConfirmDlg*>(d);
            if (!dlg)
                return int(QDialog::Rejected);
            (k % 2 == 0 ? dlg->JaButton : dlg->NeinButton)->click();
            return dlg->result();
        });
        t.Command3_Click();
        if (!msgs->shown.isEmpty() || !msgs->dialogs.empty()) {
            std::fprintf(stderr, "writer: %s\n",
                         msgs->shown.isEmpty() ? "no question asked" : qPrintable(msgs->lastPrompt()));
            _exit(4);
        }
        report(fd, k);
    }
}

struct Child {
    pid_t pid = -1;
    int fd = -1;
};

Child start(Writer writer, const QString& path, long from, const QStringList& childArgs)
{
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    std::fflush(stdout);
    std::fflush(stderr);
    const QByteArray program = QFile::encodeName(QCoreApplication::applicationFilePath());
    QList<QByteArray> args{program};
    for (const QString& a : childArgs)
        args << a.toLocal8Bit();
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        // Qt's, the test program's and the writer's messages go to a log the failure report quotes.
        const int log = ::open(QFile::encodeName(path + QStringLiteral(".log")).constData(),
                               O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (log >= 0) {
            dup2(log, 1);
            dup2(log, 2);
        }
        setenv("LEXUVANT_KILL_WRITER", writer == Writer::Engine ? "engine" : "trainer", 1);
        setenv("LEXUVANT_KILL_DB", QFile::encodeName(path).constData(), 1);
        setenv("LEXUVANT_KILL_FROM", QByteArray::number(qlonglong(from)).constData(), 1);
        setenv("LEXUVANT_KILL_FD", QByteArray::number(fds[1]).constData(), 1);
        std::vector<char*> argv;
        for (QByteArray& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(program.constData(), argv.data());
        _exit(5);
    }
    close(fds[1]);
    return {pid, fds[0]};
}

// Reads one report; false at the end of the pipe or after timeoutMs.
bool readReport(int fd, long& k, int timeoutMs)
{
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, timeoutMs) <= 0)
        return false;
    return read(fd, &k, sizeof k) == sizeof k;
}

} // namespace

Summary run(Writer writer, int kills, const QString& folder, const QStringList& childArgs, unsigned seed)
{
    Summary sum;
    const QString path = QDir(folder).filePath(QString::fromLatin1(kFile));
    std::array<long, kEntries> stamp;   // the number each entry holds (engine writer)
    stamp.fill(-1);
    {
        TestDatabase db(path);
        db.setLanguages(QStringLiteral("Sprache1=Deutsch@Sprache2=Französisch@")).setDBVersion(2);
        for (int i = 0; i < kEntries; ++i)
            if (db.addEntry({{}, QStringLiteral("Wort%1").arg(i)}, {{}, QStringLiteral("mot%1").arg(i)}, 3) != i + 1)
                throw std::runtime_error("unexpected entry ID");
        db.exec(QStringLiteral("UPDATE Vokabular SET Zusatzinfo = '-1'"));
        db.exec(QStringLiteral("CREATE TABLE WriteCount (n INTEGER)"));
        db.exec(QStringLiteral("INSERT INTO WriteCount VALUES (0)"));
        db.exec(QStringLiteral("CREATE TRIGGER count_writes AFTER UPDATE ON Vokabular "
                               "BEGIN UPDATE WriteCount SET n = n + 1; END"));
    }
    std::mt19937 rng(seed);
    // The trainer's write is slower; its window of kill moments is wider.
    std::uniform_int_distribution<int> delayUs(0, writer == Writer::Engine ? 20000 : 100000);
    long from = 0;
    for (int round = 0; round < kills; ++round) {
        const QString where = QStringLiteral("round %1 (seed %2): ").arg(round).arg(seed);
        long before = 0;
        {
            TestDatabase check(path, TestDatabase::OpenExisting);
            before = check.scalar(QStringLiteral("SELECT n FROM WriteCount")).toLongLong();
        }
        const Child child = start(writer, path, from, childArgs);
        if (child.pid < 0) {
            sum.problems << where + QStringLiteral("cannot start the writer");
            return sum;
        }
        long k = -1;
        const bool first = readReport(child.fd, k, 60000);
        if (first)
            usleep(useconds_t(delayUs(rng)));
        kill(child.pid, SIGKILL);
        for (long more; readReport(child.fd, more, 0);)
            k = more;   // reports already in the pipe were committed too
        close(child.fd);
        int status = 0;
        waitpid(child.pid, &status, 0);
        if (!first || !WIFSIGNALED(status)) {
            QFile log(path + QStringLiteral(".log"));
            log.open(QIODevice::ReadOnly);
            sum.problems << where + QStringLiteral("the writer ended by itself (exit %1) or wrote nothing: ")
                                        .arg(WIFEXITED(status) ? WEXITSTATUS(status) : -1)
                                + QString::fromLocal8Bit(log.readAll().right(2000));
            return sum;
        }
        ++sum.kills;
        sum.writes += k - from + 1;

        TestDatabase check(path, TestDatabase::OpenExisting);
        const QString integrity = check.scalar(QStringLiteral("PRAGMA integrity_check")).toString();
        if (integrity != QLatin1String("ok"))
            sum.problems << where + QStringLiteral("integrity_check: ") + integrity;
        // Writes from..k were reported; the one after k may have been
        // committed just before the kill.
        const long counted = check.scalar(QStringLiteral("SELECT n FROM WriteCount")).toLongLong() - before;
        const long reported = k - from + 1;
        if (counted != reported && counted != reported + 1)
            sum.problems << where + QStringLiteral("%1 writes reported, %2 in the file").arg(reported).arg(counted);
        if (writer == Writer::Engine) {
            for (long j = from; j <= k; ++j)
                stamp[size_t(j % kEntries)] = j;
            for (int i = 0; i < kEntries; ++i) {
                const long held = check.scalar(QStringLiteral("SELECT Zusatzinfo FROM Vokabular WHERE ID = ?1"), {i + 1})
                                      .toLongLong();
                const bool nextWasThis = (k + 1) % kEntries == i;
                if (held != stamp[size_t(i)] && !(nextWasThis && held == k + 1))
                    sum.problems << where + QStringLiteral("entry %1 holds write %2, last reported %3")
                                                .arg(i + 1)
                                                .arg(held)
                                                .arg(stamp[size_t(i)]);
                stamp[size_t(i)] = held;
            }
        }
        from = k + 2;   // numbers stay distinct whether or not k + 1 got in
    }
    return sum;
}

bool writerFromEnvironment()
{
    const QByteArray writer = qgetenv("LEXUVANT_KILL_WRITER");
    if (writer.isEmpty())
        return false;
    const QString path = QFile::decodeName(qgetenv("LEXUVANT_KILL_DB"));
    const long from = qgetenv("LEXUVANT_KILL_FROM").toLong();
    const int fd = qgetenv("LEXUVANT_KILL_FD").toInt();
    try {
        if (writer == "engine")
            engineWriter(path, from, fd);
        trainerWriter(path, from, fd);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "writer: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "writer: failed\n");
    }
    _exit(2);
}

} // namespace KillLoop
