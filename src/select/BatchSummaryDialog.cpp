#include "select/BatchSummaryDialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "widgets/ProgramFont.h"
#include "core/PathRoutines.h"
#include "search/DriveSearch.h"
#include "select/BatchSummaryModel.h"

namespace zelvan {

namespace {

// Captions with their access keys, no letter twice in the dialog.
constexpr const char* kOpenCsvCaption = "Sammel&protokoll öffnen";
constexpr const char* kOpenFolderButton = "&Ordner öffnen";
constexpr const char* kCloseCaption = "&Schließen";

} // namespace

QString batchSummaryText(const BatchSummary& summary, bool dryRun)
{
    std::size_t passes = 0;
    std::size_t failed = 0;
    std::size_t unreadable = 0;
    std::size_t notReached = 0;
    for (const auto& line : summary.lines) {
        unreadable += line.unreadableFolder ? 1 : 0;
        notReached += line.notReached ? 1 : 0;
        passes += line.unreadableFolder ? 0 : 1;
        failed += line.failed && !line.unreadableFolder && !line.notReached ? 1 : 0;
    }
    QString text = dryRun ? QStringLiteral("Probelauf: keine Datenbank wurde verändert. ") : QString();
    text += QStringLiteral("%1 Durchgänge, davon %2 mit Fehler").arg(qulonglong(passes)).arg(qulonglong(failed));
    if (notReached > 0)
        text += QStringLiteral(", %1 nicht bearbeitet").arg(qulonglong(notReached));
    text += QLatin1Char('.');
    if (unreadable > 0)
        text += QStringLiteral(" ") + QString::fromStdString(unreadableFoldersLine(unreadable)) + QLatin1Char('.');
    if (summary.stopped)
        text += QStringLiteral(" Der Lauf wurde angehalten; die nicht bearbeiteten Datenbanken sind unverändert.");
    if (!summary.summaryFileError.empty())
        text += QStringLiteral("\n") + QString::fromStdString(summary.summaryFileError);
    else
        text += QStringLiteral("\nSammelprotokoll: ") + QString::fromStdString(summary.summaryFile);
    return text;
}

BatchSummaryDialog::BatchSummaryDialog(const BatchSummary& summary, bool dryRun, QWidget* parent, FolderOpener open)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("BatchSummaryDialog"));
    setWindowTitle(dryRun ? QStringLiteral("Zusammenfassung des Probelaufs") : QStringLiteral("Zusammenfassung"));
    setModal(true);
    m_text = new QLabel(batchSummaryText(summary, dryRun));
    m_text->setObjectName(QStringLiteral("Text"));
    m_text->setWordWrap(true);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_model = new BatchSummaryModel(summary.lines, this);
    m_table = new QTableView;
    m_table->setObjectName(QStringLiteral("Zusammenfassung"));
    m_table->setModel(m_model);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Each column as wide as its contents, a scroll bar where the window is narrower.
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    const QString csv = QString::fromStdString(summary.summaryFile);
    const QString folder = QString::fromStdString(FolderOfPath(summary.summaryFile));
    auto* openCsv = new QPushButton(QString::fromUtf8(kOpenCsvCaption));
    openCsv->setObjectName(QStringLiteral("SammelprotokollOeffnen"));
    openCsv->setAutoDefault(false);
    openCsv->setEnabled(summary.summaryFileError.empty() && !csv.isEmpty());
    connect(openCsv, &QPushButton::clicked, this, [this, open, csv] { openOrSay(this, open, csv); });
    auto* openFolder = new QPushButton(QString::fromUtf8(kOpenFolderButton));
    openFolder->setObjectName(QStringLiteral("OrdnerOeffnen"));
    openFolder->setAutoDefault(false);
    openFolder->setEnabled(!folder.isEmpty());
    connect(openFolder, &QPushButton::clicked, this, [this, open, folder] { openOrSay(this, open, folder); });
    auto* close = new QPushButton(QString::fromUtf8(kCloseCaption));
    close->setObjectName(QStringLiteral("Schliessen"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(openCsv);
    buttons->addWidget(openFolder);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);
    ApplyProgramFont(*this);
    resize(900, 420);
}

QString BatchSummaryDialog::text() const
{
    return m_text->text();
}

} // namespace zelvan
