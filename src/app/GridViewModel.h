#pragma once

#include <QSortFilterProxyModel>

#include <string_view>

namespace zelvan {

class WorkingSetModel;

// The sort a click on a column heading leads to: ascending on a new column, then descending,
// then back to the load order (column -1).
struct SortState {
    int column = -1;
    Qt::SortOrder order = Qt::AscendingOrder;

    bool operator==(const SortState&) const = default;
};
SortState nextSortOnClick(const SortState& current, int clickedColumn);

// Orders two cell texts for the grid: whole numbers by value, everything else as text without
// regard to the case of ASCII letters. Negative: a before b.
int compareCells(std::string_view a, std::string_view b);

// What the main grid shows of the working set: all rows or only those with a hint, in load order
// or sorted by a column. The view order lives here alone; the working set, the conversion and
// the save keep the load order, and edits reach their row through mapToSource.
class GridViewModel final : public QSortFilterProxyModel {
    Q_OBJECT

public:
    explicit GridViewModel(WorkingSetModel& source, QObject* parent = nullptr);

    // "Nur Zeilen mit Hinweis anzeigen".
    void setOnlyRowsWithHint(bool on);
    bool onlyRowsWithHint() const { return m_onlyRowsWithHint; }

    // The first view row after `after` (wrapping round to the top, `after` itself last) whose
    // key, search name, BLZ or account number contains `text`, regardless of case; -1 if none.
    int findNext(const QString& text, int after) const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    bool rowContains(int sourceRow, const QString& text) const;

    WorkingSetModel& m_source;
    bool m_onlyRowsWithHint = false;
};

} // namespace zelvan
