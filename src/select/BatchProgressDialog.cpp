#include "select/BatchProgressDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "widgets/ProgramFont.h"

namespace zelvan {

BatchProgressDialog::BatchProgressDialog(UserInterface& outer, QWidget* parent) : QDialog(parent), m_outer(outer)
{
    setObjectName(QStringLiteral("BatchProgressDialog"));
    setWindowTitle(QString::fromUtf8(kTitle));
    // Modal, though not run by exec(): the other windows take no input while the run goes on.
    setWindowModality(Qt::ApplicationModal);
    m_item = new QLabel(QString::fromUtf8(kSearching));
    m_item->setObjectName(QStringLiteral("Datenbank"));
    m_name = new QLabel;
    m_name->setObjectName(QStringLiteral("Name"));
    m_name->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_step = new QLabel;
    m_step->setObjectName(QStringLiteral("Schritt"));
    m_step->setWordWrap(true);
    m_stopNote = new QLabel(QString::fromUtf8(kStopping));
    m_stopNote->setObjectName(QStringLiteral("Anhalten"));
    m_stopNote->setWordWrap(true);
    m_stopNote->hide();
    m_cancel = new QPushButton(QStringLiteral("&Abbrechen"));
    m_cancel->setObjectName(QStringLiteral("Abbrechen"));
    m_cancel->setAutoDefault(false);
    connect(m_cancel, &QPushButton::clicked, this, &BatchProgressDialog::requestStop);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_item);
    layout->addWidget(m_name);
    layout->addWidget(m_step);
    layout->addWidget(m_stopNote);
    layout->addLayout(buttons);
    ApplyProgramFont(*this);
    setMinimumWidth(480);
}

void BatchProgressDialog::showNow()
{
    show();
    redraw();
}

void BatchProgressDialog::redraw()
{
    // Lay the lines out before drawing: a grown line must not overlap the next one.
    layout()->activate();
    if (isVisible())
        repaint();
    m_outer.processEvents();
}

QString BatchProgressDialog::itemText() const
{
    return m_item->text();
}

QString BatchProgressDialog::nameText() const
{
    return m_name->text();
}

QString BatchProgressDialog::stepText() const
{
    return m_stopNote->isHidden() ? m_step->text() : m_step->text() + QStringLiteral("\n") + m_stopNote->text();
}

void BatchProgressDialog::showProgress(const ProgressReport& report)
{
    if (report.item > 0)
        m_item->setText(
            QStringLiteral("Datenbank %1 von %2").arg(qulonglong(report.item)).arg(qulonglong(report.itemCount)));
    m_name->setText(QString::fromStdString(report.itemName));
    m_step->setText(QString::fromStdString(report.step));
    // The run does not return to the event loop: draw now, and let a click on "Abbrechen" in.
    redraw();
}

void BatchProgressDialog::requestStop()
{
    if (m_stopRequested)
        return;
    m_stopRequested = true;
    m_cancel->setEnabled(false);
    m_stopNote->show();
    layout()->activate();
}

void BatchProgressDialog::reject()
{
    // The close box and Esc ask the run to stop; the dialog goes when the run is over.
    requestStop();
}

} // namespace zelvan
