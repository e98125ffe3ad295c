#pragma once
// What every harness needs: a QApplication on the offscreen platform (some
// procedures measure texts in a window's font), the program's globals and
// scripted message boxes, so that an error box never waits for a click.
#include "common/Global.h"
#include "platform/SettingsStore.h"
#include "support/FakeMessageService.h"

#include <QApplication>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

inline FakeMessageService& setUp()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static FakeMessageService* msgs = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        new QApplication(argc, argv);
        static QTemporaryDir settings;
        SettingsStore::setRoot(settings.path());
        InitGlobals();
        auto fake = std::make_shared<FakeMessageService>();
        MessageService::install(fake);
        return fake.get();
    }();
    msgs->clear();
    return *msgs;
}

// The input as text (invalid UTF-8 becomes replacement characters, as with a file).
inline QString text(const uint8_t* data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
}

// A broken promise of the code under test: report and stop, so libFuzzer keeps the input.
[[noreturn]] inline void fail(const char* what, const QString& detail = QString())
{
    std::fprintf(stderr, "FAULT: %s: %s\n", what, qPrintable(detail));
    std::abort();
}

} // namespace fuzz
