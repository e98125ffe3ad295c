#include "selection/ListBuilder.h"

#include "common/ErrorHandling.h"
#include "common/ErrorScore.h"
#include "common/Global.h"
#include "common/IdLookup.h"
#include "common/ShowMsgBox.h"
#include "common/TextProcs.h"
#include "database/CQuery.h"
#include "mainwindow/Form1.h"
#include "mainwindow/Forms.h"
#include "mainwindow/Progress.h"
#include "platform/MSFlexGrid.h"
#include "platform/MessageService.h"
#include "selection/ListRowFields.h"
#include "selection/Liste.h"
#include "trainer/Trainer.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QWindow>

#include <optional>

namespace {

QString textOf(const QVariant& v) { return v.isValid() && !v.isNull() ? v.toString() : QString(); }

// A score the list cannot show stops the build: the box names the file and
// the entry, so that the learner can find and mend it, and says that the list
// ends there.
[[noreturn]] void unreadableScore(const QVariant& score, const QString& id, const QString& file)
{
    const QString value = score.typeId() == QMetaType::QByteArray
                              ? tr2(QStringLiteral("binary data"), QStringLiteral("Binärdaten"))
                              : QLatin1Char('"') + score.toString() + QLatin1Char('"');
    throw AppError(13, tr2(QStringLiteral("Type mismatch: the score %1 of entry %2 in \"%3\" is not a whole number. "
                                          "The list holds only the entries before it."),
                           QStringLiteral("Typen unverträglich: Der Score %1 des Eintrags %2 in \"%3\" ist keine "
                                          "ganze Zahl. Die Liste enthält nur die Einträge davor."))
                           .arg(value, id, file));
}

} // namespace

ListBuilder::ListBuilder() = default;

ListBuilder::~ListBuilder() = default;

CQuery& ListBuilder::query()
{
    if (!m_query)
        m_query = std::make_unique<CQuery>();
    return *m_query;
}

void ListBuilder::initialisiereListe()
{
    Liste& liste = Forms::liste();
    // The rows go first: emptying their cells one by one before dropping them
    // would cost as much as a tenth of the build over a full list.
    liste.MSFlexGrid1->setRows(1);
    liste.MSFlexGrid1->Clear();
    liste.SetHeaders();
    liste.AdjustControls();
}

void ListBuilder::SetzeZeileAusDBinGrid(int& row, bool& written)
{
    ErrorHandling::reportAndPassOn(
        [&] {
            Form1& f1 = Forms::form1();
            MSFlexGrid* grid = Forms::liste().MSFlexGrid1;
            const CDBHandler::RecordsetPtr& rs = f1.clsdb.rsKopieren;
            mustBeSet(rs);
            ListRowFields& fields = listRowFields();
            auto field = [&](const QString& name) { return fields.get(*rs, name); };
            written = true;
            if (row == -1)
                row = grid->Rows() - 1;
            const QString id = textOf(rs->Fields(0));
            grid->setCol(1);
            if (row >= 2) {
                grid->setRow(row - 1);
                if (grid->Text() == id) {
                    grid->RemoveItem(row);
                    written = false;
                    return;
                }
            }
            // The same entry further apart (linked to two selected areas).
            if (m_writtenIds.contains(id)) {
                grid->RemoveItem(row);
                written = false;
                return;
            }
            m_writtenIds.insert(id);
            grid->setRow(row);
            grid->setText(id);

            grid->setCol(Liste::txtSpanisch);
            f1.SetzeAusdruckAusDBinGrid(1);
            grid->setCol(Liste::txtDeutsch);
            f1.SetzeAusdruckAusDBinGrid(2);

            auto put = [grid](int col, const QString& text) {
                grid->setCol(col);
                grid->setText(text);
            };
            put(Liste::txtWortart, CutToLength(extract(textOf(field(QStringLiteral("Wortart")))), gMaxWortart));
            put(Liste::txtBeispielsatz,
                CutToLength(extract(textOf(field(QStringLiteral("Beispielsatz")))), gMaxBeispielsatz));
            put(Liste::txtZusatzinfo,
                CutToLength(extract(textOf(fields.getIfPresent(*rs, QStringLiteral("Zusatzinfo")))), gMaxZusatzinfo));
            put(Liste::txtQuelle, CutToLength(extract(textOf(field(QStringLiteral("Quelle")))), gMaxQuelle));
            const QString created = textOf(field(QStringLiteral("Eingabedatum")));
            put(Liste::txtEingabe_mod, extract(created));
            put(Liste::txtEingabedatum, FormatDBDate(created));
            const QString changed = textOf(field(QStringLiteral("Aenderungsdatum")));
            put(Liste::txtAenderung_mod, changed);
            put(Liste::txtAenderungsdatum, FormatDBDate(changed));
            const QVariant score = field(QStringLiteral("Score"));
            const std::optional<QString> scoreText = ScoreText(score);
            if (!scoreText)
                unreadableScore(score, id, mustBeSet(f1.clsdb.dbKopieren).Name());
            put(Liste::txtScore, *scoreText);

            CQuery& query = this->query();
            query.handler = &f1.clsdb;
            put(Liste::txtBereich, query.GetAllBereiche(id));
            put(Liste::txtGrammatikalischeAttribute, query.GetAllGrammatikalisch(id));
            put(Liste::txtFunktionaleAttribute, query.GetAllFunktional(id));
        },
        ErrorHandling::Always::Yes);
}

// One build, step by step: the stages of its error handling and what the
// steps share (the statement's condition, the progress window, the cursor).
class ListBuilder::Run {
public:
    Run(ListBuilder& builder, const Selection& selection, QWidget* owner, const std::function<void(int)>& showCount)
        : b(builder), selection(selection), owner(owner), showCount(showCount), f1(Forms::form1()),
          liste(Forms::liste()), grid(liste.MSFlexGrid1), progress(Forms::progress()), db(f1.clsdb)
    {}

    bool build()
    {
        showProgress();
        buildStatement();
        openAndFindFirst();
        if (!stageB([&] { b.initialisiereListe(); }))
            return false;
        bool noMatch = true;
        stageA([&] { noMatch = rs().NoMatch(); });
        if (noMatch) {
            reportNoMatch();
            return false;
        }
        if (!writeRows())
            return false;
        finish();
        return true;
    }

private:
    ListBuilder& b;
    const Selection& selection;
    QWidget* owner;
    const std::function<void(int)>& showCount;
    Form1& f1;
    Liste& liste;
    MSFlexGrid* grid;
    Progress& progress;
    CDBHandler& db;
    QString criteria;
    std::optional<MSFlexGrid::AppendBatch> rowBatch;
    // Stage A: reported (also 19001) and the build goes on.
    ErrorHandling::Steps stageA{ErrorHandling::Always::Yes};

    // Stages B and C: reported unless already reported; the build ends.
    bool stageB(const std::function<void()>& f)
    {
        try {
            f();
            return true;
        } catch (...) {
            ErrorHandling::report(ErrorHandling::currentError());
            stop();
            return false;
        }
    }
    bool stageC(const std::function<void()>& f) { return stageB(f); }

    Recordset& rs() { return mustBeSet(db.rsKopieren); }

    // A build that stops leaves the main window, the list caption and the
    // marker in line with the rows that are in the grid.
    void alignStateWithGrid()
    {
        stageA([&] {
            f1.ListeNichtLeer = liste.entryCount() >= 1;
            liste.previousRow = 0;
            f1.GreyOut();
            liste.SetzeStatus();
            showCount(liste.entryCount());
        });
        stageA([&] { Forms::trainer().Command6_Click(); });
    }
    void stop()
    {
        rowBatch.reset();
        stageA([&] { progress.setVisible(false); });
        stageA([&] { b.m_cursor.RestoreCursor(owner); });
        alignStateWithGrid();
    }

    // The statement joins the area links as the file compares them, which
    // may read the text ID '007' as 7: a hit counts only on its exact ID.
    void find(bool first)
    {
        Recordset& r = rs();
        if (selection.areas.isEmpty()) {
            first ? r.FindFirst(criteria) : r.FindNext(criteria);
            return;
        }
        const auto exact = [&] { return IsId(r.Fields(QStringLiteral("Bereiche_Zwischen.IDV")), textOf(r.Fields(0))); };
        first ? FindFirstWhere(r, criteria, exact) : FindNextWhere(r, criteria, exact);
    }

    // A row whose write failed holds only some of its cells (the ID, say):
    // left in the list it could be trained and its empty score written back.
    void writeRow(int row)
    {
        const int rowsBefore = grid->Rows();
        try {
            bool written = false;
            b.SetzeZeileAusDBinGrid(row, written);
        } catch (...) {
            if (grid->Rows() == rowsBefore && rowsBefore > 1)
                grid->setRows(rowsBefore - 1);
            throw;
        }
    }

    // Busy cursor, and the progress window shown over the owner.
    void showProgress()
    {
        stageA([&] { b.m_cursor.SetCursorToBusy(owner); });
        stageA([&] {
            progress.setWindowTitle(tr2(QStringLiteral("Creating Vocab List"),
                                        QStringLiteral("Vokabelliste wird erstellt")));
            progress.setValue(0);
            progress.setMin(0);
            progress.show();
            if (owner && progress.windowHandle() && owner->windowHandle())
                progress.windowHandle()->setTransientParent(owner->windowHandle());
            progress.Refresh(true);
        });
    }

    // The areas restrict the statement, the score range the condition.
    void buildStatement()
    {
        CQuery& query = b.query();
        query.handler = &db;
        stageA([&] { criteria.clear(); });
        stageA([&] {
            query.RelInitQuery();
            for (const QString& area : selection.areas)
                query.RelInsert(area, QStringLiteral("Bereich"));
            query.RelCreateQueryString();
            query.InitQuery();
        });
        stageA([&] {
            if (!(selection.minScore == QLatin1String("1") && selection.maxScore == QLatin1String("6")))
                query.ExtendQueryStringByScore(extract(selection.minScore), extract(selection.maxScore));
        });
        stageA([&] {
            criteria = !query.FindString.isEmpty() ? query.FindString : QStringLiteral("Vokabular.ID LIKE '*'");
        });
    }

    // The selection replaces the handler's main record set; the first hit.
    void openAndFindFirst()
    {
        stageA([&] {
            if (db.rsKopieren)
                db.rsKopieren->Close();
            db.rsKopieren.reset();
            db.rsKopieren = mustBeSet(db.dbKopieren).OpenRecordset(b.query().QueryString, 2);
            find(true);
        });
        stageA([&] {
            // The rows reached so far are only the first hit; the bar measures
            // the walk against the whole result so that it moves.
            const long count = rs().RowsInResult();
            b.m_writtenIds.reserve(count);
            progress.setMax(count >= 1 ? count : 1);
            const long pos = rs().AbsolutePosition();
            progress.setValue(pos >= progress.Min() ? double(pos) : progress.Min());
            progress.Refresh();
        });
    }

    void reportNoMatch()
    {
        stageA([&] { progress.setValue(rs().RecordCount()); });
        stageA([&] { progress.Refresh(true); });
        stageA([&] { progress.setVisible(false); });
        stageA([&] {
            ShowMsgBox(tr2(QStringLiteral("There were no entries found."),
                           QStringLiteral("Es wurden keine Einträge gefunden.")),
                       MsgStyle::Exclamation);
        });
        stageA([&] { b.m_cursor.RestoreCursor(owner); });
        // The grid now holds the header row only.
        alignStateWithGrid();
    }

    // One grid row per hit, the first hit's row first; false when the build stopped.
    bool writeRows()
    {
        rowBatch.emplace(*grid);
        stageA([&] { grid->AddItem(QString()); });
        if (!stageB([&] { writeRow(1); }))
            return false;
        if (!stageC([&] { find(false); }))
            return false;

        const QString countText = tr2(QStringLiteral("Number of entries: "), QStringLiteral("Anzahl Vokabeln: "));
        bool more = false;
        if (!stageC([&] { more = !rs().NoMatch(); }))
            return false;
        bool firstPass = true;
        // Laying out the status text costs more than writing a row; the window is
        // repainted at most about 30 times a second, so the text follows at that rate.
        QElapsedTimer statusClock;
        auto showAndAdd = [&] {
            Recordset& r = rs();
            const long pos = r.AbsolutePosition();
            progress.setValue(pos);
            if (!statusClock.isValid() || statusClock.elapsed() >= 30) {
                progress.txtStatus->setText(countText + QString::number(pos));
                statusClock.start();
            }
            progress.Refresh();
            grid->AddItem(QString());
        };
        while (more) {
            // The first pass still runs under stage A (report and go on).
            if (firstPass)
                stageA(showAndAdd);
            else if (!stageC(showAndAdd))
                return false;
            firstPass = false;
            if (!stageB([&] { writeRow(-1); }))
                return false;
            if (!stageC([&] {
                    find(false);
                    more = !rs().NoMatch();
                }))
                return false;
        }
        rowBatch.reset();
        return true;
    }

    // The count and caption, the trainer restarted on the new list, the main
    // window's commands, the progress window hidden.
    void finish()
    {
        stageA([&] { progress.setValue(rs().RecordCount()); });
        stageA([&] { progress.Refresh(true); });
        stageA([&] { showCount(grid->Rows() - 1); });
        stageA([&] { liste.SetzeStatus(); });
        stageA([&] {
            liste.lfd = 0;
            liste.previousRow = 0;
            grid->setRow(0);
        });
        stageA([&] { Forms::trainer().Command6_Click(); });
        stageA([&] {
            if (grid->Rows() - 1 < 1) {
                f1.ListeNichtLeer = false;
            } else {
                f1.ListeNichtLeer = true;
                grid->setRow(1);
                grid->setCol(1);
            }
        });
        stageA([&] { f1.GreyOut(); });
        stageA([&] {
            progress.setVisible(false);
            progress.txtStatus->clear();
            progress.setWindowTitle(QString());
        });
        stageA([&] { b.m_cursor.RestoreCursor(owner); });
    }
};

bool ListBuilder::build(const Selection& selection, QWidget* owner, const std::function<void(int)>& showCount)
{
    if (Forms::form1().DBName.isEmpty())
        return false;
    m_writtenIds.clear();
    listRowFields().reset();
    const bool done = Run(*this, selection, owner, showCount).build();
    if (done)
        m_writtenIds.clear();
    return done;
}
