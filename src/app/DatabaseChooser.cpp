#include "app/DatabaseChooser.h"

#include "select/FileOpenDialog.h"

namespace zelvan {

std::optional<DatabaseChoice> DialogDatabaseChooser::choose(QWidget* owner, const SelectionStart& start,
                                                            UserInterface& ui)
{
    QtFileOpenDialog files;
    AuswahlIBANDatei dialog(start, files, ui, owner);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return DatabaseChoice{dialog.selectedFormat(), dialog.selectedPath()};
}

} // namespace zelvan
