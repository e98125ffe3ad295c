#pragma once
// Waits on the processes a test starts. None may stall the test run until
// ctest gives up on it without a word: a wait that runs out ends the child and
// says what was waited for.
#include <QString>
#include <sys/types.h>

class QProcess;

namespace ChildWait {

// At most half of ctest's limit for a test (tests/CMakeLists.txt), so that the
// report of a child that hangs is ours.
constexpr int kSeconds = 120;
static_assert(2 * kSeconds <= LEXUVANT_TEST_TIMEOUT, "a hang must be reported before ctest ends the test");

// Waits for pid to end and sets status as waitpid does. After `seconds` the
// child is killed and reaped, and false is returned.
bool ended(pid_t pid, int& status, int seconds = kSeconds);

// Waits for p to end; after `seconds` it fails the calling test, naming the
// program, its arguments and what it was for, kills p and returns false.
bool finished(QProcess& p, const QString& what, int seconds = kSeconds);

} // namespace ChildWait
