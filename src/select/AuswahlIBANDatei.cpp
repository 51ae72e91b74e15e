#include "select/AuswahlIBANDatei.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

#include "widgets/ProgramFont.h"
#include "core/PathRoutines.h"
#include "select/BatchDialogs.h"
#include "search/DriveSearch.h"
#include "select/FileOpenDialog.h"
#include "select/FoundDatabasesModel.h"
#include "search/InvoicingDatabase.h"

namespace zelvan {

namespace {

// Captions of the option buttons Option1(0..3); option i stands for ClientFormat i + 1. Options,
// buttons and the drive list have access keys, no letter twice in the dialog.
constexpr std::array<const char*, 4> kOptionCaptions{"&Marlo OP", "&Tondra", "D&orvan", "&Galdo"};
// Captions of the buttons Command1(0..3).
constexpr std::array<const char*, 5> kCommandCaptions{"&Auswählen", "Abb&ruch", "&Laufwerk durchsuchen",
                                                      "&Datei direkt auswählen", "Alle &konvertieren..."};

// Widths of the first two result columns as shares of the grid's width, per kind of format.
struct ColumnShares {
    double client;
    double folder;
};
constexpr ColumnShares kTondraShares{0.45, 0.25};
constexpr ColumnShares kClientShares{0.15, 0.55};

std::string withoutTrailingSeparator(std::string path)
{
    while (path.size() > 1 && (path.back() == '/' || path.back() == '\\'))
        path.pop_back();
    return path;
}

} // namespace

std::string directChoiceFolder(const std::string& databasePath, const std::string& programFolder)
{
    // A path without any folder part stands in the program's folder.
    const std::string folder =
        FolderOfPath(databasePath.empty() ? withoutTrailingSeparator(programFolder) : databasePath);
    return folder.empty() ? programFolder : folder;
}

AuswahlIBANDatei::AuswahlIBANDatei(const SelectionStart& start, FileOpenDialog& files, UserInterface& ui,
                                   QWidget* parent)
    : QDialog(parent), m_files(files), m_ui(ui), m_databasePath(start.databasePath),
      m_programFolder(start.programFolder), m_startFolder(start.searchFolder), m_batch(start.batch),
      m_ownBatchDialogs(std::make_unique<QtBatchDialogs>()), m_batchDialogs(m_ownBatchDialogs.get())
{
    setObjectName(QStringLiteral("AuswahlIBANDatei"));
    setWindowTitle(QStringLiteral("Auswahl der zu konvertierenden Datenbank"));
    setModal(true);
    buildControls();
    setDrives(searchPlaces());
    Form_Load(start);
}

AuswahlIBANDatei::~AuswahlIBANDatei() = default;

void AuswahlIBANDatei::buildControls()
{
    auto* formatBox = new QGroupBox(QStringLiteral("Bitte wählen Sie das Format der zu konvertierenden Datenbank:"));
    auto* formatLayout = new QHBoxLayout(formatBox);
    m_options = new QButtonGroup(this);
    for (std::size_t i = 0; i < m_option.size(); ++i) {
        m_option[i] = new QRadioButton(QString::fromUtf8(kOptionCaptions[i]));
        m_option[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        m_options->addButton(m_option[i], static_cast<int>(i));
        formatLayout->addWidget(m_option[i]);
    }

    auto* driveLabel = new QLabel(QStringLiteral("Zu durchsuchendes Lauf&werk:"));
    m_drive = new QComboBox;
    m_drive->setObjectName(QStringLiteral("Drive1"));
    driveLabel->setBuddy(m_drive);
    connect(m_drive, &QComboBox::activated, this, &AuswahlIBANDatei::onDriveActivated);

    for (std::size_t i = 0; i < m_command.size(); ++i) {
        m_command[i] = new QPushButton(QString::fromUtf8(kCommandCaptions[i]));
        m_command[i]->setObjectName(QStringLiteral("Command1_%1").arg(i));
        m_command[i]->setAutoDefault(false);
        const int index = static_cast<int>(i);
        connect(m_command[i], &QPushButton::clicked, this, [this, index] { Command1_Click(index); });
    }

    m_caption = new QLabel;
    m_caption->setObjectName(QStringLiteral("TDBGrid1_Caption"));
    m_caption->setAlignment(Qt::AlignCenter);
    m_found = new FoundDatabasesModel(this);
    m_grid = new QTableView;
    m_grid->setObjectName(QStringLiteral("TDBGrid1"));
    m_grid->setModel(m_found);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setWordWrap(false);
    // A double-click or Enter on a found database chooses it, as "Auswählen" does.
    connect(m_grid, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        m_grid->setCurrentIndex(index);
        takeSelection();
    });
    m_grid->installEventFilter(this);
    m_notes = new QLabel;
    m_notes->setObjectName(QStringLiteral("SearchNotes"));
    m_notes->hide();

    auto* driveRow = new QHBoxLayout;
    driveRow->addWidget(driveLabel);
    driveRow->addWidget(m_drive, 1);
    driveRow->addWidget(m_command[LaufwerkDurchsuchen]);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(m_command[DateiDirektAuswaehlen]);
    buttonRow->addWidget(m_command[AlleKonvertieren]);
    buttonRow->addStretch(1);
    buttonRow->addWidget(m_command[Auswaehlen]);
    buttonRow->addWidget(m_command[Abbruch]);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(formatBox);
    layout->addLayout(driveRow);
    layout->addWidget(m_caption);
    layout->addWidget(m_grid, 1);
    layout->addWidget(m_notes);
    layout->addLayout(buttonRow);
}

void AuswahlIBANDatei::setDrives(std::vector<Drive> drives)
{
    m_drives = std::move(drives);
    m_drive->clear();
    for (const Drive& drive : m_drives)
        m_drive->addItem(QString::fromStdString(drive.text));
    m_drive->addItem(QString::fromUtf8(kChooseFolderEntry));
    const std::string near = m_databasePath.empty() ? m_programFolder : m_databasePath;
    m_lastDrive = m_drives.empty() ? 0 : static_cast<int>(driveIndexFor(m_drives, near));
    m_drive->setCurrentIndex(m_lastDrive);
    // The folder of the last time, as long as it is there.
    if (!m_startFolder.empty() && QDir(QString::fromStdString(m_startFolder)).exists())
        showFolder(m_startFolder);
}

void AuswahlIBANDatei::showFolder(const std::string& folder)
{
    const auto known = std::find_if(m_drives.begin(), m_drives.end(), [&](const Drive& d) { return d.root == folder; });
    const int index = static_cast<int>(known - m_drives.begin());
    if (known == m_drives.end()) {
        // Chosen folders stand above "Ordner wählen...", so that a later search can take them again.
        m_drives.push_back({folder, folder});
        m_drive->insertItem(index, QString::fromStdString(folder));
    }
    m_drive->setCurrentIndex(index);
    m_lastDrive = index;
}

std::string AuswahlIBANDatei::searchFolder() const
{
    const auto slot = static_cast<std::size_t>(m_lastDrive);
    return slot < m_drives.size() ? m_drives[slot].root : std::string();
}

void AuswahlIBANDatei::onDriveActivated(int index)
{
    if (index == static_cast<int>(m_drives.size()))
        chooseFolderToSearch();
    else
        m_lastDrive = index;
}

void AuswahlIBANDatei::chooseFolderToSearch()
{
    const QString home = QDir::homePath();
    const std::string start = m_databasePath.empty() ? home.toStdString() : FolderOfPath(m_databasePath);
    std::string folder = m_files.chooseFolder(this, kChooseFolderTitle, start);
    if (folder.empty()) {
        m_drive->setCurrentIndex(m_lastDrive);
        return;
    }
    showFolder(folder);
    searchDrive();
}

bool AuswahlIBANDatei::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            takeSelection();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void AuswahlIBANDatei::Form_Load(const SelectionStart& start)
{
    if (parentWidget())
        resize(parentWidget()->size() * 0.8);
    else
        resize(603, 477); // the designed 9045 x 7155 twips at 96 dpi

    switch (start.format) {
    case ClientFormat::Tondra:
        m_option[1]->setChecked(true);
        break;
    case ClientFormat::Dorvan:
        m_option[2]->setChecked(true);
        break;
    case ClientFormat::Galdo:
        m_option[3]->setChecked(true);
        break;
    default:
        m_option[0]->setChecked(true);
        break;
    }

    ApplyProgramFont(*this);
    m_grid->setFont(ProgramFont());
    m_grid->horizontalHeader()->setFont(ProgramFont());
    m_caption->clear();
    m_found->reset({}, start.format == ClientFormat::Tondra);
    m_command[Auswaehlen]->setEnabled(false);
    m_command[AlleKonvertieren]->setEnabled(false);
}

QString AuswahlIBANDatei::resultCaption() const
{
    return m_caption->text();
}

ClientFormat AuswahlIBANDatei::optionFormat() const
{
    const int checked = m_options->checkedId();
    return static_cast<ClientFormat>(checked < 0 ? 1 : checked + 1);
}

void AuswahlIBANDatei::Command1_Click(int index)
{
    switch (index) {
    case Auswaehlen:
        takeSelection();
        break;
    case Abbruch:
        reject();
        break;
    case LaufwerkDurchsuchen:
        searchDrive();
        break;
    case DateiDirektAuswaehlen:
        chooseFileDirectly();
        break;
    case AlleKonvertieren:
        convertAll();
        break;
    default:
        break;
    }
}

void AuswahlIBANDatei::takeSelection()
{
    const QModelIndex current = m_grid->currentIndex();
    if (m_search || !current.isValid())
        return;
    const auto& rows = m_found->rows();
    const auto row = static_cast<std::size_t>(current.row());
    if (row >= rows.size())
        return;
    m_selectedFormat = optionFormat();
    // The very file that was found, whatever its name holds besides the client number.
    m_selectedPath = rows[row].path();
    accept();
}

void AuswahlIBANDatei::searchDrive()
{
    if (m_search) {
        // A walk is on the stack below this click: end it; the outer call starts afresh.
        m_restartSearch = true;
        m_search->stop();
        return;
    }
    do {
        m_restartSearch = false;
        runOneSearch();
    } while (m_restartSearch && m_pendingResult < 0 && !m_deleteRequested);

    if (m_pendingResult >= 0) {
        const int result = m_pendingResult;
        m_pendingResult = -1;
        QDialog::done(result);
    }
    if (m_deleteRequested) {
        // deleteLater() counts only once per object, so the swallowed deletion is queued anew,
        // through the application object: the dialog must not delete itself inside its own event.
        m_deleteRequested = false;
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [self = QPointer<AuswahlIBANDatei>(this)] { delete self.data(); },
            Qt::QueuedConnection);
    }
}

void AuswahlIBANDatei::runOneSearch()
{
    const BusyPointer busy(m_ui);
    const ClientFormat format = optionFormat();
    const bool tondra = format == ClientFormat::Tondra;
    m_found->reset({}, tondra);
    m_caption->setText(QStringLiteral("Suchvorgang läuft..."));
    m_command[Auswaehlen]->setEnabled(false);
    m_command[AlleKonvertieren]->setEnabled(false);
    m_notes->hide();
    layoutColumns(format);

    const int driveIndex = m_drive->currentIndex();
    const Drive drive = driveIndex >= 0 && static_cast<std::size_t>(driveIndex) < m_drives.size()
                            ? m_drives[static_cast<std::size_t>(driveIndex)]
                            : Drive{};
    DriveSearch search(format, &IsInvoicingDatabase, m_ui);
    m_search = &search;
    if (!drive.root.empty())
        search.run(drive.root, drive.volume ? SearchScope::Drive : SearchScope::Folder);
    m_search = nullptr;
    showSearchNotes(search);

    // List, caption and "Auswählen" always show the same outcome, also of a walk that was ended early.
    m_found->reset(search.FoundDatabases(), tondra);
    m_caption->setText(QString::fromStdString(searchCaption(search.FoundDatabases().size(), drive.text)));
    if (m_found->rowCount() > 0)
        m_grid->setCurrentIndex(m_found->index(0, 0));
    m_command[Auswaehlen]->setEnabled(m_found->rowCount() > 0);
    m_searchedFormat = format;
    m_searchedFolder = drive.root;
    m_searchedVolume = drive.volume;
    enableConvertAll();
}

void AuswahlIBANDatei::showSearchNotes(const DriveSearch& search)
{
    QStringList lines;
    QStringList folders;
    if (!search.unreadableFolders().empty())
        lines << QString::fromStdString(unreadableFoldersLine(search.unreadableFolders().size()));
    for (const auto& folder : search.unreadableFolders())
        folders << QString::fromStdString(unreadableFolderLine(folder));
    if (search.folderLinksSkipped() > 0)
        lines << QString::fromStdString(folderLinksLine(search.folderLinksSkipped()));
    m_notes->setText(lines.join(QLatin1Char('\n')));
    m_notes->setToolTip(folders.join(QLatin1Char('\n')));
    m_notes->setVisible(!lines.isEmpty());
}

void AuswahlIBANDatei::layoutColumns(ClientFormat format)
{
    const ColumnShares shares = format == ClientFormat::Tondra ? kTondraShares : kClientShares;
    const double width = m_grid->viewport()->width();
    m_grid->setColumnWidth(0, static_cast<int>(width * shares.client));
    m_grid->setColumnWidth(1, static_cast<int>(width * shares.folder));
}

void AuswahlIBANDatei::chooseFileDirectly()
{
    const ClientFormat format = optionFormat();
    const auto kind = clientFileKind(format);
    if (!kind)
        return;
    const FileOpenRequest request{kind->openDialogTitle, kind->filters,
                                  directChoiceFolder(m_databasePath, m_programFolder)};
    const std::string path = m_files.openFileName(this, request);
    if (path.empty())
        return;
    m_selectedPath = path;
    m_selectedFormat = format;
    accept();
}

void AuswahlIBANDatei::done(int result)
{
    if (m_search) {
        // Closed while the walk runs: end the walk; the dialog closes once the walk has returned.
        m_pendingResult = result;
        m_search->stop();
        return;
    }
    QDialog::done(result);
}

bool AuswahlIBANDatei::event(QEvent* event)
{
    if (event->type() == QEvent::DeferredDelete && m_search) {
        // Deleted while the walk runs on this dialog's stack: delete it once the walk has returned.
        m_deleteRequested = true;
        m_search->stop();
        return true;
    }
    return QDialog::event(event);
}

} // namespace zelvan
