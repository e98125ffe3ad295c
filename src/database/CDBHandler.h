#pragma once
// The handler of the open vocabulary database: the database, one record set
// per table, the language pair with the names of the eight language columns,
// and the clean-up at quit. One instance lives in the main window (Form1::clsdb).
#include "engine/Database.h"
#include "engine/Recordset.h"

#include <QString>
#include <QStringList>
#include <memory>

class QListWidget;

class CDBHandler {
public:
    using DatabasePtr = std::shared_ptr<Database>;
    using RecordsetPtr = std::shared_ptr<Recordset>;

    DatabasePtr dbKopieren;
    RecordsetPtr rsKopieren;  // the current selection ("SELECT * FROM Vokabular" after opening)
    RecordsetPtr rsVokabular; // finding an entry by ID and changing it
    RecordsetPtr rsVerweise;
    RecordsetPtr rsGrammatikalischeAttribute;
    RecordsetPtr rsGrammatikalischeAttribute_Zwischen;
    RecordsetPtr rsFunktionaleAttribute;
    RecordsetPtr rsFunktionaleAttribute_Zwischen;
    RecordsetPtr rsBereiche;
    RecordsetPtr rsBereiche_Zwischen;
    RecordsetPtr rsWortart, rsWortart_Zwischen; // never set
    RecordsetPtr rsSynonyme;
    RecordsetPtr rsSuche;

    QString lang1, lang2;
    QString lang1_prefix, lang1_main, lang1_suffix, lang1_comment;
    QString lang2_prefix, lang2_main, lang2_suffix, lang2_comment;

    // Opens the eleven record sets. The first failure shows one error box and
    // returns false, so the caller does not go on with a half-opened database.
    bool OpenAllRecordsets();
    // Closes every record set and the database; each failing close is reported.
    // Afterwards every record set variable is empty, so a later use is a clear
    // error instead of the previous file's data.
    void CloseAllDBObjects();
    // The state after a failed open: the database closed with its record sets
    // (one box when that fails), and every variable empty as above.
    void DropDatabase();
    bool GetLanguages();
    int GetDBVersion();
    // GetLanguages, with the check that the open file holds every table and
    // column the program reads or writes. False when the file cannot be used;
    // NotLanguageDatabaseText() then says so, naming the file and, where
    // known, what is missing or wrong.
    bool CheckLanguageDatabase();
    QString NotLanguageDatabaseText() const;

    bool SchreibeArrayToDB(const QString& str, const RecordsetPtr& rsTabelle, const RecordsetPtr& rsTabelle_Zwischen,
                           const RecordsetPtr& rsVok);
    bool EntferneAllArraysForCurrent(const RecordsetPtr& rsTabelle_Zwischen, const RecordsetPtr& rsVok);
    bool SchreibeArrayItemToDB(const QString& att, const RecordsetPtr& rsTabelle,
                               const RecordsetPtr& rsTabelle_Zwischen, const RecordsetPtr& rsVok);
    bool CheckRelationExist(const QString& Id1, const QString& Id2, const QString& strRelationType);
    void DeleteRelationalEntriesForID(int R);
    void DeleteEntryForID(int R, const RecordsetPtr& rs);

    bool BereinigeDB();
    void BereinigeRelationales(const RecordsetPtr& rs_Z, const RecordsetPtr& rs);
    void BereinigeSynonyme();
    bool SearchAttribut_Z(const QString& ID, const RecordsetPtr& rs);

    bool StoreSynonyme(int Ind, const QVariant& vid, const QVariant& Sprache, const QString& Prefix,
                       const QString& Main, const QString& Suffix, const QString& Kommentar, QListWidget* ctr);
    bool DeleteSynonym(int Ind);

private:
    // What CheckLanguageDatabase found wrong, one line each, and in which file.
    QStringList m_faults;
    QString m_checkedFile;
    QStringList tableFaults(Database& db) const;
    QStringList columnFaults(Database& db) const;

    void forgetAll();
    // The eight language column names from the two name prefixes.
    void setColumnNames(const QString& prefix1, const QString& prefix2);
};

// The object behind a database or record-set variable. An unset variable (never
// opened, or emptied by CloseAllDBObjects) raises AppError 91 "Objektvariable
// nicht festgelegt" instead of being dereferenced.
Database& mustBeSet(const CDBHandler::DatabasePtr& db);
Recordset& mustBeSet(const CDBHandler::RecordsetPtr& rs);
// The description of that error in the current language.
QString objectNotSetText();
