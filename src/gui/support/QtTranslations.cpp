#include "gui/support/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace dualvex {

bool InstallQtTranslations(QCoreApplication& app)
{
    // The program speaks German whatever the desktop's locale, so Qt's buttons and
    // dialogs must too ("Ja"/"Nein" in a "Frage" box, not "Yes"/"No").
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace dualvex
