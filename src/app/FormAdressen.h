#pragma once

#include <QWidget>

#include <array>
#include <memory>
#include <string>

#include "app/ShellSettings.h"
#include "bankdir/BankCodeFile.h"
#include "bankdir/BankDirectory.h"
#include "core/ProgramState.h"
#include "core/UserInterface.h"
#include "core/WorkingSet.h"
#include "iban/AccountCheckDigits.h"
#include "select/BatchSetup.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QModelIndex;
class QPushButton;

namespace zelvan {

class AccountGrid;
class DatabaseChooser;
class GridViewModel;
class MainMenu;
class HelpWindow;
class WorkingSetModel;
class WorkingSetStore;

// What the main window works with besides its own controls.
struct FormAdressenServices {
    WorkingSetStore& store;
    DatabaseChooser& chooser;
    // Answers the message boxes (real boxes in the program, a script in the tests).
    UserInterface& messages;
    std::string programFolder;
};

// The main window "IBAN-Konverter für Orvia-Programme". It binds its controls to the working
// set and forwards every command to the core; it is also the UserInterface the core reports to.
class FormAdressen final : public QWidget, public UserInterface {
    Q_OBJECT

public:
    // Command1 buttons by index.
    enum Command { DatenNeuEinlesen = 0, IbanBicEinsetzen = 1, DatenSpeichern = 2, Ende = 3, Auswaehlen = 4 };
    // Check1 boxes by index.
    enum Option { IbanAusblenden = 0, EingabeFreigeben = 1, BankNameSchreiben = 2, KontonummerPruefen = 3 };
    static constexpr std::size_t kOptionCount = 4;

    FormAdressen(ProgramState& state, FormAdressenServices services, QWidget* parent = nullptr);
    ~FormAdressen() override;

    // The start-up sequence of the first activation; later calls do nothing.
    void Form_Activate();
    bool startupDone() const { return m_startupDone; }

    void Command1_Click(int index);
    void Check1_Click(int index);

    // What the window shows, for the program and its tests.
    QString statusText() const;
    QString formatFileLine() const;
    QString gridCaption() const;
    // Beside the caption: the rows with an error hint and with a conversion hint.
    QString hintCounts() const;
    const WorkingSetArray& rows() const { return m_rows; }
    const BankDirectory& bankDirectory() const { return m_directory; }
    // The tooltip of the format line and the sample note beside it.
    QString formatFileLineToolTip() const;
    QString sampleNote() const;
    // "Festabzüge" or "Personaldaten" beside the format line for a Galdo database, else "".
    QString dataSet() const;

    // "Hilfe" (F1: at the hint of the current grid row) and "Über Zelvan Konverter", for the
    // window's keys and its menu.
    QAction* helpAction() const { return m_helpAction; }
    QAction* aboutAction() const { return m_aboutAction; }
    // The help window at the section with this anchor, or at its start.
    void showHelp(const QString& anchor = {});
    // "Über Zelvan Konverter" over `owner` (this window when none is given).
    void showAbout(QWidget* owner = nullptr);

    // UserInterface
    void setStatusText(std::string_view text) override;
    void setBusy(bool busy) override;
    MessageAnswer showMessage(const MessageRequest& request) override;
    void processEvents() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Construction (FormAdressen.cpp).
    void buildControls();

    // Help and about box (FormAdressenHelp.cpp).
    void buildHelpActions();
    void helpAtFocus();

    // Lifecycle (FormAdressenLifecycle.cpp).
    void Form_Load();
    bool Form_QueryUnload();
    void Form_Unload();
    void showFormatFileLine();
    void showDataSet();
    void showBankFile();
    // The bank-code file's modification time as the window shows it; "" without a file in use.
    std::string bankFileModified() const;
    void announceBankFile();
    void closeByProgram();

    // Commands and grid events (FormAdressenCommands.cpp).
    bool askSaveQuestion();
    // True when the database was read.
    bool LoadWorkingSet();
    void BindGridColumns();
    void SaveWorkingSet();
    void convert();
    void chooseDatabase();
    BatchSetup batchSetup();
    void Check1_GotFocus(int index);
    void TDBGrid1_AfterColUpdate(int column);
    void refuseTypedValue(const QString& reason);
    void noteDirectoryBic(int row);
    void TDBGrid1_GotFocus(bool editing);
    void onGridCloseRequested();
    void onCheckToggled(int index);
    void showHintCounts();
    void onlyRowsWithHint(bool on);

    // Filter, find and refused edits (FormAdressenView.cpp).
    void showShownRows();
    bool showHiddenRow(const QString& text, int& viewRow);
    void onEditRefused(const QModelIndex& index);
    void fillHintNumbers();
    void elideFormatLine();
    void openFind();
    void closeFind();
    void findNext();
    // "Sicherung zurückspielen..." (FormAdressenRestore.cpp).
    void restoreBackup();
    // F3: the next match of the search text, or the search field while it has none.
    void findAgain();
    int checkValue(int index) const;
    bool bankNameOption() const;

    ProgramState& m_state;
    WorkingSetStore& m_store;
    DatabaseChooser& m_chooser;
    UserInterface& m_messages;
    std::string m_programFolder;
    ShellSettings m_settings;

    WorkingSetArray m_rows;
    BankDirectory m_directory;
    BankFileResult m_bankFile; // not ok until the start-up has loaded a usable file
    // Built at the first conversion that checks account numbers.
    std::unique_ptr<AccountCheckDigits> m_checkDigits;
    WorkingSetModel* m_model = nullptr;
    GridViewModel* m_view = nullptr; // what the grid shows of m_model: filtered, sorted

    std::array<QPushButton*, 5> m_command{};
    std::array<QCheckBox*, kOptionCount> m_check{};
    std::array<int, kOptionCount> m_checkShown{}; // the value each box had before its last click
    QComboBox* m_combo = nullptr;
    QLabel* m_formatLine = nullptr;
    QString m_formatLineText;  // the format line whole; the label shows it elided in the middle
    QString m_bankFileToolTip; // the bank-code file's part of the format line's tooltip
    QString m_hintCountsText;  // the hint counts without the count of shown rows
    QLabel* m_sampleNote = nullptr;
    QLabel* m_dataSet = nullptr;
    QLabel* m_caption = nullptr;
    QLabel* m_hintCounts = nullptr;
    QCheckBox* m_onlyHinted = nullptr;
    QWidget* m_findBar = nullptr;
    QLineEdit* m_find = nullptr;
    QFrame* m_container = nullptr;
    AccountGrid* m_grid = nullptr;
    QLabel* m_status = nullptr;
    MainMenu* m_menu = nullptr;
    QAction* m_helpAction = nullptr;
    QAction* m_aboutAction = nullptr;
    HelpWindow* m_help = nullptr; // made at its first opening

    bool m_startupStarted = false;
    bool m_startupDone = false;
    bool m_closingByProgram = false;
    bool m_unloaded = false;
    bool m_revertingCheck = false;
    int m_busyDepth = 0;
};

} // namespace zelvan
