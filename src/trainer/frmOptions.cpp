#include "trainer/frmOptions.h"

#include "common/ErrorHandling.h"
#include "common/Global.h"
#include "common/HelpKey.h"
#include "common/ShowMsgBox.h"
#include "common/TextProcs.h"
#include "mainwindow/Form1.h"
#include "mainwindow/Forms.h"
#include "engine/AppError.h"
#include "platform/HelpViewer.h"
#include "platform/MSFlexGrid.h"
#include "platform/MessageService.h"
#include "platform/Twips.h"
#include "platform/WindowPlacement.h"
#include "selection/ListColumnOptions.h"
#include "trainer/Trainer.h"
#include "trainer/frmOptions_Pairs.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QStyle>
#include <QTabBar>

#include <algorithm>
#include <memory>

using namespace OptionsWindow;

namespace {

constexpr int kWidth = 6105;
constexpr int kHeight = 5535;
constexpr int kPageShown = 210;
constexpr int kPageParked = -20000;

// Selecting or clearing an option button in code; clearing the selected one
// leaves its group without a selection, as the design runtime allowed.
void setOptionValue(QRadioButton* button, bool on)
{
    if (button->isChecked() == on)
        return;
    if (on) {
        button->setChecked(true);
        return;
    }
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
}

// The width a push button needs to show its text clear of its edges: the
// text, the style's margin and its frame.
int widthForText(const QPushButton& b)
{
    const QStyle* style = b.style();
    return b.fontMetrics().horizontalAdvance(QString(b.text()).remove(QLatin1Char('&')))
           + style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, &b)
           + 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &b);
}

// Buttons side by side, left to right: when a text does not fit its button,
// all of them get the width the widest text needs, and the row grows to the
// left, keeping its right end and the gaps between the buttons.
void fitButtonRow(const QList<QPushButton*>& row)
{
    int width = 0;
    for (const QPushButton* b : row)
        width = std::max({width, b->width(), widthForText(*b)});
    int right = row.last()->x() + row.last()->width();
    for (qsizetype i = row.size() - 1; i >= 0; --i) {
        const int gap = i > 0 ? row[i]->x() - (row[i - 1]->x() + row[i - 1]->width()) : 0;
        row[i]->setGeometry(right - width, row[i]->y(), width, row[i]->height());
        right -= width + gap;
    }
}

} // namespace

frmOptions::frmOptions(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Optionen"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(Twips::designFont(QStringLiteral("MS Sans Serif"), 8.25));
    setFixedSize(Twips::size(kWidth, kHeight));

    Label2 = control<QLabel>(this, QStringLiteral("Label2"), QStringLiteral("Label2"), 3600, 720, 2055, 3255);

    // The tab strip: the tabs on top, the panel the pages lie on below them.
    m_tabPanel = new QFrame(this);
    m_tabPanel->setFrameShape(QFrame::StyledPanel);
    m_tabPanel->setFrameShadow(QFrame::Raised);
    m_tabPanel->setAutoFillBackground(true); // covers Label2 as the tab strip did
    tbsOptions = new QTabBar(this);
    tbsOptions->setObjectName(QStringLiteral("tbsOptions"));
    tbsOptions->setDrawBase(false);
    tbsOptions->setExpanding(false);
    tbsOptions->addTab(QStringLiteral("Trainer: Reihenfolge"));
    tbsOptions->setTabData(0, QStringLiteral("Reihenfolge"));
    tbsOptions->setTabToolTip(0, QStringLiteral("Einstellungen für den Vokabeltrainer"));
    tbsOptions->addTab(QStringLiteral("Testoptionen"));
    tbsOptions->setTabData(1, QStringLiteral("Selbsttest"));
    tbsOptions->setTabToolTip(1, QStringLiteral("Einstellungen für den Vokabeltest"));
    const QRect strip = Twips::rect(120, 0, 5895, 4845);
    const int tabHeight = tbsOptions->sizeHint().height();
    tbsOptions->setGeometry(strip.left() + 2, strip.top(), strip.width() - 4, tabHeight);
    m_tabPanel->setGeometry(strip.left(), strip.top() + tabHeight - 1, strip.width(), strip.height() - tabHeight + 1);

    for (int i = 0; i < 4; ++i) {
        picOptions[i] = new QWidget(this);
        picOptions[i]->setObjectName(QStringLiteral("picOptions%1").arg(i));
    }
    Twips::place(picOptions[0], 240, 480, 5685, 4185);
    Twips::place(picOptions[1], kPageParked, 480, 5685, 4260);
    Twips::place(picOptions[2], kPageParked, 480, 5685, 4185);
    Twips::place(picOptions[3], kPageParked, 480, 5685, 4215);
    buildPage0();
    buildPage1();
    buildPage2();
    buildPage3();

    cmdApply = control<QPushButton>(this, QStringLiteral("cmdApply"), QStringLiteral("Über&nehmen"), 4920, 5055, 1095, 375);
    cmdOK = control<QPushButton>(this, QStringLiteral("cmdOK"), QStringLiteral("&OK"), 2490, 5055, 1095, 375);
    cmdCancel =
        control<QPushButton>(this, QStringLiteral("cmdCancel"), QStringLiteral("&Abbrechen"), 3720, 5055, 1095, 375);
    for (QPushButton* b : {cmdApply, cmdOK, cmdCancel})
        b->setAutoDefault(false);
    fitButtonRow({cmdOK, cmdCancel, cmdApply});
    cmdApply->setDefault(true);
    Label3 = control<QLabel>(this, QStringLiteral("Label3"), QStringLiteral("Hilfe: F1"), 120, 5280, 975, 255);
    // Apply comes first when the window is entered with Tab.
    setTabOrder(cmdApply, tbsOptions);
    setTabOrder(tbsOptions, cmdOK);
    setTabOrder(cmdOK, cmdCancel);

    connect(tbsOptions, &QTabBar::currentChanged, this, [this] { tbsOptions_Click(); });
    connect(Reihenfolge_sequentiell, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Reihenfolge_sequentiell_Click();
    });
    connect(Reihenfolge_shuffle, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Reihenfolge_shuffle_Click();
    });
    connect(Reihenfolge_random, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Reihenfolge_random_Click();
    });
    connect(Selbsttest, &QCheckBox::toggled, this, [this] { Selbsttest_Click(); });
    connect(Schreiben, &QCheckBox::toggled, this, [this] { Schreiben_Click(); });
    connect(Schleife, &QCheckBox::toggled, this, [this] { Schleife_Click(); });
    connect(cmdApply, &QPushButton::clicked, this, [this] { cmdApply_Click(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(add, &QPushButton::clicked, this, [this] { Add_Click(); });
    connect(Remove, &QPushButton::clicked, this, [this] { Remove_Click(); });
    connect(MSFlexGrid1, &MSFlexGrid::Click, this, [this] { MSFlexGrid1_Click(); });
    connect(Text1, &QLineEdit::textChanged, this, [this] { UpdateExceptionButtons(); });
    connect(Text2, &QLineEdit::textChanged, this, [this] { UpdateExceptionButtons(); });

    // The window sees key presses before its controls (Ctrl+Tab), and the
    // mouse over an option (its explanation).
    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);

    HelpKey::installF1(this, 1005);
    // F1 on a page opens that page's topic.
    HelpViewer::setHelpContext(picOptions[0], 10007);
    HelpViewer::setHelpContext(picOptions[1], 10008);
    HelpViewer::setHelpContext(picOptions[2], 10009);
    Form_Load();
}

frmOptions::~frmOptions() = default;

void frmOptions::buildPage0()
{
    QWidget* page = picOptions[0];
    fraSample1 = control<QGroupBox>(page, QStringLiteral("fraSample1"), QStringLiteral("Vokabeln"), 240, 480, 2655, 1425);
    Reihenfolge_sequentiell = control<QRadioButton>(fraSample1, QStringLiteral("Reihenfolge_sequentiell"),
                                                    QStringLiteral("Seqentiell"), 300, 240, 2295, 355);
    Reihenfolge_shuffle = control<QRadioButton>(fraSample1, QStringLiteral("Reihenfolge_shuffle"),
                                                QStringLiteral("Gemischt"), 300, 600, 1215, 355);
    Reihenfolge_random = control<QRadioButton>(fraSample1, QStringLiteral("Reihenfolge_random"),
                                               QStringLiteral("Random"), 300, 960, 1095, 355);
    Reihenfolge_sequentiell->setChecked(true);

    Frame1 = control<QGroupBox>(page, QStringLiteral("Frame1"), QStringLiteral("Sprachen"), 240, 2160, 2655, 1455);
    Sprache_spanisch = control<QRadioButton>(Frame1, QStringLiteral("Sprache_spanisch"),
                                             QStringLiteral("Spanisch zuerst"), 360, 240, 2055, 495);
    Sprache_deutsch = control<QRadioButton>(Frame1, QStringLiteral("Sprache_deutsch"), QStringLiteral("Deutsch zuerst"),
                                            360, 720, 2055, 495);
    Sprache_spanisch->setChecked(true);

    Erklaerung_Reihenfolge = multiLineLabel(page, QStringLiteral("Erklaerung_Reihenfolge"));
    Twips::place(Erklaerung_Reihenfolge, 3240, 600, 2295, 3015);
}

void frmOptions::buildPage1()
{
    QWidget* page = picOptions[1];
    fraSample2 =
        control<QGroupBox>(page, QStringLiteral("fraSample2"), QStringLiteral("Vokabeltest"), 120, 360, 3375, 3195);
    Selbsttest = control<QCheckBox>(fraSample2, QStringLiteral("Selbsttest"), QStringLiteral("Vokabeltest aktiviert"),
                                    240, 480, 3015, 255);
    Schleife = control<QCheckBox>(fraSample2, QStringLiteral("Schleife"), QStringLiteral("Schleife"), 240, 840, 3015, 375);
    Schreiben =
        control<QCheckBox>(fraSample2, QStringLiteral("Schreiben"), QStringLiteral("Schreiben"), 960, 2760, 3015, 375);
    FehlerBestaetigen = control<QCheckBox>(fraSample2, QStringLiteral("FehlerBestaetigen"),
                                           QStringLiteral("Fehler bestätigen"), 960, 3240, 3015, 375);
    MainOnly = control<QCheckBox>(fraSample2, QStringLiteral("MainOnly"),
                                  QStringLiteral("Vergleich nur mit Hauptausdruck"), 960, 3720, 3015, 375);
    FehlerBestaetigen->setChecked(true);
    // Write, Confirm Error and Compare with Main Part only are not offered.
    Schreiben->setVisible(false);
    FehlerBestaetigen->setVisible(false);
    MainOnly->setVisible(false);

    KommentarLabel = multiLineLabel(page, QStringLiteral("KommentarLabel"));
    Twips::place(KommentarLabel, 3600, 480, 1815, 3075);
}

void frmOptions::buildPage3()
{
    QWidget* page = picOptions[3];
    Frame2 = control<QGroupBox>(page, QStringLiteral("Frame2"),
                                QStringLiteral("Folgende Spalten sollen angezeigt werden:"), 0, 120, 5535, 4095);
    Label4 = multiLineLabel(Frame2, QStringLiteral("Label4"));
    Label4->setText(QStringLiteral("Geben Sie hier an, welche Spalten in der Vokabelliste angezeigt werden sollen, "
                                   "und welche Spalten ausgeblendet werden sollen."));
    Twips::place(Label4, 2880, 480, 2535, 1215);

    struct Box {
        QCheckBox** box;
        const char* name;
        const char* text;
        int top;
        ListColumnOptions::Box column;
    };
    const Box boxes[] = {
        {&chkWortart, "chkWortart", "Wortart", 480, ListColumnOptions::chkWortart},
        {&chkGrammatikalischeAttribute, "chkGrammatikalischeAttribute", "Grammatikalische Attribute", 840,
         ListColumnOptions::chkGrammatikalischeAttribute},
        {&chkFunktionaleAttribute, "chkFunktionaleAttribute", "Funktionale Attribute", 1200,
         ListColumnOptions::chkFunktionaleAttribute},
        {&chkBereich, "chkBereich", "Bereich", 1560, ListColumnOptions::chkBereich},
        {&chkQuelle, "chkQuelle", "Quelle", 1920, ListColumnOptions::chkQuelle},
        {&chkBeispielsatz, "chkBeispielsatz", "Beispielsatz", 2280, ListColumnOptions::chkBeispielsatz},
        {&chkZusatzinfo, "chkZusatzinfo", "Zusatzinfo", 2640, ListColumnOptions::chkZusatzinfo},
        {&chkEingabedatum, "chkEingabedatum", "Eingabedatum", 3000, ListColumnOptions::chkEingabedatum},
        {&chkAenderungsdatum, "chkAenderungsdatum", "Änderungsdatum", 3360, ListColumnOptions::chkAenderungsdatum},
        {&chkScore, "chkScore", "Fehlerscore", 3720, ListColumnOptions::chkScore},
    };
    ListColumnOptions& columns = ListColumnOptions::instance();
    for (const Box& b : boxes) {
        QCheckBox* box =
            control<QCheckBox>(Frame2, QString::fromLatin1(b.name), QString::fromUtf8(b.text), 240, b.top, 2535, 255);
        // Our fonts run wider than the design's: a long text widens its box.
        if (box->sizeHint().width() > box->width())
            box->resize(box->sizeHint().width(), box->height());
        box->setChecked(columns.checked(b.column));
        // The list reads the boxes whenever it lays out its columns.
        const ListColumnOptions::Box column = b.column;
        connect(box, &QCheckBox::toggled, this,
                [column](bool on) { ListColumnOptions::instance().setChecked(column, on); });
        *b.box = box;
    }
}

// ---------------------------------------------------------------------------
// Load, activation, tabs

void frmOptions::Form_Load()
{
    ErrorHandling::Steps step;
    step([&] { WindowPlacement::centreOnScreen(*this); });
    step([&] { Selbsttest_Click(); });
    step([&] { PrepareExceptionsOptions(); });
    step([&] { layOutPairGrid(); });
    step([&] { MarkedExceptionRow = MSFlexGrid1->Rows() >= 1 ? MSFlexGrid1->Row() : -1; });
    step([&] { SetListColVisibility(); });
    step([&] { SetUserInterfaceProperties(); });
}

void frmOptions::Form_Activate()
{
    ErrorHandling::Steps step;
    const QString suffix = tr2(QStringLiteral(" first"), QStringLiteral(" zuerst"));
    step([&] {
        const int w = Twips::roundTw(0.8 * Twips::fromPixelsX(Sprache_spanisch->width()));
        Sprache_spanisch->setText(FitTextToWidth(Forms::form1().lang1 + suffix, w, this));
    });
    step([&] {
        const int w = Twips::roundTw(0.8 * Twips::fromPixelsX(Sprache_deutsch->width()));
        Sprache_deutsch->setText(FitTextToWidth(Forms::form1().lang2 + suffix, w, this));
    });
    step([&] { GetOptions(); });
    step([&] { PrepareExceptionsOptions(); });
}

void frmOptions::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // A modal window becomes active once per opening, with Apply, first in
    // the tab order, holding the focus.
    if (!event->spontaneous()) {
        cmdApply->setFocus(Qt::OtherFocusReason);
        Form_Activate();
    }
}

int frmOptions::selectedTab() const { return tbsOptions->currentIndex() + 1; }

void frmOptions::selectTab(int index)
{
    if (tbsOptions->currentIndex() != index - 1)
        tbsOptions->setCurrentIndex(index - 1); // raises tbsOptions_Click
    else
        tbsOptions_Click();
}

void frmOptions::tbsOptions_Click()
{
    ErrorHandling::Steps step;
    for (int i = 0; i < tbsOptions->count(); ++i) {
        step([&] {
            QWidget* page = picOptions[i];
            const bool shown = i == tbsOptions->currentIndex();
            page->move(Twips::toPixelsX(shown ? kPageShown : kPageParked), page->y());
            page->setEnabled(shown);
        });
    }
}

void frmOptions::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Tab && event->modifiers() == Qt::ControlModifier) {
        ErrorHandling::Steps step;
        step([&] { selectTab(selectedTab() == tbsOptions->count() ? 1 : selectedTab() + 1); });
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool frmOptions::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::ControlModifier) {
            keyPressEvent(key);
            return true;
        }
        break;
    }
    case QEvent::Enter:
    case QEvent::MouseMove:
        explain(watched);
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// Options and their rules

bool frmOptions::checkedBox(const QCheckBox* box) const { return box->isChecked(); }

void frmOptions::GetOptions()
{
    ErrorHandling::Steps step;
    const Trainer& t = Forms::trainer();
    // In this order: each value set raises its control's rule.
    step([&] { setOptionValue(Reihenfolge_sequentiell, t.OptSequentiell); });
    step([&] { setOptionValue(Reihenfolge_shuffle, t.OptShuffle); });
    step([&] { setOptionValue(Reihenfolge_random, t.OptRandom); });
    step([&] { setOptionValue(Sprache_spanisch, t.OptSpanisch1st); });
    step([&] { setOptionValue(Sprache_deutsch, t.OptDeutsch1st); });
    step([&] { Selbsttest->setChecked(t.OptTest); });
    step([&] { Schleife->setChecked(t.OptSchleife); });
    step([&] { Schreiben->setChecked(t.OptSchreiben); });
    step([&] { FehlerBestaetigen->setChecked(t.OptFehlerBestaetigen); });
    step([&] { MainOnly->setChecked(t.OptMainOnly); });
}

void frmOptions::SetOptions()
{
    ErrorHandling::Steps step;
    Trainer& t = Forms::trainer();
    step([&] { t.OptSequentiell = Reihenfolge_sequentiell->isChecked(); });
    step([&] { t.OptShuffle = Reihenfolge_shuffle->isChecked(); });
    step([&] { t.OptRandom = Reihenfolge_random->isChecked(); });
    step([&] { t.OptSpanisch1st = Sprache_spanisch->isChecked(); });
    step([&] { t.OptDeutsch1st = Sprache_deutsch->isChecked(); });
    step([&] { t.OptTest = checkedBox(Selbsttest); });
    step([&] { t.OptSchleife = checkedBox(Schleife); });
    step([&] { t.OptSchreiben = checkedBox(Schreiben); });
    step([&] { t.OptFehlerBestaetigen = checkedBox(FehlerBestaetigen); });
    step([&] { t.OptMainOnly = checkedBox(MainOnly); });
    step([&] { SaveColsSettings(); });
}

void frmOptions::Selbsttest_Click()
{
    ErrorHandling::Steps step;
    QCheckBox* const dependent[] = {Schleife, Schreiben, FehlerBestaetigen, MainOnly};
    if (!Selbsttest->isChecked()) {
        for (QCheckBox* box : dependent)
            step([&] { box->setEnabled(false); });
        for (QCheckBox* box : dependent)
            step([&] { box->setChecked(false); });
        return;
    }
    for (QCheckBox* box : dependent)
        step([&] { box->setEnabled(true); });
    step([&] { Schreiben_Click(); });
    step([&] { Reihenfolge_random_Click(); });
}

void frmOptions::Schreiben_Click()
{
    ErrorHandling::Steps step;
    const bool on = Schreiben->isChecked();
    step([&] { FehlerBestaetigen->setEnabled(on); });
    step([&] { MainOnly->setEnabled(on); });
}

void frmOptions::Reihenfolge_random_Click()
{
    ErrorHandling::Steps step;
    if (Reihenfolge_random->isChecked()) {
        step([&] {
            if (Schleife->isChecked()) {
                ShowMsgBox(tr2(QStringLiteral("The option 'Loop'is being deactivated in order to set option 'Random'."),
                               QStringLiteral("Die Option 'Schleife' wird zur Aktivierung von 'random' zurückgesetzt.")),
                           MsgStyle::OKOnly | MsgStyle::Information);
                Schleife->setChecked(false);
            }
        });
        step([&] { Schleife->setEnabled(false); });
    } else {
        step([&] {
            if (Selbsttest->isChecked())
                Schleife->setEnabled(true);
        });
    }
}

void frmOptions::Reihenfolge_sequentiell_Click()
{
    ErrorHandling::Steps step;
    step([&] {
        if (Selbsttest->isChecked())
            Schleife->setEnabled(true);
    });
}

void frmOptions::Reihenfolge_shuffle_Click() { Reihenfolge_sequentiell_Click(); }

void frmOptions::Schleife_Click()
{
    ErrorHandling::Steps step;
    step([&] {
        if (Schleife->isChecked() && Reihenfolge_random->isChecked()) {
            ShowMsgBox(tr2(QStringLiteral("This option can not be chosen, because the option 'Random' is set."),
                           QStringLiteral("Diese Option kann nicht gewählt werden, da als Wortreihenfolge 'random' "
                                          "eingestellt ist.")),
                       MsgStyle::OKOnly | MsgStyle::Exclamation);
            Schleife->setChecked(false);
        }
    });
}

void frmOptions::explain(QObject* control)
{
    auto* w = qobject_cast<QWidget*>(control);
    if (!w || !w->isEnabled())
        return;
    const Form1& f1 = Forms::form1();
    auto languageText = [](const QString& l, bool en) {
        return en ? QStringLiteral("Option '") + l + QStringLiteral(" first': The expression in ") + l
                        + QStringLiteral(" will be displayed first.")
                  : QStringLiteral("Option '") + l + QStringLiteral(" zuerst': Der Ausdruck in ") + l
                        + QStringLiteral(" wird als erstes angezeigt.");
    };
    // Per control: the label that explains it (the order options on their own
    // tab) and its text in English and German.
    const struct {
        QObject* control;
        QLabel* target;
        QString en, de;
    } explanations[] = {
        {Reihenfolge_sequentiell, Erklaerung_Reihenfolge,
         QStringLiteral("Option 'Sequential': The vocabulary will be displayed in the same order, as in the "
                        "current Vocab List."),
         QStringLiteral("Option 'Sequentiell': Die Vokabeln werden in der Reihenfolge angezeigt, die sie in "
                        "der Vokabelliste haben.")},
        {Reihenfolge_shuffle, Erklaerung_Reihenfolge,
         QStringLiteral("Option 'Shuffled': The vocabulary will be shuffled prior to each start of the sequence."),
         QStringLiteral("Option 'Gemischt': Die Vokabeln werden vor jedem Durchgang gemischt.")},
        {Reihenfolge_random, Erklaerung_Reihenfolge,
         QStringLiteral("Option 'Random': There will not be a sequence created, but the vocabulary will be "
                        "selected randomly. This option can not be combined with option 'Loop'."),
         QStringLiteral("Option 'Random': Es wird keine Sequenz erzeugt, sondern die Vokabeln werden zufällig "
                        "ausgewählt. Diese Option geht nicht zusammen mit der Option 'Schleife'.")},
        {Sprache_spanisch, Erklaerung_Reihenfolge, languageText(f1.lang1, true), languageText(f1.lang1, false)},
        {Sprache_deutsch, Erklaerung_Reihenfolge, languageText(f1.lang2, true), languageText(f1.lang2, false)},
        {Selbsttest, KommentarLabel,
         QStringLiteral("Option 'Vocab Test': Switch vocab test on/off. The settings for the vocab test are "
                        "determined with the subsequent options."),
         QStringLiteral("Option 'Vokabeltest aktiviert': Ein-/Ausschalten des Vokabeltest. Die Einstellungen "
                        "für den Vokabeltest werden mit den nachfolgenden Optionen bestimmt.")},
        {Schleife, KommentarLabel,
         QStringLiteral("Option 'Loop': Switch Loop option for the vocab test on/off. When the Loop option is "
                        "set, all expressions of the sequence, that were not translated correctly by the "
                        "user, will be repeated in the test, until they are translated correctly."),
         QStringLiteral("Option 'Schleife': Ein-/Ausschalten der Schleifenoption für den Vokabeltest. Bei "
                        "aktivierter Schleifenoption werden alle nicht korrekt erkannte Vokabeln einer "
                        "Sequenz so lange im Vokabeltest wiederholt, bis sie korrekt erkannt worden sind.")},
        {Schreiben, KommentarLabel,
         QStringLiteral("Option 'Write': Switch Write option for the vocab test on/off. If Write is activated, "
                        "on each vocabulary of a sequence a window comes up, where the translation of the "
                        "expression shall be entered. The input will be compared with the respective "
                        "expression stored in the data base."),
         QStringLiteral("Option 'Schreiben': Ein-/Ausschalten der Schreiben-Einstellung für den Vokabeltest. "
                        "Ist Schreiben aktiviert, erscheint für jede zu erkennende Vokabel einer Sequenz ein "
                        "Fenster, in dem die Vokabel einzugeben ist. Die Eingabe wird mit dem in der "
                        "Datenbank enthaltenen Ausdruck verglichen.")},
        {FehlerBestaetigen, KommentarLabel,
         QStringLiteral("Option 'Confirm Error': Switch error confirmation mode on/off for the vocab test in "
                        "write-mode. When this option is set, the user can revise the decision of the "
                        "program, if it judges an entry as false."),
         QStringLiteral("Option 'Fehler bestätigen': Ein-/Ausschalten der Fehlerbestätigungsoption für den "
                        "Vokabeltest im Schreiben-Modus. Bei aktivierter Fehlerbstätigungsoption kann der "
                        "Benutzer die Entscheidung des Programms, eine Eingabe sei nicht zutreffend, "
                        "revidieren.")},
        {MainOnly, KommentarLabel,
         QStringLiteral("Option 'Compare with main part only on/off': When this option is not set, the Trainer "
                        "compares the expression entered by the user, with the entire expression stored in "
                        "the data base(excluding the comment). When this option is set, only the main part "
                        "of the stored expression is compared with the user input."),
         QStringLiteral("Option 'Vergleich nur mit Hauptausdruck': In nicht eingeschaltetem Zustand "
                        "vergleicht der Vokabeltrainer die Benutzereingabe mit dem gesamten Ausdruck (ohne "
                        "den Kommentar), bei eingeschaltetem Zustand wird nur der als Hauptausdruck "
                        "gespeicherte Bereich mit der Benutzereingabe verglichen.")},
    };
    for (const auto& e : explanations)
        if (e.control == control) {
            e.target->setText(tr2(e.en, e.de));
            return;
        }
}

void frmOptions::SetUserInterfaceProperties()
{
    if (!isEnglish())
        return;
    tbsOptions->setTabText(0, QStringLiteral("Trainer: Order"));
    tbsOptions->setTabToolTip(0, QStringLiteral("Settings for the Trainer"));
    tbsOptions->setTabText(1, QStringLiteral("Test Options"));
    tbsOptions->setTabToolTip(1, QStringLiteral("Settings for the Vocab Test"));
    fraSample1->setTitle(QStringLiteral("Vocabulary"));
    Reihenfolge_sequentiell->setText(QStringLiteral("Sequential"));
    Reihenfolge_shuffle->setText(QStringLiteral("Shuffle"));
    Reihenfolge_random->setText(QStringLiteral("Random"));
    Frame1->setTitle(QStringLiteral("Languages"));
    fraSample2->setTitle(QStringLiteral("Vocab Test"));
    Selbsttest->setText(QStringLiteral("Vocab Test"));
    Schleife->setText(QStringLiteral("Loop"));
    Schreiben->setText(QStringLiteral("Write"));
    FehlerBestaetigen->setText(QStringLiteral("Confirm Error"));
    MainOnly->setText(QStringLiteral("Compare with Main Part only"));
    cmdCancel->setText(QStringLiteral("Cancel"));
    cmdApply->setText(QStringLiteral("Apply"));
    Label3->setText(QStringLiteral("Help: F1"));
    fraSample3->setTitle(QStringLiteral("Characters to be treated equal"));
    Label1->setText(QStringLiteral("AND"));
    add->setText(QStringLiteral("Add"));
    Remove->setText(QStringLiteral("Remove"));
    Erklaerung_Zeichen->setText(
        QStringLiteral("The pairs of characters, that shall be treated as equal, can be edited here."));
}

// ---------------------------------------------------------------------------
// Apply, OK, Cancel

void frmOptions::cmdApply_Click()
{
    ErrorHandling::Steps step;
    step([&] { SetExceptions(); });
    step([&] { Forms::form1().NumExceptions = 0; });
    step([&] { Forms::form1().GetExceptions(); });
    step([&] { SetOptions(); });
    step([&] { Forms::trainer().OptionsToUI(); });
    step([&] { Forms::trainer().Command6_Click(); });
}

void frmOptions::cmdOK_Click()
{
    ErrorHandling::Steps step;
    step([&] { cmdApply_Click(); });
    step([&] { accept(); });
}

void frmOptions::cmdCancel_Click() { reject(); }

// The list reads the column boxes directly (ListColumnOptions); nothing more
// to do when the options are applied or the window loads.
void frmOptions::SaveColsSettings() {}

void frmOptions::SetListColVisibility() {}

// ---------------------------------------------------------------------------

void showOptionsWindow(int tabIndex)
{
    auto window = std::make_unique<frmOptions>();
    window->selectTab(tabIndex);
    MessageService::instance().execModal(window.get());
}
