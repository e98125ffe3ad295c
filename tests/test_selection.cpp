// The selection window: the score boxes and sliders kept in step, moving
// areas between the two lists, defaults, English texts, and a look at it.
#include "common/Global.h"
#include "mainwindow/Form1.h"
#include "mainwindow/Forms.h"
#include "selection/Form2.h"
#include "selection/LstFkt.h"
#include "support/FakeMessageService.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class Selection : public ::testing::Test {
protected:
    ScopedFakeMessages msgs;
    void TearDown() override
    {
        Forms::unloadAll();
        gSprache = QStringLiteral("De");
    }
    Form2& f2() { return Forms::form2(); }
    QStringList items(QListWidget* l)
    {
        QStringList out;
        for (int i = 0; i < l->count(); ++i)
            out << l->item(i)->text();
        return out;
    }
    void select(QListWidget* l, const QString& text)
    {
        l->setCurrentItem(l->findItems(text, Qt::MatchExactly).value(0));
    }
};

const QString kRange = QStringLiteral("Der Wert muß zwischen 1 und 6 liegen!");

TEST_F(Selection, TypedScoreOutsideOneToSixIsRefused)
{
    struct Case {
        const char* typed;
        bool minimum;
    };
    const Case cases[] = {{"7", true},  {"0", true},  {"07", true},  {"", true}, {"x", true},
                          {"7", false}, {"0", false}, {"07", false}, {"", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.typed) + (c.minimum ? " min" : " max"));
        f2().initialisiere();
        f2().MinScore->setText(QStringLiteral("2"));
        f2().MaxScore->setText(QStringLiteral("5"));
        msgs->clear();
        QLineEdit* box = c.minimum ? f2().MinScore : f2().MaxScore;
        QSlider* slider = c.minimum ? f2().MinScoreSlider : f2().MaxScoreSlider;
        f2().Changes = false;
        box->setText(QString::fromLatin1(c.typed));
        ASSERT_EQ(msgs->shown.size(), 1);
        EXPECT_EQ(msgs->shown[0].prompt, kRange);
        EXPECT_EQ(msgs->shown[0].style, 48);
        EXPECT_EQ(box->text(), QString::number(slider->value()));
        EXPECT_EQ(slider->value(), c.minimum ? 2 : 5);
        EXPECT_TRUE(f2().Changes);
        EXPECT_EQ(msgs->beeps, 0);
    }
}

TEST_F(Selection, ValidTypedScoreMovesItsSlider)
{
    f2().MinScore->setText(QStringLiteral("3"));
    EXPECT_EQ(f2().MinScoreSlider->value(), 3);
    f2().MaxScore->setText(QStringLiteral("4"));
    EXPECT_EQ(f2().MaxScoreSlider->value(), 4);
    EXPECT_TRUE(msgs->shown.isEmpty());
    EXPECT_EQ(msgs->beeps, 0);
}

TEST_F(Selection, CrossingValuesArePulledBackWithABeep)
{
    // Typing a minimum above the maximum: the box shows its slider again.
    f2().MaxScore->setText(QStringLiteral("3"));
    f2().MinScore->setText(QStringLiteral("5"));
    EXPECT_EQ(msgs->beeps, 1);
    EXPECT_EQ(f2().MinScore->text(), QStringLiteral("1"));
    EXPECT_EQ(f2().MinScoreSlider->value(), 1);

    // Typing a maximum below the minimum.
    f2().initialisiere();
    msgs->clear();
    f2().MinScore->setText(QStringLiteral("4"));
    f2().MaxScore->setText(QStringLiteral("2"));
    EXPECT_EQ(msgs->beeps, 1);
    EXPECT_EQ(f2().MaxScore->text(), QStringLiteral("6"));
    EXPECT_EQ(f2().MaxScoreSlider->value(), 6);

    // Dragging the maximum slider below the minimum.
    msgs->clear();
    f2().MaxScoreSlider->setValue(2);
    EXPECT_EQ(msgs->beeps, 1);
    EXPECT_EQ(f2().MaxScore->text(), QStringLiteral("4"));
    EXPECT_EQ(f2().MaxScoreSlider->value(), 4);

    // Dragging the minimum slider above the maximum.
    msgs->clear();
    f2().MaxScore->setText(QStringLiteral("5"));
    f2().MinScoreSlider->setValue(6);
    EXPECT_EQ(msgs->beeps, 1);
    EXPECT_EQ(f2().MinScore->text(), QStringLiteral("5"));
    EXPECT_EQ(f2().MinScoreSlider->value(), 5);
    EXPECT_TRUE(msgs->shown.isEmpty());

    // A slider within range writes its box.
    f2().MinScoreSlider->setValue(2);
    EXPECT_EQ(f2().MinScore->text(), QStringLiteral("2"));
    f2().MaxScoreSlider->setValue(3);
    EXPECT_EQ(f2().MaxScore->text(), QStringLiteral("3"));
}

TEST_F(Selection, MoveListItemInsertsSortedAndSelects)
{
    QListWidget src, dst;
    src.setSortingEnabled(true);
    dst.setSortingEnabled(true);
    for (const char* t : {"Essen", "Orte"})
        AddSortedItem(&src, QLatin1String(t));
    for (const char* t : {"Zahlen", "Einkaufen"})
        AddSortedItem(&dst, QLatin1String(t));

    MoveListItem(&src, &dst); // nothing selected: nothing moves
    EXPECT_EQ(items(&src), QStringList({QStringLiteral("Essen"), QStringLiteral("Orte")}));
    EXPECT_EQ(dst.count(), 2);

    select(&src, QStringLiteral("Essen"));
    MoveListItem(&src, &dst);
    EXPECT_EQ(items(&dst), QStringList({QStringLiteral("Einkaufen"), QStringLiteral("Essen"), QStringLiteral("Zahlen")}));
    EXPECT_EQ(ListIndex(&dst), 1);
    EXPECT_EQ(items(&src), QStringList({QStringLiteral("Orte")}));
    EXPECT_EQ(ListIndex(&src), -1);
    EXPECT_TRUE(src.selectedItems().isEmpty());
}

TEST_F(Selection, AreaCommandsAndAllSelected)
{
    Form2& f = f2();
    EXPECT_EQ(f.lstBereichLinks->count(), 8);
    EXPECT_TRUE(f.AllSelected(f.lstBereichLinks, f.lstBereichRechts));

    f.Changes = false;
    select(f.lstBereichLinks, QStringLiteral("Reisen"));
    f.cmdAdd_Click();
    EXPECT_TRUE(f.Changes) << "moving areas is a change";
    EXPECT_FALSE(f.AllSelected(f.lstBereichLinks, f.lstBereichRechts));

    f.cmdAddAll_Click();
    EXPECT_EQ(f.lstBereichLinks->count(), 0);
    EXPECT_EQ(f.lstBereichRechts->count(), 8);
    EXPECT_EQ(items(f.lstBereichRechts).first(), QStringLiteral("Basiskommunikation"));
    EXPECT_TRUE(f.AllSelected(f.lstBereichLinks, f.lstBereichRechts));

    select(f.lstBereichRechts, QStringLiteral("Zeiten"));
    f.cmdRemove_Click();
    EXPECT_EQ(items(f.lstBereichLinks), QStringList({QStringLiteral("Zeiten")}));

    // One item on each side still restricts; nothing on one side does not.
    QListWidget one, other;
    one.addItem(QStringLiteral("a"));
    other.addItem(QStringLiteral("b"));
    EXPECT_FALSE(f.AllSelected(&one, &other));
    other.clear();
    EXPECT_TRUE(f.AllSelected(&one, &other));

    f.cmdRemoveAll_Click();
    EXPECT_EQ(f.lstBereichLinks->count(), 8);
    EXPECT_EQ(f.lstBereichRechts->count(), 0);
}

TEST_F(Selection, HorizontalExtentOnlyForWideItems)
{
    QListWidget lst;
    lst.resize(120, 100);
    AddSortedItem(&lst, QStringLiteral("Orte"));
    SetHorizontalExtent(&lst);
    EXPECT_EQ(HorizontalExtent(&lst), 0) << "everything fits: nothing applied";

    AddSortedItem(&lst, QString(80, QLatin1Char('W')));
    SetHorizontalExtent(&lst);
    EXPECT_GT(HorizontalExtent(&lst), lst.width());
    lst.show();
    QCoreApplication::processEvents();
    EXPECT_GT(lst.horizontalScrollBar()->maximum(), 0) << "the wide item can be scrolled into view";

    // Once everything fits again nothing is applied, so the earlier range stays.
    const int applied = HorizontalExtent(&lst);
    delete lst.takeItem(lst.row(lst.findItems(QString(80, QLatin1Char('W')), Qt::MatchExactly).value(0)));
    ASSERT_EQ(lst.count(), 1);
    SetHorizontalExtent(&lst);
    EXPECT_EQ(HorizontalExtent(&lst), applied);
}

TEST_F(Selection, DefaultsAndClose)
{
    Form2& f = f2();
    select(f.lstBereichLinks, QStringLiteral("Orte"));
    f.cmdAdd_Click();
    f.MaxScore->setText(QStringLiteral("4"));
    f.Changes = false;
    f.initialisiere();
    EXPECT_EQ(f.lstBereichRechts->count(), 0);
    EXPECT_EQ(f.MinScore->text(), QStringLiteral("1"));
    EXPECT_EQ(f.MaxScore->text(), QStringLiteral("6"));
    EXPECT_EQ(f.MaxScoreSlider->value(), 6);
    EXPECT_TRUE(f.Changes);
    EXPECT_EQ(f.statusText(), QStringLiteral("0 Vokabeln ausgewählt"));
    EXPECT_EQ(f.lblLanguage->text(), Forms::form1().lang2LabelCaption());
    EXPECT_TRUE(f.isHidden() || !f.isVisible());

    f.show();
    QTest::keyClick(&f, Qt::Key_Escape);
    EXPECT_FALSE(f.isVisible());
    f.show();
    f.Command3_Click();
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.lstBereichLinks->count(), 8) << "closing keeps the parameters";
}

TEST_F(Selection, GermanAndEnglishTexts)
{
    EXPECT_EQ(f2().windowTitle(), QStringLiteral("Auswahl"));
    EXPECT_EQ(f2().Command4->text(), QStringLiteral("Start"));
    EXPECT_EQ(f2().Command3->text(), QStringLiteral("&Schließen"));
    Forms::unloadAll();
    gSprache = QStringLiteral("En");
    Form2& f = f2();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Selection"));
    EXPECT_EQ(f.Command4->text(), QStringLiteral("S&earch"));
    EXPECT_EQ(f.Command3->text(), QStringLiteral("&Close"));
    EXPECT_EQ(f.findChild<QGroupBox*>(QStringLiteral("fraSample3"))->title(), QStringLiteral("Error Score"));
    EXPECT_EQ(f.findChild<QLabel*>(QStringLiteral("Label8"))->text(), QStringLiteral("Minimum Score"));
    EXPECT_EQ(f.statusText(), QStringLiteral("0 entries selected"));
    f.MinScore->setText(QStringLiteral("9"));
    EXPECT_EQ(msgs->lastPrompt(), QStringLiteral("The value must lie between 1 and 6!"));
}

TEST_F(Selection, ParkedPanelStaysOutOfSight)
{
    Form2& f = f2();
    f.show();
    ASSERT_TRUE(f.picOptions);
    EXPECT_FALSE(f.picOptions->isVisible());
    EXPECT_LT(f.picOptions->x(), 0);
    f.Changes = false;
    f.Beispielsatz->setText(QStringLiteral("x"));
    EXPECT_TRUE(f.Changes);
}

// Tab from the left list goes round every control of the window, and each
// looks different while it has the focus: the learner sees where it is.
TEST_F(Selection, EveryTabStopShowsTheFocus)
{
    Form2& f = f2();
    f.show();
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    f.lstBereichLinks->setFocus(Qt::TabFocusReason);
    QList<QWidget*> stops;
    for (QWidget* w = f.lstBereichLinks; !stops.contains(w) && stops.size() < 30; w = QApplication::focusWidget()) {
        ASSERT_TRUE(w);
        stops << w;
        const QImage focused = w->grab().toImage();
        QTest::keyClick(w, Qt::Key_Tab);
        EXPECT_TRUE(w->grab().toImage() != focused) << w->objectName().toStdString() << " shows no focus";
    }
    EXPECT_EQ(stops.first(), QApplication::focusWidget()) << "Tab does not come back to the left list";
}

TEST_F(Selection, Screenshot)
{
    Form2& f = f2();
    select(f.lstBereichLinks, QStringLiteral("Essen"));
    f.cmdAdd_Click();
    f.show();
    QCoreApplication::processEvents();
    ASSERT_TRUE(TestFiles::saveScreenshot(f.grab().toImage(), QStringLiteral("selection.png")));
    // Every control lies inside the window.
    for (QWidget* w : f.findChildren<QWidget*>()) {
        if (!w->isVisible() || w->parentWidget() != &f)
            continue;
        EXPECT_TRUE(f.rect().contains(w->geometry())) << w->objectName().toStdString();
    }
}

} // namespace
