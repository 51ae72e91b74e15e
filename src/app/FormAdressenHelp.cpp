#include "app/FormAdressen.h"

#include <QAction>
#include <QApplication>

#include "app/AboutBox.h"
#include "app/AccountGrid.h"
#include "clientdb/HintClass.h"
#include "iban/ConversionHint.h"
#include "widgets/HelpPage.h"
#include "widgets/HelpWindow.h"

namespace zelvan {

void FormAdressen::buildHelpActions()
{
    m_helpAction = new QAction(QStringLiteral("&Hilfe"), this);
    m_helpAction->setObjectName(QStringLiteral("HilfeAnzeigen"));
    m_helpAction->setShortcut(QKeySequence::HelpContents);
    m_helpAction->setShortcutContext(Qt::WindowShortcut);
    connect(m_helpAction, &QAction::triggered, this, &FormAdressen::helpAtFocus);
    addAction(m_helpAction);

    m_aboutAction = new QAction(QStringLiteral("Ü&ber Zelvan Konverter"), this);
    m_aboutAction->setObjectName(QStringLiteral("UeberAnzeigen"));
    connect(m_aboutAction, &QAction::triggered, this, [this] { showAbout(); });
}

void FormAdressen::helpAtFocus()
{
    // In the grid, the help opens at the hint of the current row, if it has one.
    QString anchor;
    const QWidget* focus = QApplication::focusWidget();
    if (focus && (focus == m_grid || m_grid->isAncestorOf(focus))) {
        const QModelIndex hint = m_grid->currentIndex().siblingAtColumn(static_cast<int>(AccountColumn::Hint));
        const long long number = hintNumberOf(hint.data().toString().toStdString());
        if (!hintAdviceLine(number).empty())
            anchor = hintAnchor(number);
    }
    showHelp(anchor);
}

void FormAdressen::showHelp(const QString& anchor)
{
    if (!m_help) {
        m_help = new HelpWindow(this);
        connect(m_help, &HelpWindow::aboutRequested, this, [this] { showAbout(m_help); });
    }
    m_help->showSection(anchor);
}

void FormAdressen::showAbout(QWidget* owner)
{
    showAboutBox(owner ? owner : this, aboutText(m_bankFile, m_directory.Count(), bankFileModified()));
}

} // namespace zelvan
