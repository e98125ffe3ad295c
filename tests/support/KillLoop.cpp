#include "support/KillLoop.h"

#include "mainwindow/Form1.h"
#include "mainwindow/Forms.h"
#include "platform/AppPaths.h"
#include "platform/MSFlexGrid.h"
#include "engine/Database.h"
#include "engine/Recordset.h"
#include "selection/Form2.h"
#include "selection/Liste.h"
#include "support/ChildWait.h"
#include "support/FakeMessageService.h"
#include "support/TestDatabase.h"
#include "trainer/ConfirmDlg.h"
#include "trainer/Trainer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <algorithm>
#include <functional>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <random>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace KillLoop {

// Started with posix_spawn: this process has threads (Qt's), and a forked
// copy of it may run nothing that allocates or locks before exec.
Child startAgain(const QStringList& childArgs, const QList<QByteArray>& environment, const QString& logPath)
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
    std::vector<char*> argv;
    for (QByteArray& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    QList<QByteArray> ours = environment;
    ours << "LEXUVANT_KILL_FD=" + QByteArray::number(fds[1]);
    std::vector<char*> envp;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "LEXUVANT_KILL_", 14) != 0)
            envp.push_back(*e);
    for (const QByteArray& e : ours)
        envp.push_back(const_cast<char*>(e.constData()));
    envp.push_back(nullptr);
    // Qt's, the test program's and the child's messages go to a log the failure report quotes.
    const QByteArray log = QFile::encodeName(logPath);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addopen(&actions, 1, log.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, program.constData(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (rc != 0) {
        close(fds[0]);
        return {};
    }
    return {pid, fds[0]};
}

namespace {

constexpr int kEntries = 6;
constexpr int kFirstScore = 3;
const char* const kFile = "Killtest.lxt";

// What the writer reports once a write returned: its running number, the
// entry and the score it says it wrote.
struct Report {
    long k = -1;
    qint64 id = 0;
    long score = 0;
};

void report(int fd, const Report& r)
{
    if (write(fd, &r, sizeof r) != sizeof r)
        _exit(3);
}

// Entry k % 6 + 1 gets score k % 6 + 1 and the number k as its note.
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
        report(fd, {k, k % kEntries + 1, k % 6 + 1});
    }
}

// The first entry of the list, answered right (even k) and wrong (odd k) in
// turn, each answer written by the trainer's own score procedure; the report
// carries the score the list shows afterwards.
[[noreturn]] void trainerWriter(const QString& path, long from, int fd)
{
    ScopedFakeMessages msgs;
    AppPaths::setAppPath(QFileInfo(path).absolutePath());
    Forms::form1().Open_DB(QFileInfo(path).fileName());
    Forms::form2().Command4_Click();
    Trainer& t = Forms::trainer();
    MSFlexGrid& grid = *Forms::liste().MSFlexGrid1;
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
        report(fd, {k, grid.TextMatrix(1, 1).toLongLong(), grid.TextMatrix(1, Liste::txtScore).toLong()});
    }
}

Child start(Writer writer, const QString& path, long from, const QStringList& childArgs)
{
    return startAgain(childArgs,
                      {QByteArray("LEXUVANT_KILL_WRITER=") + (writer == Writer::Engine ? "engine" : "trainer"),
                       "LEXUVANT_KILL_DB=" + QFile::encodeName(path),
                       "LEXUVANT_KILL_FROM=" + QByteArray::number(qlonglong(from))},
                      path + QStringLiteral(".log"));
}

// The end of what the started programs printed, for a failure report.
QString logTail(const QString& path)
{
    QFile log(path + QStringLiteral(".log"));
    log.open(QIODevice::ReadOnly);
    return QString::fromLocal8Bit(log.readAll().right(2000));
}

// Reads one report; false at the end of the pipe or after timeoutMs.
bool readReport(int fd, Report& r, int timeoutMs)
{
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, timeoutMs) <= 0)
        return false;
    return read(fd, &r, sizeof r) == sizeof r;
}

// The write the kth one must be, by the writer's own rule, after `previous`
// (the score the trainer's entry held before it).
Report expected(Writer writer, long k, long previous)
{
    if (writer == Writer::Engine)
        return {k, k % kEntries + 1, k % 6 + 1};
    return {k, 1, std::clamp(previous + (k % 2 == 0 ? -1 : 1), 1L, 6L)};
}

QString shown(const Report& r) { return QStringLiteral("entry %1 score %2").arg(r.id).arg(r.score); }

// The file both kinds of run write: six entries and the log of every write.
QString buildFile(const QString& folder)
{
    const QString path = QDir(folder).filePath(QString::fromLatin1(kFile));
    TestDatabase db(path);
    db.setLanguages(QStringLiteral("Sprache1=Deutsch@Sprache2=Französisch@")).setDBVersion(2);
    for (int i = 0; i < kEntries; ++i)
        if (db.addEntry({{}, QStringLiteral("Wort%1").arg(i)}, {{}, QStringLiteral("mot%1").arg(i)}, kFirstScore) != i + 1)
            throw std::runtime_error("unexpected entry ID");
    // Every committed change of an entry, in order, with what it wrote.
    db.exec(QStringLiteral("CREATE TABLE WriteLog (n INTEGER PRIMARY KEY, ID INTEGER, Score INTEGER, Info TEXT)"));
    db.exec(QStringLiteral("CREATE TRIGGER log_writes AFTER UPDATE ON Vokabular BEGIN "
                           "INSERT INTO WriteLog (ID, Score, Info) VALUES (NEW.ID, NEW.Score, NEW.Zusatzinfo); END"));
    return path;
}

} // namespace

Summary run(Writer writer, int kills, const QString& folder, const QStringList& childArgs, unsigned seed)
{
    Summary sum;
    const QString path = buildFile(folder);
    std::mt19937 rng(seed);
    // The trainer's write is slower; its window of kill moments is wider.
    std::uniform_int_distribution<int> delayUs(0, writer == Writer::Engine ? 20000 : 100000);
    long from = 0;
    long logged = 0;                 // log entries checked so far
    long trainerScore = kFirstScore; // what the trainer's entry holds
    for (int round = 0; round < kills; ++round) {
        const QString where = QStringLiteral("round %1 (seed %2): ").arg(round).arg(seed);
        const Child child = start(writer, path, from, childArgs);
        if (child.pid < 0) {
            sum.problems << where + QStringLiteral("cannot start the writer");
            return sum;
        }
        // The first round lets the writer finish eight writes before the kill
        // moment is drawn, so a writer that stops writing after a few is seen
        // in every run, not only when a later round happens to last.
        QList<Report> reports;
        const int before = round == 0 ? 8 : 1;
        for (Report r; reports.size() < before && readReport(child.fd, r, 60000);)
            reports << r;
        const bool wrote = reports.size() == before;
        if (wrote)
            usleep(useconds_t(delayUs(rng)));
        kill(child.pid, SIGKILL);
        for (Report r; readReport(child.fd, r, 0);)
            reports << r; // reports already in the pipe were committed too
        close(child.fd);
        int status = 0;
        if (!ChildWait::ended(child.pid, status, 10)) {
            sum.problems << where + QStringLiteral("the killed writer did not end within 10 s");
            return sum;
        }
        if (!wrote || !WIFSIGNALED(status)) {
            sum.problems << where
                                + QStringLiteral("the writer ended by itself (exit %1) or wrote too little: ")
                                      .arg(WIFEXITED(status) ? WEXITSTATUS(status) : -1)
                                + logTail(path);
            return sum;
        }
        ++sum.kills;
        sum.writes += reports.size();

        TestDatabase check(path, TestDatabase::OpenExisting);
        const QString integrity = check.scalar(QStringLiteral("PRAGMA integrity_check")).toString();
        if (integrity != QLatin1String("ok"))
            sum.problems << where + QStringLiteral("integrity_check: ") + integrity;
        const QStringList log =
            check.texts(QStringLiteral("SELECT ID || ' ' || Score || ' ' || ifnull(Info, '') FROM WriteLog WHERE n > ?1 "
                                       "ORDER BY n"),
                        {qlonglong(logged)});
        // Each reported write is in the file as reported and as the rule
        // says; the one after the last report may have got in just before the kill.
        const long last = reports.last().k;
        const long count = last - from + 1;
        if (log.size() != count && log.size() != count + 1)
            sum.problems << where + QStringLiteral("%1 writes reported, %2 in the file").arg(count).arg(log.size());
        for (long i = 0; i < std::min<long>(log.size(), count + 1); ++i) {
            const long k = from + i;
            const Report want = expected(writer, k, trainerScore);
            const QStringList held = log[int(i)].split(u' ');
            const Report inFile{k, held.value(0).toLongLong(), held.value(1).toLong()};
            if (i < reports.size()
                && (reports[int(i)].k != k || reports[int(i)].id != want.id || reports[int(i)].score != want.score))
                sum.problems << where
                                    + QStringLiteral("write %1 reported %2, the rule gives %3")
                                          .arg(k)
                                          .arg(shown(reports[int(i)]), shown(want));
            if (inFile.id != want.id || inFile.score != want.score
                || (writer == Writer::Engine && held.value(2) != QString::number(k)))
                sum.problems << where
                                    + QStringLiteral("write %1 is %2 (%3) in the file, the rule gives %4")
                                          .arg(k)
                                          .arg(shown(inFile), held.value(2), shown(want));
            trainerScore = inFile.score;
        }
        logged += log.size();
        from = last + 2; // numbers stay distinct whether or not last + 1 got in
    }
    return sum;
}

QString makeFile(const QString& folder) { return buildFile(folder); }

QStringList answerBeside(const QString& path, int answers, const QStringList& childArgs,
                         const std::function<void()>& meanwhile, long* reported)
{
    const Child copy = start(Writer::Trainer, path, 0, childArgs);
    if (copy.pid < 0)
        return {QStringLiteral("cannot start the other copy")};
    long got = 0;
    for (int tries = 0; got < answers && tries < 3000; ++tries) {
        meanwhile();
        for (Report r; got < answers && readReport(copy.fd, r, 5);)
            ++got;
    }
    kill(copy.pid, SIGKILL);
    for (Report r; readReport(copy.fd, r, 0);)
        ++got;
    close(copy.fd);
    int status = 0;
    *reported = got;
    if (!ChildWait::ended(copy.pid, status, 10))
        return {QStringLiteral("the killed copy did not end within 10 s")};
    if (got >= answers && WIFSIGNALED(status))
        return {};
    return {QStringLiteral("the other copy stopped after %1 answers (exit %2; 4: it was shown a box): %3")
                .arg(got)
                .arg(WIFEXITED(status) ? WEXITSTATUS(status) : -1)
                .arg(logTail(path))};
}

Together answerTogether(const QString& path, int copies, long answers, const QStringList& childArgs)
{
    Together result;
    std::vector<Child> started;
    for (int i = 0; i < copies; ++i) {
        const Child copy = start(Writer::Trainer, path, 0, childArgs);
        if (copy.pid < 0)
            result.problems << QStringLiteral("cannot start copy %1").arg(i + 1);
        else
            started.push_back(copy);
    }
    std::vector<pollfd> fds;
    for (const Child& c : started)
        fds.push_back({c.fd, POLLIN, 0});
    size_t running = fds.size();
    // Each copy answers within a few seconds; a minute without any report is a hang.
    while (result.reported < answers && running > 0 && poll(fds.data(), fds.size(), 60000) > 0) {
        for (pollfd& p : fds) {
            Report r;
            if ((p.revents & POLLIN) && read(p.fd, &r, sizeof r) == sizeof r) {
                ++result.reported;
            } else if (p.revents & (POLLHUP | POLLERR)) {
                p.fd = -1; // this copy stopped; the others go on
                --running;
            }
        }
    }
    for (const Child& c : started)
        kill(c.pid, SIGKILL);
    for (const Child& c : started) {
        for (Report r; readReport(c.fd, r, 0);)
            ++result.reported;
        close(c.fd);
        int status = 0;
        if (!ChildWait::ended(c.pid, status, 10))
            result.problems << QStringLiteral("a killed copy did not end within 10 s");
        else if (!WIFSIGNALED(status))
            result.problems << QStringLiteral("a copy stopped by itself (exit %1; 4: it was shown a box): %2")
                                   .arg(WIFEXITED(status) ? WEXITSTATUS(status) : -1)
                                   .arg(logTail(path));
    }
    TestDatabase check(path, TestDatabase::OpenExisting);
    const QStringList scores = check.texts(QStringLiteral("SELECT Score FROM WriteLog WHERE ID = 1 ORDER BY n"));
    result.written = scores.size();
    long previous = kFirstScore;
    for (int i = 0; i < scores.size(); ++i) {
        const long score = scores[i].toLong();
        const bool step = std::abs(score - previous) == 1 || (score == previous && (score == 1 || score == 6));
        if (!step && ++result.stale <= 10)
            result.problems
                << QStringLiteral("write %1 of %2: score %3 after %4").arg(i + 1).arg(scores.size()).arg(score).arg(previous);
        previous = score;
    }
    if (result.stale > 10)
        result.problems << QStringLiteral("%1 stale steps in all").arg(result.stale);
    // A copy killed between its commit and its report wrote one answer more.
    if (result.written < result.reported || result.written > result.reported + copies)
        result.problems << QStringLiteral("%1 answers reported, %2 written").arg(result.reported).arg(result.written);
    return result;
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
