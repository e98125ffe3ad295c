#pragma once
// Another program on the same database file: the sqlite3 shell (installed
// with the build dependencies), which gives up after a busy timeout of 100 ms.
#include <QString>

namespace OtherProgram {

// Runs the statements on the file; returns what the shell reported, empty
// when it succeeded.
QString write(const QString& path, const QString& sql);

// Runs the event loop until it waits for input, as the program does between
// two commands of the user.
void waitForUser();

} // namespace OtherProgram
