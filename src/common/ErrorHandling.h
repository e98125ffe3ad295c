#pragma once
// The four shapes of error handlers, written once. Every procedure with a
// handler names its shape in one line:
//
//   1 report and leave:     bool ok = ErrorHandling::reportAndLeave([&]{ ... });
//   2 report and go on:     ErrorHandling::Steps s; s([&]{ stmt1; }); s([&]{ stmt2; });
//   3 report and pass on:   ErrorHandling::reportAndPassOn([&]{ ... });   // rethrows 19001
//   4 report always:        the same with Always::Yes (no test for 19001)
//
// "Report" means: gErrText := description; unless the number is 19001 (or
// Always::Yes), show the error box. Any std::exception that is not an
// AppError is treated as an internal error with its what() as description.
#include "engine/AppError.h"

#include <functional>

namespace ErrorHandling {

enum class Always { No, Yes };

// Converts whatever is being thrown right now into an AppError.
AppError currentError();

// gErrText := e.description(); the error box unless 19001 (or always).
void report(const AppError& e, Always always = Always::No);

// Throws the 19001 error that tells callers "already reported".
[[noreturn]] void raiseReported();

// The runtime's errors for a value of the wrong kind (13) and a Null where a
// value is needed (94).
[[noreturn]] void raiseTypeMismatch();
[[noreturn]] void raiseInvalidNull();

// Shape 1 (and 4 with Always::Yes): runs f; on failure reports and returns false.
bool reportAndLeave(const std::function<void()>& f, Always always = Always::No);

// Shape 3 (and 4): runs f; on failure reports and raises 19001.
void reportAndPassOn(const std::function<void()>& f, Always always = Always::No);

// Shape 2 (and 4): each call runs one statement; a failure is reported and the
// next statement still runs. failed() tells whether any statement failed.
class Steps {
public:
    explicit Steps(Always always = Always::No) : m_always(always) {}
    bool operator()(const std::function<void()>& statement);
    bool failed() const { return m_failed; }

private:
    Always m_always;
    bool m_failed = false;
};

} // namespace ErrorHandling
