#include "app/FormAdressen.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/AccountGrid.h"
#include "app/DatabaseChooser.h"
#include "app/GridViewModel.h"
#include "app/WorkingSetModel.h"
#include "app/WorkingSetStore.h"
#include "clientdb/HintClass.h"
#include "core/FileExists.h"
#include "iban/BankDetailsCheck.h"
#include "iban/ConversionRun.h"

namespace zelvan {

namespace {

const MessageRequest kSaveQuestion{"Möchten Sie vorher die aktuellen Daten speichern?",
                                   "Speicherabfrage IBAN-Konverter", MessageButtons::YesNoCancel, MessageIcon::Question,
                                   2};
const MessageRequest kGaldoQuestion{"Möchen Sie bei Galdo statt der Personaldaten die Daten für Festabzüge bearbeiten?",
                                    "IBAN Konverter Galdo-Abfrage", MessageButtons::YesNo, MessageIcon::Question, 1};

// What names the current database, to return to when a chosen file cannot be read.
struct CurrentDatabase {
    ClientFormat format;
    std::string databasePath;
    std::string tableName;
    bool fixedDeductions;
};

// Before the start-up has read the bank-code file.
constexpr std::string_view kBankFileNotLoaded = "Der BLZ-Bestand der Bundesbank ist noch nicht eingelesen.";

// The columns the conversion run writes: BIC, IBAN, hint, bank name and the hint's number.
constexpr int kFirstConvertedColumn = static_cast<int>(AccountColumn::Bic);
constexpr int kLastConvertedColumn = static_cast<int>(AccountColumn::HintNumber);

} // namespace

int FormAdressen::checkValue(int index) const
{
    return m_check[static_cast<std::size_t>(index)]->isChecked() ? 1 : 0;
}

bool FormAdressen::bankNameOption() const
{
    return checkValue(BankNameSchreiben) == 1 && m_check[BankNameSchreiben]->isEnabled();
}

bool FormAdressen::askSaveQuestion()
{
    if (!m_command[DatenSpeichern]->isEnabled())
        return true;
    switch (showMessage(kSaveQuestion)) {
    case MessageAnswer::Yes:
        SaveWorkingSet();
        return true;
    case MessageAnswer::No:
        return true;
    default:
        return false;
    }
}

void FormAdressen::Command1_Click(int index)
{
    // As a click on the button: a command that is not available does nothing.
    if (index < 0 || static_cast<std::size_t>(index) >= m_command.size() ||
        !m_command[static_cast<std::size_t>(index)]->isEnabled())
        return;
    if ((index == DatenNeuEinlesen || index == Ende || index == Auswaehlen) && !askSaveQuestion())
        return;
    switch (index) {
    case DatenNeuEinlesen:
        LoadWorkingSet();
        break;
    case IbanBicEinsetzen:
        convert();
        break;
    case DatenSpeichern:
        SaveWorkingSet();
        break;
    case Ende:
        closeByProgram();
        break;
    case Auswaehlen:
        chooseDatabase();
        break;
    default:
        break;
    }
}

bool FormAdressen::LoadWorkingSet()
{
    // An edit still open belongs to the rows about to be replaced.
    m_grid->cancelPendingEdit();
    const LoadRequest request{checkValue(IbanAusblenden), checkValue(EingabeFreigeben)};
    m_model->beginReplace();
    LoadResult result = m_store.LoadWorkingSet(m_state, m_rows, request, *this);
    m_model->endReplace(result.columnCount, std::move(result.columns));
    m_caption->setText(QString::fromStdString(result.gridCaption));
    m_command[DatenSpeichern]->setEnabled(false);
    m_command[IbanBicEinsetzen]->setEnabled(result.convertEnabled);
    m_check[BankNameSchreiben]->setEnabled(result.bankNameOptionAvailable);
    m_check[IbanAusblenden]->setEnabled(result.hideIbanOptionAvailable);
    if (result.redirected)
        showFormatFileLine();
    // The Galdo question has been answered by now.
    showDataSet();
    showHintCounts();
    if (m_view->rowCount() > 0 && !m_grid->currentIndex().isValid())
        m_grid->setCurrentIndex(m_view->index(0, 0));
    return result.convertEnabled;
}

void FormAdressen::BindGridColumns()
{
    m_model->setColumns(m_store.BindGridColumns(checkValue(EingabeFreigeben)));
}

void FormAdressen::SaveWorkingSet()
{
    m_grid->commitPendingEdit();
    const int protocol = m_combo->currentIndex();
    const SaveRequest request{static_cast<ProtocolOption>(protocol < 0 ? 0 : protocol), bankNameOption()};
    // A save that failed leaves the changes unsaved, and says so by keeping the button.
    const bool saved = m_store.SaveWorkingSet(m_state, m_rows, request, *this);
    m_command[DatenSpeichern]->setEnabled(!saved);
}

void FormAdressen::convert()
{
    // Without a usable bank-code file every row would only get hint 3: say why instead.
    if (!m_bankFile.ok) {
        showMessage({m_bankFile.error.empty() ? std::string(kBankFileNotLoaded) : m_bankFile.error,
                     std::string(kApplicationTitle), MessageButtons::Ok, MessageIcon::Critical, 0});
        return;
    }
    m_grid->commitPendingEdit();
    ConversionOptions options;
    options.format = m_state.format;
    options.overwriteBankName = bankNameOption();
    if (checkValue(KontonummerPruefen) == 1) {
        if (!m_checkDigits)
            m_checkDigits = std::make_unique<AccountCheckDigits>();
        options.checkDigits = m_checkDigits.get();
    }
    runConversion(m_rows, m_directory, options, *this);
    fillHintNumbers();
    m_model->cellsChanged(kFirstConvertedColumn, kLastConvertedColumn);
    showHintCounts();
    if (m_view->rowCount() > 0 && !m_grid->currentIndex().isValid())
        m_grid->setCurrentIndex(m_view->index(0, 0));
    m_command[DatenSpeichern]->setEnabled(true);
}

void FormAdressen::showHintCounts()
{
    const HintCounts counts = countHints(m_rows);
    m_hintCountsText = QStringLiteral("Fehlerhinweise: %1   Konvertierhinweise: %2")
                           .arg(static_cast<qulonglong>(counts.errors))
                           .arg(static_cast<qulonglong>(counts.conversions));
    // Galdo employees without an account get neither hint: they are counted on their own.
    if (m_state.format == ClientFormat::Galdo) {
        const auto withoutAccount = std::count_if(
            m_rows.begin(), m_rows.end(), [](const AccountRow& row) { return row[AccountColumn::Account].empty(); });
        m_hintCountsText += QStringLiteral("   Ohne Kontonummer: %1").arg(static_cast<qlonglong>(withoutAccount));
    }
    showShownRows();
}

void FormAdressen::onlyRowsWithHint(bool on)
{
    // A view filter: the rows stay loaded, and a save writes every one of them.
    m_grid->commitPendingEdit();
    m_view->setOnlyRowsWithHint(on);
    if (m_view->rowCount() > 0 && !m_grid->currentIndex().isValid())
        m_grid->setCurrentIndex(m_view->index(0, 0));
    showShownRows();
}

void FormAdressen::openFind()
{
    m_findBar->show();
    m_find->setFocus(Qt::ShortcutFocusReason);
    m_find->selectAll();
}

void FormAdressen::closeFind()
{
    m_findBar->hide();
    m_grid->setFocus(Qt::OtherFocusReason);
}

void FormAdressen::findNext()
{
    const QString text = m_find->text().trimmed();
    if (text.isEmpty())
        return;
    m_grid->commitPendingEdit();
    const QModelIndex current = m_grid->currentIndex();
    int row = m_view->findNext(text, current.isValid() ? current.row() : -1);
    if (row < 0) {
        // A row the filter hides is found too: the filter goes off on request.
        if (!showHiddenRow(text, row))
            setStatusText(QStringLiteral("Keine Zeile enthält „%1“.").arg(text).toStdString());
        if (row < 0)
            return;
    }
    const QModelIndex found = m_view->index(row, current.isValid() ? current.column() : 0);
    m_grid->setCurrentIndex(found);
    m_grid->selectionModel()->select(found, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_grid->scrollTo(found);
    setStatusText(QStringLiteral("Gefunden: %1").arg(m_view->index(row, 0).data().toString()).toStdString());
}

void FormAdressen::findAgain()
{
    if (!m_findBar->isVisible() || m_find->text().trimmed().isEmpty())
        openFind();
    else
        findNext();
}

void FormAdressen::chooseDatabase()
{
    const SelectionStart start{m_state.format, m_state.databasePath, m_programFolder, batchSetup()};
    const CurrentDatabase previous{m_state.format, m_state.databasePath, m_state.tableName, m_state.fixedDeductions};
    const auto choice = m_chooser.choose(this, start, *this);
    if (choice) {
        m_state.format = choice->format;
        m_state.databasePath = choice->path;
    }
    showFormatFileLine();
    if (FileExists(m_state.databasePath) && m_state.format == ClientFormat::Galdo) {
        m_state.fixedDeductions = false;
        m_state.fixedDeductions = showMessage(kGaldoQuestion) == MessageAnswer::Yes;
    }
    if (LoadWorkingSet() || !choice || !FileExists(choice->path) || choice->path == previous.databasePath)
        return;
    // A chosen file that could not be read (its message has been shown) does not become the
    // current database: the one before it comes back, and the settings keep it.
    m_state.format = previous.format;
    m_state.databasePath = previous.databasePath;
    m_state.tableName = previous.tableName;
    m_state.fixedDeductions = previous.fixedDeductions;
    showFormatFileLine();
    LoadWorkingSet();
}

BatchSetup FormAdressen::batchSetup()
{
    // The options as convert --alle takes them. The boxes count as they are ticked: the formats
    // that lack an option ignore it, whichever database the window has loaded.
    BatchSetup setup;
    setup.directory = &m_directory;
    setup.bankFile = m_bankFile.path;
    setup.bankFileError = m_bankFile.ok ? std::string() : m_bankFile.error;
    setup.settings.hideRowsWithIban = checkValue(IbanAusblenden) == 1;
    setup.settings.overwriteBankName = checkValue(BankNameSchreiben) == 1;
    if (checkValue(KontonummerPruefen) == 1) {
        if (!m_checkDigits)
            m_checkDigits = std::make_unique<AccountCheckDigits>();
        setup.settings.checkDigits = m_checkDigits.get();
    }
    const int protocol = m_combo->currentIndex();
    setup.settings.protocol = static_cast<ProtocolOption>(protocol < 0 ? 0 : protocol);
    setup.settings.programFolder = m_programFolder;
    setup.backups = &m_state.backups;
    return setup;
}

void FormAdressen::onCheckToggled(int index)
{
    if (m_revertingCheck)
        return;
    Check1_Click(index);
}

void FormAdressen::Check1_Click(int index)
{
    const auto slot = static_cast<std::size_t>(index);
    const int previous = m_checkShown[slot];
    m_checkShown[slot] = checkValue(index);
    if (!m_startupDone)
        return;
    switch (index) {
    case IbanAusblenden:
        // Reading the data again drops unsaved work: ask first, as the buttons do.
        if (!askSaveQuestion()) {
            m_revertingCheck = true;
            m_check[slot]->setChecked(previous == 1);
            m_revertingCheck = false;
            m_checkShown[slot] = previous;
            return;
        }
        LoadWorkingSet();
        break;
    case EingabeFreigeben:
        BindGridColumns();
        break;
    default:
        break;
    }
}

void FormAdressen::Check1_GotFocus(int index)
{
    // The caption as it reads, without the marker of its access key.
    const QString caption = m_check[static_cast<std::size_t>(index)]->text().remove(QLatin1Char('&'));
    setStatusText((caption + QStringLiteral(" ein-/ausschalten")).toStdString());
}

bool FormAdressen::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_find && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        closeFind();
        return true;
    }
    if (watched == m_formatLine && event->type() == QEvent::Resize)
        elideFormatLine();
    if (event->type() == QEvent::FocusIn) {
        for (std::size_t i = 0; i < m_check.size(); ++i) {
            if (watched == m_check[i])
                Check1_GotFocus(static_cast<int>(i));
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FormAdressen::TDBGrid1_AfterColUpdate(int)
{
    m_command[DatenSpeichern]->setEnabled(true);
}

void FormAdressen::refuseTypedValue(const QString& reason)
{
    showMessage(
        {reason.toStdString(), std::string(kApplicationTitle), MessageButtons::Ok, MessageIcon::Exclamation, 0});
}

void FormAdressen::noteDirectoryBic(int row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= m_rows.size())
        return;
    const auto& typed = m_rows[static_cast<std::size_t>(row)];
    if (const auto note = directoryBicNote(m_directory, typed[AccountColumn::Iban], typed[AccountColumn::Bic]);
        !note.empty())
        setStatusText(note);
}

void FormAdressen::TDBGrid1_GotFocus(bool editing)
{
    if (editing) {
        const GridColumn* column = m_model->column(m_grid->currentIndex().column());
        setStatusText("Eingabefeld: " + (column ? column->heading : std::string()));
    } else {
        setStatusText("Blättern in den vorhandenen Bankdaten");
    }
}

void FormAdressen::onGridCloseRequested()
{
    // Esc in browse mode closes the program; unsaved work is offered for saving first.
    if (askSaveQuestion())
        closeByProgram();
}

} // namespace zelvan
