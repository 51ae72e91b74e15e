#include "app/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace zelvan {

bool installQtTranslations(QCoreApplication& application, const QString& folder)
{
    const QString from = folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
    // Owned by the application, so it lives as long as the texts it translates.
    auto* translator = new QTranslator(&application);
    if (!translator->load(QString::fromLatin1(kQtTranslation), from)) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

void useGermanLocale()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

} // namespace zelvan
