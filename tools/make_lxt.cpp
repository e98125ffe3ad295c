// make_lxt <source.txt> <output.lxt>
//
// Builds one shipped vocabulary database from its reviewed text source.
// Language 1 is always German, language 2 the foreign language named in the
// header. Every fault in the source is reported as "file:line: message" and
// fails the build, so a typo never reaches a learner's database; one run
// reports all faults of the entries, a fault of the header stops at once. A
// sample phrase ('beispiel') is "phrase – Übersetzung" and must show its own
// word; one that rightly shows another form names it in
// 'beispielform = <form> – <reason>', which only the review reads.
#include "database/Schema.h"

#include <QFile>
#include <QHash>
#include <QList>
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace {

constexpr int kZusatzinfoMax = 200; // column size of Zusatzinfo

// Between a sample phrase and its translation, and between a form and its reason.
const QString kDash = QStringLiteral(" \u2013 ");

// Parts of speech, the same German names in every language.
const QStringList kPartsOfSpeech = {
    QStringLiteral("Adjektiv"),    QStringLiteral("Adverb"),     QStringLiteral("Interjektion"),
    QStringLiteral("Numerale"),    QStringLiteral("Pronomen"),   QStringLiteral("Präposition"),
    QStringLiteral("Redewendung"), QStringLiteral("Substantiv"), QStringLiteral("Verb")};

// Grammatical labels other than gender, shared by all languages. A 'gramm'
// item is a label alone or followed by ':' or a blank and the form it names
// ("Plural: les eaux", "Stufenwechsel kk–k").
const QStringList kGrammarLabels = {QStringLiteral("Akkusativ"),
                                    QStringLiteral("Akzentwechsel"),
                                    QStringLiteral("Allativ"),
                                    QStringLiteral("brit. Schreibung"),
                                    QStringLiteral("Dativ"),
                                    QStringLiteral("Genitiv"),
                                    QStringLiteral("Imperfekt"),
                                    QStringLiteral("Infinitiv"),
                                    QStringLiteral("Konditional"),
                                    QStringLiteral("mit Genitiv"),
                                    QStringLiteral("Nominativ"),
                                    QStringLiteral("Objektform"),
                                    QStringLiteral("Ordinalzahl"),
                                    QStringLiteral("Partitiv"),
                                    QStringLiteral("Perfekt"),
                                    QStringLiteral("Plural"),
                                    QStringLiteral("Präsens"),
                                    QStringLiteral("Präteritum"),
                                    QStringLiteral("regelmäßig"),
                                    QStringLiteral("Schreibung"),
                                    QStringLiteral("Singular"),
                                    QStringLiteral("Steigerung"),
                                    QStringLiteral("Stufenwechsel"),
                                    QStringLiteral("Supinum"),
                                    QStringLiteral("unregelmäßig"),
                                    QStringLiteral("unveränderlich"),
                                    QStringLiteral("unzählbar"),
                                    QStringLiteral("Vergangenheit"),
                                    QStringLiteral("vor maskulinem Substantiv")};

// Register labels ('funkt') every language may use.
const QStringList kRegisters = {QStringLiteral("neutral"),           QStringLiteral("formell"),
                                QStringLiteral("informell"),         QStringLiteral("höflich"),
                                QStringLiteral("umgangssprachlich"), QStringLiteral("veraltet"),
                                QStringLiteral("Beschilderung")};

// Per language: its gender labels (a noun's gender, or before ':' the form of
// an adjective or numeral in that gender), each spelt one way throughout the
// file, and its own further register labels. "neutral" is a register, never
// a gender.
struct LanguageLabels {
    QString language;
    QStringList genders;
    QStringList registers;
};

const QList<LanguageLabels> kLanguageLabels = {
    {QStringLiteral("Dänisch"), {QStringLiteral("Utrum"), QStringLiteral("Neutrum")}, {}},
    {QStringLiteral("Englisch"), {}, {QStringLiteral("britisch")}},
    {QStringLiteral("Finnisch"), {}, {}},
    {QStringLiteral("Französisch"), {QStringLiteral("maskulin"), QStringLiteral("feminin")}, {}},
    {QStringLiteral("Isländisch"), {QStringLiteral("maskulin"), QStringLiteral("feminin"), QStringLiteral("Neutrum")}, {}},
    {QStringLiteral("Italienisch"), {QStringLiteral("maskulin"), QStringLiteral("feminin")}, {}},
    {QStringLiteral("Portugiesisch"), {QStringLiteral("maskulin"), QStringLiteral("feminin")}, {QStringLiteral("regional")}},
    {QStringLiteral("Schwedisch"), {QStringLiteral("Utrum"), QStringLiteral("Neutrum")}, {}},
    {QStringLiteral("Spanisch"), {QStringLiteral("maskulin"), QStringLiteral("feminin")}, {}},
    {QStringLiteral("Ungarisch"), {}, {}}};

// The languages a database can be built for are those with labels.
const LanguageLabels* labelsOf(const QString& language)
{
    for (const LanguageLabels& l : kLanguageLabels)
        if (l.language == language)
            return &l;
    return nullptr;
}

bool startsWithLabel(const QString& item, const QStringList& labels)
{
    for (const QString& label : labels)
        if (item == label
            || (item.startsWith(label)
                && (item[label.size()] == QLatin1Char(':') || item[label.size()] == QLatin1Char(' '))))
            return true;
    return false;
}

QString listed(const QStringList& labels)
{
    return labels.isEmpty() ? QStringLiteral("none") : labels.join(QStringLiteral(", "));
}

struct ParseError {
    int line;
    QString message;
};

struct Side {
    QString prefix, main, suffix, comment;
};

struct Synonym {
    int sprache = 0;
    Side side;
};

struct Entry {
    int line = 0; // first line, for messages
    std::optional<Side> de, fremd;
    std::optional<QString> wortart, beispiel, beispielform, zusatz, quelle, eingabe, aenderung;
    int beispielLine = 0, beispielformLine = 0;
    std::optional<int> score;
    std::optional<QStringList> bereiche, gramm, funkt;
    QList<Synonym> synonyms;
    QSet<QString> refusedKeys; // reported at their line; the entry's own checks leave them alone
};

struct Source {
    QString language;
    QList<Entry> entries;
};

[[noreturn]] void fail(int line, const QString& message) { throw ParseError{line, message}; }

QStringList splitBars(const QString& value, int expectedParts, int line, const QString& key)
{
    QStringList parts = value.split(QLatin1Char('|'));
    if (parts.size() != expectedParts)
        fail(line,
             QStringLiteral("'%1' needs %2 parts separated by '|', found %3").arg(key).arg(expectedParts).arg(parts.size()));
    for (QString& p : parts)
        p = p.trimmed();
    return parts;
}

Side parseSide(const QString& value, int line, const QString& key)
{
    const QStringList p = splitBars(value, 4, line, key);
    if (p[1].isEmpty())
        fail(line, QStringLiteral("'%1' has an empty main part").arg(key));
    return Side{p[0], p[1], p[2], p[3]};
}

QStringList parseList(const QString& value, int line, const QString& key)
{
    QStringList items;
    for (const QString& raw : value.split(QLatin1Char(';'))) {
        const QString item = raw.trimmed();
        if (item.isEmpty())
            fail(line, QStringLiteral("'%1' has an empty item").arg(key));
        if (items.contains(item))
            fail(line, QStringLiteral("'%1' names '%2' twice").arg(key, item));
        items << item;
    }
    return items;
}

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

QString parseDate(const QString& value, int line, const QString& key)
{
    bool digits = value.size() == 8;
    for (QChar c : value)
        digits = digits && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    if (!digits)
        fail(line, QStringLiteral("'%1' must be a date of 8 digits yyyymmdd, not '%2'").arg(key, value));
    const int y = value.left(4).toInt(), m = value.mid(4, 2).toInt(), d = value.mid(6, 2).toInt();
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int maxDay = (m >= 1 && m <= 12) ? days[m - 1] + (m == 2 && isLeap(y) ? 1 : 0) : 0;
    if (d < 1 || d > maxDay)
        fail(line, QStringLiteral("'%1' is not a calendar date: '%2'").arg(key, value));
    return value;
}

template <typename T>
void setOnce(std::optional<T>& slot, T value, int line, const QString& key)
{
    if (slot)
        fail(line, QStringLiteral("'%1' given twice in one entry").arg(key));
    slot = std::move(value);
}

void applyEntryKey(Entry& e, const QString& key, const QString& value, int line, const LanguageLabels& labels)
{
    if (key == QLatin1String("de")) {
        setOnce(e.de, parseSide(value, line, key), line, key);
    } else if (key == QLatin1String("fremd")) {
        setOnce(e.fremd, parseSide(value, line, key), line, key);
    } else if (key == QLatin1String("wortart")) {
        if (!kPartsOfSpeech.contains(value))
            fail(line, QStringLiteral("unknown part of speech '%1' (known: %2)").arg(value, listed(kPartsOfSpeech)));
        setOnce(e.wortart, value, line, key);
    } else if (key == QLatin1String("bereiche")) {
        const QStringList areas = parseList(value, line, key);
        for (const QString& a : areas)
            if (!Schema::areaNames().contains(a))
                fail(line,
                     QStringLiteral("unknown area '%1' (known: %2)").arg(a, Schema::areaNames().join(QStringLiteral(", "))));
        setOnce(e.bereiche, areas, line, key);
    } else if (key == QLatin1String("gramm")) {
        const QStringList items = parseList(value, line, key);
        for (const QString& item : items) {
            if (startsWithLabel(item, labels.genders) || startsWithLabel(item, kGrammarLabels))
                continue;
            const QString label = item.section(QLatin1Char(':'), 0, 0).trimmed();
            if (startsWithLabel(label, kRegisters + labels.registers))
                fail(line, QStringLiteral("'%1' is a register label ('funkt'), not a grammatical one "
                                          "(genders of %2: %3)")
                               .arg(label, labels.language, listed(labels.genders)));
            fail(line, QStringLiteral("unknown grammatical label '%1' (genders of %2: %3)")
                           .arg(label, labels.language, listed(labels.genders)));
        }
        setOnce(e.gramm, items, line, key);
    } else if (key == QLatin1String("funkt")) {
        const QStringList items = parseList(value, line, key);
        for (const QString& item : items)
            if (!kRegisters.contains(item) && !labels.registers.contains(item))
                fail(line, QStringLiteral("unknown register label '%1' (known in %2: %3)")
                               .arg(item, labels.language, listed(kRegisters + labels.registers)));
        setOnce(e.funkt, items, line, key);
    } else if (key == QLatin1String("beispiel")) {
        // The word is looked for in the foreign half, so the sample must split into two halves.
        const qsizetype dashes = value.split(kDash).size() - 1;
        if (dashes == 0)
            fail(line, QStringLiteral("the sample has no German translation after ' – '"));
        if (dashes % 2 == 0)
            fail(line, QStringLiteral("the sample has %1 ' – ' separators, so its foreign and German halves "
                                      "cannot be told apart; write 'phrase – Übersetzung' or a dialogue "
                                      "'\"A\" – \"B\" – \"A'\" – \"B'\"'")
                           .arg(dashes));
        setOnce(e.beispiel, value, line, key);
        e.beispielLine = line;
    } else if (key == QLatin1String("beispielform")) {
        const qsizetype dash = value.indexOf(kDash);
        if (dash <= 0 || value.mid(dash + kDash.size()).trimmed().isEmpty())
            fail(line, QStringLiteral("'beispielform' needs the form the sample uses, ' – ' and why"));
        setOnce(e.beispielform, value.left(dash).trimmed(), line, key);
        e.beispielformLine = line;
    } else if (key == QLatin1String("zusatz")) {
        if (value.size() > kZusatzinfoMax)
            fail(line, QStringLiteral("'zusatz' is longer than %1 characters").arg(kZusatzinfoMax));
        setOnce(e.zusatz, value, line, key);
    } else if (key == QLatin1String("quelle")) {
        setOnce(e.quelle, value, line, key);
    } else if (key == QLatin1String("eingabe")) {
        setOnce(e.eingabe, parseDate(value, line, key), line, key);
    } else if (key == QLatin1String("aenderung")) {
        setOnce(e.aenderung, parseDate(value, line, key), line, key);
    } else if (key == QLatin1String("score")) {
        bool ok = false;
        const int s = value.toInt(&ok);
        if (!ok || s < 1 || s > 6)
            fail(line, QStringLiteral("'score' must be a whole number from 1 to 6, not '%1'").arg(value));
        setOnce(e.score, s, line, key);
    } else if (key == QLatin1String("synonym")) {
        const QStringList p = splitBars(value, 5, line, key);
        if (p[0] != QLatin1String("1") && p[0] != QLatin1String("2"))
            fail(line, QStringLiteral("a synonym's language must be 1 (German) or 2 (foreign), not '%1'").arg(p[0]));
        if (p[2].isEmpty())
            fail(line, QStringLiteral("'synonym' has an empty main part"));
        e.synonyms.append(Synonym{p[0].toInt(), Side{p[1], p[2], p[3], p[4]}});
    } else if (key == QLatin1String("language")) {
        fail(line, QStringLiteral("'language' belongs in the header block only"));
    } else {
        fail(line, QStringLiteral("unknown key '%1'").arg(key));
    }
}

void checkComplete(const Entry& e)
{
    QStringList missing;
    auto need = [&](bool present, const char* key) {
        if (!present && !e.refusedKeys.contains(QLatin1String(key)))
            missing << QStringLiteral("'%1'").arg(QLatin1String(key));
    };
    need(e.de.has_value(), "de");
    need(e.fremd.has_value(), "fremd");
    need(e.wortart.has_value(), "wortart");
    need(e.bereiche.has_value(), "bereiche");
    need(e.eingabe.has_value(), "eingabe");
    need(e.aenderung.has_value(), "aenderung");
    need(e.score.has_value(), "score");
    if (!missing.isEmpty())
        fail(e.line, QStringLiteral("entry lacks %1").arg(missing.join(QStringLiteral(", "))));
    // yyyymmdd compares correctly as text
    if (e.eingabe && e.aenderung && *e.aenderung < *e.eingabe)
        fail(e.line, QStringLiteral("change date %1 lies before creation date %2").arg(*e.aenderung, *e.eingabe));
}

// A sample is "phrase – Übersetzung", a dialogue "\"A\" – \"B\" – \"A'\" – \"B'\"":
// the foreign text is the first half of its parts.
QString foreignPartOf(const QString& sample)
{
    const QStringList parts = sample.split(kDash);
    return parts.mid(0, parts.size() / 2).join(kDash);
}

// A word or phrase without its punctuation, its "..." gap and an elided
// article ("l'eau" is found in "un verre d'eau").
QString bareForm(QString s)
{
    s.replace(QStringLiteral("..."), QStringLiteral(" ")).replace(QChar(0x2026), QLatin1Char(' '));
    for (const QChar c : QStringLiteral("!?.,\u00a1\u00bf"))
        s.replace(c, QLatin1Char(' '));
    s = s.simplified();
    if (s.startsWith(QLatin1String("l'"), Qt::CaseInsensitive)
        || s.startsWith(QStringLiteral("l\u2019"), Qt::CaseInsensitive))
        s = s.mid(2);
    return s;
}

// The forms named after a label, "Plural: les eaux", "unregelmäßig: eat – ate –
// eaten", "bestimmt: kaffet (umgangssprachlich auch: kaffen)", one by one.
void addNamedForms(QStringList& forms, const QString& item)
{
    if (!item.contains(QLatin1Char(':')))
        return;
    static const QRegularExpression separators(QStringLiteral("[,/()\u2013]"));
    for (const QString& piece : item.section(QLatin1Char(':'), 1).split(separators)) {
        const QString form = bareForm(piece.section(QLatin1Char(':'), -1));
        if (!form.isEmpty())
            forms << form;
    }
}

// The foreign word, its bare form and the forms the entry lists: inflections
// in 'gramm' and the definite form ("bestimmt: ...") in 'zusatz'.
QStringList knownForms(const Entry& e)
{
    QStringList forms{e.fremd->main, bareForm(e.fremd->main)};
    for (const QString& item : e.gramm.value_or(QStringList()))
        addNamedForms(forms, item);
    for (const QString& raw : e.zusatz.value_or(QString()).split(QLatin1Char(';'))) {
        const QString item = raw.trimmed();
        if (item.startsWith(QLatin1String("bestimmt")))
            addNamedForms(forms, item);
    }
    forms.removeAll(QString());
    return forms;
}

// Case aside, form stands in text where a word begins; endings may follow.
bool containsAtWordStart(const QString& text, const QString& form)
{
    for (qsizetype at = text.indexOf(form, 0, Qt::CaseInsensitive); at >= 0;
         at = text.indexOf(form, at + 1, Qt::CaseInsensitive))
        if (at == 0 || !text[at - 1].isLetterOrNumber())
            return true;
    return false;
}

// A sample must show its own word. Where it rightly uses a form the entry
// does not list, 'beispielform' names that form and why.
void checkSample(const Entry& e)
{
    // Without the word, the sample or the forms as written, the check would
    // only repeat a fault already reported.
    for (const char* key : {"fremd", "gramm", "zusatz", "beispiel", "beispielform"})
        if (e.refusedKeys.contains(QLatin1String(key)))
            return;
    if (!e.fremd)
        return;
    if (!e.beispiel) {
        if (e.beispielform)
            fail(e.beispielformLine, QStringLiteral("'beispielform' without a sample ('beispiel')"));
        return;
    }
    const QString foreign = foreignPartOf(*e.beispiel);
    const QStringList forms = knownForms(e);
    QString found;
    for (const QString& form : forms)
        if (found.isEmpty() && containsAtWordStart(foreign, form))
            found = form;
    if (e.beispielform) {
        if (!found.isEmpty())
            fail(e.beispielformLine, QStringLiteral("'beispielform' is not needed: the sample contains '%1'").arg(found));
        if (!containsAtWordStart(foreign, *e.beispielform))
            fail(e.beispielformLine, QStringLiteral("the sample does not contain the form '%1' that "
                                                    "'beispielform' names")
                                         .arg(*e.beispielform));
        return;
    }
    if (found.isEmpty())
        fail(e.beispielLine, QStringLiteral("the sample does not contain '%1' or a form the entry lists; "
                                            "name the form it uses in 'beispielform = <form> – <reason>'")
                                 .arg(e.fremd->main));
}

// The faults of the entries are gathered in faults, so that one run reports
// them all; a fault of the header is thrown, since no entry can be judged
// without its language.
Source parseSource(const QString& text, QList<ParseError>& faults)
{
    Source src;
    const QStringList lines = text.split(QLatin1Char('\n'));
    bool inBlock = false, headerDone = false;
    int headerLine = 0;
    Entry current;

    auto check = [&](auto&& checkEntry) {
        try {
            checkEntry(current);
        } catch (const ParseError& e) {
            faults.append(e);
        }
    };
    auto closeBlock = [&] {
        if (!inBlock)
            return;
        inBlock = false;
        if (!headerDone) {
            if (src.language.isEmpty())
                fail(headerLine, QStringLiteral("the file must start with 'language = <name>'"));
            headerDone = true;
            return;
        }
        check(checkComplete);
        check(checkSample);
        src.entries.append(current);
    };

    for (int i = 0; i < lines.size(); ++i) {
        const int lineNo = i + 1;
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1Char('#')))
            continue;
        if (trimmed.isEmpty()) {
            closeBlock();
            continue;
        }
        if (!inBlock) {
            inBlock = true;
            if (!headerDone)
                headerLine = lineNo;
            else {
                current = Entry();
                current.line = lineNo;
            }
        }
        const qsizetype eq = trimmed.indexOf(QLatin1Char('='));
        const QString key = eq > 0 ? trimmed.left(eq).trimmed() : QString();
        const QString value = trimmed.mid(eq + 1).trimmed();
        try {
            if (eq <= 0)
                fail(lineNo, QStringLiteral("expected 'key = value', found '%1'").arg(trimmed));
            if (!headerDone) {
                if (key != QLatin1String("language"))
                    fail(lineNo, key == QLatin1String("de") || key == QLatin1String("fremd")
                                     ? QStringLiteral("the header 'language = <name>' must come first, "
                                                      "followed by a blank line")
                                     : QStringLiteral("unknown key '%1' in the header").arg(key));
                if (!src.language.isEmpty())
                    fail(lineNo, QStringLiteral("'language' given twice"));
                if (!labelsOf(value))
                    fail(lineNo, QStringLiteral("unknown language '%1'").arg(value));
                src.language = value;
                continue;
            }
            if (value.isEmpty())
                fail(lineNo, QStringLiteral("'%1' has no value").arg(key));
            applyEntryKey(current, key, value, lineNo, *labelsOf(src.language));
        } catch (const ParseError& e) {
            if (!headerDone)
                throw;
            faults.append(e);
            current.refusedKeys.insert(key);
        }
    }
    closeBlock();
    if (src.language.isEmpty())
        fail(lines.size(), QStringLiteral("the file must start with 'language = <name>'"));
    if (src.entries.isEmpty())
        fail(lines.size(), QStringLiteral("the file holds no entries"));
    return src;
}

// ---- writing -------------------------------------------------------------

struct DbError {
    QString message;
};

class Writer {
public:
    explicit Writer(sqlite3* db) : db_(db) {}

    void exec(const QString& sql)
    {
        char* err = nullptr;
        if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
            DbError e{QString::fromUtf8(err ? err : "unknown error") + QStringLiteral(" in: ") + sql};
            sqlite3_free(err);
            throw e;
        }
    }

    // Runs one statement with bound values (never spliced into the SQL, so
    // apostrophes in the texts are stored as written) and returns the new rowid.
    qint64 insert(const QString& sql, const QVariantList& values)
    {
        sqlite3_stmt* st = nullptr;
        const QByteArray utf8 = sql.toUtf8();
        if (sqlite3_prepare_v2(db_, utf8.constData(), -1, &st, nullptr) != SQLITE_OK)
            throw DbError{QString::fromUtf8(sqlite3_errmsg(db_)) + QStringLiteral(" in: ") + sql};
        for (int i = 0; i < values.size(); ++i) {
            const QVariant& v = values[i];
            if (v.typeId() == QMetaType::Int)
                sqlite3_bind_int(st, i + 1, v.toInt());
            else
                sqlite3_bind_text(st, i + 1, v.toString().toUtf8().constData(), -1, SQLITE_TRANSIENT);
        }
        const int rc = sqlite3_step(st);
        sqlite3_finalize(st);
        if (rc != SQLITE_DONE)
            throw DbError{QString::fromUtf8(sqlite3_errmsg(db_)) + QStringLiteral(" in: ") + sql};
        return sqlite3_last_insert_rowid(db_);
    }

    // The row of a shared text (area or attribute), created on first use.
    qint64 sharedRow(const QString& table, const QString& column, const QString& text)
    {
        QHash<QString, qint64>& known = shared_[table];
        const auto it = known.constFind(text);
        if (it != known.constEnd())
            return *it;
        const qint64 id = insert(QStringLiteral("INSERT INTO %1 (%2) VALUES (?1)").arg(table, column), {text});
        known.insert(text, id);
        return id;
    }

    void link(const QString& table, qint64 entry, qint64 target)
    {
        insert(QStringLiteral("INSERT INTO %1 (IDV, ID) VALUES (?1, ?2)").arg(table),
               {static_cast<int>(entry), static_cast<int>(target)});
    }

private:
    sqlite3* db_;
    QHash<QString, QHash<QString, qint64>> shared_;
};

void writeDatabase(sqlite3* db, const Source& src)
{
    Writer w(db);
    w.exec(QStringLiteral("BEGIN"));
    for (const QString& stmt : Schema::createStatements(QStringLiteral("Lang1_"), QStringLiteral("Lang2_")))
        w.exec(stmt);
    w.insert(Schema::propertyInsertSql(), {QStringLiteral("Vokabular"), QStringLiteral("Languages"),
                                           QStringLiteral("Sprache1=Deutsch@Sprache2=%1@").arg(src.language)});
    w.insert(Schema::propertyInsertSql(), {QStringLiteral("Vokabular"), QStringLiteral("DBVersion"), 2});

    const QString vokSql =
        QStringLiteral("INSERT INTO Vokabular (Lang1_Prefix, Lang1_Main, Lang1_Suffix, Lang1_Kommentar, "
                       "Lang2_Prefix, Lang2_Main, Lang2_Suffix, Lang2_Kommentar, Wortart, Beispielsatz, Zusatzinfo, "
                       "Quelle, Eingabedatum, Aenderungsdatum, Score) "
                       "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15)");
    for (const Entry& e : src.entries) {
        const qint64 id = w.insert(vokSql, {e.de->prefix, e.de->main, e.de->suffix, e.de->comment, e.fremd->prefix,
                                            e.fremd->main, e.fremd->suffix, e.fremd->comment, *e.wortart,
                                            e.beispiel.value_or(QString()), e.zusatz.value_or(QString()),
                                            e.quelle.value_or(QString()), *e.eingabe, *e.aenderung, *e.score});
        for (const QString& a : *e.bereiche)
            w.link(QStringLiteral("Bereiche_Zwischen"), id,
                   w.sharedRow(QStringLiteral("Bereiche"), QStringLiteral("Bereich_Text"), a));
        for (const QString& a : e.gramm.value_or(QStringList()))
            w.link(QStringLiteral("GrammatikalischeAttribute_Zwischen"), id,
                   w.sharedRow(QStringLiteral("GrammatikalischeAttribute"), QStringLiteral("Attribut_Text"), a));
        for (const QString& a : e.funkt.value_or(QStringList()))
            w.link(QStringLiteral("FunktionaleAttribute_Zwischen"), id,
                   w.sharedRow(QStringLiteral("FunktionaleAttribute"), QStringLiteral("Attribut_Text"), a));
        for (const Synonym& s : e.synonyms)
            w.insert(QStringLiteral("INSERT INTO Synonyme (VID, Sprache, Prefix, Main, Suffix, Kommentar) "
                                    "VALUES (?1, ?2, ?3, ?4, ?5, ?6)"),
                     {static_cast<int>(id), s.sprache, s.side.prefix, s.side.main, s.side.suffix, s.side.comment});
    }
    w.exec(QStringLiteral("COMMIT"));
}

void removeOutput(const QString& path)
{
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-journal"));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_lxt <source.txt> <output.lxt>\n");
        return 2;
    }
    const QString sourcePath = QString::fromLocal8Bit(argv[1]);
    const QString outputPath = QString::fromLocal8Bit(argv[2]);

    // A stale database must never survive a failed build.
    removeOutput(outputPath);
    if (QFile::exists(outputPath)) {
        std::fprintf(stderr, "make_lxt: cannot remove %s\n", argv[2]);
        return 1;
    }

    QFile in(sourcePath);
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "make_lxt: cannot read %s: %s\n", argv[1], qPrintable(in.errorString()));
        return 1;
    }
    const QByteArray bytes = in.readAll();
    const QString text = QString::fromUtf8(bytes);
    if (text.toUtf8() != bytes) {
        std::fprintf(stderr, "%s: the file is not valid UTF-8\n", argv[1]);
        return 1;
    }

    Source src;
    QList<ParseError> faults;
    try {
        src = parseSource(text, faults);
    } catch (const ParseError& e) {
        faults.append(e);
    }
    if (!faults.isEmpty()) {
        // An entry's own checks run when it ends, after the faults of its lines.
        std::stable_sort(faults.begin(), faults.end(),
                         [](const ParseError& a, const ParseError& b) { return a.line < b.line; });
        for (const ParseError& e : faults)
            std::fprintf(stderr, "%s:%d: %s\n", argv[1], e.line, e.message.toUtf8().constData());
        return 1;
    }

    sqlite3* db = nullptr;
    const QByteArray outName = QFile::encodeName(outputPath);
    if (sqlite3_open_v2(outName.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "make_lxt: cannot create %s: %s\n", argv[2], db ? sqlite3_errmsg(db) : "out of memory");
        sqlite3_close(db);
        removeOutput(outputPath);
        return 1;
    }
    int rc = 0;
    try {
        writeDatabase(db, src);
    } catch (const DbError& e) {
        std::fprintf(stderr, "make_lxt: writing %s failed: %s\n", argv[2], e.message.toUtf8().constData());
        rc = 1;
    }
    sqlite3_close(db);
    if (rc != 0)
        removeOutput(outputPath);
    return rc;
}
