// The "Languages" property of a database file: read through the handler as
// when a file is opened, then the column names it gives are used on the
// file's record sets. Nothing crashes; a name holds no "=" and no blank at
// either end; a missing column is a clear error, not a wrong one.
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

bool clean(const QString& name)
{
    return !name.contains(u'=') && !name.startsWith(u' ') && !name.endsWith(u' ');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return -1;
    fuzz::setUp();
    const QString path = databasePath();
    {
        TestDatabase db(path, TestDatabase::OpenExisting);
        db.setLanguages(fuzz::text(data + 1, size - 1)).setDBVersion(data[0] % 2 ? 2 : 1);
    }
    CDBHandler h;
    h.dbKopieren = Database::OpenDatabase(path);
    if (h.GetLanguages()) {
        if (!clean(h.lang1) || !clean(h.lang2))
            fuzz::fail("language name not cut clean", h.lang1 + QStringLiteral(" | ") + h.lang2);
        if (h.OpenAllRecordsets()) {
            h.rsKopieren->MoveFirst();
            for (const QString& column : {h.lang1_prefix, h.lang1_main, h.lang2_suffix, h.lang2_comment}) {
                try {
                    h.rsKopieren->Fields(column);
                } catch (const AppError& e) {
                    if (e.number() != DbErr::NoSuchField)
                        fuzz::fail("unexpected error for a column name", column + QStringLiteral(": ")
                                                                           + e.description());
                }
            }
        }
    }
    h.CloseAllDBObjects();
    return 0;
}
