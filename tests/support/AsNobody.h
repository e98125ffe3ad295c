#pragma once
// Tests run as root, and root ignores file modes: a read-only folder is
// tested in a child process that has dropped to the account nobody.
#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <functional>

namespace AsNobody {

// Runs body in a forked child as nobody (as it is when the tests already run
// unprivileged). body does plain file work only: the child is a copy of a
// process with Qt's threads, whose locks may be held by a thread the fork did
// not copy. Window work is refused: the first event to a widget or window ends
// the child, and the test names runTest as the way. The calling test fails when
// the child could not drop its rights, a check inside body failed, or the child
// did not end in time; the parent's state is untouched.
void run(const std::function<void()>& body);

// Runs one test of this program (usually a DISABLED_ one that only makes
// sense there) as nobody in a fresh process with env added: for work that needs
// a clean process (widgets, the help engine's threads), not a fork of this one.
// Unless env names them, TMPDIR and HOME are a fresh folder nobody may write.
void runTest(const QString& test, const QList<QPair<QByteArray, QByteArray>>& env);

// Lets nobody through path and every folder above it up to this test
// program's own temporary folder (the one TestMain makes; temporary folders
// are private to their owner). A path outside that folder fails the calling test.
void openPath(const QString& path);

// Makes folder read-only for everyone.
void makeReadOnly(const QString& folder);

} // namespace AsNobody
