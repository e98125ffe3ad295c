// A click the user makes while a command runs waits until that command has
// ended, whether the command is showing a box or working with its progress
// window up: then it runs (or asks its usual question). One case per window;
// the trainer's is with its sequence tests.
#include "MainWindowFixture.h"

#include "platform/MSFlexGrid.h"
#include "selection/Form2.h"
#include "selection/Liste.h"
#include "support/QueuedInput.h"
#include "trainer/frmOptions.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>

namespace {

class QueuedInputTest : public MainWindowTest {
protected:
    Form1& openDatabase(int entries)
    {
        makeLanguageDb(QStringLiteral("Englisch.lxt"), QStringLiteral("Englisch"), entries);
        Form1& f = Forms::form1();
        f.show();
        f.Open_DB(QStringLiteral("Englisch.lxt"));
        EXPECT_FALSE(f.DBName.isEmpty()) << msgs->lastPrompt().toStdString();
        Forms::form2().show();
        return f;
    }
    // Queues the click as soon as the list build writes its first row.
    void clickDuringBuild(QWidget& target)
    {
        auto* model = Forms::liste().MSFlexGrid1->view()->model();
        auto once = std::make_shared<QMetaObject::Connection>();
        *once = QObject::connect(model, &QAbstractItemModel::rowsInserted, [&target, once] {
            QObject::disconnect(*once);
            QueuedInput::click(target);
        });
    }
};

TEST_F(QueuedInputTest, MainWindowQuitClickedDuringTheQuitQuestionAsksAgainAfterIt)
{
    Form1& f = openDatabase(3);
    Forms::liste().lfd = 1; // an unsaved change: quitting asks first
    auto* quit = child<QPushButton>(f, "Command4");
    msgs->onMessage = [&](const FakeMessageService::Shown&) {
        msgs->onMessage = nullptr;
        QueuedInput::click(*quit);
    };
    msgs->queueAnswer(MsgResult::No);
    msgs->queueAnswer(MsgResult::No);
    quit->click();
    EXPECT_EQ(msgs->shown.size(), 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(msgs->shown.size(), 2);
    EXPECT_EQ(endCalls, 0);
    EXPECT_FALSE(f.DBName.isEmpty());
}

TEST_F(QueuedInputTest, SelectionWindowStartClickedDuringTheNoMatchNoticeBuildsAfterIt)
{
    openDatabase(3);
    Form2& sel = Forms::form2();
    sel.MinScore->setText(QStringLiteral("6")); // every entry has score 3
    msgs->onMessage = [&](const FakeMessageService::Shown&) {
        msgs->onMessage = nullptr;
        QueuedInput::click(*sel.Command4);
    };
    const QString none = QStringLiteral("Es wurden keine Einträge gefunden.");
    sel.Command4->click();
    EXPECT_EQ(prompts(), QStringList({none}));
    QCoreApplication::processEvents();
    EXPECT_EQ(prompts(), QStringList({none, none}));
}

TEST_F(QueuedInputTest, ListWindowClickDuringTheListBuildRunsAfterIt)
{
    openDatabase(50);
    Liste& liste = Forms::liste();
    liste.show();
    clickDuringBuild(*liste.Command1); // Schließen
    Forms::form2().Command4->click();
    EXPECT_EQ(liste.MSFlexGrid1->Rows() - 1, 50);
    EXPECT_TRUE(liste.isVisible());
    QCoreApplication::processEvents();
    EXPECT_FALSE(liste.isVisible());
}

TEST_F(QueuedInputTest, OptionsWindowClickDuringItsNoticeRunsAfterIt)
{
    openDatabase(3);
    frmOptions w;
    w.show();
    w.Selbsttest->setChecked(true);
    w.Schleife->setChecked(true);
    msgs->onMessage = [&](const FakeMessageService::Shown&) { QueuedInput::click(*w.Reihenfolge_sequentiell); };
    w.Reihenfolge_random->click(); // takes Loop away, with a notice
    EXPECT_TRUE(w.Reihenfolge_random->isChecked());
    EXPECT_FALSE(w.Schleife->isEnabled());
    msgs->onMessage = nullptr;
    QCoreApplication::processEvents();
    EXPECT_TRUE(w.Reihenfolge_sequentiell->isChecked());
    EXPECT_TRUE(w.Schleife->isEnabled());
}

} // namespace
