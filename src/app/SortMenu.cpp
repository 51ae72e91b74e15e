#include "app/SortMenu.h"

#include <QAction>

#include "app/AccountGrid.h"

namespace zelvan {

SortMenu::SortMenu(AccountGrid& grid, QWidget* parent) : QMenu(QStringLiteral("S&ortieren nach"), parent), m_grid(grid)
{
    setObjectName(QStringLiteral("SortierenNach"));
    connect(this, &QMenu::aboutToShow, this, &SortMenu::fill);
}

void SortMenu::fill()
{
    clear();
    QAbstractItemModel* model = m_grid.model();
    const int columns = model ? model->columnCount() : 0;
    const SortState sort = m_grid.sortState();
    for (int column = 0; column < columns; ++column) {
        QString text = model->headerData(column, Qt::Horizontal).toString();
        // The first ten entries are reached by their digit, the rest by the arrow keys.
        if (column < 10)
            text = QStringLiteral("&%1 %2").arg((column + 1) % 10).arg(text);
        if (sort.column == column)
            text +=
                sort.order == Qt::AscendingOrder ? QStringLiteral(" (aufsteigend)") : QStringLiteral(" (absteigend)");
        QAction* entry = addAction(text);
        entry->setCheckable(true);
        entry->setChecked(sort.column == column);
        connect(entry, &QAction::triggered, this, [this, column] { m_grid.clickHeading(column); });
    }
    if (columns == 0)
        addAction(QStringLiteral("Keine Daten eingelesen"))->setEnabled(false);
}

} // namespace zelvan
