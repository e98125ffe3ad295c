#pragma once
// Shared set-up of the main-window tests: a temporary program folder with
// language databases built for the test, settings cleared, message boxes
// scripted, and ending the process recorded instead of done.
#include "common/Global.h"
#include "mainwindow/Form1.h"
#include "mainwindow/Forms.h"
#include "mainwindow/frmSplash.h"
#include "platform/AppPaths.h"
#include "platform/SettingsStore.h"
#include "platform/SystemServices.h"
#include "support/FakeMessageService.h"
#include "support/TestDatabase.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Thrown by the recorded end of the process, so the test itself goes on.
struct ProcessEnded {
    int code;
};

class MainWindowTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScopedFakeMessages msgs;
    int endCalls = 0;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        AppPaths::setAppPath(dir.path());
        SettingsStore::DeleteSetting(QStringLiteral("lexuvan"), QStringLiteral("Parameters"));
        SystemServices::setEndProcess([this](int code) {
            ++endCalls;
            throw ProcessEnded{code};
        });
        gErrText.clear();
    }

    void TearDown() override
    {
        Forms::unloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SystemServices::setEndProcess(nullptr);
        AppPaths::setAppPath(QString());
    }

    QString inApp(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }

    // A language database in the program folder: language 1 Deutsch,
    // language 2 the given name, with the given number of entries.
    QString makeLanguageDb(const QString& file, const QString& language, int entries = 3)
    {
        TestDatabase db(inApp(file));
        db.setLanguages(QStringLiteral("Sprache1=Deutsch@Sprache2=%1@").arg(language)).setDBVersion(2);
        for (int i = 0; i < entries; ++i)
            db.addEntry({{}, QStringLiteral("Wort%1").arg(i)}, {{}, QStringLiteral("word%1").arg(i)}, 3);
        return db.path();
    }

    void setRecentDB(const QString& value)
    {
        SettingsStore::SaveSetting(QStringLiteral("lexuvan"), QStringLiteral("Parameters"), QStringLiteral("RecentDB"),
                                   value);
    }
    QString recentDB() const
    {
        return SettingsStore::GetSetting(QStringLiteral("lexuvan"), QStringLiteral("Parameters"),
                                         QStringLiteral("RecentDB"));
    }

    // The whole start-up: the splash loads, its timer tick shows the main window.
    Form1& startUp()
    {
        auto* splash = new frmSplash;
        splash->Timer1_Timer();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return Forms::form1();
    }

    QStringList prompts() const
    {
        QStringList list;
        for (const auto& shown : msgs->shown)
            list << shown.prompt;
        return list;
    }

    template <class T>
    static T* child(QObject& window, const char* name)
    {
        return window.findChild<T*>(QString::fromLatin1(name));
    }
    static QString labelText(Form1& f, const char* name) { return child<QLabel>(f, name)->text(); }
};
