#pragma once
// Finding and starting the program associated with a file type, through the
// desktop's own association (xdg-mime / the .desktop files).
#include <QString>

namespace Shell {

// Finds the program that opens file (by its type); returns a code > 32 and
// the program's path on success, a code <= 32 when none is associated.
int FindExecutable(const QString& file, const QString& directory, QString& result);
// Starts file (a program) with parameters; returns > 32 on success.
int ShellExecute(const QString& operation, const QString& file, const QString& parameters, const QString& directory,
                 int showCommand);

// Tests replace the program starter (nullptr restores the real one).
void setStarter(bool (*starter)(const QString& program, const QStringList& arguments));

} // namespace Shell
