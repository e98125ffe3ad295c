// The pronunciation guide: the table written for each foreign language (rows,
// letter groups, remark and blank rows, heights, the quoted texts), languages
// without a table, the grid's set-up, and the window's life: created when
// needed, brought to the front while open, rebuilt after it was closed.
#include "MainWindowFixture.h"
#include "engine/Database.h"
#include "engine/Recordset.h"
#include "platform/MSFlexGrid.h"
#include "pronunciation/PronunciationTables.h"
#include "pronunciation/frmAussprache.h"
#include "platform/Twips.h"
#include "support/TestFiles.h"

#include <QFontMetrics>
#include <QImage>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QTemporaryDir>
#include <QTableView>
#include <QTest>

#include <functional>
#include <map>
#include <vector>

void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace {

// The expected shape of a table: the row listing in grid order, written as
// "N (remark)", "N (blank)" or "N \"group\"", separated by "; ".
struct TellingRow {
    int row;
    const char* group; // nullptr = none
    const char* description;
    int height; // multiple of the default height, 1 = default
};

struct Expected {
    const char* language;
    int rows;
    const char* listing;
    std::vector<TellingRow> telling;
};

const std::vector<Expected>& expectedTables()
{
    static const std::vector<Expected> tables = {
        {"Ungarisch",
         28,
         "0 (remark); 1 (blank); 2 \"c\"; 3 \"s\"; 4 \"z\"; 5 \"sz\"; 6 \"cs\"; 7 \"zs\"; 8 \"dz\"; 9 \"dzs\"; "
         "10 \"ly\"; 11 \"gy\"; 12 \"ny\"; 13 \"ty\"; 14 \"á\"; 15 \"a\"; 16 \"é\"; 17 \"e\"; 18 \"í\"; 19 \"i\"; "
         "20 \"ó\"; 21 \"o\"; 22 \"ö\"; 23 (remark); 24 \"ú\"; 25 \"u\"; 26 \"ü\"; 27 (remark)",
         {{0, nullptr, "b,d,f,g,h,j,k,m,n,l,p,q,r,t,x,w wie im Deutschen.", 2}, {2, "c", "wie 'z' in Zigarette", 1}}},
        {"Dänisch",
         10,
         "0 (remark); 1 (blank); 2 \"å, Å\"; 3 \"æ, Æ\"; 4 \"ø, Ø\"",
         {{0, nullptr,
           "Die Ausprache ist im Dänischen dem Deutschen sehr ähnlich. Nachfolgend sind die signifikantesten "
           "Abweichungen aufgelistet.",
           3},
          {2, "å, Å", "zwischen deutschem 'a' und 'o'", 1}}},
        {"Spanisch",
         20,
         "0 (remark); 1 (blank); 2 \"b\"; 3 (remark); 4 (remark); 5 \"c\"; 6 (remark); 7 \"cc\"; 8 \"ch\"; "
         "9 \"g\"; 10 (remark); 11 \"h\"; 12 \"j\"; 13 \"ll\"; 14 \"ñ\"; 15 \"q\"; 16 \"v\"; 17 \"y\"; "
         "18 (remark); 19 \"z\"",
         {{0, nullptr,
           "Die Vokale und die meisten Konsonanten werden wie im Deutschen ausgesprochen. Im folgenden sind die "
           "Abweichung aufgelistet.",
           3},
          {2, "b", "Laut zwischen deutschem 'b' und 'f'", 1},
          {3, nullptr, "Zwischen Vokalen vor und nach Konsonanten (außer 'm') als stimmhaftes 'b'", 2},
          {15, "q", "nur in 'que' und 'qui', wird wie deutsches 'ke' bzw. 'ki' ausgesprochen", 2},
          {19, "z", "meist ein stimmloser Lispellaut, etwa wie das englische stimmlose 'th'", 2}}},
        {"Französisch",
         47,
         "0 (blank); 1 \"a\"; 2 (remark); 3 (remark); 4 \"â\"; 5 \"ai\"; 6 (remark); 7 \"au\"; 8 \"aulx\"; "
         "9 \"aux\"; 10 \"e\"; 11 \"eau\"; 12 \"eaux\"; 13 \"ei\"; 14 \"eu\"; 15 \"eur\"; 16 \"é\"; 17 \"è\"; "
         "18 \"ê\"; 19 \"ou\"; 20 \"oû\"; 21 \"u\"; 22 \"û\"; 23 \"oi\"; 24 \"oui\"; 25 \"ui\"; 26 (blank); "
         "27 (remark); 28 (remark); 29 (blank); 30 \"c\"; 31 (remark); 32 \"ç\"; 33 \"ch\"; 34 \"g\"; "
         "35 (remark); 36 \"gn\"; 37 \"h\"; 38 \"j\"; 39 \"ll\"; 40 (remark); 41 \"ph\"; 42 \"qu\"; 43 \"v\"; "
         "44 \"y\"; 45 (remark); 46 \"z\"",
         {{1, "a", "kurz und hell wie in 'Ratte'", 1},
          {27, nullptr, "Nasale:", 1},
          {28, nullptr,
           "Nasale entsprechen durch die Nase gesprochene Vokale, für die es nichts Vergleichbares im Deutschen "
           "gibt.",
           2}}},
        {"Finnisch",
         10,
         "0 (remark); 1 (remark); 2 (remark); 3 (blank); 4 \"s\"; 5 \"v\"; 6 \"y\"",
         {{0, nullptr,
           "In der finnischen Sprache gibt es weitgehend eine eindeutige Zuordnung zwischen Buchstaben und "
           "Aussprache. I.d.R. werden finnische Buchstaben wie im Deutschen ausgesprochen. Nachfolgend sind die "
           "signifikantesten Abweichungen aufgelistet.",
           5},
          {4, "s", "immer stimmlos wie 'ß'", 1}}},
        {"Schwedisch",
         41,
         "0 (blank); 1 \"a\"; 2 (remark); 3 \"e\"; 4 \"i\"; 5 \"o\"; 6 (remark); 7 (remark); 8 (remark); 9 \"u\"; "
         "10 (remark); 11 \"y\"; 12 \"å\"; 13 \"ä\"; 14 \"ö\"; 15 \"c\"; 16 (remark); 17 \"g\"; 18 (remark); "
         "19 (remark); 20 (remark); 21 \"h\"; 22 \"k\"; 23 (remark); 24 \"kj\"; 25 \"lj\"; 26 \"ng\"; 27 \"gn\"; "
         "28 \"rd\"; 29 \"rt\"; 30 \"rs\"; 31 \"s\"; 32 \"sj\"; 33 \"skj\"; 34 \"stj\"; 35 \"sk\"; 36 \"sp\"; "
         "37 \"st\"; 38 \"tj\"; 39 \"v\"; 40 \"z\"",
         {{1, "a", "lang: Laut zwischen 'a' und o'", 1}}},
        {"Portugiesisch",
         30,
         "0 (blank); 1 \"a\"; 2 (remark); 3 \"e\"; 4 (remark); 5 \"ê\"; 6 \"é\"; 7 \"i\"; 8 \"o\"; 9 \"ó\"; "
         "10 \"u\"; 11 \"c\"; 12 (remark); 13 \"ç\"; 14 \"ch\"; 15 \"g\"; 16 (remark); 17 \"gu\"; 18 \"h\"; "
         "19 \"j\"; 20 \"lh\"; 21 \"nh\"; 22 \"qu\"; 23 (remark); 24 \"s\"; 25 (remark); 26 (remark); 27 \"x\"; "
         "28 \"z\"; 29 (remark)",
         {{1, "a", "wenn unbetont: etwa wie deutsches 'ä'", 1}}},
        {"Italienisch",
         16,
         "0 (blank); 1 \"c\"; 2 (remark); 3 \"ci\"; 4 \"ch\"; 5 \"g\"; 6 (remark); 7 \"gi\"; 8 \"gh\"; 9 \"gn\"; "
         "10 \"sc\"; 11 (remark); 12 \"sci\"; 13 \"sch\"; 14 (remark); 15 (blank)",
         {{1, "c", "vor 'a', 'o', 'u', Konsonanten wie deutsches 'k'", 1},
          {14, nullptr, "Die Vokale werden weitestgehend wie im Deutschen ausgesprochen.", 2}}},
        {"Isländisch",
         66,
         "0 (blank); 1 \"a\"; 2 (remark); 3 (remark); 4 \"á\"; 5 \"e\"; 6 (remark); 7 (remark); 8 \"é\"; 9 \"i\"; "
         "10 (remark); 11 \"í\"; 12 \"o\"; 13 \"ó\"; 14 \"u\"; 15 (remark); 16 \"ú\"; 17 (remark); 18 \"ö\"; "
         "19 (remark); 20 \"au\"; 21 \"æ\"; 22 \"ei\"; 23 \"ey\"; 24 \"b\"; 25 (remark); 26 \"d\"; 27 (remark); "
         "28 \"ð\"; 29 (remark); 30 \"f\"; 31 (remark); 32 (remark); 33 (remark); 34 (remark); 35 (remark); "
         "36 (remark); 37 \"h\"; 38 \"hl\"; 39 \"hr\"; 40 \"hj\"; 41 \"hn\"; 42 \"hv\"; 43 \"j\"; 44 \"l\"; "
         "45 (remark); 46 \"ll\"; 47 (remark); 48 \"nn\"; 49 (remark); 50 \"ng\"; 51 (remark); 52 \"p\"; "
         "53 (remark); 54 \"pp\"; 55 (remark); 56 \"r\"; 57 (remark); 58 \"rl\"; 59 \"rn\"; 60 \"v\"; 61 \"x\"; "
         "62 \"y\"; 63 (remark); 64 \"ý\"; 65 \"þ\"",
         {{1, "a", "allgemein wie 'a' in 'Tasse'", 1},
          {28, "ð", "nach Vokal und zwischen 'r' und Vokal wie 'th' in engl. 'mother'", 2},
          {46, "ll", "zwischen Vokalen und zwischen Vokal und 'n', 'r' wie 'dl' in 'Adler'", 2},
          {48, "nn", "nach 'á', 'é', 'í', 'ó', 'ú', 'ý', 'æ', 'ei', 'ey', 'au' wie 'ttn' in 'Brettnagel'", 2}}},
        {"Englisch",
         29,
         "0 (blank); 1 (remark); 2 \"a\"; 3 (remark); 4 (remark); 5 \"ame\"; 6 \"ane\"; 7 \"ate\"; 8 \"aw\"; "
         "9 \"e\"; 10 (remark); 11 \"ere\"; 12 \"i\"; 13 \"o\"; 14 (remark); 15 \"oo\"; 16 \"ou\"; 17 \"ow\"; "
         "18 \"u\"; 19 \"y\"; 20 \"j\"; 21 \"r\"; 22 \"sh\"; 23 \"th\"; 24 (remark); 25 (remark); 26 \"v\"; "
         "27 \"w\"; 28 \"z\"",
         {{1, nullptr, "Im folgenden sind die signifikantesten Besonderheiten der englischen Aussprache aufgelistet.", 3},
          {2, "a", "wie deutsches 'a'.", 1},
          {14, nullptr, "mit flüchtigem 'e' wie bei 'Gelage' beginnend und mit schwachem 'u' auslautend (Bsp. go).", 2},
          {15, "oo", "meist wie halblanges 'u' mit nachklingendem flüchtigen 'e' wie bei 'Gelage'.", 2},
          {21, "r",
           "wird nur vor Vokalen gesprochen. Die Zungenspitze bildet mit der oberen Zahnwulst eine Enge, durch die "
           "der Atem mit Stimmton hindurchgetrieben wird. Der Laut wird nicht gerollt d.h. die Zungenspitze nicht "
           "bewegt.",
           4},
          {23, "th", "stimmloser scharfer Lispellaut, gebildet durch Anlegen der Zunge an die oberen Schneidezähne.", 2},
          {24, nullptr, "stimmhafter weicher Lispellaut, gebildet durch Anlegen der Zunge an die oberen Schneidezähne.", 2},
          {25, nullptr,
           "Ausländer werden meistens auch dann verstanden, wenn statt dem korrekten 'th' ein 's' gesprochen wird.", 2}}},
    };
    return tables;
}

enum class Kind { Blank, Remark, Entry };
struct ListedRow {
    Kind kind;
    QString group;
};

std::map<int, ListedRow> parseListing(const char* listing)
{
    std::map<int, ListedRow> rows;
    static const QRegularExpression item(QStringLiteral("^(\\d+) (?:\\((remark|blank)\\)|\"(.+)\")$"));
    for (const QString& part : QString::fromUtf8(listing).split(QStringLiteral("; "))) {
        const auto m = item.match(part);
        if (!m.hasMatch()) {
            ADD_FAILURE() << "bad listing item " << part.toStdString();
            continue;
        }
        const int row = m.captured(1).toInt();
        if (m.captured(2) == QLatin1String("blank"))
            rows[row] = {Kind::Blank, {}};
        else if (m.captured(2) == QLatin1String("remark"))
            rows[row] = {Kind::Remark, {}};
        else
            rows[row] = {Kind::Entry, m.captured(3)};
    }
    return rows;
}

QString cell(MSFlexGrid* grid, int row, int col) { return grid->TextMatrix(row, col); }

class PronunciationGuide : public MainWindowTest {
protected:
    void TearDown() override
    {
        delete pronunciationGuide();
        MainWindowTest::TearDown();
    }

    // Opens the guide for a foreign language as the trainer's menu does.
    frmAussprache* openFor(const QString& language)
    {
        Forms::form1().lang2 = language;
        showPronunciationGuide();
        return pronunciationGuide();
    }

    static void unloadNow() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

// ------------------------------------------------------------------ tables

TEST_F(PronunciationGuide, EveryTableHasItsRowsGroupsAndHeights)
{
    for (const Expected& e : expectedTables()) {
        const QString language = QString::fromUtf8(e.language);
        SCOPED_TRACE(e.language);
        frmAussprache* guide = openFor(language);
        ASSERT_NE(guide, nullptr);
        MSFlexGrid* grid = guide->MSFlexGrid1;
        const int def = guide->DefaultRowHeight;
        ASSERT_GT(def, 0);

        EXPECT_EQ(guide->labLanguage->text(), language);
        ASSERT_EQ(grid->Rows(), e.rows);
        EXPECT_EQ(grid->Cols(), 2);

        const std::map<int, ListedRow> listed = parseListing(e.listing);
        std::map<int, const TellingRow*> telling;
        for (const TellingRow& t : e.telling)
            telling[t.row] = &t;

        for (int r = 0; r < grid->Rows(); ++r) {
            SCOPED_TRACE(r);
            const auto it = listed.find(r);
            const Kind kind = it == listed.end() ? Kind::Blank : it->second.kind;
            switch (kind) {
            case Kind::Blank:
                EXPECT_EQ(cell(grid, r, 0), QString());
                EXPECT_EQ(cell(grid, r, 1), QString());
                break;
            case Kind::Remark:
                EXPECT_EQ(cell(grid, r, 0), QString());
                EXPECT_FALSE(cell(grid, r, 1).trimmed().isEmpty());
                break;
            case Kind::Entry:
                EXPECT_EQ(cell(grid, r, 0), it->second.group);
                EXPECT_FALSE(cell(grid, r, 1).trimmed().isEmpty());
                break;
            }
            int multiple = 1;
            if (const auto t = telling.find(r); t != telling.end()) {
                EXPECT_EQ(cell(grid, r, 0), QString::fromUtf8(t->second->group ? t->second->group : ""));
                EXPECT_EQ(cell(grid, r, 1), QString::fromUtf8(t->second->description));
                multiple = t->second->height;
            }
            EXPECT_EQ(grid->RowHeight(r), def * multiple);
        }
        guide->cmdOK_Click();
        unloadNow();
        ASSERT_EQ(pronunciationGuide(), nullptr);
    }
}

TEST_F(PronunciationGuide, EveryTextFitsItsCell)
{
    // Asks the grid's own style what a cell needs: letter groups on one line
    // in the first column, descriptions wrapped in the second within the
    // row's height (one line for a default row).
    for (const Pronunciation::Table& table : Pronunciation::tables()) {
        frmAussprache* guide = openFor(QString::fromUtf8(table.language));
        MSFlexGrid* grid = guide->MSFlexGrid1;
        QTableView* view = grid->view();
        for (int r = 0; r < grid->Rows(); ++r) {
            for (int c = 0; c < 2; ++c) {
                const QString text = grid->TextMatrix(r, c);
                if (text.isEmpty())
                    continue;
                const QRect cellRect = view->visualRect(view->model()->index(r, c));
                QStyleOptionViewItem opt;
                opt.initFrom(view);
                opt.font = view->font();
                opt.fontMetrics = QFontMetrics(opt.font);
                opt.text = text;
                opt.features = QStyleOptionViewItem::HasDisplay;
                if (c == 1)
                    opt.features |= QStyleOptionViewItem::WrapText;
                opt.rect = QRect(0, 0, cellRect.width(), 10000);
                const QSize need = view->style()->sizeFromContents(QStyle::CT_ItemViewItem, &opt, QSize(), view);
                EXPECT_LE(need.width(), cellRect.width()) << table.language << " row " << r << ": " << text.toStdString();
                const int lines = grid->RowHeight(r) / guide->DefaultRowHeight;
                const int oneLine = opt.fontMetrics.lineSpacing();
                EXPECT_LE(need.height(), std::max(cellRect.height(), oneLine))
                    << table.language << " row " << r << ": " << text.toStdString();
                if (lines == 1) {
                    EXPECT_LT(need.height(), 2 * oneLine) << table.language << " row " << r << ": " << text.toStdString();
                }
            }
        }
        guide->close();
        unloadNow();
    }
}

// Words of the shipped databases whose sound a letter group's rule, read
// as written, would get wrong (a soft k inside a compound, f before ð, a
// breathed p before l): the rows of that group must name them.
TEST(PronunciationTables, RowsNameTheDatabaseWordsTheirRulesMustCover)
{
    const struct {
        const char* language;
        const char* group;
        const char* word;
    } cases[] = {
        {"Schwedisch", "g", "morgon"},        {"Schwedisch", "k", "snabbköp"},      {"Schwedisch", "k", "Kiruna"},
        {"Schwedisch", "lj", "trafikljuset"}, {"Isländisch", "f", "sofðu"},         {"Isländisch", "f", "áfram"},
        {"Isländisch", "f", "kaffi"},         {"Isländisch", "ng", "langt"},        {"Isländisch", "pp", "epli"},
        {"Isländisch", "pp", "vatn"},         {"Portugiesisch", "qu", "cinquenta"}, {"Portugiesisch", "o", "olá"},
        {"Italienisch", "ci", "farmacia"},    {"Französisch", "ai", "pain"},        {"Französisch", "g", "vingt"},
        {"Französisch", "eur", "monsieur"},   {"Englisch", "a", "square"},          {"Englisch", "e", "very"},
    };
    const auto wholeWord = [](const QString& word) {
        return QRegularExpression(QStringLiteral("(?<!\\w)%1(?!\\w)").arg(QRegularExpression::escape(word)),
                                  QRegularExpression::CaseInsensitiveOption
                                      | QRegularExpression::UseUnicodePropertiesOption);
    };
    QTemporaryDir dir;
    std::map<QString, QString> databaseText;
    for (const auto& c : cases) {
        const QString language = QString::fromUtf8(c.language), word = QString::fromUtf8(c.word);
        SCOPED_TRACE(std::string(c.language) + " " + c.group + " " + c.word);
        QString& text = databaseText[language];
        if (text.isEmpty()) {
            const auto db = Database::OpenDatabase(TestFiles::copyShipped(language + QStringLiteral(".lxt"), dir));
            for (const char* table : {"Vokabular", "Synonyme"})
                for (auto rs = db->OpenRecordset(QStringLiteral("SELECT * FROM %1").arg(QLatin1String(table)));
                     !rs->IsEOF(); rs->MoveNext())
                    for (int i = 0; i < rs->FieldCount(); ++i)
                        text += rs->Fields(i).toString() + QLatin1Char('\n');
        }
        ASSERT_TRUE(text.contains(wholeWord(word))) << "not a word of the database";

        const Pronunciation::Table* table = Pronunciation::findTable(language);
        ASSERT_NE(table, nullptr);
        QString rules;
        bool inGroup = false;
        for (const Pronunciation::Row& row : table->rows) {
            if (row.group)
                inGroup = qstrcmp(row.group, c.group) == 0;
            if (inGroup && row.description)
                rules += QString::fromUtf8(row.description) + QLatin1Char('\n');
        }
        ASSERT_FALSE(rules.isEmpty()) << "no such letter group";
        EXPECT_TRUE(rules.contains(wholeWord(word))) << rules.toStdString();
    }
}

TEST_F(PronunciationGuide, LanguagesWithoutTableShowTenEmptyRows)
{
    // The comparison is exact: case and a trailing blank count.
    for (const QString& language : {QString(), QStringLiteral("Deutsch"), QStringLiteral("Niederländisch"),
                                    QStringLiteral("englisch"), QStringLiteral("Englisch "), QStringLiteral("DÄNISCH")}) {
        SCOPED_TRACE(language.toStdString());
        frmAussprache* guide = openFor(language);
        MSFlexGrid* grid = guide->MSFlexGrid1;
        EXPECT_EQ(guide->labLanguage->text(), language);
        ASSERT_EQ(grid->Rows(), 10);
        for (int r = 0; r < 10; ++r) {
            EXPECT_EQ(cell(grid, r, 0), QString()) << r;
            EXPECT_EQ(cell(grid, r, 1), QString()) << r;
            EXPECT_EQ(grid->RowHeight(r), guide->DefaultRowHeight) << r;
        }
        EXPECT_EQ(grid->GridColor(), grid->BackColor()) << "no grid lines";
        guide->close();
        unloadNow();
    }
}

// ------------------------------------------------------------------ set-up

TEST_F(PronunciationGuide, WindowAndGridSetUp)
{
    frmAussprache* guide = openFor(QStringLiteral("Schwedisch"));
    EXPECT_EQ(guide->windowTitle(), QStringLiteral("Aussprache-Info"));
    EXPECT_EQ(guide->parentWidget(), nullptr) << "no owner";
    EXPECT_FALSE(guide->isModal());
    EXPECT_TRUE(guide->isVisible());
    EXPECT_EQ(guide->minimumSize(), guide->maximumSize()) << "fixed size";
    EXPECT_EQ(guide->size(), Twips::size(5730, 3450));
    EXPECT_TRUE(guide->cmdOK->isDefault());
    EXPECT_EQ(guide->cmdOK->text(), QStringLiteral("&OK"));

    MSFlexGrid* grid = guide->MSFlexGrid1;
    EXPECT_EQ(grid->FixedRows(), 0);
    EXPECT_EQ(grid->FixedCols(), 0);
    // Width read in the window's units, widths set in twips.
    EXPECT_NEAR(guide->gridScaleWidth(), 4859.59, 0.01);
    EXPECT_EQ(grid->ColWidth(0), 486);
    EXPECT_EQ(grid->ColWidth(1), 4349);
    EXPECT_EQ(grid->BackColor(), QColor(Qt::white));
    EXPECT_EQ(grid->GridColor(), QColor(Qt::white));
    EXPECT_TRUE(grid->view()->wordWrap());
    // The cells are drawn in the grid's font (the grid colour must not reset it).
    const QFontInfo cells(grid->view()->font()), design(grid->font());
    EXPECT_EQ(cells.family(), design.family());
    EXPECT_DOUBLE_EQ(cells.pointSizeF(), design.pointSizeF());
    EXPECT_EQ(grid->view()->font().stretch(), grid->font().stretch());
    EXPECT_EQ(guide->DefaultRowHeight, grid->RowHeight(0));

    QString key = QStringLiteral("stale");
    qint32 root = 0;
    QString path = QStringLiteral("SOFTWARE"), name = QStringLiteral("PATH");
    EXPECT_FALSE(guide->GetKeyValue(root, path, name, key));
    EXPECT_TRUE(key.isEmpty());
}

TEST_F(PronunciationGuide, NextRowStepsDownAndAppendsAtTheEnd)
{
    frmAussprache* guide = openFor(QStringLiteral("Dänisch"));
    MSFlexGrid* grid = guide->MSFlexGrid1;
    ASSERT_EQ(grid->Row(), 4) << "left on the table's last row";
    guide->NextRow();
    EXPECT_EQ(grid->Row(), 5);
    EXPECT_EQ(grid->Rows(), 10);
    grid->setRow(9);
    guide->NextRow();
    EXPECT_EQ(grid->Rows(), 11);
    EXPECT_EQ(grid->Row(), 10);
    EXPECT_EQ(cell(grid, 10, 0), QString());
    EXPECT_EQ(cell(grid, 10, 1), QString());
}

// ------------------------------------------------------------------ life of the window

TEST_F(PronunciationGuide, OpenGuideComesToTheFrontWithItsFirstTable)
{
    frmAussprache* guide = openFor(QStringLiteral("Dänisch"));
    ASSERT_NE(guide, nullptr);
    EXPECT_EQ(guide->MSFlexGrid1->TextMatrix(2, 0), QStringLiteral("å, Å"));

    // Another database opened meanwhile: the menu command brings the same window.
    EXPECT_EQ(openFor(QStringLiteral("Italienisch")), guide);
    EXPECT_EQ(guide->labLanguage->text(), QStringLiteral("Dänisch"));
    EXPECT_EQ(guide->MSFlexGrid1->Rows(), 10);
    EXPECT_EQ(guide->MSFlexGrid1->TextMatrix(2, 0), QStringLiteral("å, Å"));
}

TEST_F(PronunciationGuide, OkEscEnterAndCloseBoxUnloadIt)
{
    const std::vector<std::pair<const char*, std::function<void(frmAussprache*)>>> ways = {
        {"OK", [](frmAussprache* g) { g->cmdOK->click(); }},
        {"Esc", [](frmAussprache* g) { QTest::keyClick(g, Qt::Key_Escape); }},
        {"Enter", [](frmAussprache* g) { QTest::keyClick(g, Qt::Key_Return); }},
        {"close box", [](frmAussprache* g) { g->close(); }},
    };
    for (const auto& [name, closeIt] : ways) {
        SCOPED_TRACE(name);
        frmAussprache* guide = openFor(QStringLiteral("Spanisch"));
        ASSERT_NE(guide, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(guide));
        // OK is first in the tab order: the guide opens with it focused.
        EXPECT_EQ(guide->focusWidget(), guide->cmdOK);
        guide->cmdOK->setFocus();
        closeIt(guide);
        EXPECT_FALSE(guide->isVisible());
        unloadNow();
        EXPECT_EQ(pronunciationGuide(), nullptr) << "still loaded";
    }
}

TEST_F(PronunciationGuide, ReopenedAfterADatabaseSwitchShowsTheNewLanguage)
{
    makeLanguageDb(QStringLiteral("Finnisch.lxt"), QStringLiteral("Finnisch"));
    makeLanguageDb(QStringLiteral("Englisch.lxt"), QStringLiteral("Englisch"));
    Form1& f1 = Forms::form1();
    f1.Open_DB(QStringLiteral("Finnisch.lxt"));
    ASSERT_EQ(f1.lang2, QStringLiteral("Finnisch")) << msgs->lastPrompt().toStdString();

    showPronunciationGuide();
    frmAussprache* guide = pronunciationGuide();
    ASSERT_NE(guide, nullptr);
    EXPECT_EQ(guide->labLanguage->text(), QStringLiteral("Finnisch"));
    EXPECT_EQ(guide->MSFlexGrid1->TextMatrix(4, 0), QStringLiteral("s"));
    EXPECT_EQ(guide->MSFlexGrid1->RowHeight(0), guide->DefaultRowHeight * 5);

    f1.Open_DB(QStringLiteral("Englisch.lxt"));
    ASSERT_EQ(f1.lang2, QStringLiteral("Englisch"));
    guide->cmdOK_Click();
    unloadNow();
    ASSERT_EQ(pronunciationGuide(), nullptr);

    showPronunciationGuide();
    guide = pronunciationGuide();
    ASSERT_NE(guide, nullptr);
    EXPECT_EQ(guide->labLanguage->text(), QStringLiteral("Englisch"));
    EXPECT_EQ(guide->MSFlexGrid1->Rows(), 29);
    EXPECT_EQ(guide->MSFlexGrid1->TextMatrix(0, 1), QString());
    EXPECT_EQ(guide->MSFlexGrid1->TextMatrix(21, 0), QStringLiteral("r"));
    EXPECT_EQ(guide->MSFlexGrid1->RowHeight(0), guide->DefaultRowHeight) << "no tall row left from Finnish";
    EXPECT_EQ(guide->MSFlexGrid1->RowHeight(21), guide->DefaultRowHeight * 4);
}

// Pictures of the window for looking at by eye (not compared).
TEST_F(PronunciationGuide, Screenshots)
{
    const QString out = qEnvironmentVariable("LEXUVANT_SCREENSHOTS");
    if (out.isEmpty())
        GTEST_SKIP() << "set LEXUVANT_SCREENSHOTS to a folder to write the pictures";
    for (const Pronunciation::Table& table : Pronunciation::tables()) {
        const QString language = QString::fromUtf8(table.language);
        frmAussprache* guide = openFor(language);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(guide));
        // Page by page, so every row of the longer tables is seen once.
        MSFlexGrid* grid = guide->MSFlexGrid1;
        QTableView* view = grid->view();
        for (int top = 0; top >= 0;) {
            grid->setTopRow(top);
            EXPECT_TRUE(
                guide->grab().save(out + QStringLiteral("/guide_%1_%2.png").arg(language).arg(top, 2, 10, QChar('0'))));
            // The next page starts at the row cut off at the bottom, if any.
            const int last = view->rowAt(view->viewport()->height() - 1);
            top = last > top ? last : -1;
        }
        guide->close();
        unloadNow();
    }
}

} // namespace
