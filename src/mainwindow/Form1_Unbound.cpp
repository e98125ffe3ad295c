// Procedures of the main window that no command uses: opening or creating a
// database through a file dialog, writing single entries straight into the
// vocabulary table, and applying the equal-character pairs to a text. Kept,
// as they were, for callers to come.
#include "common/ErrorHandling.h"
#include "common/Global.h"
#include "mainwindow/Form1.h"
#include "mainwindow/Forms.h"
#include "platform/AppPaths.h"
#include "platform/MessageService.h"
#include "platform/SystemServices.h"
#include "platform/WindowPlacement.h"
#include "selection/Form2.h"
#include "selection/Liste.h"

#include <QFileDialog>
#include <algorithm>

bool Form1::askUnsavedChanges(const QString& english, const QString& german)
{
    Liste& liste = Forms::liste();
    if (liste.lfd + liste.DelLfd + liste.AddLfd > 0) {
        if (MsgBox(tr2(english, german), MsgStyle::YesNo + MsgStyle::Question) == MsgResult::No) {
            WindowPlacement::bringToFront(liste);
            return false;
        }
        liste.lfd = liste.DelLfd = liste.AddLfd = 0;
    }
    return true;
}

namespace {
// The file dialogs report Cancel as an error, like the dialog control did.
const AppError kCancelled(32755, QStringLiteral("Abbrechen wurde gewählt."));

QString chooseFile(QFileDialog::AcceptMode mode, const QString& title, QWidget* owner)
{
    QFileDialog dialog(owner, title);
    dialog.setAcceptMode(mode);
    dialog.setNameFilters({tr2(QStringLiteral("LXT-files (*.lxt)"), QStringLiteral("LXT-Dateien (*.lxt)")),
                           tr2(QStringLiteral("all files (*)"), QStringLiteral("Alle Dateien (*)"))});
    dialog.setDirectory(AppPaths::appPath());
    if (MessageService::instance().execModal(&dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        throw kCancelled;
    return dialog.selectedFiles().constFirst();
}
} // namespace

void Form1::OeffneDatenbank()
{
    ErrorHandling::reportAndLeave([&] {
        if (!askUnsavedChanges(QStringLiteral("Not all changes have been saved! Do you really want to proceed?"),
                               QStringLiteral("Es wurden noch nicht alle Änderungen gesichert! Wirklich fortsetzen?")))
            return;
        Forms::form2().Changes = true;
        const QString path = chooseFile(QFileDialog::AcceptOpen,
                                        tr2(QStringLiteral("Open Database"), QStringLiteral("Datenbank Öffnen")), this);
        OpenDatabaseAt(path);
    });
}

void Form1::NeueDatenbank()
{
    ErrorHandling::reportAndLeave([&] {
        if (!askUnsavedChanges(QStringLiteral("Not all changes have been saved! Do you really want to proceed?"),
                               QStringLiteral("Es wurden noch nicht alle Änderungen gesichert! Wirklich fortsetzen?")))
            return;
        Forms::form2().Changes = true;
        chooseFile(QFileDialog::AcceptSave, tr2(QStringLiteral("New Database"), QStringLiteral("Neue Datenbank")), this);
        // The dialog that asks for the two languages and the routine that
        // creates the file are not part of the program.
        throw AppError(ErrNo::ObjectNotSet,
                       tr2(QStringLiteral("Object variable not set: there is no dialog for creating a new database."),
                           QStringLiteral("Objektvariable nicht festgelegt: es gibt keinen Dialog zum Anlegen einer "
                                          "neuen Datenbank.")));
    });
}

void Form1::ZeigeDialog()
{
    throw AppError(ErrNo::ObjectNotSet, tr2(QStringLiteral("Object variable not set: no dialog to show."),
                                            QStringLiteral("Objektvariable nicht festgelegt: kein Dialog zum Anzeigen.")));
}

void Form1::schreibeVokabel1(const QString& word)
{
    ErrorHandling::reportAndLeave([&] {
        Recordset& rs = mustBeSet(clsdb.rsVokabular);
        const QString today = SystemServices::now().toString(QStringLiteral("yyyyMMdd"));
        rs.AddNew();
        rs.SetField(lang1_main, word);
        rs.SetField(QStringLiteral("Eingabedatum"), today);
        rs.SetField(QStringLiteral("Aenderungsdatum"), today);
        for (const QString& column : {lang1_prefix, lang1_suffix, lang1_comment, lang2_prefix, lang2_main, lang2_suffix,
                                      lang2_comment, QStringLiteral("Wortart"), QStringLiteral("Beispielsatz"),
                                      QStringLiteral("Zusatzinfo"), QStringLiteral("Quelle")})
            if (column != QLatin1String("Zusatzinfo") || rs.HasField(column)) // a file of the older version lacks it
                rs.SetField(column, QString(QLatin1String("")));
        rs.Update();
    });
}

void Form1::schreibeVokabel2(const QString& value)
{
    ErrorHandling::reportAndLeave([&] {
        Recordset& rs = mustBeSet(clsdb.rsVokabular);
        rs.Edit();
        rs.SetField(lang2_main, value);
        rs.Update();
        rs.MoveNext();
    });
}

void Form1::SchreibeDeutschEnglisch() {}

void Form1::RufeSchreibeDeutschEnglisch() { SchreibeDeutschEnglisch(); }

QString Form1::WorkInException(const QString& str) const
{
    if (str.isEmpty())
        return QString();
    const int pairs = std::min<int>({NumExceptions, int(ExcL.size()), int(ExcR.size())});
    QString result;
    for (const QChar c : str) {
        QString out(c);
        for (int j = 0; j < pairs; ++j) {
            if (ExcL.at(j) == QString(c)) {
                out = ExcR.at(j);
                break;
            }
        }
        result += out;
    }
    return result;
}
