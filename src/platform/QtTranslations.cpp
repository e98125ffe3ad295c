#include "platform/QtTranslations.h"

#include "engine/UiLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QList>
#include <QTranslator>

namespace QtTranslations {

bool install()
{
    static QList<QTranslator*> installed;
    for (QTranslator* translator : std::as_const(installed)) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    installed.clear();
    if (isEnglish())
        return false;
    // qtbase: dialogs, standard buttons and key names ("Strg"); qt_help: the help viewer.
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* catalogue : {"qtbase_de", "qt_help_de"}) {
        auto* translator = new QTranslator(QCoreApplication::instance());
        if (!translator->load(QLatin1String(catalogue), folder) || !QCoreApplication::installTranslator(translator)) {
            delete translator;
            return false;
        }
        installed.append(translator);
    }
    return true;
}

} // namespace QtTranslations
