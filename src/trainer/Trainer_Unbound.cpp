// Procedures of the trainer that no command uses, kept as they were for
// callers to come: finding an entry by ID, opening the options and switching
// the self-test or the details (no menu or button calls them), and the
// relations of the current entry to
// other entries, as operations on data. The panel that would show the
// relations (a list of relation types, a relation grid) is never created: the
// type list is kept as plain data here, and the operations that would work on
// the relation grid itself fail as an unset object would, with the error box.
#include "trainer/Trainer.h"

#include "common/ErrorHandling.h"
#include "common/Global.h"
#include "common/IdLookup.h"
#include "common/ShowMsgBox.h"
#include "common/SqlText.h"
#include "common/TextProcs.h"
#include "database/CDBHandler.h"
#include "mainwindow/Form1.h"
#include "mainwindow/Forms.h"
#include "engine/AppError.h"
#include "platform/MSFlexGrid.h"
#include "platform/MessageService.h"
#include "selection/Liste.h"
#include "trainer/frmOptions.h"

#include <QListWidget>

namespace {

[[noreturn]] void relationGridNotSet() { throw AppError(ErrNo::ObjectNotSet, objectNotSetText()); }

} // namespace

bool Trainer::PositioniereRecord(const QString& ID)
{
    bool found = false;
    ErrorHandling::reportAndLeave([&] {
        Recordset& rs = mustBeSet(Forms::form1().clsdb.rsVokabular);
        FindId(rs, QStringLiteral("ID"), ID);
        found = !rs.NoMatch();
    });
    return found;
}

void Trainer::OeffneOptionen()
{
    ErrorHandling::reportAndLeave([] { showOptionsWindow(1); });
}

void Trainer::ToggleSelbsttest()
{
    OptTest = !OptTest;
    OptionsToUI();
}

void Trainer::ToggleDetailAnsicht()
{
    // The details panel is never created, so there is nothing to show or to
    // make room for; only the option and the toolbar follow.
    OptDetails = !OptDetails;
    OptionsToUI();
}

// ---------------------------------------------------------------------------
// Relations

bool Trainer::GetRelations()
{
    bool result = false;
    ErrorHandling::reportAndLeave([&] {
        RelCount = 0;
        RelIDs.clear();
        RelTypen.clear();
        MSFlexGrid& g = *Forms::liste().MSFlexGrid1;
        const int col = g.Col();
        g.setCol(1);
        const QString id = g.Text();
        g.setCol(col);
        if (id == QLatin1String("*"))
            return;
        const QString criteria = SqlEquals(QStringLiteral("von"), id) + QStringLiteral(" OR ")
                                 + SqlEquals(QStringLiteral("nach"), id);
        Recordset& rs = mustBeSet(Forms::form1().clsdb.rsVerweise);
        const auto linked = [&] {
            return IsId(rs.Fields(QStringLiteral("von")), id) || IsId(rs.Fields(QStringLiteral("nach")), id);
        };
        FindFirstWhere(rs, criteria, linked);
        if (rs.IsEOF() || rs.NoMatch())
            return;
        while (!rs.IsEOF() && !rs.NoMatch()) {
            ++RelCount;
            const QString von = rs.Fields(QStringLiteral("von")).toString();
            const QString nach = rs.Fields(QStringLiteral("nach")).toString();
            const QString typ = rs.Fields(QStringLiteral("Typ")).toString();
            RelIDs << (von == id ? nach : von);
            RelTypen << typ;
            AddRelTypToCombo(typ);
            FindNextWhere(rs, criteria, linked);
        }
        refSort();
        result = true;
    });
    return result;
}

void Trainer::refSort()
{
    ErrorHandling::reportAndLeave([&] {
        QStringList ids, types;
        for (const QString& type : RelTypeList) {
            for (int k = 0; k < RelTypen.size(); ++k) {
                if (RelTypen[k] == type) {
                    ids << RelIDs[k];
                    types << RelTypen[k];
                }
            }
        }
        if (ids.size() == RelCount) {
            RelIDs = ids;
            RelTypen = types;
        } else {
            ShowMsgBox(tr2(QStringLiteral("An internal error occured!"), QStringLiteral("Es trat ein interner Fehler auf!")),
                       MsgStyle::Critical);
        }
    });
}

void Trainer::AddRelTypToCombo(const QString& text)
{
    const QString str = extract(text);
    if (str.isEmpty())
        return;
    // The list stays in sort order: the first item sorting after str ends the walk.
    int insertAt = int(RelTypeList.size());
    for (int i = 0; i < RelTypeList.size(); ++i) {
        const int c = RelTypeList[i].compare(str, Qt::CaseSensitive);
        if (c == 0)
            return;
        if (c > 0) {
            insertAt = i;
            break;
        }
    }
    RelTypeList.insert(insertAt, str);
    for (int i = int(RelTypeList.size()) - 1; i > 0; --i) {
        if (RelTypeList[i] == RelTypeList[i - 1])
            RelTypeList.removeAt(i);
    }
}

void Trainer::SetzeFeldVonGridInListbox(QListWidget* ctr)
{
    ErrorHandling::reportAndLeave([&] {
        if (!ctr)
            relationGridNotSet();
        ctr->clear();
        const QString text = Forms::liste().MSFlexGrid1->Text();
        if (extract(text).isEmpty())
            ctr->addItem(gKeinEintrag);
        int from = 0;
        for (int i = 0; i < text.size(); ++i) {
            if (text[i] == QLatin1Char(';')) {
                ctr->addItem(extract(text.mid(from, i - from)));
                from = i + 1;
            }
        }
        const QString rest = extract(text.mid(from));
        if (!rest.isEmpty())
            ctr->addItem(rest);
    });
}

QString Trainer::BereichAufbereiten(const QString& str)
{
    QString s = str;
    s.replace(QLatin1Char(';'), QLatin1String(", "));
    if (s.endsWith(QLatin1String(", ")))
        s.chop(2);
    return extract(s);
}

void Trainer::CompareAndSetInGrid()
{
    ErrorHandling::reportAndLeave([] { relationGridNotSet(); });
}

void Trainer::SetRelationGridSettings()
{
    ErrorHandling::reportAndLeave([] { relationGridNotSet(); });
}

void Trainer::ClearDetails() {}

void Trainer::ClearRelationGrid()
{
    ErrorHandling::reportAndLeave([] { relationGridNotSet(); });
}

void Trainer::InitialisiereNoReferences()
{
    ErrorHandling::reportAndLeave([] { relationGridNotSet(); });
}

void Trainer::InvertRelationGrid()
{
    ErrorHandling::reportAndLeave([] { relationGridNotSet(); });
}
