// Procedures of the selection window that no command uses: the expression of
// the parked panel (empty, as it was), and the
// attribute texts of one entry. Kept, as they were, for callers to come.
#include "selection/Form2.h"

#include "common/ErrorHandling.h"
#include "common/Global.h"
#include "common/IdLookup.h"
#include "common/TextProcs.h"
#include "database/CDBHandler.h"
#include "mainwindow/Form1.h"
#include "mainwindow/Forms.h"

QString Form2::QueryStringForExpression(const QString&) { return QString(); }

namespace {

QString textOf(const QVariant& v) { return v.isValid() && !v.isNull() ? v.toString() : QString(); }

// The attribute texts of one entry, each followed by ";", through a link table
// whose key column is keyColumn.
QString collectAttributes(const CDBHandler::RecordsetPtr& links, const CDBHandler::RecordsetPtr& attributes,
                          const QString& keyColumn, const QString& ID)
{
    QString result;
    mustBeSet(links);
    mustBeSet(attributes);
    const QString idv = QStringLiteral("IDV");
    for (FindId(*links, idv, ID); !links->NoMatch(); FindNextId(*links, idv, ID)) {
        const QString key = textOf(links->Fields(keyColumn));
        FindId(*attributes, QStringLiteral("IDA"), key);
        if (attributes->NoMatch())
            ErrorHandling::raiseReported();
        result += textOf(attributes->Fields(1)) + QLatin1Char(';');
    }
    return result;
}

} // namespace

QString Form2::AllGrammatikalisches(const QString& ID)
{
    const CDBHandler& db = Forms::form1().clsdb;
    return collectAttributes(db.rsGrammatikalischeAttribute_Zwischen, db.rsGrammatikalischeAttribute,
                             QStringLiteral("IDG"), ID);
}

QString Form2::AllFunktionales(const QString& ID)
{
    const CDBHandler& db = Forms::form1().clsdb;
    return collectAttributes(db.rsFunktionaleAttribute_Zwischen, db.rsFunktionaleAttribute, QStringLiteral("IDF"), ID);
}
