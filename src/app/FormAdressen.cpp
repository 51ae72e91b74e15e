#include "app/FormAdressen.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/AccountGrid.h"
#include "app/GridViewModel.h"
#include "app/MainMenu.h"
#include "app/WindowPlacement.h"
#include "app/WorkingSetModel.h"

namespace zelvan {

namespace {

// Captions of Command1(0..4), each with its access key (Alt and the underlined letter). No
// letter serves twice in this window.
constexpr std::array<const char*, 5> kCommandCaptions{"Daten &neu einlesen", "&IBAN / BIC einsetzen",
                                                      "Daten &speichern", "&Ende", "&Auswählen"};

// Caption and tooltip of Check1(0..3).
struct CheckText {
    const char* caption;
    const char* toolTip;
};
constexpr std::array<CheckText, FormAdressen::kOptionCount> kCheckTexts{{
    {"Daten mit vorhandener IBAN aus&blenden", "Vorhandene Bankverbindungen mit IBAN ausblenden  ein/aus"},
    {"IBAN / BIC für manuelle Eingaben &freigeben", "IBAN / BIC für manuelle Eingaben freigeben"},
    {"Bank Na&me überschreiben", "Bank-Kurzbezeichnung aus BLZ-Datei in Adressdaten übernehmen"},
    {"&Kontonummern mit Prüfziffer prüfen",
     "Kontonummern vor der IBAN-Berechnung mit der Prüfzifferberechnung ihrer Bank prüfen"},
}};

// The view filter above the grid, the protocol list's label and the search field's label.
constexpr const char* kOnlyHintedCaption = "Nur Zeilen mit &Hinweis anzeigen";
constexpr const char* kProtocolLabel = "&Protokoll:";
constexpr const char* kFindLabel = "Su&chen:";

// Items of Combo1, by index.
constexpr std::array<const char*, 3> kProtocolItems{"Aus", "Nur Hinweise", "Alle Daten"};

// How grid columns 0 to 9 take their width: key, BLZ, account, BIC and IBAN show their whole
// content (and have room for an account of ten digits and a whole IBAN before the conversion),
// search name and bank name up to a share of the grid, and the hint takes the rest.
constexpr std::array<ColumnFit, kAccountColumnCount> kColumnFits{{
    {FitKind::Content},
    {FitKind::UpToShare, 0.12},
    {FitKind::Content, 0.0, "00000000"},
    {FitKind::Content, 0.0, "0000000000"},
    {FitKind::Content, 0.0, "WWWWDEWWXXX"},
    {FitKind::Content, 0.0, "DE00000000000000000000"},
    {FitKind::Rest},
    {FitKind::UpToShare, 0.10},
    {FitKind::Content},
    {FitKind::Content},
}};

// The designed client area, in twips.
constexpr double kDesignedWidthTwips = 12885.0;
constexpr double kDesignedHeightTwips = 9015.0;

} // namespace

FormAdressen::FormAdressen(ProgramState& state, FormAdressenServices services, QWidget* parent)
    : QWidget(parent), m_state(state), m_store(services.store), m_chooser(services.chooser),
      m_messages(services.messages), m_programFolder(std::move(services.programFolder))
{
    setObjectName(QStringLiteral("FormAdressen"));
    setWindowTitle(QStringLiteral("IBAN-Konverter für Orvia-Programme"));
    buildControls();
    resize(static_cast<int>(kDesignedWidthTwips / twipsPerPixelX(*this)),
           static_cast<int>(kDesignedHeightTwips / twipsPerPixelY(*this)));
    Form_Load();
}

FormAdressen::~FormAdressen()
{
    // The rows go before the widgets: no editor may write into them on its way out.
    m_grid->cancelPendingEdit();
    m_grid->setModel(nullptr);
    while (m_busyDepth > 0)
        setBusy(false);
}

void FormAdressen::buildControls()
{
    auto* commands = new QHBoxLayout;
    for (std::size_t i = 0; i < m_command.size(); ++i) {
        m_command[i] = new QPushButton(QString::fromUtf8(kCommandCaptions[i]));
        m_command[i]->setObjectName(QStringLiteral("Command1_%1").arg(i));
        commands->addWidget(m_command[i]);
    }
    // Nothing is unsaved, and nothing can be converted, before the first load.
    m_command[DatenSpeichern]->setEnabled(false);
    m_command[IbanBicEinsetzen]->setEnabled(false);

    auto* checks = new QVBoxLayout;
    checks->setSpacing(2);
    for (std::size_t i = 0; i < m_check.size(); ++i) {
        m_check[i] = new QCheckBox(QString::fromUtf8(kCheckTexts[i].caption));
        m_check[i]->setToolTip(QString::fromUtf8(kCheckTexts[i].toolTip));
        m_check[i]->setObjectName(QStringLiteral("Check1_%1").arg(i));
        m_check[i]->installEventFilter(this);
        const int index = static_cast<int>(i);
        connect(m_check[i], &QCheckBox::clicked, this, [this, index] { onCheckToggled(index); });
        checks->addWidget(m_check[i]);
    }
    auto* options = new QHBoxLayout;
    options->addLayout(checks);
    options->addStretch(1);
    auto* protocolLabel = new QLabel(QString::fromUtf8(kProtocolLabel));
    m_combo = new QComboBox;
    m_combo->setObjectName(QStringLiteral("Combo1"));
    m_combo->setToolTip(QStringLiteral("Stellt ein, ob ein Protokoll für Schreibaktionen erzeugt werden soll"));
    for (const char* item : kProtocolItems)
        m_combo->addItem(QString::fromUtf8(item));
    protocolLabel->setBuddy(m_combo);
    options->addWidget(protocolLabel, 0, Qt::AlignTop);
    options->addWidget(m_combo, 0, Qt::AlignTop);

    m_formatLine = new QLabel;
    m_formatLine->setObjectName(QStringLiteral("C1Elastic2"));
    m_formatLine->setFrameShape(QFrame::StyledPanel);
    m_formatLine->installEventFilter(this);
    // A long path or the request to choose a database must not widen the window beyond its
    // designed size: the line takes the width the row leaves it.
    m_formatLine->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    // Shown while the bundled sample file is the bank-code file.
    m_sampleNote = new QLabel;
    m_sampleNote->setObjectName(QStringLiteral("BeispielDateiHinweis"));
    m_sampleNote->setStyleSheet(QStringLiteral("QLabel { color: #b00000; font-weight: bold; }"));
    m_sampleNote->hide();
    // Which data set of a Galdo database is loaded.
    m_dataSet = new QLabel;
    m_dataSet->setObjectName(QStringLiteral("Datenbestand"));
    m_dataSet->setFrameShape(QFrame::StyledPanel);
    m_dataSet->hide();
    auto* formatRow = new QHBoxLayout;
    formatRow->addWidget(m_formatLine, 1);
    formatRow->addWidget(m_dataSet);
    formatRow->addWidget(m_sampleNote);

    m_container = new QFrame;
    m_container->setObjectName(QStringLiteral("ElasticOne1"));
    m_caption = new QLabel;
    m_caption->setObjectName(QStringLiteral("TDBGrid1_Caption"));
    m_caption->setAlignment(Qt::AlignCenter);
    m_hintCounts = new QLabel;
    m_hintCounts->setObjectName(QStringLiteral("HinweisAnzahl"));
    m_onlyHinted = new QCheckBox(QString::fromUtf8(kOnlyHintedCaption));
    m_onlyHinted->setObjectName(QStringLiteral("NurZeilenMitHinweis"));
    m_onlyHinted->setToolTip(QStringLiteral("Zeigt nur die Zeilen mit einem Hinweis; gespeichert werden immer alle"));
    connect(m_onlyHinted, &QCheckBox::toggled, this, &FormAdressen::onlyRowsWithHint);
    auto* captionRow = new QHBoxLayout;
    captionRow->setContentsMargins(0, 0, 0, 0);
    captionRow->addWidget(m_onlyHinted);
    captionRow->addWidget(m_caption, 1);
    captionRow->addWidget(m_hintCounts);

    // Ctrl+F opens the search field; Enter finds the next row, Esc closes it.
    m_findBar = new QWidget;
    m_findBar->setObjectName(QStringLiteral("Suchleiste"));
    auto* findLabel = new QLabel(QString::fromUtf8(kFindLabel));
    m_find = new QLineEdit;
    m_find->setObjectName(QStringLiteral("Suchfeld"));
    m_find->setPlaceholderText(QStringLiteral("Kontonr., Suchname, BLZ oder Kontonummer"));
    m_find->setClearButtonEnabled(true);
    m_find->installEventFilter(this);
    findLabel->setBuddy(m_find);
    connect(m_find, &QLineEdit::returnPressed, this, &FormAdressen::findNext);
    auto* findLayout = new QHBoxLayout(m_findBar);
    findLayout->setContentsMargins(0, 0, 0, 0);
    findLayout->addWidget(findLabel);
    findLayout->addWidget(m_find, 1);
    findLayout->addStretch(2);
    m_findBar->hide();

    m_model = new WorkingSetModel(m_rows, this);
    m_view = new GridViewModel(*m_model, this);
    m_grid = new AccountGrid;
    m_grid->setObjectName(QStringLiteral("TDBGrid1"));
    m_grid->setModel(m_view);
    m_grid->setColumnFits(kColumnFits);
    connect(m_model, &WorkingSetModel::cellCommitted, this, &FormAdressen::TDBGrid1_AfterColUpdate);
    // Queued: the editor is closed and the grid has its focus back before the box or the note shows.
    connect(m_model, &WorkingSetModel::valueRefused, this, &FormAdressen::refuseTypedValue, Qt::QueuedConnection);
    connect(m_model, &WorkingSetModel::bankDetailTyped, this, &FormAdressen::noteDirectoryBic, Qt::QueuedConnection);
    connect(m_grid, &AccountGrid::gotFocus, this, &FormAdressen::TDBGrid1_GotFocus);
    connect(m_grid, &AccountGrid::closeRequested, this, &FormAdressen::onGridCloseRequested);
    connect(m_grid, &AccountGrid::editRefused, this, &FormAdressen::onEditRefused);
    for (const auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(m_view, signal, this, &FormAdressen::showShownRows);
    connect(m_view, &QAbstractItemModel::modelReset, this, &FormAdressen::showShownRows);
    connect(m_view, &QAbstractItemModel::layoutChanged, this, &FormAdressen::showShownRows);
    auto* containerLayout = new QVBoxLayout(m_container);
    containerLayout->setContentsMargins(0, 0, 0, 0);
    containerLayout->setSpacing(0);
    containerLayout->addLayout(captionRow);
    containerLayout->addWidget(m_findBar);
    containerLayout->addWidget(m_grid, 1);

    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("Statusbar1"));
    m_status->setFrameShape(QFrame::StyledPanel);
    m_status->setFrameShadow(QFrame::Sunken);

    buildHelpActions();
    // The buttons click through the menu's actions: both always do the same.
    MainMenuControls menu;
    menu.commands = m_command;
    menu.onlyHinted = m_onlyHinted;
    menu.grid = m_grid;
    menu.command = [this](int index) { Command1_Click(index); };
    menu.find = [this] { openFind(); };
    menu.findNext = [this] { findAgain(); };
    menu.restore = [this] { restoreBackup(); };
    menu.help = m_helpAction;
    menu.about = m_aboutAction;
    m_menu = new MainMenu(*this, menu);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(m_menu->menuBar());
    layout->addLayout(commands);
    layout->addLayout(options);
    layout->addLayout(formatRow);
    layout->addWidget(m_container, 1);
    layout->addWidget(m_status);
}

QString FormAdressen::statusText() const
{
    return m_status->text();
}

QString FormAdressen::formatFileLine() const
{
    return m_formatLineText;
}

QString FormAdressen::formatFileLineToolTip() const
{
    return m_formatLine->toolTip();
}

QString FormAdressen::sampleNote() const
{
    return m_sampleNote->isVisibleTo(this) ? m_sampleNote->text() : QString();
}

QString FormAdressen::dataSet() const
{
    return m_dataSet->isVisibleTo(this) ? m_dataSet->text() : QString();
}

QString FormAdressen::gridCaption() const
{
    return m_caption->text();
}

QString FormAdressen::hintCounts() const
{
    return m_hintCounts->text();
}

void FormAdressen::setStatusText(std::string_view text)
{
    m_status->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    // Long work does not return to the event loop; the line is drawn at once.
    if (m_status->isVisible())
        m_status->repaint();
}

void FormAdressen::setBusy(bool busy)
{
    if (busy) {
        ++m_busyDepth;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (m_busyDepth > 0) {
        --m_busyDepth;
        QApplication::restoreOverrideCursor();
    }
}

MessageAnswer FormAdressen::showMessage(const MessageRequest& request)
{
    return m_messages.showMessage(request);
}

void FormAdressen::processEvents()
{
    QCoreApplication::processEvents();
}

} // namespace zelvan
