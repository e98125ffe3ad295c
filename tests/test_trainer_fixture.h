#pragma once
// Shared set-up of the trainer tests: a language database in a temporary
// program folder, opened through the main window and listed whole through
// the selection window, scripted message boxes, dialogs and random numbers.
#include "common/Global.h"
#include "mainwindow/Form1.h"
#include "mainwindow/Forms.h"
#include "platform/AppPaths.h"
#include "platform/MSFlexGrid.h"
#include "platform/SystemServices.h"
#include "selection/Form2.h"
#include "selection/Liste.h"
#include "support/FakeMessageService.h"
#include "support/TestDatabase.h"
#include "trainer/ConfirmDlg.h"
#include "trainer/Trainer.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTemporaryDir>
#include <deque>
#include <gtest/gtest.h>

struct TrainerEntry {
    QString lang1, lang2;
    QVariant score = 3;
};

class TrainerTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScopedFakeMessages msgs;
    QString dbPath;
    QList<qint64> ids;
    std::deque<float> randoms;
    int reseeds = 0;
    int draws = 0;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        AppPaths::setAppPath(dir.path());
        gErrText.clear();
    }

    void TearDown() override
    {
        Forms::unloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SystemServices::setRandomSource(nullptr);
        gSprache = QStringLiteral("De");
        AppPaths::setAppPath(QString());
    }

    static QList<TrainerEntry> words(int n, int score = 3)
    {
        QList<TrainerEntry> list;
        for (int i = 1; i <= n; ++i)
            list << TrainerEntry{QStringLiteral("Wort%1").arg(i), QStringLiteral("mot%1").arg(i), score};
        return list;
    }

    // Opens a database with these entries; lists them all unless list is false.
    void openList(const QList<TrainerEntry>& entries, bool list = true)
    {
        dbPath = dir.filePath(QStringLiteral("Testsprache.lxt"));
        {
            TestDatabase db(dbPath);
            db.setLanguages(QStringLiteral("Sprache1=Deutsch@Sprache2=Französisch@")).setDBVersion(2);
            for (const TrainerEntry& e : entries)
                ids << db.addEntry({{}, e.lang1}, {{}, e.lang2}, e.score);
        }
        Forms::form1().Open_DB(QFileInfo(dbPath).fileName());
        ASSERT_FALSE(Forms::form1().DBName.isEmpty()) << msgs->lastPrompt().toStdString();
        if (list && !entries.isEmpty()) {
            Forms::form2().Command4_Click();
            ASSERT_EQ(grid().Rows() - 1, entries.size()) << msgs->lastPrompt().toStdString();
        }
        msgs->clear();
    }

    Trainer& t() { return Forms::trainer(); }
    MSFlexGrid& grid() { return *Forms::liste().MSFlexGrid1; }
    QString question() { return t().VokabelnGrid->TextMatrix(1, 0); }
    QString answer() { return t().VokabelnGrid->TextMatrix(3, 0); }
    QString lang1At(int row) { return grid().TextMatrix(row, Liste::txtSpanisch); }
    QString lang2At(int row) { return grid().TextMatrix(row, Liste::txtDeutsch); }

    QStringList prompts() const
    {
        QStringList list;
        for (const auto& s : msgs->shown)
            list << s.prompt;
        return list;
    }

    // Random numbers from the queue (0 when it runs dry); counts reseeds and draws.
    void scriptRandom(std::initializer_list<float> values)
    {
        randoms.assign(values.begin(), values.end());
        SystemServices::setRandomSource(
            [this] {
                ++draws;
                if (randoms.empty())
                    return 0.0f;
                const float r = randoms.front();
                randoms.pop_front();
                return r;
            },
            [this] { ++reseeds; });
    }

    // The answer to the next self-test question.
    void answerNext(bool yes)
    {
        msgs->queueDialog([yes](QDialog* d) {
            auto* dlg = qobject_cast<ConfirmDlg*>(d);
            if (!dlg)
                return int(QDialog::Rejected);
            (yes ? dlg->JaButton : dlg->NeinButton)->click();
            return dlg->result();
        });
    }

    // The window manager closes the next question without an answer.
    void closeNextQuestion()
    {
        msgs->queueDialog([](QDialog* d) {
            d->reject();
            return int(QDialog::Rejected);
        });
    }

    QString dbScore(qint64 id)
    {
        TestDatabase check(dbPath, TestDatabase::OpenExisting);
        return check.scalar(QStringLiteral("SELECT Score FROM Vokabular WHERE ID = ?1"), {id}).toString();
    }
    QStringList dbScores()
    {
        TestDatabase check(dbPath, TestDatabase::OpenExisting);
        return check.texts(QStringLiteral("SELECT Score FROM Vokabular ORDER BY ID"));
    }
    int rowOfId(qint64 id)
    {
        for (int r = 1; r < grid().Rows(); ++r)
            if (grid().TextMatrix(r, 1) == QString::number(id))
                return r;
        return -1;
    }
};
