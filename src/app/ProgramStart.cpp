#include "app/ProgramStart.h"

#include <QApplication>

#include "app/ClientDatabaseStore.h"
#include "app/DatabaseChooser.h"
#include "app/FormAdressen.h"
#include "app/MessageBoxes.h"
#include "app/ProgramFont.h"
#include "core/ProgramState.h"

namespace zelvan {

int runMainWindow(int& argc, char** argv, const std::string& programFolder)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(ShellSettings::kApplication));
    QApplication::setFont(ProgramFont());

    ProgramState state;
    ClientDatabaseStore store;
    DialogDatabaseChooser chooser;
    QtMessageBoxes messageBoxes;
    FormAdressen window(state, FormAdressenServices{store, chooser, messageBoxes, programFolder});
    messageBoxes.setOwner(&window);
    window.show();
    return QApplication::exec();
}

} // namespace zelvan
