#include "database/Schema.h"

namespace Schema {

QStringList createStatements(const QString& p1, const QString& p2)
{
    auto langCols = [](const QString& p) {
        return QStringLiteral("%1Prefix TEXT DEFAULT '', %1Main TEXT DEFAULT '', %1Suffix TEXT DEFAULT '', "
                              "%1Kommentar TEXT DEFAULT ''")
            .arg(p);
    };
    return {
        QStringLiteral("CREATE TABLE Vokabular (ID INTEGER PRIMARY KEY AUTOINCREMENT, %1, %2, "
                       "Wortart TEXT DEFAULT '', Beispielsatz TEXT DEFAULT '', "
                       "Zusatzinfo VARCHAR(200) DEFAULT '', Quelle TEXT DEFAULT '', "
                       "Eingabedatum VARCHAR(8), Aenderungsdatum VARCHAR(8), Score SMALLINT)")
            .arg(langCols(p1), langCols(p2)),
        QStringLiteral("CREATE TABLE Bereiche (ID INTEGER PRIMARY KEY AUTOINCREMENT, Bereich_Text TEXT)"),
        QStringLiteral("CREATE TABLE Bereiche_Zwischen (IDV INTEGER, ID INTEGER)"),
        QStringLiteral("CREATE TABLE GrammatikalischeAttribute (IDA INTEGER PRIMARY KEY AUTOINCREMENT, "
                       "Attribut_Text TEXT)"),
        QStringLiteral("CREATE TABLE GrammatikalischeAttribute_Zwischen (IDV INTEGER, ID INTEGER)"),
        QStringLiteral("CREATE TABLE FunktionaleAttribute (IDA INTEGER PRIMARY KEY AUTOINCREMENT, "
                       "Attribut_Text TEXT)"),
        QStringLiteral("CREATE TABLE FunktionaleAttribute_Zwischen (IDV INTEGER, ID INTEGER)"),
        QStringLiteral("CREATE TABLE Synonyme (ID INTEGER PRIMARY KEY AUTOINCREMENT, VID INTEGER, "
                       "Sprache SMALLINT, Prefix TEXT DEFAULT '', Main TEXT DEFAULT '', Suffix TEXT DEFAULT '', "
                       "Kommentar TEXT DEFAULT '')"),
        QStringLiteral("CREATE TABLE Referenzen (von INTEGER, nach INTEGER, Typ TEXT, SubTyp TEXT)"),
        QStringLiteral("CREATE TABLE %1 (TableName TEXT NOT NULL, Name TEXT NOT NULL, Value, "
                       "UNIQUE (TableName, Name))")
            .arg(QLatin1String(kPropertyTable)),
        QStringLiteral("CREATE INDEX Bereiche_Zwischen_IDV ON Bereiche_Zwischen (IDV)"),
        QStringLiteral("CREATE INDEX GrammatikalischeAttribute_Zwischen_IDV ON GrammatikalischeAttribute_Zwischen (IDV)"),
        QStringLiteral("CREATE INDEX FunktionaleAttribute_Zwischen_IDV ON FunktionaleAttribute_Zwischen (IDV)"),
        QStringLiteral("CREATE INDEX Synonyme_VID ON Synonyme (VID)"),
    };
}

QString propertyInsertSql()
{
    return QStringLiteral("INSERT OR REPLACE INTO %1 (TableName, Name, Value) VALUES (?1, ?2, ?3)")
        .arg(QLatin1String(kPropertyTable));
}

const QStringList& areaNames()
{
    static const QStringList names = {QStringLiteral("Basiskommunikation"),
                                      QStringLiteral("Einkaufen"),
                                      QStringLiteral("Essen"),
                                      QStringLiteral("Orte"),
                                      QStringLiteral("Reisen"),
                                      QStringLiteral("Richtungen"),
                                      QStringLiteral("Zahlen"),
                                      QStringLiteral("Zeiten")};
    return names;
}

} // namespace Schema
