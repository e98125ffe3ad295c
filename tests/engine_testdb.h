#pragma once
// A small vocabulary database built with the schema's statements, shared by
// the engine's tests. Entries (ID: German main part / English main part / Score):
//   1 "Äpfel"/"apples"/2, 2 "Kinder's"/"children's"/5, 3 "Straße"/"street"/Null,
//   4 Null/"four"/6, 12 "zwölf"/"twelve"/3, 120 "hundertzwanzig"/"120"/1.
// Areas: 1 Essen, 2 Reisen, 3 Zahlen; links (IDV, ID): (1,1) (1,2) (2,2) (12,3) (120,1).
#include "database/Schema.h"
#include "engine/AppError.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <sqlite3.h>
#include <stdexcept>

namespace enginetest {

inline void execOrThrow(sqlite3* db, const QString& sql)
{
    char* err = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        const std::string msg = err ? err : "?";
        sqlite3_free(err);
        throw std::runtime_error(msg + " in " + sql.toStdString());
    }
}

// Builds the file; withProperties=false leaves out the property table.
inline QString buildDb(const QTemporaryDir& dir, const QString& name = QStringLiteral("test.lxt"), bool withProperties = true)
{
    const QString path = QDir(dir.path()).filePath(name);
    QFile::remove(path);
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    execOrThrow(db, QStringLiteral("BEGIN"));
    for (const QString& sql : Schema::createStatements(QStringLiteral("Lang1_"), QStringLiteral("Lang2_"))) {
        if (!withProperties && sql.contains(QLatin1String(Schema::kPropertyTable)))
            continue;
        execOrThrow(db, sql);
    }
    if (withProperties) {
        execOrThrow(db, QStringLiteral("INSERT INTO LxtProperties VALUES ('Vokabular', 'Languages', "
                                       "'Sprache1=Deutsch@Sprache2=Englisch@')"));
        execOrThrow(db, QStringLiteral("INSERT INTO LxtProperties VALUES ('Vokabular', 'DBVersion', 2)"));
        execOrThrow(db, QStringLiteral("INSERT INTO LxtProperties VALUES ('Bereiche', 'Other', 'x')"));
    }
    const char* rows[] = {
        "(1, 'die', 'Äpfel', '', '', 'the', 'apples', '', '', 'Substantiv', 'Ich esse Äpfel.', NULL, 'Buch', "
        "'20000716', '20000716', 2)",
        "(2, 'die', 'Kinder''s', '', '', 'the', 'children''s', '', '', 'Substantiv', '', '', 'Buch', '20010101', "
        "'20010101', 5)",
        "(3, 'die', 'Straße', '', '', 'the', 'street', '', '', 'Substantiv', '', '', '', '20020202', '20020202', NULL)",
        "(4, NULL, NULL, NULL, NULL, '', 'four', '', '', 'Zahl', '', '', '', '20020202', '20020202', 6)",
        "(12, '', 'zwölf', '', '', '', 'twelve', '', '', 'Zahl', '', '', '', '20030303', '20030303', 3)",
        "(120, '', 'hundertzwanzig', '', '', '', '120', '', '', 'Zahl', '', '', '', '20030303', '20030303', 1)",
    };
    for (const char* r : rows)
        execOrThrow(db, QStringLiteral("INSERT INTO Vokabular (ID, Lang1_Prefix, Lang1_Main, Lang1_Suffix, "
                                       "Lang1_Kommentar, Lang2_Prefix, Lang2_Main, Lang2_Suffix, Lang2_Kommentar, "
                                       "Wortart, Beispielsatz, Zusatzinfo, Quelle, Eingabedatum, Aenderungsdatum, "
                                       "Score) VALUES ")
                            + QString::fromUtf8(r));
    execOrThrow(db, QStringLiteral("INSERT INTO Bereiche VALUES (1, 'Essen'), (2, 'Reisen'), (3, 'Zahlen')"));
    execOrThrow(db, QStringLiteral("INSERT INTO Bereiche_Zwischen VALUES (1, 1), (1, 2), (2, 2), (12, 3), (120, 1)"));
    execOrThrow(db, QStringLiteral("INSERT INTO GrammatikalischeAttribute VALUES (1, 'Plural'), (2, 'unregelmäßig')"));
    execOrThrow(db, QStringLiteral("INSERT INTO GrammatikalischeAttribute_Zwischen VALUES (1, 1), (12, 2), (12, 1)"));
    execOrThrow(db, QStringLiteral("INSERT INTO FunktionaleAttribute VALUES (1, 'Frage')"));
    execOrThrow(db, QStringLiteral("INSERT INTO Referenzen VALUES (1, 2, 'x', ''), (2, 12, 'y', ''), (12, 1, 'x', '')"));
    execOrThrow(db, QStringLiteral("INSERT INTO Synonyme (ID, VID, Sprache, Main) VALUES (1, 1, 1, 'Apfel'), "
                                   "(2, 999, 2, 'orphan'), (3, 12, 1, 'Zwölf')"));
    execOrThrow(db, QStringLiteral("COMMIT"));
    sqlite3_close(db);
    return path;
}

// One value read with plain SQLite (to check what is really in the file).
inline QString scalar(const QString& path, const QString& sql)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* s = nullptr;
    QString out = QStringLiteral("<error>");
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &s, nullptr) == SQLITE_OK) {
        const int rc = sqlite3_step(s);
        if (rc == SQLITE_ROW)
            out = sqlite3_column_type(s, 0) == SQLITE_NULL
                      ? QStringLiteral("<null>")
                      : QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
        else if (rc == SQLITE_DONE)
            out = QStringLiteral("<none>");
    }
    sqlite3_finalize(s);
    sqlite3_close(db);
    return out;
}

// The number of the AppError that f raises (0 when none); the description
// must never be empty.
template <class F>
int errorOf(F&& f, QString* description = nullptr)
{
    try {
        f();
    } catch (const AppError& e) {
        if (description)
            *description = e.description();
        return e.description().isEmpty() ? -1 : e.number();
    }
    return 0;
}

} // namespace enginetest
