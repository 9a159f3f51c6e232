// Qt's own texts (standard buttons, font and file dialogs) in the program's language.
#pragma once

class QCoreApplication;

namespace dualvex {

// Installs Qt's German translations from the Qt installation into the application.
// Returns false (and the texts stay English) when the translations are not installed.
bool InstallQtTranslations(QCoreApplication& app);

} // namespace dualvex
