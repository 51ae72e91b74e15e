#include "app/DatabaseChooser.h"

#include "app/ShellSettings.h"
#include "select/FileOpenDialog.h"

namespace {

// The settings key of the folder the selection dialog searched last.
constexpr const char* kSearchFolderKey = "AuswahlOrdner";

} // namespace

namespace zelvan {

std::optional<DatabaseChoice> DialogDatabaseChooser::choose(QWidget* owner, const SelectionStart& start,
                                                            UserInterface& ui)
{
    // The drive list starts where it stood the last time, also after a cancel.
    ShellSettings settings;
    SelectionStart withFolder = start;
    withFolder.searchFolder = settings.read(QString::fromUtf8(kSearchFolderKey)).toStdString();
    QtFileOpenDialog files;
    AuswahlIBANDatei dialog(withFolder, files, ui, owner);
    const int result = dialog.exec();
    settings.write(QString::fromUtf8(kSearchFolderKey), QString::fromStdString(dialog.searchFolder()));
    if (result != QDialog::Accepted)
        return std::nullopt;
    return DatabaseChoice{dialog.selectedFormat(), dialog.selectedPath()};
}

} // namespace zelvan
