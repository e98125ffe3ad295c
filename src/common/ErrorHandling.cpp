#include "common/ErrorHandling.h"

#include "common/ErrorBox.h"
#include "common/Global.h"

#include <QCoreApplication>

namespace ErrorHandling {

AppError currentError()
{
    try {
        throw;
    } catch (const AppError& e) {
        return e;
    } catch (const std::exception& e) {
        return AppError(ErrNo::Internal, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        return AppError(ErrNo::Internal, QString());
    }
}

void report(const AppError& e, Always always)
{
    gErrText = e.description();
    if (always == Always::Yes || e.number() != kErrAlreadyReported)
        FehlerAusgabe(gErrText);
}

void raiseReported()
{
    throw AppError(kErrAlreadyReported, QStringLiteral("Anwendungs- oder objektdefinierter Fehler"));
}

void raiseTypeMismatch()
{
    throw AppError(13, tr2(QStringLiteral("Type mismatch"), QStringLiteral("Typen unverträglich")));
}

void raiseInvalidNull()
{
    throw AppError(94, tr2(QStringLiteral("Invalid use of Null"), QStringLiteral("Unzulässige Verwendung von Null")));
}

bool reportAndLeave(const std::function<void()>& f, Always always)
{
    try {
        f();
        return true;
    } catch (...) {
        report(currentError(), always);
        return false;
    }
}

void reportAndPassOn(const std::function<void()>& f, Always always)
{
    try {
        f();
    } catch (...) {
        report(currentError(), always);
        raiseReported();
    }
}

bool Steps::operator()(const std::function<void()>& statement)
{
    try {
        statement();
        return true;
    } catch (...) {
        m_failed = true;
        report(currentError(), m_always);
        return false;
    }
}

} // namespace ErrorHandling
