#pragma once

#include <QDialog>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "batch/FolderConversion.h"
#include "core/UserInterface.h"
#include "core/WorkingSet.h"
#include "select/BatchSetup.h"
#include "select/DriveList.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTableView;

namespace zelvan {

class BatchDialogs;
class DriveSearch;
class FileOpenDialog;
class FoundDatabasesModel;

// What the selection dialog starts from.
struct SelectionStart {
    ClientFormat format = ClientFormat::None;
    std::string databasePath;
    std::string programFolder; // with its trailing separator
    // What "Alle konvertieren..." runs with; without a directory the button stays disabled.
    BatchSetup batch;
    // The folder the drive list showed when the dialog was last closed ("" for none).
    std::string searchFolder = {};
};

// The folder the direct choice starts in: the folder of the current database, or, without one,
// the parent of the program's folder.
std::string directChoiceFolder(const std::string& databasePath, const std::string& programFolder);

// "Auswahl der zu konvertierenden Datenbank": chooses format and file, directly or from a drive
// search. After Accepted, selectedFormat() and selectedPath() hold the choice. The drive list
// offers the home folder, the mounted volumes and, last, "Ordner wählen...", which asks for a
// folder and searches it; a double-click or Enter on a found database chooses it. "Alle
// konvertieren..." runs convert --alle over the folder just searched, with the main window's
// options: a start dialog, a progress dialog, and the summary; the dialog stays open afterwards.
class AuswahlIBANDatei final : public QDialog {
    Q_OBJECT

public:
    // Buttons of Command1, by index.
    enum Command {
        Auswaehlen = 0,
        Abbruch = 1,
        LaufwerkDurchsuchen = 2,
        DateiDirektAuswaehlen = 3,
        AlleKonvertieren = 4
    };

    // `ui` gets the busy pointer and the event-loop turns of the walk.
    AuswahlIBANDatei(const SelectionStart& start, FileOpenDialog& files, UserInterface& ui, QWidget* parent = nullptr);
    ~AuswahlIBANDatei() override;

    // Replaces the drive list (home folder and mounted volumes by default) and selects the entry
    // that holds the current database.
    void setDrives(std::vector<Drive> drives);
    // The entry of the drive list that asks for a folder to search.
    static constexpr const char* kChooseFolderEntry = "Ordner wählen...";
    static constexpr const char* kChooseFolderTitle = "Zu durchsuchenden Ordner wählen";

    // Replaces the real start and summary dialogs of "Alle konvertieren...".
    void setBatchDialogs(BatchDialogs& dialogs) { m_batchDialogs = &dialogs; }
    // The summary of the last run of "Alle konvertieren...", if any.
    const BatchSummary* lastBatch() const { return m_lastBatch.get(); }

    // The folder the drive list shows, to start there the next time.
    std::string searchFolder() const;

    ClientFormat selectedFormat() const { return m_selectedFormat; }
    const std::string& selectedPath() const { return m_selectedPath; }

    bool searchRunning() const { return m_search != nullptr; }
    QString resultCaption() const;
    // Under the list: the folders the last search could not read ("N Ordner konnten nicht
    // durchsucht werden", each folder with its cause in the tooltip) and the links it did not follow.
    const QLabel& searchNotes() const { return *m_notes; }
    const FoundDatabasesModel& foundDatabases() const { return *m_found; }

    void Command1_Click(int index);
    void done(int result) override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void Form_Load(const SelectionStart& start);
    ClientFormat optionFormat() const;
    void takeSelection();
    void searchDrive();
    void runOneSearch();
    void showSearchNotes(const DriveSearch& search);
    void layoutColumns(ClientFormat format);
    void chooseFileDirectly();
    void onDriveActivated(int index);
    void chooseFolderToSearch();
    // Shows `folder` in the drive list, above "Ordner wählen..." if it is not listed yet.
    void showFolder(const std::string& folder);
    // AuswahlIBANDateiBatch.cpp
    void convertAll();
    void enableConvertAll();

    FileOpenDialog& m_files;
    UserInterface& m_ui;
    std::string m_databasePath;
    std::string m_programFolder;
    std::string m_startFolder;
    std::vector<Drive> m_drives;
    int m_lastDrive = 0; // the entry to return to when choosing a folder is cancelled

    QButtonGroup* m_options = nullptr;
    std::array<QRadioButton*, 4> m_option{};
    QComboBox* m_drive = nullptr;
    std::array<QPushButton*, 5> m_command{};
    QLabel* m_caption = nullptr;
    QLabel* m_notes = nullptr;
    QTableView* m_grid = nullptr;
    FoundDatabasesModel* m_found = nullptr;

    ClientFormat m_selectedFormat = ClientFormat::None;
    std::string m_selectedPath;

    // The whole-office run: what it takes, the dialogs it shows, the folder and format of the last
    // search (the databases it would convert), and what the last run returned.
    BatchSetup m_batch;
    std::unique_ptr<BatchDialogs> m_ownBatchDialogs;
    BatchDialogs* m_batchDialogs = nullptr;
    ClientFormat m_searchedFormat = ClientFormat::None;
    std::string m_searchedFolder;
    bool m_searchedVolume = false;
    std::unique_ptr<BatchSummary> m_lastBatch;
    bool m_batchRunning = false;

    // The walk on the stack, if any, and what was asked while it ran.
    DriveSearch* m_search = nullptr;
    bool m_restartSearch = false;
    bool m_deleteRequested = false;
    int m_pendingResult = -1;
};

} // namespace zelvan
