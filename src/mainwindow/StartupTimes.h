#pragma once
// LEXUVANT_STARTUP_TIMES=1: the splash's fixed wait is skipped; once the main
// window has painted, the times are printed and the program leaves. This is
// what bench_startup reads.
#include <QElapsedTimer>
#include <QObject>

class frmSplash;

class StartupTimes : public QObject {
public:
    // sinceMain was started at the top of main(); the object belongs to the application.
    StartupTimes(frmSplash* splash, const QElapsedTimer& sinceMain);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QElapsedTimer m_sinceMain;
    int m_wait;
    bool m_done = false;
};
