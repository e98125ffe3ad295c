// Form1::SetzeAusdruckAusDBinGrid: one language side of the current record
// of the list record set, written into the list grid's current row.
#include "common/Global.h"
#include "common/TextProcs.h"
#include "mainwindow/Form1.h"
#include "mainwindow/Forms.h"
#include "platform/MSFlexGrid.h"
#include "selection/ListRowFields.h"
#include "selection/Liste.h"

namespace {

QString fieldText(const Recordset& rs, const QString& name)
{
    const QVariant v = listRowFields().get(rs, name);
    return v.isValid() && !v.isNull() ? v.toString() : QString();
}

} // namespace

void Form1::SetzeAusdruckAusDBinGrid(int lang)
{
    const Recordset& rs = mustBeSet(clsdb.rsKopieren);
    const bool first = lang == 1;
    const QString parts[4] = {
        CutToLength(fieldText(rs, first ? lang1_prefix : lang2_prefix), gMaxAusdruckTeil),
        CutToLength(fieldText(rs, first ? lang1_main : lang2_main), gMaxAusdruckTeil),
        CutToLength(fieldText(rs, first ? lang1_suffix : lang2_suffix), gMaxAusdruckTeil),
        CutToLength(fieldText(rs, first ? lang1_comment : lang2_comment), gMaxAusdruckTeil),
    };
    MSFlexGrid* grid = Forms::liste().MSFlexGrid1;
    grid->setText(extract(generiereAusdruck(parts[0], parts[1], parts[2], parts[3])));

    const int savedCol = grid->Col();
    const int start = first ? Liste::txtSpanisch_Prefix : Liste::txtDeutsch_Prefix;
    for (int i = 0; i < 4; ++i) {
        grid->setCol(start + i);
        grid->setText(parts[i]);
    }
    grid->setCol(savedCol);
}
