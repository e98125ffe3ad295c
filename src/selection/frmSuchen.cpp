#include "selection/frmSuchen.h"

#include "common/ErrorHandling.h"
#include "common/Global.h"
#include "common/HelpKey.h"
#include "mainwindow/Form1.h"
#include "mainwindow/Forms.h"
#include "platform/MSFlexGrid.h"
#include "platform/MessageService.h"
#include "platform/Twips.h"
#include "platform/WindowPlacement.h"
#include "selection/Liste.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <array>
#include <memory>

namespace {

constexpr int kClientWidth = 3375;
constexpr int kClientHeight = 1485;

// The start of cell upper-cased, at least n characters of it when the cell
// has them. Upper-casing can make a text longer ("ß" -> "SS") or shorter (a
// Greek or Lithuanian locale drops combining accents), and how a letter maps
// can depend on the letters and marks after it up to the end of its word; so
// whole words are upper-cased, as many as it takes to reach n characters.
QString upperStart(const QString& cell, qsizetype n, const QLocale& locale)
{
    qsizetype k = n;
    for (;;) {
        while (k < cell.size() && !cell.at(k).isSpace())
            ++k;
        QString upper = locale.toUpper(cell.left(k));
        if (upper.size() >= n || k >= cell.size())
            return upper;
        k += n - upper.size();
    }
}

// The typed text upper-cased as the start of a longer text, as it is within
// the cells it should find: the locale may map a word's last letter otherwise
// (a Greek eta with an accent keeps the accent only as a word of its own).
// A letter after it that upper-cases alike everywhere gives that context.
QString upperAsStart(const QString& typed, const QLocale& locale)
{
    const QChar alpha(u'\u03B1'), upperAlpha(u'\u0391');
    QString upper = locale.toUpper(typed + alpha);
    if (upper.endsWith(upperAlpha))
        upper.chop(1);
    else
        upper = locale.toUpper(typed);
    return upper;
}

// How the locale upper-cases each character up to U+00FF. None of them
// depends on the letters around it in any locale (the context rules concern
// combining marks and letters beyond Latin-1), so a cell's start made of them
// is compared character by character without the locale.
struct Latin1Upper {
    static constexpr char16_t kSeveral = 0xFFFF; // the upper-case is not one character
    std::array<char16_t, 256> single{};
    std::array<QString, 256> several;

    explicit Latin1Upper(const QLocale& locale)
    {
        for (char16_t c = 0; c < 256; ++c) {
            const QString upper = locale.toUpper(QString(QChar(c)));
            single[c] = upper.size() == 1 ? upper.at(0).unicode() : kSeveral;
            if (single[c] == kSeveral)
                several[c] = upper;
        }
    }
};

// Does the upper-cased cell begin with wanted (already upper-cased)? A start
// of Latin-1 characters is decided through the table; from the first other
// character on, the cell goes the whole way through the locale.
bool beginsWithUpper(const QString& cell, const QString& wanted, const QLocale& locale, const Latin1Upper& table)
{
    const qsizetype n = wanted.size();
    qsizetype j = 0;
    for (const QChar ch : cell) {
        if (j >= n)
            return true;
        const char16_t c = ch.unicode();
        if (c >= 0x100)
            return upperStart(cell, n, locale).startsWith(wanted);
        const char16_t single = table.single[c];
        if (single != Latin1Upper::kSeveral) {
            if (single != wanted[j].unicode())
                return false;
            ++j;
            continue;
        }
        const QStringView upper(table.several[c]);
        const qsizetype len = std::min(upper.size(), n - j);
        if (upper.left(len) != QStringView(wanted).mid(j, len))
            return false;
        j += len;
    }
    return j >= n;
}

} // namespace

frmSuchen::frmSuchen(const QString& mode_, QWidget* parent) : QDialog(parent), mode(mode_)
{
    setObjectName(QStringLiteral("frmSuchen"));
    setWindowTitle(QStringLiteral("Ausdruck suchen"));
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(Twips::designFont(QStringLiteral("MS Sans Serif"), 8.25));
    resize(Twips::size(kClientWidth, kClientHeight));
    setMinimumSize(Twips::size(kClientWidth / 2, kClientHeight));

    const QString languageTip = QStringLiteral("Hier die Sprache auswählen");
    txtAusdruck = new QLineEdit(this);
    txtAusdruck->setObjectName(QStringLiteral("txtAusdruck"));
    txtAusdruck->setFont(Twips::designFont(QStringLiteral("MS Sans Serif"), 9.75));
    txtAusdruck->setToolTip(QStringLiteral("Hier den zu suchenden Text eingeben"));
    Twips::place(txtAusdruck, 120, 480, 3135, 375);

    Option1 = new QRadioButton(QStringLiteral("Lang1"), this);
    Option1->setObjectName(QStringLiteral("Option1"));
    Option1->setToolTip(languageTip);
    Twips::place(Option1, 120, 90, 1575, 300);
    Option2 = new QRadioButton(QStringLiteral("Lang2"), this);
    Option2->setObjectName(QStringLiteral("Option2"));
    Option2->setToolTip(languageTip);
    Twips::place(Option2, 1740, 90, 1575, 300);
    Option1->setChecked(true);

    Command1 = new QPushButton(QStringLiteral("Schließen"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    Twips::place(Command1, 2160, 990, 1095, 375);

    lblNicht = new QLabel(QStringLiteral("Nicht gefunden"), this);
    lblNicht->setObjectName(QStringLiteral("lblNicht"));
    lblNicht->setAlignment(Qt::AlignCenter);
    lblNicht->setAutoFillBackground(true);
    lblNicht->setStyleSheet(QStringLiteral("background-color: #FF0000;"));
    Twips::place(lblNicht, 120, 1035, 1935, 285);
    lblNicht->hide();

    // Tab order: the text, the two languages, Close.
    setTabOrder(txtAusdruck, Option1);
    setTabOrder(Option1, Option2);
    setTabOrder(Option2, Command1);

    connect(Option1, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Option1_Click();
    });
    connect(Option2, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Option2_Click();
    });
    connect(txtAusdruck, &QLineEdit::textChanged, this, [this] { txtAusdruck_Change(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });

    HelpKey::installF1(this, 10022);
    Form_Load();
}

frmSuchen::~frmSuchen() = default;

void frmSuchen::Form_Load()
{
    ErrorHandling::Steps step;
    if (mode == QLatin1String("Liste")) {
        step([&] {
            Liste& liste = Forms::liste();
            const QRect frame = liste.frameGeometry();
            const QPoint closeTop = liste.Command1->mapTo(&liste, QPoint(0, 0));
            // Its own frame is not there before it is shown: counted as the
            // window manager will draw it, so that all of it lies on the screen.
            const QSize outer = WindowPlacement::frameSize(*this);
            const int left = frame.width() - outer.width();
            const int top = frame.top() + closeTop.y() + liste.Command1->height() - outer.height();
            WindowPlacement::moveWhole(*this, {left, top});
        });
        step([&] {
            Liste& liste = Forms::liste();
            liste.MSFlexGrid1->setCol(Option1->isChecked() ? Liste::txtSpanisch : Liste::txtDeutsch);
            liste.SortByAll();
        });
    }
    step([&] { SetUserInterfaceProperties(); });
}

void frmSuchen::SetUserInterfaceProperties()
{
    if (!isEnglish())
        return;
    setWindowTitle(QStringLiteral("Search Expression"));
    lblNicht->setText(QStringLiteral("Not found"));
    Command1->setText(QStringLiteral("Close"));
}

void frmSuchen::Form_Activate()
{
    const CDBHandler& db = Forms::form1().clsdb;
    Option1->setText(db.lang1);
    Option2->setText(db.lang2);
    txtAusdruck->setFocus();
}

void frmSuchen::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Form_Activate();
}

bool frmSuchen::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    return QDialog::event(event);
}

void frmSuchen::chooseLanguage(QRadioButton* option, int column)
{
    if (mode != QLatin1String("Liste"))
        return;
    ErrorHandling::Steps step;
    Liste& liste = Forms::liste();
    step([&] {
        if (option->isChecked())
            liste.MSFlexGrid1->setCol(column);
    });
    step([&] { liste.SortByAll(); });
    step([&] {
        // Clearing the text runs the search with the empty text, which marks
        // the first row of the new order; an empty box raises no change itself.
        if (txtAusdruck->text().isEmpty())
            txtAusdruck_Change();
        else
            txtAusdruck->setText(QString());
        if (isVisible())
            txtAusdruck->setFocus();
        lblNicht->hide();
    });
}

void frmSuchen::Option1_Click() { chooseLanguage(Option1, Liste::txtSpanisch); }

void frmSuchen::Option2_Click() { chooseLanguage(Option2, Liste::txtDeutsch); }

void frmSuchen::txtAusdruck_Change()
{
    if (mode != QLatin1String("Liste"))
        return;
    ErrorHandling::Steps step;
    step([&] {
        lblNicht->hide();
        Liste& liste = Forms::liste();
        MSFlexGrid* grid = liste.MSFlexGrid1;
        const QString t = txtAusdruck->text();
        if (t.isEmpty()) {
            grid->setTopRow(grid->Row());
            liste.SetzeMarke();
            liste.update();
            return;
        }
        const QLocale locale = QLocale::system();
        const QString wanted = upperAsStart(t, locale);
        const int col = grid->Col();
        const int savedRow = grid->Row();
        const int rows = grid->Rows();
        const Latin1Upper table(locale);
        for (int r = 1; r < rows; ++r) {
            if (beginsWithUpper(grid->textRef(r, col), wanted, locale, table)) {
                grid->setRow(r);
                grid->setTopRow(r);
                liste.SetzeMarke();
                liste.update();
                return;
            }
        }
        grid->setRow(savedRow);
        lblNicht->show();
    });
}

void frmSuchen::Command1_Click() { done(QDialog::Rejected); }

void showFindDialogForList()
{
    auto dialog = std::make_unique<frmSuchen>(QStringLiteral("Liste"));
    dialog->mode = QStringLiteral("Liste");
    MessageService::instance().execModal(dialog.get());
}
