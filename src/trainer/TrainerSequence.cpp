// The trainer's sequence: restart, shuffle, the two-phase step, navigation,
// loop mode and the self-test with its error score.
#include "trainer/Trainer.h"

#include "common/ErrorHandling.h"
#include "common/ErrorScore.h"
#include "common/Global.h"
#include "common/IdLookup.h"
#include "common/ShowMsgBox.h"
#include "common/clsCursor.h"
#include "database/CDBHandler.h"
#include "mainwindow/Form1.h"
#include "mainwindow/Forms.h"
#include "mainwindow/Progress.h"
#include "engine/AppError.h"
#include "platform/MSFlexGrid.h"
#include "platform/MessageService.h"
#include "platform/SystemServices.h"
#include "selection/Liste.h"
#include "trainer/ConfirmDlg.h"

#include <QAction>
#include <QScopeGuard>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <cmath>

using ErrorHandling::Steps;

namespace {

constexpr int kTrue = -1; // a loop position answered right

MSFlexGrid& listGrid() { return *Forms::liste().MSFlexGrid1; }

AppError subscriptError()
{
    return AppError(9, tr2(QStringLiteral("Subscript out of range"),
                           QStringLiteral("Index außerhalb des gültigen Bereichs")));
}

// Int(n * r + 1) for r in [0, 1): a row 1..n. Worked out in double, so a
// value of r just below 1 never rounds up to n + 1 on long lists.
int drawRow(int n, float r) { return int(std::floor(double(n) * double(r) + 1.0)); }

} // namespace

int Trainer::sequenz(int position) const
{
    if (position < 1 || position >= int(Sequenz.size()))
        throw subscriptError();
    return Sequenz[size_t(position)];
}

int Trainer::rowAt(int position) const { return OptShuffle ? sequenz(position) : position; }

// The entries of the list as it is now: the empty list's invisible
// placeholder row is not one.
int Trainer::entryCount() const { return Forms::liste().entryCount(); }

bool Trainer::isEntryPosition(int position) const { return position >= 1 && position <= SeqCount; }

// The list row of the entry on display, found again by its ID when the list
// was sorted meanwhile; 0 when nothing is shown or the entry is gone.
int Trainer::shownRow()
{
    if (ShownRow < 1)
        return 0;
    const MSFlexGrid& g = listGrid();
    const int entries = entryCount();
    if (ShownRow <= entries && g.TextMatrix(ShownRow, 1) == ShownId)
        return ShownRow;
    ShownRow = 0;
    for (int r = 1; r <= entries; ++r) {
        if (g.TextMatrix(r, 1) == ShownId) {
            ShownRow = r;
            break;
        }
    }
    return ShownRow;
}

// The entry that a step after a question or a navigation reveals and tests:
// the one on display, else (nothing shown yet) the one at the position.
int Trainer::revealRow()
{
    if (const int row = shownRow())
        return row;
    return isEntryPosition(SeqIndex) ? rowAt(SeqIndex) : 0;
}

int Trainer::randomRow() const
{
    SystemServices::randomize();
    return drawRow(SeqCount, SystemServices::rnd());
}

bool Trainer::schleifenStatusRight(int position) const
{
    return position >= 1 && position < int(SchleifenStatus.size()) && SchleifenStatus[size_t(position)] == kTrue;
}

// The trainer's notices, like its self-test question, leave the question
// and the answer in sight.
QRect Trainer::questionAndAnswer() const
{
    return QRect(VokabelnGrid->mapToGlobal(QPoint(0, 0)), VokabelnGrid->size());
}

void Trainer::endOfSequenceNotice()
{
    ShowMsgBox(tr2(QStringLiteral("End of sequence."), QStringLiteral("Die Sequenz ist beendet.")), MsgStyle::OKOnly,
               questionAndAnswer());
}

void Trainer::missingEntryNotice(const QString& id, const QString& file)
{
    const int questionCol = OptSpanisch1st ? Liste::txtSpanisch : Liste::txtDeutsch;
    const int row = shownRow();
    const QString question = row > 0 ? listGrid().TextMatrix(row, questionCol) : QString();
    MsgBox(tr2(QStringLiteral("The entry %1 (\"%2\") is no longer in the file \"%3\": another program deleted it or "
                              "changed its ID. The answer was not saved."),
               QStringLiteral("Der Eintrag %1 (\"%2\") steht nicht mehr in der Datei \"%3\": Ein anderes Programm hat "
                              "ihn gelöscht oder seine ID geändert. Die Antwort wurde nicht gespeichert."))
               .arg(id, question, file),
           MsgStyle::OKOnly + MsgStyle::Exclamation, QString(), questionAndAnswer());
}

int Trainer::returnSequenz(int i)
{
    int row = 0;
    ErrorHandling::reportAndLeave([&] { row = sequenz(i); });
    return row;
}

// ---------------------------------------------------------------------------
// Restart and shuffle

void Trainer::Command6_Click()
{
    Steps s;
    s([&] { SeqCount = entryCount(); });
    if (OptShuffle)
        s([&] { MischeVokabeln(); });
    // The bar tells the position, which the random order does not have.
    s([&] { ProgressBar1->setVisible(!OptRandom); });
    if (OptTest && OptSchleife)
        s([&] { initialisiereSchleife(); });
    FrageAngezeigt = 0;
    SeqIndex = 0;
    DurchlaufIndex = 0;
    AnzahlRichtig = 0;
    s([&] { RowPositionToUI(); });
    s([&] { ZeigeVokabel(0); });
    s([&] { InitStatusBar(); });
}

void Trainer::MischeVokabeln()
{
    Steps s;
    s([&] { SeqCount = entryCount(); });
    if (SeqCount < 1) {
        Sequenz.clear(); // no order of an earlier list survives
        return;
    }
    const int n = SeqCount;
    s([&] { Sequenz.assign(size_t(n) + 1, 0); });
    s([&] { SystemServices::randomize(); });

    Progress* progress = nullptr;
    try {
        progress = &Forms::progress();
        progress->setWindowTitle(tr2(QStringLiteral("Shuffeling vocabulary ..."),
                                     QStringLiteral("Vokabeln werden gemischt")));
        progress->setMin(0);
        progress->setMax(n);
        progress->setValue(0);
        progress->show();
        progress->Refresh(true);
    } catch (...) {
        // The progress window is a courtesy; the shuffle goes on without it.
    }

    s([&] {
        // Draw Int(n * Rnd + 1) again until the row is unused; the taken rows
        // are kept in a bit vector, so each test is one look-up.
        std::vector<bool> taken(size_t(n) + 1, false);
        for (int i = 1; i <= n; ++i) {
            if (progress) {
                try {
                    progress->setValue(i);
                    progress->Refresh();
                } catch (...) {
                }
            }
            int row;
            do {
                row = drawRow(n, SystemServices::rnd());
            } while (row < 1 || row > n || taken[size_t(row)]);
            taken[size_t(row)] = true;
            Sequenz[size_t(i)] = row;
        }
    });
    s([&] { OptionsToUI(); });
    s([&] { RowPositionToUI(); });
    if (progress)
        s([&] { progress->setVisible(false); });
}

void Trainer::initialisiereSchleife()
{
    ErrorHandling::reportAndPassOn([&] {
        SchleifenStatus.assign(size_t(SeqCount) + 1, 0);
        for (int i = 1; i <= SeqCount; ++i)
            SchleifenStatus[size_t(i)] = i;
    });
}

// A new pass of the loop: back to the first position, the bar and the count
// show the entries still open.
void Trainer::wrapLoop()
{
    SeqIndex = 1;
    if (SeqCount != AnzahlRichtig) {
        setBar(m_pbMin, SeqCount - AnzahlRichtig, m_pbValue);
        setPanelText(2, QString::number(SeqCount - AnzahlRichtig));
    }
    DurchlaufIndex = 0;
}

bool Trainer::SetIndexAccordingToSchleife()
{
    bool found = false;
    ErrorHandling::reportAndLeave([&] {
        auto status = [&](int p) -> int {
            if (p < 1 || p >= int(SchleifenStatus.size()))
                throw subscriptError();
            return SchleifenStatus[size_t(p)];
        };
        if (SeqCount < 1)
            return; // nothing to ask
        if (SeqIndex > SeqCount)
            wrapLoop();
        if (status(SeqIndex) != kTrue) {
            ++DurchlaufIndex;
            found = true;
            return;
        }
        const int start = SeqIndex;
        bool first = true;
        while (status(SeqIndex) == kTrue) {
            if (!first && SeqIndex == start)
                return; // every position answered right
            first = false;
            ++SeqIndex;
            if (SeqIndex > SeqCount)
                wrapLoop();
        }
        ++DurchlaufIndex;
        found = true;
    });
    return found;
}

// ---------------------------------------------------------------------------
// Step and navigation

void Trainer::Command3_Click()
{
    Steps s;
    if (FrageAngezeigt == 1) {
        int row = 0;
        s([&] { row = revealRow(); });
        if (row > 0) {
            s([&] { ZeigeVokabel(row); });
            FrageAngezeigt = 0;
            s([&] { DoFehlerhandlingOhneSchreiben(); });
            return;
        }
    }
    FrageAngezeigt = 0;
    if (OptRandom) {
        if (SeqCount < 1) {
            s([&] { endOfSequenceNotice(); });
            return;
        }
        s([&] { SeqIndex = randomRow(); });
    } else {
        ++SeqIndex;
        if (OptTest && OptSchleife) {
            bool found = false;
            s([&] { found = SetIndexAccordingToSchleife(); });
            if (!found) {
                s([&] { endOfSequenceNotice(); });
                return;
            }
        }
        s([&] { RowPositionToUI(); });
    }
    if (isEntryPosition(SeqIndex)) {
        s([&] { ZeigeVokabel(rowAt(SeqIndex)); });
        FrageAngezeigt = 1;
        s([&] { DoFehlerhandlingMitSchreiben(); });
    } else {
        // Past the last entry: the position stays on it (none without entries).
        SeqIndex = SeqCount;
        s([&] { endOfSequenceNotice(); });
    }
}

// In random order a navigation command draws a row and keeps it, so that the
// next step reveals and tests the entry that is shown.
void Trainer::showNavigated()
{
    if (!isEntryPosition(SeqIndex))
        return;
    if (OptRandom)
        SeqIndex = randomRow();
    ZeigeVokabel(rowAt(SeqIndex));
}

void Trainer::back_Click()
{
    Steps s;
    FrageAngezeigt = 1;
    if (!OptRandom) {
        SeqIndex = std::min(1, SeqCount);
        s([&] { RowPositionToUI(); });
    }
    s([&] { showNavigated(); });
}

void Trainer::Command1_Click()
{
    Steps s;
    FrageAngezeigt = 1;
    if (!OptRandom) {
        --SeqIndex;
        s([&] { RowPositionToUI(); });
    }
    s([&] {
        if (isEntryPosition(SeqIndex)) {
            showNavigated();
        } else {
            SeqIndex = std::min(1, SeqCount);
            MsgBox(QStringLiteral("Beginning"), MsgStyle::OKOnly, QString(), questionAndAnswer());
        }
    });
}

void Trainer::Command2_Click()
{
    Steps s;
    FrageAngezeigt = 1;
    if (!OptRandom) {
        ++SeqIndex;
        s([&] { RowPositionToUI(); });
    } else if (SeqIndex < 1) {
        SeqIndex = std::min(1, SeqCount); // a draw follows
    }
    s([&] {
        if (isEntryPosition(SeqIndex)) {
            showNavigated();
        } else {
            SeqIndex = SeqCount;
            endOfSequenceNotice();
        }
    });
}

void Trainer::ToEnd_Click()
{
    Steps s;
    FrageAngezeigt = 1;
    if (!OptRandom) {
        SeqIndex = SeqCount;
        s([&] { RowPositionToUI(); });
    }
    s([&] { showNavigated(); });
}

void Trainer::Command4_Click() { setVisible(false); }

// ---------------------------------------------------------------------------
// Display

void Trainer::hideWriteControls()
{
    NichtWort->clear();
    NichtWort->setVisible(false);
    Richtig->setVisible(false);
    Suche->setVisible(false);
}

void Trainer::ZeigeVokabel(int n)
{
    ErrorHandling::reportAndPassOn([&] {
        if (!OptSchreiben)
            hideWriteControls();
        MSFlexGrid& v = *VokabelnGrid;
        ShownRow = 0;
        ShownId.clear();
        if (n == 0) {
            v.setCol(0);
            v.setRow(1);
            v.setText(QString());
            v.setRow(3);
            v.setText(QString());
            setBar(0, SeqCount == 0 ? 1 : SeqCount, 0);
            v.setRow(1);
            return;
        }
        MSFlexGrid& g = listGrid();
        // Neither the header nor the empty list's placeholder is an entry.
        if (n < 1 || n > entryCount())
            throw AppError(30009, QStringLiteral("Ungültiger Row-Wert"));
        g.setRow(n);
        ShownRow = n;
        ShownId = g.TextMatrix(n, 1);
        const int questionCol = OptSpanisch1st ? Liste::txtSpanisch : Liste::txtDeutsch;
        const int answerCol = OptSpanisch1st ? Liste::txtDeutsch : Liste::txtSpanisch;
        g.setCol(questionCol);
        v.setCol(0);
        v.setRow(1);
        v.setText(g.Text());
        g.setCol(answerCol);
        v.setRow(3);
        if (FrageAngezeigt == 1) {
            v.setText(g.Text());
        } else {
            v.setText(QString());
            hideWriteControls();
        }
        if (!OptRandom) {
            const int position = OptTest && OptSchleife ? DurchlaufIndex : SeqIndex;
            setBar(m_pbMin, m_pbMax, position);
            setPanelText(4, QString::number(position));
        }
        v.setRow(1);
        v.setCol(0);
    });
}

void Trainer::RowPositionToUI()
{
    ErrorHandling::reportAndPassOn([&] {
        if (SeqIndex > 1) {
            if (OptTest)
                return;
            Command1->setEnabled(true);
            menEinsZurueck->setEnabled(true);
            back->setEnabled(true);
            menAnfangSequenz->setEnabled(true);
        } else {
            Command1->setEnabled(false);
            menEinsZurueck->setEnabled(false);
            back->setEnabled(false);
            menAnfangSequenz->setEnabled(false);
        }
    });
}

void Trainer::InvertVokabelnGrid()
{
    Steps s;
    s([&] {
        MSFlexGrid& v = *VokabelnGrid;
        const int col = v.Col();
        const QString question = v.TextMatrix(1, col);
        v.setTextMatrix(1, col, v.TextMatrix(3, col));
        v.setTextMatrix(3, col, question);
    });
    s([&] { hideWriteControls(); });
}

// ---------------------------------------------------------------------------
// Self-test and error score

ConfirmDlg& Trainer::confirmDlg()
{
    if (!m_confirm)
        m_confirm = new ConfirmDlg(this);
    return *m_confirm;
}

void Trainer::DoFehlerhandlingOhneSchreiben()
{
    ErrorHandling::reportAndPassOn([&] {
        if (!OptTest || OptSchreiben)
            return;
        ConfirmDlg& dlg = confirmDlg();
        // Closed by the window manager: no answer, so no score changes (the
        // answer of an earlier question must not be applied again).
        const QRect fields(VokabelnGrid->mapToGlobal(QPoint(0, 0)), VokabelnGrid->size());
        if (!dlg.ask(fields))
            return;
        if (dlg.Reply == QLatin1String("Yes")) {
            ChangeErrorCount(AntwortRichtig);
            ++AnzahlRichtig;
        } else {
            ChangeErrorCount(AntwortFalsch);
        }
    });
}

void Trainer::DoFehlerhandlingMitSchreiben()
{
    // The write mode has no evaluation.
}

void Trainer::ChangeErrorCount(int mode)
{
    ErrorHandling::reportAndPassOn([&] {
        int delta = 0;
        bool learned = false;
        if (mode == AntwortRichtig) {
            delta = -1;
            if (OptSchleife) {
                if (SeqIndex < 1 || SeqIndex >= int(SchleifenStatus.size()))
                    throw subscriptError();
                learned = true;
            }
        } else if (mode == AntwortFalsch) {
            delta = 1;
        }
        auto markLearned = [&] {
            if (learned)
                SchleifenStatus[size_t(SeqIndex)] = kTrue;
        };
        // The entry on display is the one answered, whatever the order did since.
        const int row = shownRow();
        if (row < 1) {
            markLearned();
            return;
        }

        MSFlexGrid& g = listGrid();
        g.setRow(row);
        g.setCol(1);
        const QString id = g.Text();
        g.setCol(Liste::txtScore);
        // A cell without a number holds no score to change: writing one would
        // overwrite the stored score with a value that never came from it.
        const QString text = g.Text();
        bool isNumber = false;
        text.toInt(&isNumber);
        if (!isNumber)
            ErrorHandling::raiseTypeMismatch();
        // Any number other than 1..6 in the cell gives 1 whatever the answer.
        const int score = writeScoreStep(id, IsScoreText(text) ? std::optional<int>(delta) : std::nullopt);
        // Only a score that reached the file is shown (a failed write raises),
        // so that the next answer builds on what is stored.
        g.setText(QString::number(score));
        // An answer that did not reach the file (given up, or its entry gone)
        // leaves the entry to be asked again in this pass.
        markLearned();
    });
}

int Trainer::writeScoreStep(const QString& id, std::optional<int> delta)
{
    Form1& f1 = Forms::form1();
    Database& db = mustBeSet(f1.clsdb.dbKopieren);
    Recordset& rs = mustBeSet(f1.clsdb.rsVokabular);
    clsCursor cursor;
    cursor.SetCursorToBusy(this);
    const auto restore = qScopeGuard([&] { cursor.RestoreCursor(this); });
    for (;;) {
        try {
            // Another copy of the program may answer the same entry: the step
            // goes from the score committed just before this write, read
            // under the write lock.
            db.BeginWriteTrans();
            FindId(rs, QStringLiteral("ID"), id);
            // No record with this ID: another program deleted the entry or
            // changed its ID. Editing now would change whichever record
            // happens to be current; the learner is told, and the answer is
            // neither saved nor counted.
            if (rs.NoMatch()) {
                db.Rollback();
                cursor.RestoreCursor(this);
                missingEntryNotice(id, db.Name());
                ErrorHandling::raiseReported();
            }
            rs.Edit();
            const int score = delta ? SteppedScore(rs.Fields(QStringLiteral("Score")), *delta) : 1;
            rs.SetField(QStringLiteral("Score"), QVariant(qint16(score)));
            rs.Update();
            db.CommitTrans();
            return score;
        } catch (...) {
            db.Rollback();
            const AppError error = ErrorHandling::currentError();
            if (error.number() != DbErr::Locked)
                throw;
            cursor.RestoreCursor(this);
            const QString prompt =
                error.description() + QLatin1Char('\r')
                + tr2(QStringLiteral("Retry saves the answer once the other program has released the file."),
                      QStringLiteral("\"Wiederholen\" speichert die Antwort, sobald das andere Programm die Datei "
                                     "freigegeben hat."));
            if (MsgBox(prompt, MsgStyle::RetryCancel + MsgStyle::Exclamation, QString(), questionAndAnswer())
                != MsgResult::Retry)
                ErrorHandling::raiseReported(); // told already; the answer is not counted
            cursor.SetCursorToBusy(this);
        }
    }
}
