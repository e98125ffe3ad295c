// The database builder and the ten databases it builds: good sources become
// complete databases, every kind of fault stops the build with file and line
// and leaves no database behind.
#include "database/Schema.h"
#include "support/ChildWait.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

struct ToolRun {
    int exitCode = -1;
    QString stderrText;
};

ToolRun runTool(const QString& source, const QString& output)
{
    QProcess p;
    p.start(QStringLiteral(LEXUVANT_TEST_TOOLS_DIR "/make_lxt"), {source, output});
    ChildWait::finished(p, QStringLiteral("the database tool"));
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardError())};
}

// Read-only look into a built database.
class Db {
public:
    explicit Db(const QString& path)
    {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
            sqlite3_close(db_);
            db_ = nullptr;
        }
    }
    ~Db() { sqlite3_close(db_); }
    bool ok() const { return db_ != nullptr; }

    // First column of every row, as text.
    QStringList column(const QString& sql) const
    {
        QStringList out;
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << "bad query " << sql.toStdString() << ": " << sqlite3_errmsg(db_);
            return out;
        }
        while (sqlite3_step(st) == SQLITE_ROW)
            out << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
        return out;
    }
    QString value(const QString& sql) const
    {
        const QStringList c = column(sql);
        return c.isEmpty() ? QStringLiteral("<no row>") : c.first();
    }
    int count(const QString& sql) const { return value(sql).toInt(); }

private:
    sqlite3* db_ = nullptr;
};

const QByteArray kHeader = "# sample\nlanguage = Französisch\n";

const QByteArray kWater = "de = das|Wasser||\n"
                          "fremd = |l'eau||\n"
                          "wortart = Substantiv\n"
                          "bereiche = Essen; Reisen\n"
                          "gramm = feminin; Singular; Plural: les eaux\n"
                          "funkt = neutral\n"
                          "beispiel = Je voudrais de l'eau. – Ich möchte Wasser.\n"
                          "zusatz = Leitungswasser: une carafe d'eau\n"
                          "quelle = Sprachkurs\n"
                          "eingabe = 20000716\n"
                          "aenderung = 20010203\n"
                          "score = 3\n"
                          "synonym = 2||l'eau minérale||\n"
                          "synonym = 1|das|Mineralwasser||\n";

const QByteArray kBread = "de = das|Brot||\n"
                          "fremd = le|pain||\n"
                          "wortart = Substantiv\n"
                          "bereiche = Essen\n"
                          "gramm = maskulin\n"
                          "funkt = neutral\n"
                          "eingabe = 19991231\n"
                          "aenderung = 19991231\n"
                          "score = 6\n";

QByteArray goodSource() { return kHeader + "\n" + kWater + "\n\n" + kBread; }

} // namespace

TEST(MakeLxt, GoodSourceBecomesACompleteDatabase)
{
    QTemporaryDir dir;
    const QString src = TestFiles::writeFile(dir, QStringLiteral("Französisch.txt"), goodSource());
    const QString out = QDir(dir.path()).filePath(QStringLiteral("Französisch.lxt"));
    const ToolRun run = runTool(src, out);
    ASSERT_EQ(run.exitCode, 0) << run.stderrText.toStdString();

    Db db(out);
    ASSERT_TRUE(db.ok());
    EXPECT_EQ(db.value("SELECT Value FROM LxtProperties WHERE TableName='Vokabular' AND Name='Languages'"),
              QStringLiteral("Sprache1=Deutsch@Sprache2=Französisch@"));
    EXPECT_EQ(db.value("SELECT typeof(Value) || Value FROM LxtProperties WHERE Name='DBVersion'"),
              QStringLiteral("integer2"));

    // Apostrophes and the dash of the sample phrase arrive exactly as written.
    EXPECT_EQ(db.column("SELECT Lang1_Prefix || '|' || Lang1_Main || '|' || Lang2_Prefix || '|' || Lang2_Main || '|' "
                        "|| Wortart || '|' || Score FROM Vokabular ORDER BY ID"),
              (QStringList{QStringLiteral("das|Wasser||l'eau|Substantiv|3"),
                           QStringLiteral("das|Brot|le|pain|Substantiv|6")}));
    EXPECT_EQ(db.value("SELECT Beispielsatz FROM Vokabular WHERE ID=1"),
              QStringLiteral("Je voudrais de l'eau. – Ich möchte Wasser."));
    EXPECT_EQ(db.value("SELECT Zusatzinfo || '/' || Quelle || '/' || Eingabedatum || '/' || Aenderungsdatum "
                       "FROM Vokabular WHERE ID=1"),
              QStringLiteral("Leitungswasser: une carafe d'eau/Sprachkurs/20000716/20010203"));
    // Optional texts left out become empty texts, not NULL, so the list shows nothing.
    EXPECT_EQ(db.value("SELECT Beispielsatz || Zusatzinfo || Quelle || Lang2_Suffix || Lang2_Kommentar "
                       "FROM Vokabular WHERE ID=2"),
              QString());
    EXPECT_EQ(db.value("SELECT typeof(Score) FROM Vokabular WHERE ID=2"), QStringLiteral("integer"));

    // Shared texts exist once; each entry is linked to its own.
    EXPECT_EQ(db.column("SELECT Bereich_Text FROM Bereiche ORDER BY ID"),
              (QStringList{QStringLiteral("Essen"), QStringLiteral("Reisen")}));
    EXPECT_EQ(db.column("SELECT IDV || ':' || b.Bereich_Text FROM Bereiche_Zwischen z JOIN Bereiche b ON b.ID=z.ID "
                        "ORDER BY IDV, b.ID"),
              (QStringList{QStringLiteral("1:Essen"), QStringLiteral("1:Reisen"), QStringLiteral("2:Essen")}));
    EXPECT_EQ(db.column("SELECT Attribut_Text FROM FunktionaleAttribute"), QStringList{QStringLiteral("neutral")});
    EXPECT_EQ(db.count("SELECT count(*) FROM FunktionaleAttribute_Zwischen"), 2);
    EXPECT_EQ(db.column("SELECT a.Attribut_Text FROM GrammatikalischeAttribute_Zwischen z "
                        "JOIN GrammatikalischeAttribute a ON a.IDA=z.ID WHERE z.IDV=2"),
              QStringList{QStringLiteral("maskulin")});

    EXPECT_EQ(db.column("SELECT VID || '|' || Sprache || '|' || Prefix || '|' || Main FROM Synonyme ORDER BY ID"),
              (QStringList{QStringLiteral("1|2||l'eau minérale"), QStringLiteral("1|1|das|Mineralwasser")}));
    EXPECT_EQ(db.count("SELECT count(*) FROM Referenzen"), 0);
}

TEST(MakeLxt, OutputIsReplacedAndByteForByteReproducible)
{
    QTemporaryDir dir;
    const QString out = QDir(dir.path()).filePath(QStringLiteral("out.lxt"));
    const QString twoEntries = TestFiles::writeFile(dir, QStringLiteral("two.txt"), goodSource());
    const QString oneEntry = TestFiles::writeFile(dir, QStringLiteral("one.txt"), kHeader + "\n" + kBread);

    ASSERT_EQ(runTool(twoEntries, out).exitCode, 0);
    QFile first(out);
    ASSERT_TRUE(first.open(QIODevice::ReadOnly));
    const QByteArray firstBytes = first.readAll();
    first.close();

    // A second build over an existing file starts from nothing.
    ASSERT_EQ(runTool(oneEntry, out).exitCode, 0);
    EXPECT_EQ(Db(out).count("SELECT count(*) FROM Vokabular"), 1);

    ASSERT_EQ(runTool(twoEntries, out).exitCode, 0);
    QFile again(out);
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), firstBytes);
}

struct BadSource {
    const char* name;
    QByteArray text;
    int line;             // expected line in the message
    const char* fragment; // expected part of the message
};

TEST(MakeLxt, FaultySourcesStopWithFileAndLineAndLeaveNoDatabase)
{
    auto entry = [](const QByteArray& replaceFrom, const QByteArray& replaceTo) {
        QByteArray e = kBread;
        e.replace(replaceFrom, replaceTo);
        return kHeader + "\n" + e;
    };
    // The entry starts on line 4; its lines follow in the order of kBread.
    const BadSource cases[] = {
        {"line without '='", entry("funkt = neutral", "funkt neutral"), 9, "expected 'key = value'"},
        {"unknown key", entry("funkt = neutral", "fnukt = neutral"), 9, "unknown key 'fnukt'"},
        {"unknown area", entry("bereiche = Essen", "bereiche = Essen; Sport"), 7, "unknown area 'Sport'"},
        {"area list with an empty item", entry("bereiche = Essen", "bereiche = Essen;"), 7, "empty item"},
        {"score 0", entry("score = 6", "score = 0"), 12, "from 1 to 6"},
        {"score 7", entry("score = 6", "score = 7"), 12, "from 1 to 6"},
        {"score not a number", entry("score = 6", "score = sechs"), 12, "from 1 to 6"},
        {"date of seven digits", entry("eingabe = 19991231", "eingabe = 1999123"), 10, "8 digits"},
        {"date with a letter", entry("aenderung = 19991231", "aenderung = 1999123x"), 11, "8 digits"},
        {"date with month 13", entry("eingabe = 19991231", "eingabe = 19991331"), 10, "not a calendar date"},
        {"29 February outside a leap year", entry("eingabe = 19991231", "eingabe = 19990229"), 10, "not a calendar date"},
        {"change before creation", entry("aenderung = 19991231", "aenderung = 19991230"), 4, "before creation"},
        {"side with two bars", entry("fremd = le|pain||", "fremd = le|pain|"), 5, "4 parts"},
        {"side without main part", entry("de = das|Brot||", "de = das| ||"), 4, "empty main part"},
        {"key given twice", entry("score = 6", "score = 6\nscore = 5"), 13, "given twice"},
        {"required key missing", entry("score = 6\n", ""), 4, "lacks 'score'"},
        {"synonym of language 3", entry("score = 6", "score = 6\nsynonym = 3||pain||"), 13, "1 (German) or 2"},
        {"additional information too long", entry("score = 6", "score = 6\nzusatz = " + QByteArray(201, 'x')), 13,
         "longer than 200"},
        {"gender with a typo", entry("gramm = maskulin", "gramm = maskulim"), 8, "label 'maskulim'"},
        {"register label as gender", entry("gramm = maskulin", "gramm = neutral: le pain"), 8,
         "'neutral' is a register label"},
        {"gender of another language", entry("gramm = maskulin", "gramm = utrum"), 8, ": maskulin, feminin)"},
        {"register label with a typo", entry("funkt = neutral", "funkt = nuetral"), 9, "register label 'nuetral'"},
        {"unknown part of speech", entry("wortart = Substantiv", "wortart = Nomen"), 6, "part of speech 'Nomen'"},
        {"sample without its word", entry("funkt = neutral", "funkt = neutral\nbeispiel = Du fromage. – Käse."), 10,
         "does not contain 'pain'"},
        {"word only in the translation of the sample",
         entry("funkt = neutral", "funkt = neutral\nbeispiel = Du fromage. – Kein pain."), 10, "does not contain 'pain'"},
        {"word only inside another word of the sample",
         entry("funkt = neutral", "funkt = neutral\nbeispiel = Un copain. – Ein Freund."), 10, "does not contain 'pain'"},
        {"sample without translation", entry("funkt = neutral", "funkt = neutral\nbeispiel = Du pain."), 10,
         "no German translation"},
        {"sample that does not halve", entry("funkt = neutral", "funkt = neutral\nbeispiel = Du pain. – Brot. – Ja."),
         10, "2 ' – ' separators"},
        {"named form missing from the sample",
         entry("funkt = neutral", "funkt = neutral\nbeispiel = Du fromage. – Käse.\nbeispielform = pains – Plural"), 11,
         "form 'pains'"},
        {"named form where the word itself is used",
         entry("funkt = neutral", "funkt = neutral\nbeispiel = Le pain. – Das Brot.\nbeispielform = pain – Singular"),
         11, "not needed"},
        {"named form without its reason",
         entry("funkt = neutral", "funkt = neutral\nbeispiel = Des pains. – Brote.\nbeispielform = pains"), 11, "why"},
        {"unknown language", "language = Klingonisch\n\n" + kBread, 1, "unknown language"},
        {"no header", kBread, 1, "header"},
        {"header not followed by a blank line", kHeader + kBread, 3, "header"},
        {"header without entries", kHeader, 3, "no entries"},
    };
    QTemporaryDir dir;
    for (const BadSource& c : cases) {
        SCOPED_TRACE(c.name);
        const QString src = TestFiles::writeFile(dir, QStringLiteral("bad.txt"), c.text);
        const QString out = QDir(dir.path()).filePath(QStringLiteral("bad.lxt"));
        // A database from an earlier good build must not survive a failed one.
        ASSERT_EQ(runTool(TestFiles::writeFile(dir, QStringLiteral("good.txt"), goodSource()), out).exitCode, 0);

        const ToolRun run = runTool(src, out);
        EXPECT_NE(run.exitCode, 0);
        EXPECT_TRUE(run.stderrText.startsWith(src + QStringLiteral(":%1: ").arg(c.line))) << run.stderrText.toStdString();
        EXPECT_TRUE(run.stderrText.contains(QString::fromUtf8(c.fragment))) << run.stderrText.toStdString();
        EXPECT_FALSE(QFile::exists(out));
    }
}

TEST(MakeLxt, EveryFaultOfTheEntriesIsReportedInOneRun)
{
    QByteArray badSample = kBread, badScore = kBread;
    badSample.replace("funkt = neutral", "funkt = neutral\nbeispiel = Du fromage. – Käse.");
    badScore.replace("funkt = neutral", "funkt = neutral\nbeispiel = Du pain.");
    badScore.replace("score = 6", "score = 0");
    QTemporaryDir dir;
    const QString src = TestFiles::writeFile(dir, QStringLiteral("bad.txt"), kHeader + "\n" + badSample + "\n" + badScore);
    const ToolRun run = runTool(src, QDir(dir.path()).filePath(QStringLiteral("bad.lxt")));
    EXPECT_NE(run.exitCode, 0);
    // In line order, and a refused score is not reported once more as missing.
    const QStringList lines = run.stderrText.trimmed().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 3) << run.stderrText.toStdString();
    EXPECT_TRUE(lines[0].startsWith(src + QStringLiteral(":10: the sample does not contain 'pain'")))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith(src + QStringLiteral(":21: the sample has no German translation")))
        << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith(src + QStringLiteral(":24: 'score'"))) << lines[2].toStdString();
}

TEST(MakeLxt, SamplesMayUseListedFormsDialoguesAndNamedForms)
{
    const QByteArray source =
        kHeader
        + "\n"
          "de = |gehen||\nfremd = |aller||\nwortart = Verb\nbereiche = Reisen\n"
          "gramm = unregelmäßig: je vais, nous allons\nbeispiel = Nous allons à Lyon. – Wir fahren nach Lyon.\n"
          "eingabe = 20000101\naenderung = 20000101\nscore = 1\n\n"
          "de = |Wie spät ist es?||\nfremd = |Quelle heure est-il ?||\nwortart = Redewendung\nbereiche = Zeiten\n"
          "beispiel = \"Quelle heure est-il ?\" – \"Midi.\" – \"Wie spät ist es?\" – \"Mittag.\"\n"
          "eingabe = 20000101\naenderung = 20000101\nscore = 1\n\n"
          "de = |essen||\nfremd = |manger||\nwortart = Verb\nbereiche = Essen\n"
          "beispiel = On mange ? – Essen wir?\nbeispielform = mange – 3. Person Singular nach „on“\n"
          "eingabe = 20000101\naenderung = 20000101\nscore = 1\n";
    QTemporaryDir dir;
    const QString out = QDir(dir.path()).filePath(QStringLiteral("forms.lxt"));
    const ToolRun run = runTool(TestFiles::writeFile(dir, QStringLiteral("forms.txt"), source), out);
    EXPECT_EQ(run.exitCode, 0) << run.stderrText.toStdString();
    // The named form explains the sample to the reviewer; the learner sees the sample as written.
    EXPECT_EQ(Db(out).value("SELECT Beispielsatz FROM Vokabular WHERE ID=3"), QStringLiteral("On mange ? – Essen wir?"));
}

TEST(MakeLxt, UnreadableSourceAndWrongArgumentsFail)
{
    QTemporaryDir dir;
    const QString out = QDir(dir.path()).filePath(QStringLiteral("x.lxt"));
    EXPECT_NE(runTool(QDir(dir.path()).filePath(QStringLiteral("missing.txt")), out).exitCode, 0);
    EXPECT_FALSE(QFile::exists(out));

    const QString latin1 =
        TestFiles::writeFile(dir, QStringLiteral("latin1.txt"), QByteArray("language = Franz\xf6sisch\n\n") + kBread);
    const ToolRun run = runTool(latin1, out);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.stderrText.contains(QLatin1String("UTF-8"))) << run.stderrText.toStdString();

    QProcess p;
    p.start(QStringLiteral(LEXUVANT_TEST_TOOLS_DIR "/make_lxt"), {out});
    ChildWait::finished(p, QStringLiteral("the database tool without a source"));
    EXPECT_EQ(p.exitCode(), 2);
}

// ---- the shipped databases ---------------------------------------------------

TEST(ShippedDatabases, AllTenAreCompleteLanguageDatabases)
{
    const QStringList languages = {QStringLiteral("Dänisch"),       QStringLiteral("Englisch"),
                                   QStringLiteral("Finnisch"),      QStringLiteral("Französisch"),
                                   QStringLiteral("Isländisch"),    QStringLiteral("Italienisch"),
                                   QStringLiteral("Portugiesisch"), QStringLiteral("Schwedisch"),
                                   QStringLiteral("Spanisch"),      QStringLiteral("Ungarisch")};
    const QStringList& areas = Schema::areaNames();
    for (const QString& lang : languages) {
        SCOPED_TRACE(lang.toStdString());
        const QString path = QDir(TestFiles::shippedDatabaseDir()).filePath(lang + QStringLiteral(".lxt"));
        Db db(path);
        if (!QFile::exists(path) || !db.ok()) {
            ADD_FAILURE() << "missing or unreadable: " << path.toStdString();
            continue;
        }

        EXPECT_EQ(db.value("SELECT Value FROM LxtProperties WHERE TableName='Vokabular' AND Name='Languages'"),
                  QStringLiteral("Sprache1=Deutsch@Sprache2=%1@").arg(lang));
        EXPECT_EQ(db.value("SELECT Value FROM LxtProperties WHERE TableName='Vokabular' AND Name='DBVersion'"),
                  QStringLiteral("2"));
        EXPECT_GE(db.count("SELECT count(*) FROM Vokabular"), 120);

        // Every area is offered by the selection window, so each must hold entries.
        const QStringList used = db.column("SELECT DISTINCT b.Bereich_Text FROM Bereiche b "
                                           "JOIN Bereiche_Zwischen z ON z.ID=b.ID ORDER BY 1");
        EXPECT_EQ(used, areas);
        for (const QString& area : areas)
            EXPECT_GE(db.count(QStringLiteral("SELECT count(*) FROM Bereiche_Zwischen z JOIN Bereiche b ON b.ID=z.ID "
                                              "WHERE b.Bereich_Text='%1'")
                                   .arg(area)),
                      12)
                << area.toStdString();

        // Entries that no selection could reach, or links to nothing, are faults.
        EXPECT_EQ(db.count("SELECT count(*) FROM Vokabular WHERE ID NOT IN (SELECT IDV FROM Bereiche_Zwischen)"), 0);
        EXPECT_EQ(db.count("SELECT count(*) FROM Bereiche_Zwischen WHERE ID NOT IN (SELECT ID FROM Bereiche) "
                           "OR IDV NOT IN (SELECT ID FROM Vokabular)"),
                  0);
        EXPECT_EQ(db.count("SELECT count(*) FROM GrammatikalischeAttribute_Zwischen "
                           "WHERE ID NOT IN (SELECT IDA FROM GrammatikalischeAttribute)"),
                  0);
        EXPECT_EQ(db.count("SELECT count(*) FROM FunktionaleAttribute_Zwischen "
                           "WHERE ID NOT IN (SELECT IDA FROM FunktionaleAttribute)"),
                  0);
        EXPECT_EQ(db.count("SELECT count(*) FROM Synonyme WHERE VID NOT IN (SELECT ID FROM Vokabular)"), 0);

        EXPECT_EQ(db.count("SELECT count(*) FROM Vokabular WHERE Score NOT BETWEEN 1 AND 6 "
                           "OR length(Eingabedatum) <> 8 OR Aenderungsdatum < Eingabedatum "
                           "OR Lang1_Main = '' OR Lang2_Main = '' OR Wortart = ''"),
                  0);
        // Scores are spread, so a selection by score range finds something.
        EXPECT_EQ(db.count("SELECT count(DISTINCT Score) FROM Vokabular"), 6);
    }
}
