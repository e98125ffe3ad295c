#include "largedb/LargeDbGenerator.h"

#include "database/Schema.h"

#include <QFile>
#include <QStringList>
#include <random>
#include <sqlite3.h>

namespace LargeDb {

namespace {

class Writer {
public:
    explicit Writer(sqlite3* db) : m_db(db) {}
    ~Writer()
    {
        for (sqlite3_stmt* s : m_stmts)
            sqlite3_finalize(s);
    }

    void exec(const QString& sql)
    {
        char* err = nullptr;
        if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
            const QString msg = QString::fromUtf8(err ? err : "?");
            sqlite3_free(err);
            throw msg;
        }
    }

    sqlite3_stmt* prepare(const QString& sql)
    {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &s, nullptr) != SQLITE_OK)
            throw QString::fromUtf8(sqlite3_errmsg(m_db));
        m_stmts.push_back(s);
        return s;
    }

    void run(sqlite3_stmt* s)
    {
        if (sqlite3_step(s) != SQLITE_DONE)
            throw QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_reset(s);
    }

    static void text(sqlite3_stmt* s, int i, const QString& v)
    {
        const QByteArray b = v.toUtf8();
        sqlite3_bind_text(s, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
    }

private:
    sqlite3* m_db;
    std::vector<sqlite3_stmt*> m_stmts;
};

const char* const kSyllables[] = {"ka",  "ber",  "lin", "to",  "mar", "sen", "ül",  "rei", "ne", "sta",
                                  "dor", "fen",  "hau", "mö",  "gel", "tri", "ach", "wen", "pa", "ßen",
                                  "lu",  "ster", "wa",  "gän", "ri",  "cho", "bel", "an",  "zu", "kor"};
const char* const kEnglish[] = {"th", "ing", "ro", "ve", "sh", "ea",  "ton", "ly",  "ar",   "ble",
                                "wi", "mo",  "ck", "ou", "er", "pre", "st",  "and", "ight", "ful"};
const char* const kWortarten[] = {"Substantiv", "Verb", "Adjektiv", "Adverb", "Präposition", "Redewendung"};
const char* const kArtikel[] = {"der", "die", "das"};
const char* const kGramm[] = {"Plural", "Singular",  "unregelmäßig",     "trennbar", "reflexiv", "Genitiv",
                              "Dativ",  "Akkusativ", "Perfekt mit sein", "schwach",  "stark",    "Komparativ"};
const char* const kFunkt[] = {"Begrüßung", "Bitte",        "Frage",     "Entschuldigung", "Zustimmung",
                              "Ablehnung", "Beschreibung", "Vergleich", "Aufforderung",   "Dank"};
const char* const kRelTypes[] = {"Abgeleitet", "Gegenteil", "Siehe auch", "Andere Bedeutung", "Ähnliche Bedeutung"};

template <size_t N>
QString pick(std::mt19937& rng, const char* const (&list)[N])
{
    return QString::fromUtf8(list[rng() % N]);
}

QString word(std::mt19937& rng, const char* const* syl, size_t n, int minSyl, int maxSyl)
{
    const int count = minSyl + int(rng() % unsigned(maxSyl - minSyl + 1));
    QString w;
    for (int i = 0; i < count; ++i)
        w += QString::fromUtf8(syl[rng() % n]);
    return w;
}

QString sentence(std::mt19937& rng, int words)
{
    QStringList parts;
    for (int i = 0; i < words; ++i)
        parts << word(rng, kSyllables, std::size(kSyllables), 1, 3);
    QString s = parts.join(QLatin1Char(' '));
    s[0] = s[0].toUpper();
    return s + QLatin1Char('.');
}

QString date(std::mt19937& rng)
{
    return QStringLiteral("%1%2%3")
        .arg(1998 + int(rng() % 6))
        .arg(1 + int(rng() % 12), 2, 10, QLatin1Char('0'))
        .arg(1 + int(rng() % 28), 2, 10, QLatin1Char('0'));
}

void fill(Writer& w, int entries)
{
    std::mt19937 rng(20001231u);
    for (const QString& sql : Schema::createStatements(QStringLiteral("Lang1_"), QStringLiteral("Lang2_")))
        w.exec(sql);
    sqlite3_stmt* prop = w.prepare(Schema::propertyInsertSql());
    Writer::text(prop, 1, QStringLiteral("Vokabular"));
    Writer::text(prop, 2, QStringLiteral("Languages"));
    Writer::text(prop, 3, QStringLiteral("Sprache1=Deutsch@Sprache2=Englisch@"));
    w.run(prop);
    Writer::text(prop, 2, QStringLiteral("DBVersion"));
    sqlite3_bind_int(prop, 3, 2);
    w.run(prop);

    sqlite3_stmt* area = w.prepare(QStringLiteral("INSERT INTO Bereiche (Bereich_Text) VALUES (?1)"));
    for (const QString& a : Schema::areaNames()) {
        Writer::text(area, 1, a);
        w.run(area);
    }
    const int nGramm = 240, nFunkt = 160;
    sqlite3_stmt* gramm = w.prepare(QStringLiteral("INSERT INTO GrammatikalischeAttribute (Attribut_Text) VALUES (?1)"));
    for (int i = 0; i < nGramm; ++i) {
        Writer::text(gramm, 1,
                     pick(rng, kGramm) + QLatin1Char(' ') + word(rng, kSyllables, std::size(kSyllables), 2, 3)
                         + QStringLiteral(" %1").arg(i + 1));
        w.run(gramm);
    }
    sqlite3_stmt* funkt = w.prepare(QStringLiteral("INSERT INTO FunktionaleAttribute (Attribut_Text) VALUES (?1)"));
    for (int i = 0; i < nFunkt; ++i) {
        Writer::text(funkt, 1,
                     pick(rng, kFunkt) + QLatin1Char(' ') + word(rng, kSyllables, std::size(kSyllables), 2, 3)
                         + QStringLiteral(" %1").arg(i + 1));
        w.run(funkt);
    }

    sqlite3_stmt* vok = w.prepare(QStringLiteral(
        "INSERT INTO Vokabular (Lang1_Prefix, Lang1_Main, Lang1_Suffix, Lang1_Kommentar, Lang2_Prefix, Lang2_Main, "
        "Lang2_Suffix, Lang2_Kommentar, Wortart, Beispielsatz, Zusatzinfo, Quelle, Eingabedatum, Aenderungsdatum, "
        "Score) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15)"));
    sqlite3_stmt* linkArea = w.prepare(QStringLiteral("INSERT INTO Bereiche_Zwischen (IDV, ID) VALUES (?1, ?2)"));
    sqlite3_stmt* linkGramm =
        w.prepare(QStringLiteral("INSERT INTO GrammatikalischeAttribute_Zwischen (IDV, ID) VALUES (?1, ?2)"));
    sqlite3_stmt* linkFunkt =
        w.prepare(QStringLiteral("INSERT INTO FunktionaleAttribute_Zwischen (IDV, ID) VALUES (?1, ?2)"));
    sqlite3_stmt* syn = w.prepare(QStringLiteral(
        "INSERT INTO Synonyme (VID, Sprache, Prefix, Main, Suffix, Kommentar) VALUES (?1, ?2, ?3, ?4, ?5, ?6)"));
    sqlite3_stmt* ref =
        w.prepare(QStringLiteral("INSERT INTO Referenzen (von, nach, Typ, SubTyp) VALUES (?1, ?2, ?3, ?4)"));

    for (int id = 1; id <= entries; ++id) {
        const QString wortart = pick(rng, kWortarten);
        const bool noun = wortart == QLatin1String("Substantiv");
        const bool verb = wortart == QLatin1String("Verb");
        QString german = word(rng, kSyllables, std::size(kSyllables), 2, 4);
        if (noun)
            german[0] = german[0].toUpper();
        Writer::text(vok, 1, noun ? pick(rng, kArtikel) : QString());
        Writer::text(vok, 2, german);
        Writer::text(vok, 3, rng() % 10 == 0 ? QStringLiteral("sich") : QString());
        Writer::text(vok, 4, rng() % 8 == 0 ? QStringLiteral("umgangssprachlich") : QString());
        Writer::text(vok, 5, verb ? QStringLiteral("to") : (noun ? QStringLiteral("the") : QString()));
        Writer::text(vok, 6, word(rng, kEnglish, std::size(kEnglish), 2, 3));
        Writer::text(vok, 7, rng() % 12 == 0 ? QStringLiteral("up") : QString());
        Writer::text(vok, 8, rng() % 9 == 0 ? QStringLiteral("informal") : QString());
        Writer::text(vok, 9, wortart);
        Writer::text(vok, 10, sentence(rng, 5 + int(rng() % 8)));
        Writer::text(vok, 11, rng() % 4 == 0 ? sentence(rng, 3 + int(rng() % 5)) : QString());
        Writer::text(vok, 12, QStringLiteral("Lehrbuch Kapitel %1").arg(1 + rng() % 30));
        const QString created = date(rng);
        Writer::text(vok, 13, created);
        Writer::text(vok, 14, rng() % 3 == 0 ? date(rng) : created);
        sqlite3_bind_int(vok, 15, 1 + int(rng() % 6));
        w.run(vok);

        const int a1 = 1 + int(rng() % 8);
        sqlite3_bind_int(linkArea, 1, id);
        sqlite3_bind_int(linkArea, 2, a1);
        w.run(linkArea);
        if (rng() % 3 == 0) {
            const int a2 = 1 + (a1 + int(rng() % 7)) % 8; // a different second area
            sqlite3_bind_int(linkArea, 1, id);
            sqlite3_bind_int(linkArea, 2, a2);
            w.run(linkArea);
        }
        for (int k = int(rng() % 3); k > 0; --k) {
            sqlite3_bind_int(linkGramm, 1, id);
            sqlite3_bind_int(linkGramm, 2, 1 + int(rng() % (nGramm - 20))); // the last ones stay unused
            w.run(linkGramm);
        }
        if (rng() % 4 == 0) {
            sqlite3_bind_int(linkFunkt, 1, id);
            sqlite3_bind_int(linkFunkt, 2, 1 + int(rng() % (nFunkt - 10)));
            w.run(linkFunkt);
        }
        if (rng() % 15 == 0 || id % 97 == 0) {
            // a synonym; every 10th belongs to an entry that does not exist
            const bool orphan = rng() % 10 == 0;
            sqlite3_bind_int(syn, 1, orphan ? entries + 1 + int(rng() % 1000) : id);
            sqlite3_bind_int(syn, 2, 1 + int(rng() % 2));
            Writer::text(syn, 3, QString());
            Writer::text(syn, 4, word(rng, kSyllables, std::size(kSyllables), 2, 4));
            Writer::text(syn, 5, QString());
            Writer::text(syn, 6, rng() % 5 == 0 ? QStringLiteral("selten") : QString());
            w.run(syn);
        }
        if (rng() % 50 == 0 && entries > 1) {
            sqlite3_bind_int(ref, 1, id);
            sqlite3_bind_int(ref, 2, 1 + int(rng() % unsigned(entries)));
            Writer::text(ref, 3, pick(rng, kRelTypes));
            Writer::text(ref, 4, QString());
            w.run(ref);
        }
    }
}

} // namespace

bool generate(const QString& path, int entries, QString* error)
{
    QFile::remove(path);
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr)
        != SQLITE_OK) {
        if (error)
            *error = QString::fromUtf8(db ? sqlite3_errmsg(db) : "cannot open");
        sqlite3_close(db);
        return false;
    }
    bool ok = true;
    {
        Writer w(db);
        try {
            w.exec(QStringLiteral("BEGIN"));
            fill(w, entries);
            w.exec(QStringLiteral("COMMIT"));
        } catch (const QString& msg) {
            if (error)
                *error = msg;
            ok = false;
        }
    }
    sqlite3_close(db);
    if (!ok)
        QFile::remove(path);
    return ok;
}

} // namespace LargeDb
