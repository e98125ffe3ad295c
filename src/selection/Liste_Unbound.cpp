// Procedures of the list window that no command uses: hiding the columns
// by the options, the sorts by one part of an expression, finding the record
// of a row, a cell's index and the conversion of stored item lists. Kept, as
// they were, for callers to come.
#include "selection/Liste.h"

#include "common/ErrorHandling.h"
#include "common/IdLookup.h"
#include "database/CDBHandler.h"
#include "mainwindow/Form1.h"
#include "mainwindow/Forms.h"
#include "platform/MSFlexGrid.h"
#include "selection/ListColumnOptions.h"

void Liste::HideColsAccordingToOptions()
{
    ErrorHandling::reportAndLeave([&] {
        const ListColumnOptions& opt = ListColumnOptions::instance();
        for (int b = 0; b < ListColumnOptions::Count; ++b) {
            const int col = ListColumnOptions::kFirstColumn + b;
            MSFlexGrid1->setColWidth(col, opt.checked(ListColumnOptions::Box(b)) ? m_savedWidths[col - txtSpanisch] : 0);
        }
    });
}

void Liste::SortByPrefix() { resetAndSortWord(QStringLiteral("Prefix")); }
void Liste::SortByMain() { resetAndSortWord(QStringLiteral("Main")); }
void Liste::SortBySuffix() { resetAndSortWord(QStringLiteral("Suffix")); }


int Liste::RowPos_To_RecPos(int Row)
{
    int result = -1;
    ErrorHandling::reportAndPassOn([&] {
        MSFlexGrid& g = *MSFlexGrid1;
        const int r = g.Row();
        const int c = g.Col();
        g.setRow(Row);
        g.setCol(1);
        const QString id = g.Text();
        g.setRow(r);
        g.setCol(c);
        Recordset& rs = mustBeSet(Forms::form1().clsdb.rsVokabular);
        FindId(rs, QStringLiteral("Vokabular.ID"), id);
        if (!rs.NoMatch())
            result = rs.Fields(0).toInt();
    });
    return result;
}

int Liste::Fgi(int R, int c) { return R * MSFlexGrid1->Cols() + c; }

QString Liste::ArrayDBToListe(const QString& str)
{
    QString out;
    ErrorHandling::reportAndPassOn([&] {
        qsizetype start = 0;
        for (qsizetype at = str.indexOf(QLatin1Char('@')); at >= 0; at = str.indexOf(QLatin1Char('@'), start)) {
            out += str.mid(start, at - start) + QLatin1Char(';');
            start = at + 1;
        }
    });
    return out;
}
