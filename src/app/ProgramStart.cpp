#include "app/ProgramStart.h"

#include <QApplication>

#include "app/ClientDatabaseStore.h"
#include "app/DatabaseChooser.h"
#include "app/FormAdressen.h"
#include "widgets/MessageBoxes.h"
#include "widgets/ProgramFont.h"
#include "app/QtTranslations.h"
#include "core/ProgramState.h"

namespace zelvan {

struct ProgramSession::Parts {
    explicit Parts(std::string programFolder)
        : store(programFolder),
          window(state, FormAdressenServices{store, chooser, messageBoxes, std::move(programFolder)})
    {
        messageBoxes.setOwner(&window);
    }

    ProgramState state;
    ClientDatabaseStore store;
    DialogDatabaseChooser chooser;
    QtMessageBoxes messageBoxes;
    FormAdressen window;
};

ProgramSession::ProgramSession(std::string programFolder) : m_parts(std::make_unique<Parts>(std::move(programFolder)))
{
}

ProgramSession::~ProgramSession() = default;

FormAdressen& ProgramSession::window()
{
    return m_parts->window;
}

void setUpApplication(QApplication& application)
{
    QApplication::setApplicationName(QString::fromUtf8(ShellSettings::kApplication));
    QApplication::setFont(ProgramFont());
    useGermanLocale();
    if (!installQtTranslations(application))
        qWarning("Die deutschen Qt-Texte (%s) wurden nicht gefunden; "
                 "Dateiauswahl und Standardknöpfe bleiben englisch.",
                 kQtTranslation);
}

int runMainWindow(int& argc, char** argv, const std::string& programFolder)
{
    QApplication application(argc, argv);
    setUpApplication(application);

    ProgramSession session(programFolder);
    session.window().show();
    return QApplication::exec();
}

} // namespace zelvan
