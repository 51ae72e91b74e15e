#include "select/BatchStartDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "widgets/ProgramFont.h"
#include "clientdb/ClientFormats.h"

namespace zelvan {

namespace {

// Captions with their access keys, no letter twice in the dialog.
constexpr const char* kDryRunCaption = "Nur &Probelauf (keine Datenbank wird verändert)";
constexpr const char* kStartCaption = "&Starten";
constexpr const char* kCancelCaption = "&Abbrechen";

} // namespace

QString batchStartText(const BatchStartInfo& info, bool dryRun)
{
    const QString count = info.databases == 1 ? QStringLiteral("1 Datenbank")
                                              : QStringLiteral("%1 Datenbanken").arg(qulonglong(info.databases));
    const auto name = formatInfo(info.format).name;
    QString text = (dryRun ? QStringLiteral("%1 (%2) in %3 werden zur Probe in Kopien konvertiert; die Datenbanken "
                                            "bleiben unverändert.")
                           : QStringLiteral("%1 (%2) in %3 werden nacheinander konvertiert und gespeichert."))
                       .arg(count, QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())),
                            QString::fromStdString(info.folder));
    if (info.format == ClientFormat::Galdo)
        text += QStringLiteral("\nJede Datenbank zweimal: Personaldaten, dann Festabzüge.");
    text += QStringLiteral("\n\nBLZ-Datei: %1").arg(QString::fromStdString(info.bankFile));
    return text;
}

BatchStartDialog::BatchStartDialog(const BatchStartInfo& info, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("BatchStartDialog"));
    setWindowTitle(QString::fromUtf8(kTitle));
    setModal(true);
    m_text = new QLabel(batchStartText(info, true));
    m_text->setObjectName(QStringLiteral("Text"));
    m_text->setWordWrap(true);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_dryRun = new QCheckBox(QString::fromUtf8(kDryRunCaption));
    m_dryRun->setObjectName(QStringLiteral("NurProbelauf"));
    // A first pass over a whole office changes nothing: the clerk sees the summary before any save.
    m_dryRun->setChecked(true);
    connect(m_dryRun, &QCheckBox::toggled, this,
            [this, info](bool dryRun) { m_text->setText(batchStartText(info, dryRun)); });

    auto* buttons = new QDialogButtonBox;
    auto* start = buttons->addButton(QString::fromUtf8(kStartCaption), QDialogButtonBox::AcceptRole);
    start->setObjectName(QStringLiteral("Starten"));
    start->setDefault(true);
    auto* cancel = buttons->addButton(QString::fromUtf8(kCancelCaption), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("Abbrechen"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_dryRun);
    layout->addWidget(buttons);
    ApplyProgramFont(*this);
}

bool BatchStartDialog::dryRunOnly() const
{
    return m_dryRun->isChecked();
}

QString BatchStartDialog::text() const
{
    return m_text->text();
}

} // namespace zelvan
