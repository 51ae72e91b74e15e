#pragma once

#include <QSortFilterProxyModel>

#include <string>
#include <string_view>
#include <vector>

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
    // The first source row that the filter hides and that contains `text` as findNext reads it;
    // -1 if none.
    int findHiddenRow(const QString& text) const;

    // Sorts with each cell's key worked out once rather than at every comparison.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

  protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

  private:
    // A cell as compareCells orders it, prepared once for a whole sort.
    struct SortKey {
        bool number = false;
        std::string_view digits; // a number's digits without leading zeros
        std::string folded;      // ASCII letters in lower case
        std::string_view text;   // the cell as stored
    };
    static int compareKeys(const SortKey& a, const SortKey& b);
    bool rowContains(int sourceRow, const QString& text) const;

    std::vector<SortKey> m_sortKeys; // by source row, only while sort() runs

    WorkingSetModel& m_source;
    bool m_onlyRowsWithHint = false;
};

} // namespace zelvan
