#pragma once

#include <QAbstractTableModel>

#include <vector>

#include "app/WorkingSetStore.h"
#include "core/WorkingSet.h"

namespace zelvan {

// The main window's grid model: one row per AccountRow of the WorkingSetArray, one column per
// loaded column. Cell edits write straight into the array; a typed IBAN or BIC only when it is
// a valid one, in capitals without blanks. A hint cell's tooltip is the whole hint followed by
// its one-line advice.
class WorkingSetModel final : public QAbstractTableModel {
    Q_OBJECT

  public:
    // The maximum input length of a cell's column (int, 0 for none).
    static constexpr int kMaxLengthRole = Qt::UserRole + 1;

    explicit WorkingSetModel(WorkingSetArray& rows, QObject* parent = nullptr);

    // Brackets a replacement of the whole array (a load): call begin before the array changes.
    void beginReplace();
    void endReplace(std::size_t columnCount, std::vector<GridColumn> columns);

    // Changes the columns' headings, editable state and input lengths (the rows stay).
    void setColumns(std::vector<GridColumn> columns);

    // Tells the views that the cells of columns first..last of every row changed outside the
    // model (the conversion run).
    void cellsChanged(int firstColumn, int lastColumn);

    const GridColumn* column(int index) const;
    // The rows behind the model, in load order.
    const WorkingSetArray& rows() const { return m_rows; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  signals:
    // A cell edit has been committed into the array and changed its value.
    void cellCommitted(int column);
    // A typed IBAN or BIC has been taken into this row of the array.
    void bankDetailTyped(int row);
    // A typed IBAN or BIC is no valid one and was not taken; the reason in German.
    void valueRefused(const QString& reason);

  private:
    bool valid(const QModelIndex& index) const;

    WorkingSetArray& m_rows;
    std::size_t m_columnCount = 0;
    std::vector<GridColumn> m_columns;
};

} // namespace zelvan
