#pragma once

#include <QMenu>

namespace zelvan {

class AccountGrid;

// "Sortieren nach": one entry per column of the grid, built afresh each time the menu opens (the
// columns follow the loaded database). An entry acts as a click on its column's heading:
// ascending, descending, then back to the load order; the sorted column is checked and names
// its order.
class SortMenu final : public QMenu {
    Q_OBJECT

public:
    explicit SortMenu(AccountGrid& grid, QWidget* parent = nullptr);

    // Builds the entries for the grid's present columns.
    void fill();

private:
    AccountGrid& m_grid;
};

} // namespace zelvan
