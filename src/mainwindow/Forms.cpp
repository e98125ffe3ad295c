#include "mainwindow/Forms.h"

#include "common/Global.h"
#include "mainwindow/Form1.h"
#include "mainwindow/Progress.h"
#include "mainwindow/frmSplash.h"
#include "platform/WindowPlacement.h"
#include "pronunciation/frmAussprache.h"
#include "selection/Form2.h"
#include "selection/Liste.h"
#include "trainer/Trainer.h"

#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <cmath>

namespace Forms {

namespace {
// QPointer: a window that deletes itself (the splash) leaves no dangling entry.
QPointer<Form1> g_form1;
QPointer<Liste> g_liste;
QPointer<Form2> g_form2;
QPointer<Progress> g_progress;
QPointer<Trainer> g_trainer;
QPointer<frmSplash> g_splash;

template <class W>
W& loaded(QPointer<W>& window)
{
    if (!window) {
        WindowPlacement::keepPlacesOnReshow();
        window = new W;
    }
    return *window;
}
} // namespace

Form1& form1() { return loaded(g_form1); }

Liste& liste() { return loaded(g_liste); }

Form2& form2() { return loaded(g_form2); }

Progress& progress() { return loaded(g_progress); }

Trainer& trainer() { return loaded(g_trainer); }

bool isLoaded(const void* window)
{
    if (!window)
        return false;
    return window == g_form1.data() || window == g_liste.data() || window == g_form2.data()
           || window == g_progress.data() || window == g_splash.data() || window == g_trainer.data();
}

bool form2Loaded() { return !g_form2.isNull(); }
bool progressLoaded() { return !g_progress.isNull(); }
bool listeLoaded() { return !g_liste.isNull(); }
bool trainerLoaded() { return !g_trainer.isNull(); }

frmSplash* splash() { return g_splash.data(); }
void setSplash(frmSplash* splash) { g_splash = splash; }

void splashProgress(double value, const char* english, const char* german)
{
    frmSplash* s = g_splash.data();
    if (!s)
        return;
    s->ProgressBar1->setValue(int(std::lround(qBound(0.0, value, 100.0))));
    if (english || german)
        s->labStatus->setText(tr2(QString::fromUtf8(english ? english : ""), QString::fromUtf8(german ? german : "")));
    s->frmStatus->repaint();
}

void unloadAll()
{
    // Dependants first, the main window (owner of the database handler) last.
    delete g_splash.data();
    delete pronunciationGuide();
    delete g_trainer.data();
    delete g_form2.data();
    delete g_liste.data();
    delete g_progress.data();
    delete g_form1.data();
}

} // namespace Forms
