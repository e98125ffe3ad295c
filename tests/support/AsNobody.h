#pragma once
// Tests run as root, and root ignores file modes: a read-only folder is
// tested in a child process that has dropped to the account nobody.
#include <QString>
#include <functional>

namespace AsNobody {

// Runs body in a forked child as nobody (as it is when the tests already run
// unprivileged). The calling test fails when the child could not drop its
// rights or when a check inside body failed; the parent's state is untouched.
void run(const std::function<void()>& body);

// Lets nobody through path and every folder above it (temporary folders are
// private to their owner).
void openPath(const QString& path);

// Makes folder read-only for everyone.
void makeReadOnly(const QString& folder);

} // namespace AsNobody
