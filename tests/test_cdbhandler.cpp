// The database handler on real files: language pair, record sets, closing,
// the clean-up at quit and values with apostrophes.
#include "common/Global.h"
#include "database/CDBHandler.h"
#include "engine/AppError.h"
#include "support/FakeMessageService.h"
#include "support/TestDatabase.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QListWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

namespace {

class HandlerFile : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    void TearDown() override { handler.CloseAllDBObjects(); }

    QString file(const QString& name = QStringLiteral("t.lxt")) const { return QDir(dir.path()).filePath(name); }
    void open(const QString& path) { handler.dbKopieren = Database::OpenDatabase(path); }

    QTemporaryDir dir;
    CDBHandler handler;
};

// ---------------------------------------------------------------- GetLanguages

struct LanguagesCase {
    const char* name;
    std::optional<QVariant> languages; // nullopt: no property
    std::optional<QVariant> version;
    bool ok;
    QString lang1, lang2, lang1Prefix, lang2Kommentar;
    int boxes = 0;
};

class GetLanguagesTable : public HandlerFile {};

TEST_F(GetLanguagesTable, ReadsThePairAndTheColumnNames)
{
    const QString franz = QStringLiteral("Franz"), deutsch = QStringLiteral("Deutsch");
    const LanguagesCase cases[] = {
        {"closed by @", QStringLiteral("label=Franz@label=Deutsch@"), std::nullopt, true, franz, deutsch,
         QStringLiteral("Franz_Prefix"), QStringLiteral("Deutsch_Kommentar")},
        {"without final @", QStringLiteral("label=Franz@label=Deutsch"), std::nullopt, true, franz, deutsch,
         QStringLiteral("Franz_Prefix"), QStringLiteral("Deutsch_Kommentar")},
        {"@ before =", QStringLiteral("@label=Franz@label=Deutsch@"), std::nullopt, false, {}, {}, {}, {}},
        {"third value", QStringLiteral("a=Franz@b=Deutsch@c=Latein@"), std::nullopt, false, {}, {}, {}, {}},
        {"one = no @", QStringLiteral("label=Deutsch"), std::nullopt, true, QString(), deutsch,
         QStringLiteral("_Prefix"), QStringLiteral("Deutsch_Kommentar")},
        {"no = at all", QStringLiteral("Franz"), std::nullopt, false, {}, {}, {}, {}},
        {"@ right after =", QStringLiteral("a=@b=Deutsch@"), std::nullopt, true, QString(), deutsch,
         QStringLiteral("_Prefix"), QStringLiteral("Deutsch_Kommentar")},
        {"blanks trimmed", QStringLiteral(" a =  Franz  @ b = Deutsch @"), std::nullopt, true, franz, deutsch,
         QStringLiteral("Franz_Prefix"), QStringLiteral("Deutsch_Kommentar")},
        {"version 1", QStringLiteral("a=Franz@b=Deutsch@"), QVariant(1), true, franz, deutsch,
         QStringLiteral("Franz_Prefix"), QStringLiteral("Deutsch_Kommentar")},
        {"version 2", QStringLiteral(" a= Franz @b=Deutsch@"), QVariant(2), true, franz, deutsch,
         QStringLiteral("Lang1_Prefix"), QStringLiteral("Lang2_Kommentar")},
        {"version 3 as text", QStringLiteral("a=Franz@b=Deutsch@"), QVariant(QStringLiteral("3")), true, franz, deutsch,
         QStringLiteral("Lang1_Prefix"), QStringLiteral("Lang2_Kommentar")},
        {"version 1.5 rounds to 2", QStringLiteral("a=Franz@b=Deutsch@"), QVariant(1.5), true, franz, deutsch,
         QStringLiteral("Lang1_Prefix"), QStringLiteral("Lang2_Kommentar")},
        // Refused when the file is opened, naming the value: no box of its own.
        {"version not a number", QStringLiteral("a=Franz@b=Deutsch@"), QVariant(QStringLiteral("zwei")), false, {}, {}, {}, {}},
        {"no Languages", std::nullopt, QVariant(2), true, QStringLiteral("Spanisch"), deutsch,
         QStringLiteral("Spanisch_Prefix"), QStringLiteral("Deutsch_Kommentar")},
        {"empty Languages", QStringLiteral(""), QVariant(QStringLiteral("zwei")), true, QStringLiteral("Spanisch"),
         deutsch, QStringLiteral("Spanisch_Prefix"), QStringLiteral("Deutsch_Kommentar")},
        {"apostrophe in a name", QStringLiteral("a=Lingua d'oc@b=Deutsch@"), std::nullopt, true,
         QStringLiteral("Lingua d'oc"), deutsch, QStringLiteral("Lingua d'oc_Prefix"), QStringLiteral("Deutsch_Kommentar")},
    };
    int n = 0;
    for (const LanguagesCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedFakeMessages fake;
        const QString path = file(QStringLiteral("lang%1.lxt").arg(++n));
        {
            TestDatabase db(path);
            if (c.languages)
                db.setLanguages(c.languages->toString());
            if (c.version)
                db.setDBVersion(*c.version);
        }
        CDBHandler h;
        h.dbKopieren = Database::OpenDatabase(path);
        EXPECT_EQ(h.GetLanguages(), c.ok);
        EXPECT_EQ(fake->shown.size(), c.boxes);
        if (c.ok) {
            EXPECT_EQ(h.lang1, c.lang1);
            EXPECT_EQ(h.lang2, c.lang2);
            EXPECT_EQ(h.lang1_prefix, c.lang1Prefix);
            EXPECT_EQ(h.lang2_comment, c.lang2Kommentar);
            // The other six names follow the same two prefixes.
            const QString p1 = c.lang1Prefix.chopped(6), p2 = c.lang2Kommentar.chopped(9);
            EXPECT_EQ(h.lang1_main, p1 + QStringLiteral("Main"));
            EXPECT_EQ(h.lang1_suffix, p1 + QStringLiteral("Suffix"));
            EXPECT_EQ(h.lang1_comment, p1 + QStringLiteral("Kommentar"));
            EXPECT_EQ(h.lang2_prefix, p2 + QStringLiteral("Prefix"));
            EXPECT_EQ(h.lang2_main, p2 + QStringLiteral("Main"));
            EXPECT_EQ(h.lang2_suffix, p2 + QStringLiteral("Suffix"));
        }
        h.dbKopieren->Close();
    }
}

// A failed call empties the pair, so no caller goes on with the previous
// file's languages; the column names stay until a call succeeds.
TEST_F(HandlerFile, GetLanguagesFailureEmptiesThePairOfTheCallBefore)
{
    {
        TestDatabase good(file(QStringLiteral("good.lxt")));
        good.setLanguages(QStringLiteral("a=Deutsch@b=Franz@")).setDBVersion(2);
        TestDatabase bad(file(QStringLiteral("bad.lxt")));
        bad.setLanguages(QStringLiteral("@a=Deutsch@b=Franz@"));
    }
    ScopedFakeMessages fake;
    open(file(QStringLiteral("good.lxt")));
    ASSERT_TRUE(handler.GetLanguages());
    handler.dbKopieren->Close();
    open(file(QStringLiteral("bad.lxt")));
    EXPECT_FALSE(handler.GetLanguages());
    EXPECT_TRUE(handler.lang1.isEmpty());
    EXPECT_TRUE(handler.lang2.isEmpty());
    EXPECT_EQ(handler.lang2_main, QStringLiteral("Lang2_Main"));
    EXPECT_TRUE(fake->shown.isEmpty());
}

TEST_F(HandlerFile, GetLanguagesWithoutVokabularIsFalseWithOneBox)
{
    {
        TestDatabase db(file());
        db.setLanguages(QStringLiteral("a=Franz@b=Deutsch@"));
        db.dropTable(QStringLiteral("Vokabular"));
    }
    ScopedFakeMessages fake;
    open(file());
    EXPECT_FALSE(handler.GetLanguages());
    ASSERT_EQ(fake->shown.size(), 1);
    EXPECT_TRUE(fake->shown[0].prompt.startsWith(QStringLiteral("Es trat folgender Fehler auf: \r")));
    EXPECT_EQ(fake->shown[0].style, 16);
}

TEST_F(HandlerFile, GetDBVersionTellsAbsentAndBadValues)
{
    ScopedFakeMessages fake;
    TestDatabase db(file());
    db.close();
    open(file());
    EXPECT_EQ(handler.GetDBVersion(), -99);
    handler.dbKopieren->Close();

    TestDatabase(file(), TestDatabase::OpenExisting).setDBVersion(2);
    open(file());
    EXPECT_EQ(handler.GetDBVersion(), 2);
    handler.dbKopieren->Close();

    TestDatabase(file(), TestDatabase::OpenExisting).setDBVersion(QStringLiteral("x"));
    open(file());
    EXPECT_EQ(handler.GetDBVersion(), 0);
    EXPECT_EQ(fake->shown.size(), 1);
    handler.dbKopieren->Close();

    // A file without table Vokabular is a failure (0 and a box), not an absent version.
    TestDatabase(file(), TestDatabase::OpenExisting).setDBVersion(2).dropTable(QStringLiteral("Vokabular"));
    open(file());
    EXPECT_EQ(handler.GetDBVersion(), 0);
    ASSERT_EQ(fake->shown.size(), 2);
    EXPECT_TRUE(fake->shown[1].prompt.startsWith(QStringLiteral("Es trat folgender Fehler auf: \r")));
}

// ------------------------------------------------------- opening and closing

TEST_F(HandlerFile, OpenAllRecordsetsOpensElevenOrStopsAtTheFirstMissingTable)
{
    {
        TestDatabase full(file(QStringLiteral("full.lxt")));
        TestDatabase broken(file(QStringLiteral("broken.lxt")));
        broken.dropTable(QStringLiteral("Synonyme"));
    }
    ScopedFakeMessages fake;
    open(file(QStringLiteral("full.lxt")));
    EXPECT_TRUE(handler.OpenAllRecordsets());
    EXPECT_TRUE(fake->shown.isEmpty());
    EXPECT_TRUE(handler.rsSynonyme && handler.rsKopieren && handler.rsSuche);
    handler.CloseAllDBObjects();

    open(file(QStringLiteral("broken.lxt")));
    EXPECT_FALSE(handler.OpenAllRecordsets());
    EXPECT_EQ(fake->shown.size(), 1);
    const CDBHandler::RecordsetPtr opened[] = {handler.rsKopieren,
                                               handler.rsVokabular,
                                               handler.rsSuche,
                                               handler.rsVerweise,
                                               handler.rsGrammatikalischeAttribute,
                                               handler.rsGrammatikalischeAttribute_Zwischen,
                                               handler.rsFunktionaleAttribute,
                                               handler.rsFunktionaleAttribute_Zwischen,
                                               handler.rsBereiche,
                                               handler.rsBereiche_Zwischen};
    for (const auto& rs : opened)
        EXPECT_TRUE(rs && rs->isOpen());
    EXPECT_FALSE(handler.rsSynonyme);
}

TEST_F(HandlerFile, AfterCloseAllDBObjectsEveryUseIsAClearError)
{
    {
        TestDatabase db(file());
        db.addEntry({QString(), QStringLiteral("chien")}, {QStringLiteral("der"), QStringLiteral("Hund")});
    }
    ScopedFakeMessages fake;
    open(file());
    ASSERT_TRUE(handler.OpenAllRecordsets());
    handler.CloseAllDBObjects();
    EXPECT_TRUE(fake->shown.isEmpty());
    EXPECT_FALSE(handler.dbKopieren);
    for (const auto* rs : {&handler.rsKopieren, &handler.rsVokabular, &handler.rsSuche, &handler.rsVerweise,
                           &handler.rsBereiche, &handler.rsBereiche_Zwischen, &handler.rsSynonyme,
                           &handler.rsGrammatikalischeAttribute, &handler.rsFunktionaleAttribute_Zwischen})
        EXPECT_FALSE(*rs);

    // Procedures without a handler raise error 91; those with one report it once.
    try {
        handler.BereinigeSynonyme();
        ADD_FAILURE() << "no error";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), ErrNo::ObjectNotSet);
    }
    EXPECT_FALSE(handler.CheckRelationExist(QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("x")));
    EXPECT_FALSE(handler.GetLanguages());
    ASSERT_EQ(fake->shown.size(), 2);
    EXPECT_EQ(fake->shown[0].prompt, QStringLiteral("Es trat folgender Fehler auf: \rObjektvariable nicht festgelegt"));
    EXPECT_FALSE(handler.OpenAllRecordsets());
    EXPECT_EQ(fake->shown.size(), 3);

    // Closing again has nothing to close and reports nothing.
    handler.CloseAllDBObjects();
    EXPECT_EQ(fake->shown.size(), 3);
}

// ------------------------------------------------------------ clean-up at quit

TEST_F(HandlerFile, BereinigeDBDeletesUnusedAreasAttributesAndOrphanSynonymsOnly)
{
    qint64 hund = 0, gone = 0;
    {
        TestDatabase db(file());
        hund = db.addEntry({QString(), QStringLiteral("chien")}, {QStringLiteral("der"), QStringLiteral("Hund")});
        const qint64 katze = db.addEntry({QString(), QStringLiteral("chat")}, {QString(), QStringLiteral("Katze")});
        gone = db.addEntry({}, {});
        db.exec(QStringLiteral("DELETE FROM Vokabular WHERE ID = ?1"), {gone});

        const qint64 tiere = db.addArea(QStringLiteral("Tiere"));
        db.addArea(QStringLiteral("Kinder's")); // unused
        const qint64 essen = db.addArea(QStringLiteral("Essen"));
        db.addArea(QStringLiteral("Reisen")); // unused
        db.linkArea(hund, tiere);
        db.linkArea(katze, tiere);
        db.linkArea(gone, essen);      // a link keeps its area, even of a lost entry
        db.linkArea(hund, QVariant()); // Null links nothing

        const qint64 plural = db.addGrammAttribute(QStringLiteral("Plural"));
        db.addGrammAttribute(QStringLiteral("l'article")); // unused
        const qint64 fem = db.addGrammAttribute(QStringLiteral("feminin"));
        db.linkGramm(hund, plural);
        db.exec(QStringLiteral("INSERT INTO GrammatikalischeAttribute_Zwischen (IDV, ID) VALUES (?1, ?2)"),
                {katze, QString::number(fem)}); // the link holds the ID as text

        db.addFunktAttribute(QStringLiteral("umgangssprachlich")); // unused
        const qint64 formal = db.addFunktAttribute(QStringLiteral("förmlich"));
        db.linkFunkt(katze, formal);

        db.addSynonym(hund, 2, {QString(), QStringLiteral("Köter")});
        db.addSynonym(gone, 2, {QString(), QStringLiteral("weg")});         // orphan
        db.addSynonym(12345, 1, {QString(), QStringLiteral("l'orphelin")}); // orphan
        db.addSynonym(QVariant(), 1, {QString(), QStringLiteral("ohne")});  // no VID: never visited, stays
        db.addSynonym(QString::number(katze), 1, {QString(), QStringLiteral("minou")});
    }
    ScopedFakeMessages fake;
    open(file());
    ASSERT_TRUE(handler.OpenAllRecordsets());
    EXPECT_TRUE(handler.BereinigeDB());
    handler.CloseAllDBObjects();
    EXPECT_TRUE(fake->shown.isEmpty()) << fake->lastPrompt().toStdString();

    TestDatabase check(file(), TestDatabase::OpenExisting);
    EXPECT_EQ(check.texts(QStringLiteral("SELECT Bereich_Text FROM Bereiche ORDER BY ID")),
              QStringList({QStringLiteral("Tiere"), QStringLiteral("Essen")}));
    EXPECT_EQ(check.texts(QStringLiteral("SELECT Attribut_Text FROM GrammatikalischeAttribute ORDER BY IDA")),
              QStringList({QStringLiteral("Plural"), QStringLiteral("feminin")}));
    EXPECT_EQ(check.texts(QStringLiteral("SELECT Attribut_Text FROM FunktionaleAttribute ORDER BY IDA")),
              QStringList({QStringLiteral("förmlich")}));
    EXPECT_EQ(check.texts(QStringLiteral("SELECT Main FROM Synonyme ORDER BY ID")),
              QStringList({QStringLiteral("Köter"), QStringLiteral("ohne"), QStringLiteral("minou")}));
    // Link rows are never deleted.
    EXPECT_EQ(check.count(QStringLiteral("Bereiche_Zwischen")), 4);
    EXPECT_EQ(check.count(QStringLiteral("GrammatikalischeAttribute_Zwischen")), 2);
    EXPECT_EQ(check.count(QStringLiteral("Vokabular")), 2);
}

// A failure in the last step undoes the steps before it, in the file and in
// the record sets.
TEST_F(HandlerFile, BereinigeDBReportsAFailureOnceAndIsStillTrue)
{
    {
        TestDatabase db(file());
        db.addArea(QStringLiteral("Reisen")); // unused
    }
    ScopedFakeMessages fake;
    open(file());
    ASSERT_TRUE(handler.OpenAllRecordsets());
    handler.rsSynonyme.reset();
    EXPECT_TRUE(handler.BereinigeDB());
    EXPECT_EQ(fake->shown.size(), 1);
    handler.rsBereiche->FindFirst(QStringLiteral("Bereich_Text LIKE 'Reisen'"));
    EXPECT_FALSE(handler.rsBereiche->NoMatch());
    EXPECT_EQ(handler.rsBereiche->RecordCount(), 1);
    handler.CloseAllDBObjects();
    EXPECT_EQ(TestDatabase(file(), TestDatabase::OpenExisting).count(QStringLiteral("Bereiche")), 1);
}

// A file that cannot be written and has nothing to clean up: the clean-up
// reads it and says nothing.
TEST_F(HandlerFile, BereinigeDBOnAReadOnlyFileWithNothingToDeleteIsSilent)
{
    {
        TestDatabase db(file());
        db.linkArea(db.addEntry({}, {}), db.addArea(QStringLiteral("Tiere")));
    }
    ScopedFakeMessages fake;
    handler.dbKopieren = Database::OpenDatabase(file(), false, true);
    ASSERT_TRUE(handler.OpenAllRecordsets());
    EXPECT_TRUE(handler.BereinigeDB());
    EXPECT_TRUE(fake->shown.isEmpty()) << fake->lastPrompt().toStdString();
}

// Many areas, attributes and synonyms, every 20th unused: the clean-up keeps
// exactly the used ones. (Its speed on 100,000 entries is measured by bench_cleanup.)
TEST_F(HandlerFile, BereinigeDBKeepsExactlyTheUsedRowsOfABigFile)
{
    constexpr int kEntries = 10000, kAttributes = 400, kSynonyms = 400;
    {
        TestDatabase db(file());
        db.begin();
        for (int i = 1; i <= kEntries; ++i)
            db.exec(QStringLiteral("INSERT INTO Vokabular (ID, Lang1_Main, Score) VALUES (?1, 'w', 1)"), {i});
        for (int a = 1; a <= kAttributes; ++a) {
            db.addArea(QStringLiteral("Bereich %1").arg(a));
            db.addGrammAttribute(QStringLiteral("G %1").arg(a));
            db.addFunktAttribute(QStringLiteral("F %1").arg(a));
        }
        // Every entry links one area and attributes; every 20th of them stays unused.
        for (int i = 1; i <= kEntries; ++i) {
            int a = 1 + i % kAttributes;
            if (a % 20 == 0)
                --a;
            db.linkArea(i, a);
            db.linkGramm(i, a);
            db.linkFunkt(i, a);
        }
        for (int s = 1; s <= kSynonyms; ++s)
            db.addSynonym(s % 20 ? s : kEntries + s, 1, {QString(), QStringLiteral("s")});
        db.commit();
    }
    ScopedFakeMessages fake;
    open(file());
    ASSERT_TRUE(handler.OpenAllRecordsets());
    EXPECT_TRUE(handler.BereinigeDB());
    handler.CloseAllDBObjects();
    EXPECT_TRUE(fake->shown.isEmpty());

    TestDatabase check(file(), TestDatabase::OpenExisting);
    constexpr int kKept = kAttributes - kAttributes / 20;
    EXPECT_EQ(check.count(QStringLiteral("Bereiche")), kKept);
    EXPECT_EQ(check.count(QStringLiteral("GrammatikalischeAttribute")), kKept);
    EXPECT_EQ(check.count(QStringLiteral("FunktionaleAttribute")), kKept);
    EXPECT_EQ(check.count(QStringLiteral("Synonyme")), kSynonyms - kSynonyms / 20);
    EXPECT_EQ(check.scalar(QStringLiteral("SELECT COUNT(*) FROM Bereiche WHERE ID % 20 = 0")).toInt(), 0);
    EXPECT_EQ(check.count(QStringLiteral("Bereiche_Zwischen")), kEntries);
}

// ------------------------------------------------- values with apostrophes

class HandlerWithEntry : public HandlerFile {
protected:
    void SetUp() override
    {
        HandlerFile::SetUp();
        {
            TestDatabase db(file());
            hund = db.addEntry({QString(), QStringLiteral("chien")}, {QStringLiteral("der"), QStringLiteral("Hund")});
            katze = db.addEntry({QString(), QStringLiteral("chat")}, {QStringLiteral("die"), QStringLiteral("Katze")});
            const qint64 alt = db.addGrammAttribute(QStringLiteral("alt"));
            db.linkGramm(hund, alt);
            db.linkGramm(katze, alt);
            db.addReference(hund, katze, QStringLiteral("Kinder's"));
            db.addReference(katze, hund, QStringLiteral("Gegenteil von"));
            db.linkArea(hund, 1);
            db.linkArea(katze, 1);
        }
        open(file());
        ASSERT_TRUE(handler.OpenAllRecordsets());
    }

    TestDatabase check() { return TestDatabase(file(), TestDatabase::OpenExisting); }

    qint64 hund = 0, katze = 0;
};

TEST_F(HandlerWithEntry, RelationsAndLinkSearchesTakeApostrophes)
{
    ScopedFakeMessages fake;
    const QString h = QString::number(hund), k = QString::number(katze);
    EXPECT_TRUE(handler.CheckRelationExist(k, h, QStringLiteral("Kinder's"))); // either direction
    EXPECT_TRUE(handler.CheckRelationExist(h, k, QStringLiteral("Gegenteil von")));
    EXPECT_FALSE(handler.CheckRelationExist(h, k, QStringLiteral("Siehe auch")));
    EXPECT_FALSE(handler.CheckRelationExist(h, QStringLiteral("9'9"), QStringLiteral("Kinder's")));
    EXPECT_FALSE(handler.SearchAttribut_Z(QStringLiteral("1' OR '1'='1"), handler.rsBereiche_Zwischen));
    EXPECT_TRUE(handler.SearchAttribut_Z(QStringLiteral("1"), handler.rsBereiche_Zwischen));
    // LIKE's wildcards are plain characters in a value (IDs 1 and 2 are linked and related).
    for (const char* value : {"*", "?", "#", "[12]"}) {
        EXPECT_FALSE(handler.SearchAttribut_Z(QString::fromLatin1(value), handler.rsBereiche_Zwischen)) << value;
        EXPECT_FALSE(handler.CheckRelationExist(QString::fromLatin1(value), k, QStringLiteral("Kinder's"))) << value;
    }
    EXPECT_TRUE(fake->shown.isEmpty()) << fake->lastPrompt().toStdString();
}

// Text IDs and attribute texts from a foreign file are single values: writing
// the attributes of entry "*" keeps those of entries "B" and "b", writing
// those of "b" keeps those of "B", and the item "?" is an attribute of its
// own, not the first one-letter text.
TEST_F(HandlerFile, ArrayItemsAndTextIdsAreMatchedExactly)
{
    ScopedFakeMessages fake;
    {
        TestDatabase db(file());
        db.useTextIds();
        db.addEntryColumns({{"ID", "B"}});
        db.addEntryColumns({{"ID", "b"}});
        db.addEntryColumns({{"ID", "*"}});
        db.linkGramm(QStringLiteral("B"), db.addGrammAttribute(QStringLiteral("a")));
        db.linkGramm(QStringLiteral("b"), db.addGrammAttribute(QStringLiteral("c")));
    }
    open(file());
    ASSERT_TRUE(handler.OpenAllRecordsets());
    Recordset& vok = *handler.rsVokabular;
    const auto write = [&](const QString& items) {
        EXPECT_TRUE(handler.SchreibeArrayToDB(items, handler.rsGrammatikalischeAttribute,
                                              handler.rsGrammatikalischeAttribute_Zwischen, handler.rsVokabular));
    };
    vok.MoveLast();
    ASSERT_EQ(vok.Fields(0).toString(), QStringLiteral("*"));
    write(QStringLiteral("?;"));
    vok.MoveFirst();
    vok.MoveNext();
    ASSERT_EQ(vok.Fields(0).toString(), QStringLiteral("b"));
    write(QStringLiteral("x;"));
    EXPECT_TRUE(fake->shown.isEmpty()) << fake->lastPrompt().toStdString();
    TestDatabase db(file(), TestDatabase::OpenExisting);
    EXPECT_EQ(db.texts(QStringLiteral("SELECT Z.IDV || '=' || A.Attribut_Text FROM GrammatikalischeAttribute_Zwischen Z "
                                      "JOIN GrammatikalischeAttribute A ON A.IDA = Z.ID ORDER BY 1")),
              QStringList({QStringLiteral("*=?"), QStringLiteral("B=a"), QStringLiteral("b=x")}));
}

TEST_F(HandlerWithEntry, DeleteRelationalEntriesForIDRemovesOnlyThatEntrysRows)
{
    ScopedFakeMessages fake;
    handler.DeleteRelationalEntriesForID(int(hund));
    EXPECT_TRUE(fake->shown.isEmpty());
    TestDatabase db = check();
    EXPECT_EQ(db.texts(QStringLiteral("SELECT IDV FROM Bereiche_Zwischen")), QStringList{QString::number(katze)});
    EXPECT_EQ(db.texts(QStringLiteral("SELECT IDV FROM GrammatikalischeAttribute_Zwischen")),
              QStringList{QString::number(katze)});
    EXPECT_EQ(db.count(QStringLiteral("Referenzen")), 0); // it was von in one and nach in the other
}

TEST_F(HandlerWithEntry, SchreibeArrayToDBReplacesTheLinksOfTheCurrentEntry)
{
    ScopedFakeMessages fake;
    handler.rsVokabular->FindFirst(QStringLiteral("ID LIKE '%1'").arg(hund));
    ASSERT_FALSE(handler.rsVokabular->NoMatch());
    EXPECT_TRUE(handler.SchreibeArrayToDB(QStringLiteral("l'article;neu;Rest ohne Ende"), handler.rsGrammatikalischeAttribute,
                                          handler.rsGrammatikalischeAttribute_Zwischen, handler.rsVokabular));
    // An existing text is reused, not added twice.
    EXPECT_TRUE(handler.SchreibeArrayToDB(QStringLiteral("neu;l'article;"), handler.rsGrammatikalischeAttribute,
                                          handler.rsGrammatikalischeAttribute_Zwischen, handler.rsVokabular));
    EXPECT_TRUE(fake->shown.isEmpty()) << fake->lastPrompt().toStdString();

    TestDatabase db = check();
    EXPECT_EQ(db.texts(QStringLiteral("SELECT Attribut_Text FROM GrammatikalischeAttribute ORDER BY IDA")),
              QStringList({QStringLiteral("alt"), QStringLiteral("l'article"), QStringLiteral("neu")}));
    EXPECT_EQ(db.texts(QStringLiteral("SELECT A.Attribut_Text FROM GrammatikalischeAttribute_Zwischen Z JOIN "
                                      "GrammatikalischeAttribute A ON A.IDA = Z.ID WHERE Z.IDV = ?1 ORDER BY 1"),
                       {hund}),
              QStringList({QStringLiteral("l'article"), QStringLiteral("neu")}));
    EXPECT_EQ(
        db.scalar(QStringLiteral("SELECT COUNT(*) FROM GrammatikalischeAttribute_Zwischen WHERE IDV = ?1"), {katze}).toInt(),
        1);
}

// Column names come from the file: one that reads like a condition stays a name.
TEST_F(HandlerWithEntry, LinkColumnNamesFromTheFileAreOnlyNames)
{
    ScopedFakeMessages fake;
    // Renames the link table's entry column and writes the areas of the first entry.
    auto writeWithColumn = [&](const QString& from, const QString& to) {
        handler.CloseAllDBObjects();
        check().exec(QStringLiteral("ALTER TABLE Bereiche_Zwischen RENAME COLUMN \"%1\" TO \"%2\"").arg(from, to));
        open(file());
        EXPECT_TRUE(handler.OpenAllRecordsets());
        handler.rsVokabular->FindFirst(QStringLiteral("ID LIKE '%1'").arg(hund));
        return handler.SchreibeArrayToDB(QStringLiteral("neu;"), handler.rsBereiche, handler.rsBereiche_Zwischen,
                                         handler.rsVokabular);
    };
    const QString condition = QStringLiteral("ID LIKE '*' OR ID");
    EXPECT_TRUE(writeWithColumn(QStringLiteral("IDV"), condition));
    EXPECT_TRUE(handler.SearchAttribut_Z(QStringLiteral("1"), handler.rsBereiche_Zwischen));
    EXPECT_TRUE(fake->shown.isEmpty()) << fake->lastPrompt().toStdString();
    EXPECT_EQ(check().texts(QStringLiteral("SELECT \"%1\" || '/' || ID FROM Bereiche_Zwischen ORDER BY 1").arg(condition)),
              QStringList({QStringLiteral("%1/1").arg(hund), QStringLiteral("%1/1").arg(katze)}));
    EXPECT_EQ(check().texts(QStringLiteral("SELECT ID || Bereich_Text FROM Bereiche")),
              QStringList{QStringLiteral("1neu")});

    // A name that cannot be put in brackets is refused with a box, and nothing is deleted.
    EXPECT_FALSE(writeWithColumn(condition, QStringLiteral("a]b")));
    EXPECT_TRUE(fake->lastPrompt().contains(QStringLiteral("a]b"))) << fake->lastPrompt().toStdString();
    EXPECT_EQ(check().count(QStringLiteral("Bereiche_Zwischen")), 2);
}

TEST_F(HandlerWithEntry, SynonymsAreStoredChangedAndDeleted)
{
    ScopedFakeMessages fake;
    QListWidget list;
    EXPECT_TRUE(handler.StoreSynonyme(-1, hund, QStringLiteral("2"), QStringLiteral("l'"), QStringLiteral("ami"),
                                      QString(), QStringLiteral("m."), &list));
    ASSERT_EQ(list.count(), 1);
    const int id = list.item(0)->text().toInt();
    EXPECT_GT(id, 0);
    EXPECT_TRUE(handler.StoreSynonyme(id, hund, 2, QStringLiteral("l'"), QStringLiteral("amie"), QString(),
                                      QStringLiteral("f."), nullptr));
    {
        TestDatabase db = check();
        EXPECT_EQ(db.texts(QStringLiteral("SELECT Prefix || Main || '|' || Kommentar || '|' || Sprache || '|' || VID "
                                          "FROM Synonyme")),
                  QStringList{QStringLiteral("l'amie|f.|2|%1").arg(hund)});
    }
    EXPECT_TRUE(fake->shown.isEmpty()) << fake->lastPrompt().toStdString();

    EXPECT_FALSE(handler.StoreSynonyme(id + 100, hund, 2, QString(), QString(), QString(), QString(), nullptr));
    EXPECT_FALSE(handler.DeleteSynonym(id + 100));
    ASSERT_EQ(fake->shown.size(), 2);
    EXPECT_EQ(fake->shown[0].prompt,
              QStringLiteral("Es trat folgender Fehler auf: \rSynonym nicht in Datenbank gefunden!"));

    EXPECT_TRUE(handler.DeleteSynonym(id));
    EXPECT_EQ(check().count(QStringLiteral("Synonyme")), 0);
}

} // namespace

namespace {

// Every shipped language database is a valid one: its pair names existing
// columns, its eleven record sets open, and the clean-up leaves it valid.
TEST(ShippedDatabases, OpenWithTheirLanguagePairAndColumns)
{
    const char* files[] = {"Dänisch.lxt",    "Englisch.lxt",    "Finnisch.lxt",      "Französisch.lxt",
                           "Isländisch.lxt", "Italienisch.lxt", "Portugiesisch.lxt", "Schwedisch.lxt",
                           "Spanisch.lxt",   "Ungarisch.lxt"};
    QTemporaryDir dir;
    for (const char* name : files) {
        SCOPED_TRACE(name);
        const QString path = TestFiles::copyShipped(QString::fromUtf8(name), dir);
        ASSERT_FALSE(path.isEmpty());
        ScopedFakeMessages fake;
        CDBHandler h;
        h.dbKopieren = Database::OpenDatabase(path);
        ASSERT_TRUE(h.GetLanguages());
        EXPECT_FALSE(h.lang1.isEmpty());
        EXPECT_FALSE(h.lang2.isEmpty());
        ASSERT_TRUE(h.OpenAllRecordsets());
        for (const QString& column : {h.lang1_prefix, h.lang1_main, h.lang1_suffix, h.lang1_comment, h.lang2_prefix,
                                      h.lang2_main, h.lang2_suffix, h.lang2_comment})
            EXPECT_TRUE(h.rsKopieren->HasField(column)) << column.toStdString();
        EXPECT_FALSE(h.rsKopieren->IsEOF());
        EXPECT_TRUE(h.BereinigeDB());
        h.CloseAllDBObjects();
        EXPECT_TRUE(fake->shown.isEmpty()) << fake->lastPrompt().toStdString();
    }
}

} // namespace
