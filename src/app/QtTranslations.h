#pragma once

#include <QString>

class QCoreApplication;

namespace zelvan {

// Qt's own texts (file dialog, standard buttons, context menus) in German, whatever the
// machine's language: the German catalogue of the Qt base library, from Qt's translations folder.
inline constexpr const char* kQtTranslation = "qtbase_de";

// Installs the German Qt texts on the application. False, with the program left in Qt's own
// English, when the catalogue cannot be loaded from `folder` (default: Qt's translations folder).
bool installQtTranslations(QCoreApplication& application, const QString& folder = {});

// Dates, numbers and sizes that Qt formats itself (the file dialog's columns among them) in German,
// whatever the machine's locale. Only Qt's default locale changes; the C library's stays as it is.
void useGermanLocale();

} // namespace zelvan
