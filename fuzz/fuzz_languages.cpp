// The "Languages" property of a database file: read through the handler as
// when a file is opened, then the column names it gives are used on the
// file's record sets. Nothing crashes and no box is shown (the file is sound;
// a value that is no language pair only gives False); the pair and the eight
// column names are those of the rule below; a missing column is a clear
// error, not a wrong one.
// Input: first byte odd = DBVersion 2 (Lang1_/Lang2_ columns), even = version 1
// (columns named after the languages); the rest is the property's value.
#include "FuzzSupport.h"

#include "database/CDBHandler.h"
#include "engine/AppError.h"
#include "support/TestDatabase.h"

#include <QDir>

namespace {

QString databasePath()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString p = QDir(dir.path()).filePath(QStringLiteral("fuzz.lxt"));
        TestDatabase db(p, QStringLiteral("Deutsch_"), QStringLiteral("Englisch_"));
        db.setLanguages(QStringLiteral("Sprache1=Deutsch@Sprache2=Englisch@")).setDBVersion(1);
        db.addEntry({QStringLiteral("der"), QStringLiteral("Hund")}, {QStringLiteral("the"), QStringLiteral("dog")}, 3);
        return p;
    }();
    return path;
}

// The language pair of a "Languages" value: "=" opens a name and "@" closes
// it; a name closed after the first "=" is the first language, after the
// second "=" the second; an "@" before any "=" or after a third is no pair.
// Without a closed second name it is the text after the last "=" (none: no
// pair). Blanks at either end are dropped; an empty value gives the defaults.
bool pairByRule(const QString& value, QString& first, QString& second)
{
    if (value.isEmpty()) {
        first = QStringLiteral("Spanisch");
        second = QStringLiteral("Deutsch");
        return true;
    }
    first.clear();
    second.clear();
    int opened = 0;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == u'=') {
            ++opened;
        } else if (value[i] == u'@') {
            if (opened != 1 && opened != 2)
                return false;
            const qsizetype from = value.lastIndexOf(u'=', i) + 1;
            (opened == 1 ? first : second) = value.mid(from, i - from);
        }
    }
    if (second.isEmpty()) {
        if (opened == 0)
            return false;
        second = value.mid(value.lastIndexOf(u'=') + 1);
    }
    auto trimmed = [](const QString& s) {
        qsizetype a = 0, b = s.size();
        while (a < b && s[a] == u' ')
            ++a;
        while (b > a && s[b - 1] == u' ')
            --b;
        return s.mid(a, b - a);
    };
    first = trimmed(first);
    second = trimmed(second);
    return true;
}

QString storedValue(Database& db)
{
    for (const Property& p : db.TableDefs(QStringLiteral("Vokabular"))->Properties())
        if (p.Name == QLatin1String("Languages"))
            return p.Value.toString();
    return QString();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return -1;
    FakeMessageService& msgs = fuzz::setUp();
    const QString path = databasePath();
    {
        TestDatabase db(path, TestDatabase::OpenExisting);
        db.setLanguages(fuzz::text(data + 1, size - 1)).setDBVersion(data[0] % 2 ? 2 : 1);
    }
    const bool version2 = data[0] % 2;
    CDBHandler h;
    h.dbKopieren = Database::OpenDatabase(path);
    const QString value = storedValue(*h.dbKopieren);
    QString first, second;
    const bool pair = pairByRule(value, first, second);
    if (h.GetLanguages() != pair || !msgs.shown.isEmpty())
        fuzz::fail("not a language pair by the rule, or a box", value + QStringLiteral(" | ") + msgs.lastPrompt());
    if (pair) {
        if (h.lang1 != first || h.lang2 != second)
            fuzz::fail("not the pair of the rule",
                       value + QStringLiteral(" -> ") + h.lang1 + QStringLiteral(" | ") + h.lang2);
        // Version 2 names the columns by number, an older file by the language.
        const QString p1 = version2 && !value.isEmpty() ? QStringLiteral("Lang1_") : first + u'_';
        const QString p2 = version2 && !value.isEmpty() ? QStringLiteral("Lang2_") : second + u'_';
        const QStringList names = {h.lang1_prefix, h.lang1_main, h.lang1_suffix, h.lang1_comment,
                                   h.lang2_prefix, h.lang2_main, h.lang2_suffix, h.lang2_comment};
        const QStringList wanted = {p1 + QStringLiteral("Prefix"), p1 + QStringLiteral("Main"),
                                    p1 + QStringLiteral("Suffix"), p1 + QStringLiteral("Kommentar"),
                                    p2 + QStringLiteral("Prefix"), p2 + QStringLiteral("Main"),
                                    p2 + QStringLiteral("Suffix"), p2 + QStringLiteral("Kommentar")};
        if (names != wanted)
            fuzz::fail("column names not those of the rule", value + QStringLiteral(" -> ") + names.join(u' '));
        if (!h.OpenAllRecordsets() || !msgs.shown.isEmpty())
            fuzz::fail("the record sets of a sound file did not open", msgs.lastPrompt());
        h.rsKopieren->MoveFirst();
        for (const QString& column : {h.lang1_prefix, h.lang1_main, h.lang2_suffix, h.lang2_comment}) {
            try {
                h.rsKopieren->Fields(column);
            } catch (const AppError& e) {
                if (e.number() != DbErr::NoSuchField)
                    fuzz::fail("unexpected error for a column name", column + QStringLiteral(": ") + e.description());
            }
        }
    }
    h.CloseAllDBObjects();
    return 0;
}
