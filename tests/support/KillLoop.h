#pragma once
// A writer process is killed at random moments, again and again, on one file;
// after every kill each write it reported as done must be in the file, and the
// file must be sound.
//
// Every write carries a value of its own (the engine writer stores its running
// number k in the entry; the trainer answers right and wrong in turn), and a
// trigger in the file logs every committed change of Vokabular with the
// values written: each reported write must be there as reported and as the
// writer's rule says, so a write that was dropped, rolled back or written
// wrong cannot hide behind an equal value written earlier.
//
// The writer is this same program started again (fresh process, its own
// QApplication): a test program runs one DISABLED_ test that calls
// writerFromEnvironment(); any other program calls it first thing in main().
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <sys/types.h>

namespace KillLoop {

enum class Writer {
    Engine,  // Edit/Update through the engine's record set
    Trainer, // the trainer's self-test answer, through the windows
};

struct Summary {
    int kills = 0;
    long writes = 0;      // writes reported as done, over all rounds
    QStringList problems; // one line per lost write, damaged file or failed round
};

// Builds a database in folder and kills the writer kills times on it.
// childArgs are the arguments that make this program run the writer.
Summary run(Writer writer, int kills, const QString& folder, const QStringList& childArgs, unsigned seed);

// The file the writers write, in folder: six entries (IDs 1..6, score 3),
// and a table WriteLog that gets one row per committed change of an entry.
QString makeFile(const QString& folder);

// Another copy of the program answers on path (made by makeFile) with the
// trainer, right and wrong in turn, while this process runs meanwhile()
// between its reports, until it reported `answers` answers; then it is
// killed. *reported is the number of answers it reported. Returns one line
// per problem (a copy that is shown a box stops).
QStringList answerBeside(const QString& path, int answers, const QStringList& childArgs,
                         const std::function<void()>& meanwhile, long* reported);

// Several copies of the program answer the first entry of path (made by
// makeFile) at once, right and wrong in turn, until together they reported
// `answers` answers; then they are killed. Every logged write must step by
// one from the score committed just before it (a stale step went from a score
// read before another copy's write) and every reported answer must be logged.
struct Together {
    long reported = 0;    // answers the copies reported as done
    long written = 0;     // writes in the file's log
    long stale = 0;       // writes that did not step from the score before them
    QStringList problems; // one line per problem, stale steps included
};
Together answerTogether(const QString& path, int copies, long answers, const QStringList& childArgs);

// This program started again with childArgs and the `environment` entries
// ("NAME=value") added to this one's; its output goes to logPath. It finds the
// write end of a pipe in LEXUVANT_KILL_FD; fd is the read end.
struct Child {
    pid_t pid = -1;
    int fd = -1;
};
Child startAgain(const QStringList& childArgs, const QList<QByteArray>& environment, const QString& logPath);

// In the started writer: writes until killed (never returns). Returns false
// when this process was not started as a writer.
bool writerFromEnvironment();

} // namespace KillLoop
